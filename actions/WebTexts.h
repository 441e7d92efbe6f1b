#pragma once

#include <QString>

// The texts of the web, text conversion and command actions.
namespace WebTexts {

// open_url: the link could not be opened (%1 the link).
inline const QString OpenUrlFailed = QStringLiteral("打开链接(%1)出错！\n链接格式是否正确？ 网络是否正常？");
// An action that writes a result was given no control for it.
inline const QString NoResultControl = QStringLiteral("请指定控件编号result_id！");

// cmd: the user ended the command from the busy window (%1 the command
// line); the event's changes to the database are undone.
inline const QString CommandCancelled = QStringLiteral("命令已取消，本次操作未完成，已撤销它对数据的更改：\n%1");

} // namespace WebTexts
