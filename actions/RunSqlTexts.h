#pragma once

#include <QString>

// The fixed texts of the statement actions (run_sql, check, checkthis), the
// jump step and the queries into drop-down lists and controls.
namespace RunSqlTexts {

inline const QString Done = QStringLiteral("操作成功");

// run_sql.
inline const QString SelectRow = QStringLiteral("请选择行");
inline const QString RowWithoutKey = QStringLiteral("表格无uid,操作失败");
// Followed by the statement as the form wrote it.
inline const QString Failed = QStringLiteral("运行SQL出错\n");
// A row that the jump control keeps repeating (%1 the number of passes).
inline const QString RowRepeatsTooOften =
    QStringLiteral("同一行已重复执行%1遍，跳转控件仍未归0（jump_id循环？），已停止。");
// The grid was refilled, sorted or had rows taken out while run_sql walked
// over its selected rows (by a nested event): the rows left are not run.
inline const QString RowsMoved = QStringLiteral("执行过程中表格已被重新填充或改变了行，所选行已不再对应，操作已停止。");
// A row key that must go into a key list but is no whole number (%1 the key).
inline const QString KeyNotInteger = QStringLiteral("表格行的uid“%1”不是整数，不能填入SQL语句。");

// check and checkthis.
inline const QString NoRecordSource = QStringLiteral("请选择记录或者录入关联索引的指定控件编号uid_wnd_id！");
inline const QString Confirm = QStringLiteral("是否确认操作？");
inline const QString ConfirmCaption = QStringLiteral("操作确认");
// Between the database's text and the statement that failed.
inline const QString StatementFailed = QStringLiteral("出错:");

// The jump step.
inline const QString JumpNoRow = QStringLiteral("jump无效");
inline const QString JumpZero = QStringLiteral("jump为0无效");

// query_to_wnd without a target.
inline const QString NoTarget = QStringLiteral("参数错误");

} // namespace RunSqlTexts
