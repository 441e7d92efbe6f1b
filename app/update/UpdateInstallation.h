#pragma once

#include <QString>

class CDbConnection;

// What the update stages know of the installation they update. The start-up
// worker fills it from the application state and its own earlier stages.
struct UpdateInstallation
{
    QString programFolder;  // ends in "/"
    QString programPath;    // the running program's file
    QString runningVersion; // "%d.%d.%d.%d" of the running program
    QString connectText;    // the plain connection text of the database
    QString dbType;         // the kind text sent to the service
    QString appId;
    QString menuVersion;    // ver_1 of c_app as read at start
    QString company;
    QString stockRows = QStringLiteral("0");    // rows of p_sto
    QString materialRows = QStringLiteral("0"); // rows of c_material
    QString macAddress;
    QString hostName;
    QString ipAddress;

    QString UpdateFolder() const;
    // Opens db on connectText (ConnectGivenText).
    bool ConnectDatabase(CDbConnection& db) const;
};

// Compares dotted version texts part by part as numbers (the leading digits
// of a part; a missing or non-numeric part counts 0): negative when a is lower, 0 when equal,
// positive when a is higher. 3.7.7.1 < 3.7.7.10; 3.7 == 3.7.0.0.
int CompareVersions(const QString& a, const QString& b);
