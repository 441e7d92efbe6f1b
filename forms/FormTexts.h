#pragma once

#include <QString>

// The fixed texts of the form runtime.
namespace FormTexts {

// Caption of a form window until its head gives one.
inline const QString DefaultCaption = QStringLiteral("XXX");

// A form description that cannot be opened.
inline const QString NotXml = QStringLiteral("表单数据格式错误，无法打开表单");
inline const QString NoHtmlRoot = QStringLiteral("表单数据缺少html根元素，无法打开表单");

// Where the form's own database objects find their connection text, still
// scrambled: cfg.ini, section SERVER, key NAME.
inline const QString IniFile = QStringLiteral("cfg.ini");
inline const QString IniServerSection = QStringLiteral("SERVER");
inline const QString IniConnectionKey = QStringLiteral("NAME");

// The face of fonts that name none and the system gives none.
inline const QString DefaultFace = QStringLiteral("宋体");

// The window text of a tree-list board.
inline const QString TreeListTitle = QStringLiteral("TreeList");

// A rectangle text that is not four comma-separated numbers.
inline const QString RectFormatError = QStringLiteral("矩形数据格式错误");

// The stored form of a menu entry (the trailing blanks as they were always sent).
inline const QString SelectLeafForm = QStringLiteral("SELECT form_0 FROM c_menu_dh WHERE leaf_0=1 AND uid_0=%1 ");
// The text detail dialog of a browse box.
inline const QString TextDetailCaption = QStringLiteral("文本详情");
inline const QString TextDetailOk = QStringLiteral("确定");

inline const QString SelectForm = QStringLiteral("SELECT form_0 FROM c_menu_dh WHERE uid_0=%1 ");

// A popup form that cannot be opened (%1 the popup id or the menu uid).
inline const QString PopupNotFound = QStringLiteral("表单中没有编号为“%1”的弹出窗体，无法打开");
inline const QString PopupStoredEmpty = QStringLiteral("菜单%1没有保存表单，无法打开");
inline const QString PopupStoredBroken = QStringLiteral("菜单%1的表单数据已损坏，无法打开");
// A menu entry whose stored form cannot be opened: %1 the entry's name, %2 why.
inline const QString MenuFormUnusable = QStringLiteral("菜单“%1”的表单无法打开：\n%2");
// Why: a menu entry (leaf_0=1) whose form_0 is empty, or holds a text too
// short to be a form.
inline const QString MenuFormEmpty = QStringLiteral("数据库中这个菜单的表单数据是空的。");
inline const QString MenuFormTooShort = QStringLiteral("数据库中这个菜单的表单数据不完整。");
// How long the form's read waits for another program's lock, in ms, on SQL
// Server and PostgreSQL (SQLite waits as long by itself), so that a locked
// database is reported instead of holding the window up.
inline const QString LockWaitSqlServer = QStringLiteral("SET LOCK_TIMEOUT 5000");
inline const QString LockWaitPostgreSql = QStringLiteral("SET lock_timeout = 5000");

// The window of a command the form waits for: its caption, the command
// (%1), how long it has run (%1 the time below) and the button that ends it.
inline const QString CommandBusyCaption = QStringLiteral("正在执行命令");
inline const QString CommandBusyName = QStringLiteral("命令：%1");
inline const QString CommandBusyRunTime = QStringLiteral("已运行 %1，可以点“取消”结束命令。");
inline const QString CommandBusyCancel = QStringLiteral("取消");
// The time a command has run: seconds; minutes and seconds; hours, minutes
// and seconds.
inline const QString RunSeconds = QStringLiteral("%1 秒");
inline const QString RunMinutes = QStringLiteral("%1 分 %2 秒");
inline const QString RunHours = QStringLiteral("%1 小时 %2 分 %3 秒");

} // namespace FormTexts
