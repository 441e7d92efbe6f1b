#pragma once

#include <QString>

// The texts of the web, text conversion and command actions.
namespace WebTexts {

// open_url: the link could not be opened (%1 the link).
inline const QString OpenUrlFailed = QStringLiteral("打开链接(%1)出错！\n链接格式是否正确？ 网络是否正常？");
// An action that writes a result was given no control for it.
inline const QString NoResultControl = QStringLiteral("请指定控件编号result_id！");

// cmd: the command was stopped at the time-out (%1 the command line, %2 the
// seconds waited, %3 what it wrote until then).
inline const QString CommandTimedOut = QStringLiteral("命令执行超过 %2 秒，已停止：\n%1\n\n%3");

} // namespace WebTexts
