#pragma once

#include <QString>

// The fixed texts and SQL of the form-open step, the event machinery and the
// action dispatcher.
namespace EventTexts {

// Captions of the event messages.
inline const QString Caption = QStringLiteral("操作提示");
inline const QString CaptionInit = QStringLiteral("操作提示0");
inline const QString CaptionException = QStringLiteral("操作提示1");

inline const QString Failed = QStringLiteral("操作失败，请先检查录入数据是否规范；或者联系管理员反映问题。");
inline const QString NoRight = QStringLiteral("亲，您无权限本次操作，请与管理员联系！");
inline const QString UnknownError = QStringLiteral("未知错误\n");
inline const QString EndEditIncomplete = QStringLiteral("数据处理不完整，请联系管理员!");
// A keyword of the table whose work this build does not have (%1).
inline const QString ActionUnavailable = QStringLiteral("本版本尚不能执行动作“%1”，请联系管理员。");
// An action list that ran more elements than any form needs: a jump
// cycle (%1 the limit).
inline const QString ListTooLong = QStringLiteral("动作列表已执行%1步仍未结束（jump循环？），已停止。");
// Appended to the caption of a form opened without a menu name.
inline const QString PopUpSuffix = QStringLiteral("（PopUp）");

// A control reference that names no control (the reference follows).
inline const QString BadControlRef = QStringLiteral("控件指向出错:\n");

// The file dialog of "select_file": its title and its filters in the
// original's "name|patterns|...||" form (no choice, "pic", any other).
inline const QString SelectFileTitle = QStringLiteral("打开文件");
inline const QString SelectFileFilter = QStringLiteral(
    "All Files(*.*)|*.*|Excel2007 Files (*.xlsx)|*.xlsx|Excel2003 Files(*.xls)|*.xls|Txt Files(*.txt)|*.txt||");
inline const QString SelectPicFilter = QStringLiteral("All Files(*.*)|*.*|Pic Files|*.jpeg;*.jpg;*.png;*.bmp||");
inline const QString SelectAnyFilter = QStringLiteral("All Files(*.*)|*.*||");

// What "get_html_node_text" writes (printf formats, a positive count
// behind a blank): the element count; the element count and the passing
// count.
inline constexpr const char* HtmlElementsFound = "% i - Html Elements found";
inline constexpr const char* HtmlElementsPassing = "% i - % i  - Html Elements found";

// Written to standard error when the log file cannot be written (%1 its
// path, %2 the reason), followed by the entry.
inline const QString LogNotWritten = QStringLiteral("无法写入日志文件 %1：%2");

// The opening and the use of a form, with bound values: menu uid, user uid,
// menu name (use: "caption -> control text"), login id (, control id).
inline const QString InsertOpenLog = QStringLiteral(
    "INSERT INTO log_dh_open(menu_uid_0,open_user_uid_0,menu_name_0,open_user_id_0) values(?,?,?,?)");
inline const QString InsertUseLog = QStringLiteral(
    "INSERT INTO log_dh_open(menu_uid_0,open_user_uid_0,menu_name_0,open_user_id_0,control_id_0) "
    "values(?,?,?,?,?)");

// The button states of the user's group for a menu entry: menu uid, user uid.
inline const QString ButtonStates = QStringLiteral(
    "SELECT B.button_id_0,A.sta_0 FROM c_menu_button_group A LEFT JOIN c_menu_button B ON "
    "A.menu_button_uid_0=B.uid_0 WHERE B.menu_uid_0=? AND A.group_uid_0=(SELECT user_group_uid_0 FROM "
    "c_user WHERE uid_0=?)");

// A row when the user's group may not use the control: menu uid, control id,
// user uid.
inline const QString NoRightCheck = QStringLiteral(
    "SELECT c_menu_button.menu_uid_0, c_menu_button.button_id_0, c_menu_button_group.menu_button_uid_0, "
    "\t\tc_menu_button_group.group_uid_0, c_menu_button.sta_0, c_menu_button_group.sta_0, c_user.uid_0 "
    "\t\tFROM (c_menu_button LEFT JOIN c_menu_button_group ON c_menu_button.uid_0 = "
    "c_menu_button_group.menu_button_uid_0) \t\tLEFT JOIN c_user ON c_menu_button_group.group_uid_0 = "
    "c_user.user_group_uid_0 \t\tWHERE c_menu_button.menu_uid_0=? AND c_menu_button.button_id_0=? AND "
    "c_user.uid_0=? \t\tAND (c_menu_button_group.sta_0<0 OR (c_menu_button.sta_0<0 AND "
    "c_menu_button_group.sta_0=0))");

// Paths in the form description: form id, control kind, description id,
// event; form id, table id, column number.
inline const QString EndEditPath =
    QStringLiteral("//html[@id=%1]/body/dialog/table[@id=%2]/PARA/col_info/col[@id=%3]/ENDEDIT");
inline const QString ColumnInfoPath = QStringLiteral("//html/body/dialog/table[@id=%1]/PARA/col_info");

} // namespace EventTexts
