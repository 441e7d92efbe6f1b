#pragma once

#include "UpdateInstallation.h"

#include <QStringList>

class CDbConnection;
class MenuDataFiles;
class UpdateSeams;

// The download and merge of menu and form data: when the service's menu-data
// version differs from the installed one, the four menu-data files and the
// changed forms are downloaded into the update folder, staged in
// c_menu_dh_down and c_menu_button_down and merged into c_menu_dh and
// c_menu_button, and the new version is stored in c_app.
//
// The database work runs in one transaction: a damaged file, a form that
// cannot be downloaded or stored, or any failed statement leaves the menu,
// the buttons and the stored version as they were.
class CMenuDataMerge
{
public:
    CMenuDataMerge(const UpdateInstallation& installation, const QString& serviceHost, UpdateSeams& seams);

    enum class Outcome
    {
        NothingNew,   // no version given, or the installed one
        NotDownloaded, // a menu-data file could not be downloaded
        Refused,      // another installation, a damaged file, a missing form, a failed statement
        AlreadyMerged, // the database holds the new version already
        Merged,
    };

    Outcome Run(const QString& newVersion);

    // Set once dh_menu.txt is in the update folder: the program removes the
    // folder at its exit.
    bool Updating() const { return m_bUpdating; }

private:
    QString FileUrl(const QString& name) const;
    bool Download(const QString& name) const;
    QString ReadText(const QString& name) const;
    Outcome Merge(CDbConnection& db, const QString& newVersion);
    bool StageAndMerge(CDbConnection& db, const MenuDataFiles& files, const QStringList& changed,
                       const QString& beforeScript, const QString& newVersion);
    bool StageForms(CDbConnection& db, const QStringList& changed);
    bool RunMerge(CDbConnection& db, const QString& kind, const QString& newVersion);

    const UpdateInstallation& m_installation;
    QString m_strServiceHost;
    UpdateSeams& m_seams;
    bool m_bUpdating = false;
};
