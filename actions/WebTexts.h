#pragma once

#include <QString>

// The texts of the web, text conversion and command actions.
namespace WebTexts {

// open_url: the link could not be opened (%1 the link).
inline const QString OpenUrlFailed = QStringLiteral("打开链接(%1)出错！\n链接格式是否正确？ 网络是否正常？");
// An action that writes a result was given no control for it.
inline const QString NoResultControl = QStringLiteral("请指定控件编号result_id！");

// cmd: the command did not end well (%1 the command line, then the exit
// status or the seconds waited, then what it wrote).
inline const QString CommandFailed = QStringLiteral("命令执行失败（退出码 %2）：\n%1\n\n%3");
inline const QString CommandTimedOut = QStringLiteral("命令执行超过 %2 秒，已停止：\n%1\n\n%3");
inline const QString CommandKilled = QStringLiteral("命令被中止：\n%1\n\n%2");
inline const QString CommandNotStarted = QStringLiteral("命令无法启动：\n%1");

} // namespace WebTexts
