#pragma once

#include <QString>

// The fixed texts and SQL of the application shell. Where a statement of
// SQL Server cannot run on SQLite (kind 2) or PostgreSQL (kind 3), the
// statement of that kind with the same effect stands beside it. Values typed
// by users and facts of the host are bound to "?" marks, never spliced.
namespace AppText {

// Program start.
inline const QString OleFailed = QStringLiteral("OLE 初始化失败。请确保 OLE 库是正确的版本。");
inline const QString NetworkDrive = QStringLiteral("主程序必须安装在自己电脑,请重新安装软件。");
inline const QString WrongName = QStringLiteral(
    "主程序名不能改为 %1 须是默认的 tembra\n\n请修改后重新运行程序！\n\n可以发送主程序的快捷方式到桌面，再修改快捷方式的名称。");
inline const QString ProgramName = QStringLiteral("tembra");
inline const QString ProgramNameCapital = QStringLiteral("Tembra");
inline const QString RegistryKey = QStringLiteral("应用程序向导生成的本地应用程序");
inline const QString UpdateFolder = QStringLiteral("update");

// cfg.ini
inline const QString IniFile = QStringLiteral("cfg.ini");
inline const QString IniSection = QStringLiteral("SERVER");
inline const QString IniDbType = QStringLiteral("DTYPE");
inline const QString IniName = QStringLiteral("NAME");
inline const QString IniAppName = QStringLiteral("APPNAME");
inline const QString IniUser = QStringLiteral("USER");
inline const QString IniTreeButton = QStringLiteral("DHBTN");

// The default password of new users, named in the login messages.
inline const QString DefaultPassword = QStringLiteral("1");

// Login dialog.
inline const QString LoginTitle = QStringLiteral("Tembra软件");
inline const QString SettingsCaption = QStringLiteral("设 置");
inline const QString SettingsTip = QStringLiteral("选择设置数据库");
inline const QString HelpCaption = QStringLiteral("帮 助");
inline const QString HelpTip = QStringLiteral("在线帮助：http://www.tembra.invalid/help");
inline const QString LoginCaption = QStringLiteral("登 录");
inline const QString LoginTip = QStringLiteral("用户登录系统");
inline const QString CloseTip = QStringLiteral("关闭系统");
inline const QString LoginIdLabel = QStringLiteral("用户名:");
inline const QString PasswordLabel = QStringLiteral("密  码:");
inline const QString NoLoginId = QStringLiteral("请输入或者选择用户名");
inline const QString NoPassword = QStringLiteral("密码不能为空，默认密码为：");
inline const QString LoginFailed = QStringLiteral("用户名或者密码错误，登录失败！默认密码为：");
inline const QString NoDatabase = QStringLiteral("无法连接数据库，请点击“设 置”检查数据库配置。\n\n");
inline const QString HelpPageKey = QStringLiteral("login");
inline const QString StateActive = QStringLiteral("正常");

inline const QString SelectUserIds =
    QStringLiteral("SELECT id_0 FROM c_user WHERE state_0='正常' ORDER BY id_0");
// Id and stored password are bound, in that order.
inline const QString SelectLoginUser = QStringLiteral(
    "SELECT uid_0,auth_0,name_0,pass_0 FROM view_c_user WHERE  state_0='正常' AND  id_0=? AND pass_0=?");
// The user uid is bound.
inline const QString StampLoginSqlServer = QStringLiteral("UPDATE c_user SET loginTime_0=getdate() WHERE uid_0=?");
inline const QString StampLoginSqlite =
    QStringLiteral("UPDATE c_user SET loginTime_0=date('now','localtime') WHERE uid_0=?");
inline const QString StampLoginPostgreSql = QStringLiteral("UPDATE c_user SET loginTime_0=CURRENT_DATE WHERE uid_0=?");
inline const QString SelectServerVersion =
    QStringLiteral("SELECT CONVERT(varchar(100),serverproperty(N'productversion'))");
inline const QString ServerVersionWithAddress = QStringLiteral("9.0.0.0");
// Login log rows: user uid, login id, IPv4 address, host name, MAC address
// bound in that order (a failed login binds the uid 0).
inline const QString LogLoginSqlServerOld = QStringLiteral(
    "INSERT INTO log_client_login(user_uid_0,name_0,ip_0,time_0,cpt_name_0,mac_0) "
    "select top 1 ? as user_uid_0,? as name_0,? as ip_0,getdate() as  time_0,? as cpt_name_0,? as mac_0 ");
inline const QString LogLoginSqlServer = QStringLiteral(
    "INSERT INTO log_client_login(user_uid_0,name_0,ip_0,time_0,cpt_name_0,mac_0,ip_1) "
    "select top 1 ? as user_uid_0,? as name_0,? as ip_0,getdate() as  time_0,? as cpt_name_0,? as mac_0 "
    ",client_net_address as ip_1 from  sys.dm_exec_connections where session_id=@@SPID");
inline const QString LogLoginSqlite = QStringLiteral(
    "INSERT INTO log_client_login(user_uid_0,name_0,ip_0,time_0,cpt_name_0,mac_0) "
    "VALUES (?,?,?,datetime('now','localtime'),?,?)");
inline const QString LogLoginPostgreSql = QStringLiteral(
    "INSERT INTO log_client_login(user_uid_0,name_0,ip_0,time_0,cpt_name_0,mac_0) VALUES (?,?,?,now(),?,?)");

// Database settings dialog.
inline const QString IpCfgTitle = QStringLiteral("配置实例");
inline const QString NetworkInstance = QStringLiteral("网络实例");
inline const QString FillInParameters = QStringLiteral("填写相关参数");
inline const QString TestDatabase = QStringLiteral("测试数据库");
inline const QString AccessDatabase = QStringLiteral("Access 数据库");
inline const QString AddressLabel = QStringLiteral("实例地址:");
inline const QString PortLabel = QStringLiteral("端口号:");
inline const QString DatabaseLabel = QStringLiteral("实例名:");
inline const QString UserLabel = QStringLiteral("用户名:");
inline const QString PassLabel = QStringLiteral("密    码:");
inline const QString PathLabel = QStringLiteral("数据库路径:");
inline const QString Browse = QStringLiteral("...");
inline const QString TestAndSave = QStringLiteral("测试并保存");
inline const QString Cancel = QStringLiteral("取消");
inline const QString DefaultPort = QStringLiteral("80");
inline const QString HostedInstance = QStringLiteral("实例");
inline const QString BrowseFilter =
    QStringLiteral("Access 2003 数据库 (*.mdb);;Access 2007 数据库 (*.accdb);;All Files (*.*)");
inline const QString IncompleteSettings = QStringLiteral("请输入完整配置信息");
inline const QString NoAccessPath = QStringLiteral("请输入Access文件完整路径");
inline const QString CannotConnect = QStringLiteral("不能连接服务器，请检查配置文件，修改正确后保存");
inline const QString Saved = QStringLiteral("保存成功！软件将重新启动！");
inline const QString NotSaved = QStringLiteral("配置文件写入失败，原配置未改变，请检查 cfg.ini 是否可写。");
inline const QString SqlServerText = QStringLiteral("driver={SQL Server};Server=%1,%2;DATABASE=%3;UID=%4;PWD=%5;");
inline const QString PostgreSqlText = QStringLiteral(
    "Provider=MSDASQL.1;Password=%1;User Properties=\"DRIVER={PostgreSQL};DATABASE=%2;SERVER=%3;\t\t\t\t PORT=%4;"
    "UID=%5;PWD=%1;TextAsLongVarchar=0;ByteaAsLongVarBinary=1\"");
inline const QString AccessPrefix = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
inline const QString AccessPassword = QStringLiteral(";Jet OLEDB:Database Password=kpm.velanorbi.test;");
inline const QString AccessPasswordOld = QStringLiteral(";Jet OLEDB:Database Password=wqz.velanorbi.test;");
inline const QString AccessPasswordEmpty = QStringLiteral(";Jet OLEDB:Database Password=;");
inline const QString JetPasswordMark = QStringLiteral(";Jet OLEDB:Database Password=");
inline const QString SqlServerServer = QStringLiteral("driver={SQL Server};Server=");
inline const QString DatabaseField = QStringLiteral(";DATABASE=");
inline const QString UidField = QStringLiteral(";UID=");
inline const QString ServiceAddressPath = QStringLiteral("/service/get.aspx");

// Main window.
inline const QString MainTitle = QStringLiteral("DovrikTembra管理软件");
inline const QString CompanyButton = QStringLiteral("这里填写贵公司名");
inline const QString RefreshTip = QStringLiteral("刷新功能导航");
inline const QString ChangePassTip = QStringLiteral("修改登录密码");
inline const QString AboutTip = QStringLiteral("关于软件");
inline const QString PublishTip = QStringLiteral("发布新版本,用于其它用户更新到该版本！");
inline const QString SupportTip = QStringLiteral("在线帮助与技术支持");
inline const QString NavCaption = QStringLiteral("我的导航");
inline const QString NavTip = QStringLiteral("显示树形导航");
inline const QString FavCaption = QStringLiteral("我的收藏夹");
inline const QString FavTip = QStringLiteral("显示我的收藏夹");
inline const QString DetailsTip = QStringLiteral("点击查看详情");
inline const QString MenuOpen = QStringLiteral("打开");
inline const QString MenuAddFavourite = QStringLiteral("添加到收藏夹");
inline const QString MenuRemoveFavourite = QStringLiteral("从收藏夹中删除");
inline const QString CloseQuestion = QStringLiteral("是否确认退出系统？");
inline const QString CloseCaption = QStringLiteral("当前用户:");
inline const QString HelpQuery = QStringLiteral("s=dh&appid=");
inline const QString AdministratorUid = QStringLiteral("1");
inline const QString NavColumn = QStringLiteral("auth_0");
inline const QString FavColumn = QStringLiteral("auth1_0");

// The user uid is a number the program read itself.
inline const QString NavTreeSqlServer = QStringLiteral(
    "SELECT pUid_0,leaf_0,name_0,uid_0 FROM c_menu_dh \t\twhere CHARINDEX(','+rtrim(uid_0)+',' ,(select "
    "N','+auth_0+N','  from view_c_user where uid_0=%1))>0 \t\torder by level_0,pUid_0,order_0,uid_0");
inline const QString FavTreeSqlServer = QStringLiteral(
    "SELECT pUid_0,leaf_0,name_0,uid_0 FROM c_menu_dh \t\twhere CHARINDEX(','+rtrim(uid_0)+',' ,(select "
    "N','+auth_0+N','  from view_c_user where uid_0=%1))>0 \t\tAND CHARINDEX(','+rtrim(uid_0)+',' ,(select "
    "N','+auth1_0+N','  from view_c_user where uid_0=%1))>0 \t\torder by level_0,pUid_0,order_0,uid_0");
inline const QString SelectRights = QStringLiteral("select auth_0 from view_c_user where uid_0=%1");
inline const QString SelectFavourites = QStringLiteral("select auth1_0 from view_c_user where uid_0=%1");
// The lists, wrapped in commas, are bound: rights (and favourites).
inline const QString NavTreeSqlite = QStringLiteral(
    "SELECT pUid_0,leaf_0,name_0,uid_0 FROM c_menu_dh where instr(?,','||CAST(uid_0 AS TEXT)||',')>0 "
    "order by level_0,pUid_0,order_0,uid_0");
inline const QString FavTreeSqlite = QStringLiteral(
    "SELECT pUid_0,leaf_0,name_0,uid_0 FROM c_menu_dh where instr(?,','||CAST(uid_0 AS TEXT)||',')>0 "
    "AND instr(?,','||CAST(uid_0 AS TEXT)||',')>0 order by level_0,pUid_0,order_0,uid_0");
inline const QString NavTreePostgreSql = QStringLiteral(
    "SELECT pUid_0,leaf_0,name_0,uid_0 FROM c_menu_dh where strpos(CAST(? AS text),','||uid_0||',')>0 "
    "order by level_0,pUid_0,order_0,uid_0");
inline const QString FavTreePostgreSql = QStringLiteral(
    "SELECT pUid_0,leaf_0,name_0,uid_0 FROM c_menu_dh where strpos(CAST(? AS text),','||uid_0||',')>0 "
    "AND strpos(CAST(? AS text),','||uid_0||',')>0 order by level_0,pUid_0,order_0,uid_0");
inline const QString WholeTree =
    QStringLiteral("SELECT pUid_0,leaf_0,name_0,uid_0 FROM c_menu_dh order by level_0,pUid_0,order_0,uid_0");
inline const QString SelectUserFavourites = QStringLiteral("SELECT auth1_0 FROM c_user WHERE uid_0=? ");
// The list and the user uid are bound.
inline const QString UpdateFavourites = QStringLiteral("UPDATE c_user SET auth1_0=? WHERE uid_0=?");

// Change-password dialog.
inline const QString ChangePassTitle = QStringLiteral("修改登录密码");
inline const QString OldPassLabel = QStringLiteral("旧密码:");
inline const QString NewPassLabel = QStringLiteral("新密码:");
inline const QString ChangePassButton = QStringLiteral("修改密码");
inline const QString WrongOldPass = QStringLiteral("原密码错误！");
inline const QString EmptyNewPass = QStringLiteral("密码不能设置为空！");
inline const QString PassMismatch = QStringLiteral("新密码两次输入不相同，请重新输入！");
inline const QString PassChanged = QStringLiteral("修改成功");
inline const QString PassNotChanged = QStringLiteral("修改失败");
// The stored password and the user uid are bound.
inline const QString UpdatePassword = QStringLiteral("UPDATE c_user SET pass_0=? WHERE uid_0=?");

// About box.
inline const QString AboutTitle = QStringLiteral("关于软件");
inline const QString VersionLabel = QStringLiteral("版本:");
inline const QString VersionLine = QStringLiteral("Tembra管理软件 版本  ");
inline const QString AppNameLabel = QStringLiteral("软件名:");
inline const QString WebLabel = QStringLiteral("官网:");
inline const QString WebSite = QStringLiteral("http://www.tembra.invalid/");
inline const QString DownloadHint = QStringLiteral("请到官网 http://www.tembra.invalid/ 下载最新版本");
inline const QString SelectAppName = QStringLiteral("SELECT appName_0 FROM c_app WHERE uid_0=1");

// Start-up worker.
inline const QString BackupFolder = QStringLiteral("AutoBackup");
// Today's copy while it is made and checked.
inline const QString PartialSuffix = QStringLiteral(".part");
inline const QString MenuFile = QStringLiteral("dh_menu.txt");
inline const QString SelectAppId = QStringLiteral("SELECT app_0 FROM c_app WHERE uid_0=1");
inline const QString SelectMenuVersion = QStringLiteral("SELECT ver_1 FROM c_app WHERE uid_0=1");
inline const QString SelectCompany = QStringLiteral("SELECT company_0 FROM c_app WHERE uid_0=1");
inline const QString CountStock = QStringLiteral("SELECT count(1) FROM p_sto");
inline const QString CountMaterial = QStringLiteral("SELECT count(1) FROM c_material");
inline const QString Failure = QStringLiteral("异常");
// The installation facts of a database that fails while they are read.
inline const QString UnreadMenuVersion = QStringLiteral("10.0.0.0");
inline const QString UnreadCompany = QStringLiteral("未连接到数据库");
// Whether an SQLite file is a database at all: opening one never reads it.
inline const QString CheckSqliteFile = QStringLiteral("SELECT count(1) FROM sqlite_master");
// SQLite's integrity check of every page; a sound file answers "ok".
inline const QString QuickCheck = QStringLiteral("PRAGMA quick_check");
inline const QString QuickCheckPassed = QStringLiteral("ok");

} // namespace AppText
