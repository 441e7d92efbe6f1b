#pragma once

#include <QString>

// The fixed texts of the program and menu-data updates: the update service's
// requests, the file names in the program folder, the SQL and the messages.
namespace UpdateTexts {

// Requests to the update service; %1 is the service host. The version
// request's "%s" are filled in order (its eleven values are more than one
// QString::arg takes, and encoded values hold "%").
inline const QString VersionRequest = QStringLiteral(
    "http://%s/service/v.aspx?v=%s-%s-%s-%s&id=%s&name=%s&ip=%s&type=%s&c=%s&app=%s");
inline const QString MenuVersionRequest = QStringLiteral("http://%1/service/v1.aspx?type=%2&app_id=%3");
inline const QString UpdaterDownload = QStringLiteral("http://%1/service/dl.aspx?id=up.exe");
inline const QString ProgramDownload = QStringLiteral("http://%1/service/dl.aspx?id=tembra.exe");
// %4 is the file name.
inline const QString MenuFileDownload = QStringLiteral("http://%1/service/dl.aspx?type=%2&app_id=%3&id=%4");

// Replies of the service longer than this count as none.
constexpr int MaxReplyLength = 20;
// Company names encoded shorter than this are sent as CompanyPlaceholder.
constexpr int MinCompanyLength = 4;
inline const QString CompanyPlaceholder = QStringLiteral("test0");
inline const QString ReplyLineEnd = QStringLiteral("\r\n");

// Files in the program folder.
inline const QString ProgramName = QStringLiteral("tembra");
inline const QString UpdaterName = QStringLiteral("up");
inline const QString UpdateFolder = QStringLiteral("update/");
inline const QString UpdaterSwitch = QStringLiteral("d");
// The version last handed to the updater; see UpdateMarker.
inline const QString UpdateMarkerName = QStringLiteral("update.ver");

// Menu-data files in the update folder.
inline const QString MenuFile = QStringLiteral("dh_menu.txt");
inline const QString ButtonFile = QStringLiteral("menu_button.txt");
inline const QString BeforeScriptFile = QStringLiteral("up_sql.txt");
inline const QString AfterScriptFile = QStringLiteral("clear_sql.txt");
inline const QString MenuDumpFile = QStringLiteral("dh_menu_old.txt");
// What a damaged line of a menu-data file is logged as: the file and the line number.
inline const QString DamagedLine = QStringLiteral("%1 第 %2 行格式不对");
// %1 is the menu entry's uid.
inline const QString FormFile = QStringLiteral("%1_form.dll");

// What the menu merge writes to the program's log, each entry with its
// detail (the line, the statement, the database's reason) below it.
// Causes that drop the merge; %1 of the downloads is the file or the menu
// entry's uid, %2 why the download failed (the detail is the address).
inline const QString FileNotDownloaded = QStringLiteral("菜单数据更新：%1 下载失败（%2），未合并");
inline const QString FormNotDownloaded = QStringLiteral("菜单数据更新：菜单 %1 的表单下载失败（%2），未合并");
inline const QString NotConnected = QStringLiteral("菜单数据更新：数据库连接失败，未合并");
inline const QString OtherInstallation = QStringLiteral("菜单数据更新：数据库不属于本安装，未合并");
// %1 the database's application id, %2 the program's.
inline const QString InstallationIds = QStringLiteral("数据库的 app_0：%1\n本程序的 app_id：%2");
inline const QString FileRefused = QStringLiteral("菜单数据更新：更新文件无法读写，未合并");
inline const QString TransactionFailed = QStringLiteral("菜单数据更新：数据库事务失败，未合并");
// Failures passed over.
inline const QString ScriptNotSplit = QStringLiteral("菜单数据更新：%1 有未结束的字符串、名称或注释，未执行");
inline const QString StatementFailed = QStringLiteral("菜单数据更新：%1 的语句执行失败");
inline const QString RowNotStaged = QStringLiteral("菜单数据更新：%1 的一行未能写入");
inline const QString FormNotStored = QStringLiteral("菜单数据更新：菜单 %1 的表单未能写入，其后的菜单沿用原有表单");
inline const QString NoMenuStaged = QStringLiteral("菜单数据更新：dh_menu.txt 没有可用的菜单，未合并");
inline const QString MergeNotDone = QStringLiteral("菜单数据更新：合并未完成，菜单与版本保持原样");
// Names of the merge's own statements in those entries.
inline const QString MergeStatements = QStringLiteral("菜单合并");

// The installation.
inline const QString SelectAppId = QStringLiteral("SELECT app_0 FROM c_app WHERE uid_0=1");
inline const QString SelectMenuVersion = QStringLiteral("SELECT ver_1 FROM c_app WHERE uid_0=1");

// Menu merge.
inline const QString SelectMenuDump = QStringLiteral(
    "SELECT uid_0,level_0,leaf_0,order_0,pUid_0,name_0,update_user_uid_0,update_time_0  FROM c_menu_dh order by uid_0");
inline const QString SelectButtonStaging = QStringLiteral(
    "SELECT uid_0,menu_uid_0,button_id_0,value_0  FROM c_menu_button_down where uid_0<0");
inline const QString SelectMenuStaging = QStringLiteral(
    "SELECT uid_0,level_0,leaf_0,order_0,pUid_0,name_0,update_user_uid_0,update_time_0  FROM c_menu_dh_down where uid_0<0");
inline const QString SelectStagedForm = QStringLiteral("SELECT uid_0,form_0  FROM c_menu_dh_down where uid_0=%1");
inline const QString ClearStagedForm = QStringLiteral("UPDATE c_menu_dh_down SET form_0=NULL where uid_0=%1");
inline const QString EmptyButtonStaging = QStringLiteral("TRUNCATE TABLE c_menu_button_down");
inline const QString EmptyButtonStagingAccess = QStringLiteral("DELETE FROM c_menu_button_down");
inline const QString EmptyMenuStaging = QStringLiteral("TRUNCATE TABLE c_menu_dh_down");
inline const QString EmptyMenuStagingAccess = QStringLiteral("DELETE FROM c_menu_dh_down");

// The merge of kinds 1 and 3, joined by ";"; the statements marked
// IdentityOnly run on kind 1 only. %1 is the new version.
inline const QString MergeCarryForms = QStringLiteral(
    "UPDATE c_menu_dh_down SET form_0=B.form_0 FROM c_menu_dh B WHERE c_menu_dh_down.uid_0=B.uid_0 AND c_menu_dh_down.form_0 IS NULL AND B.form_0 IS NOT NULL");
inline const QString MergeEmptyMenu = QStringLiteral("TRUNCATE TABLE c_menu_dh");
inline const QString MergeMenuIdentityOn = QStringLiteral("SET IDENTITY_INSERT c_menu_dh ON");
inline const QString MergeFillMenu = QStringLiteral(
    "INSERT INTO c_menu_dh(uid_0,level_0,leaf_0,order_0,pUid_0,name_0,form_0,update_user_uid_0,update_time_0)SELECT uid_0,level_0,leaf_0,order_0,pUid_0,name_0,form_0,update_user_uid_0,update_time_0  FROM  c_menu_dh_down ORDER BY uid_0");
inline const QString MergeMenuIdentityOff = QStringLiteral("SET IDENTITY_INSERT c_menu_dh OFF");
inline const QString MergeCarryButtonStates = QStringLiteral(
    "update c_menu_button_down set sta_0=B.sta_0 FROM c_menu_button B where c_menu_button_down.uid_0=B.uid_0");
inline const QString MergeEmptyButtons = QStringLiteral("TRUNCATE TABLE c_menu_button");
inline const QString MergeButtonIdentityOn = QStringLiteral("SET IDENTITY_INSERT c_menu_button ON");
inline const QString MergeFillButtons = QStringLiteral(
    "INSERT INTO c_menu_button(uid_0,menu_uid_0,button_id_0,value_0,sta_0) SELECT uid_0,menu_uid_0,button_id_0,value_0,sta_0  FROM  c_menu_button_down ORDER BY uid_0");
inline const QString MergeButtonIdentityOff = QStringLiteral("SET IDENTITY_INSERT c_menu_button OFF");
inline const QString MergeStoreVersion = QStringLiteral("UPDATE c_app SET ver_1=N'%1' WHERE uid_0=1");

// The merge of kind 2, statement by statement. The carry-over is written for
// SQLite, which has no UPDATE over two tables; its effect is the kind 1 one.
inline const QString MergeCarryFormsAccess = QStringLiteral(
    "UPDATE c_menu_dh_down SET form_0=(SELECT B.form_0 FROM c_menu_dh B WHERE B.uid_0=c_menu_dh_down.uid_0) "
    "WHERE form_0 IS NULL AND EXISTS(SELECT 1 FROM c_menu_dh B WHERE B.uid_0=c_menu_dh_down.uid_0 AND B.form_0 IS NOT NULL);");
inline const QString MergeEmptyMenuAccess = QStringLiteral("DELETE FROM c_menu_dh;");
inline const QString MergeFillMenuAccess = MergeFillMenu + QStringLiteral(";");
inline const QString MergeEmptyButtonsAccess = QStringLiteral("DELETE FROM c_menu_button;");
inline const QString MergeFillButtonsAccess = MergeFillButtons + QStringLiteral(";");
inline const QString MergeStoreVersionAccess = QStringLiteral("UPDATE c_app SET ver_1='%1' WHERE uid_0=1");

// Update through the database and publishing.
inline const QString SelectPublishedVersion = QStringLiteral("SELECT ver_0 FROM c_app where uid_0=1");
inline const QString SelectPublishedPrograms =
    QStringLiteral("SELECT exe_0 FROM c_app where uid_0=1 OR uid_0=2 order by uid_0");
inline const QString SelectPublishedRow =
    QStringLiteral("SELECT uid_0,ver_0,exe_0, date_exe_0,date_up_0 FROM c_app where uid_0=%1");
inline const QString StorePublishedVersion =
    QStringLiteral("UPDATE c_app SET ver_0='%1',date_exe_0='%2',date_up_0=getdate() where uid_0=1");
// SQLite and PostgreSQL know no getdate(); both know CURRENT_TIMESTAMP.
inline const QString StorePublishedVersionOther =
    QStringLiteral("UPDATE c_app SET ver_0='%1',date_exe_0='%2',date_up_0=CURRENT_TIMESTAMP where uid_0=1");

inline const QString MsgDownloadFailed = QStringLiteral("下载文件失败");
inline const QString MsgNoNewVersion = QStringLiteral("无新版本");
inline const QString MsgPublishQuestion = QStringLiteral("确定发布本新版本软件，供其他用户升级吗？");
inline const QString MsgPublishCaption = QStringLiteral("发布确认");
inline const QString MsgPublishProgramFailed = QStringLiteral("发新版本失败");
inline const QString MsgPublishUpdaterFailed = QStringLiteral("发新版本失败2");
inline const QString MsgPublished = QStringLiteral("发布成功");
inline const QString MsgVersionNotStored = QStringLiteral("更新版本失败");
// Publishing without the updater beside the program would hand the other
// installations a program they cannot install.
inline const QString MsgUpdaterMissing = QStringLiteral("主程序目录下缺少升级程序 up，不能发布。");

} // namespace UpdateTexts
