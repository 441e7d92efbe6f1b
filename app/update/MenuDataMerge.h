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
// A damaged line, a staging row that is refused, a failing statement of the
// service's scripts or a form that cannot be stored is written to the log
// and passed over, so that one of them never keeps every later update out.
// The service's scripts run statement by statement on every kind. The
// staging and the merge run in one transaction, which is rolled back only
// when the merge's own statements fail or no menu entry could be staged: the
// installed menu is then never left empty or half replaced. Every cause that
// drops the merge is written to the log as well.
class CMenuDataMerge
{
public:
    CMenuDataMerge(const UpdateInstallation& installation, const QString& serviceHost, UpdateSeams& seams);

    enum class Outcome
    {
        NothingNew,   // no version given, or the installed one
        NotDownloaded, // a menu-data file could not be downloaded
        Refused,      // another installation, a missing form, an unreadable file, a failed merge
        AlreadyMerged, // the database holds the new version already
        Merged,
    };

    Outcome Run(const QString& newVersion);

    // Set once dh_menu.txt is in the update folder: the program removes the
    // folder at its exit.
    bool Updating() const { return m_bUpdating; }

private:
    QString FileUrl(const QString& name) const;
    // Downloads the file into the update folder; a failure is logged as
    // `failure` filled with the reason.
    bool Download(const QString& name, const QString& failure) const;
    QString ReadText(const QString& name) const;
    // Appends a failure and its detail to the program's log.
    void Log(const QString& failure, const QString& detail) const;
    // A statement of the stage's own whose failure is logged and passed over.
    void ExecuteLogged(CDbConnection& db, const QString& sql) const;
    // One of the service's scripts; each statement that fails is logged.
    void RunServiceScript(CDbConnection& db, const QString& name, const QString& script) const;
    Outcome Merge(CDbConnection& db, const QString& newVersion);
    bool StageAndMerge(CDbConnection& db, const MenuDataFiles& files, const QStringList& changed,
                       const QString& beforeScript, const QString& newVersion);
    int StageRows(CDbConnection& db, const QString& file, const QString& sql, const QStringList& fields,
                  const QList<QStringList>& rows) const;
    void StageForms(CDbConnection& db, const QStringList& changed) const;
    bool RunMerge(CDbConnection& db, const QString& kind, const QString& newVersion);

    const UpdateInstallation& m_installation;
    QString m_strServiceHost;
    UpdateSeams& m_seams;
    bool m_bUpdating = false;
};
