#pragma once

#include <QString>

// The members of the application object that every subsystem reads: the
// logged-in user, the installation and the database settings. The application
// shell fills them; the database layer fills the connection members when they
// are still empty. They are read and written on the GUI thread; a worker
// thread is handed copies of what it needs.
struct AppState
{
    QString m_strUserUid;   // c_user.uid_0 of the logged-in user, decimal
    QString m_strUserId;    // login id typed at login
    QString m_strUserName;  // name_0 of the logged-in user
    QString m_strPassword;  // the password typed at login, plain
    QString m_strAuth;      // auth_0: the menu uids the user may open, joined by ","
    QString m_strCompany;
    QString m_strVersion;   // "%d.%d.%d.%d"
    QString m_strExeName;
    QString m_strGlobal[10];
    QString m_strDbType;      // "1" SQL Server, "2" Access, "3" PostgreSQL
    QString m_strDbPath;      // the Access (SQLite) database file
    QString m_strConnectText; // the stored connection text, still scrambled
    QString m_strAppId;
    QString m_strMenuVersion;  // ver_1 of c_app: the version of the menu data
    QString m_strServiceHost;  // host of the maker's update service
    bool m_bUpdating = false;  // update files are being put into the update folder
};

// The one application state of the process.
AppState& theApp();
