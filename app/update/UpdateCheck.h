#pragma once

#include "UpdateInstallation.h"

#include <QStringList>

class UpdateSeams;

// What the update check learnt from the service.
struct UpdateCheckResult
{
    QString serviceHost;    // empty when no lookup answered
    QString programVersion; // the latest program version; empty: none given
    QString menuVersion;    // the latest menu-data version; empty: none given
    bool updaterStarted = false; // `up` is about to replace this program
};

// The update check of the start-up worker: reports the installation to the
// update service, learns the latest program and menu-data versions, keeps `up`
// current and, when the running program is outdated, downloads the new one
// into the update folder and starts `up`.
//
// After it: updaterStarted ends the run; an empty programVersion leads to the
// update through the database; then the menu-data merge with menuVersion.
class CUpdateCheck
{
public:
    CUpdateCheck(const UpdateInstallation& installation, UpdateSeams& seams);

    // The addresses of the service-host lookup, tried in order, as built.
    static QStringList DefaultLookupUrls();
    // The first reply of at most 20 characters that is not empty; line ends
    // removed.
    static QString FindServiceHost(const QStringList& lookupUrls);

    UpdateCheckResult Run(const QString& serviceHost);

    // The version request, exactly as it is sent.
    QString VersionRequestUrl(const QString& serviceHost) const;

private:
    void RefreshUpdater(const QString& serviceHost);
    bool DownloadProgram(const QString& serviceHost, const QString& version);

    const UpdateInstallation& m_installation;
    UpdateSeams& m_seams;
};

// A reply of the service, or an empty text when it is longer than 20 characters.
QString ServiceReply(const QString& url);
