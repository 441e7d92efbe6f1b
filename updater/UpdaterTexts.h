#pragma once

// The fixed texts the updater shows, kept together.
namespace updater {

inline constexpr const char* kConfirmText = "软件需要升级，升级的作用是让软件更好用！";
inline constexpr const char* kConfirmCaption = "软件更新确认";
// %d is the system error number of the failed copy.
inline constexpr const char* kCopyFailedFormat =
    "升级出错: %d \n可以尝试手动复制update文件夹主程序覆盖根目录主程序。";

// The downloaded file is no whole program for this machine (cut short, an
// error page, a script).
inline constexpr const char* kNotAProgramText =
    "update文件夹中的新主程序不完整或不能在本机运行，没有升级，原主程序照常使用。";
// A running main program may not be ended (another user's).
inline constexpr const char* kCannotEndText =
    "有正在运行的主程序无法结束（可能是其他用户打开的），没有升级。请关闭所有正在运行的主程序后再试。";
// The new main program did not start; the old one is back and started.
inline constexpr const char* kNewProgramFailedText = "新主程序无法启动，已恢复并启动原主程序。";

// The caption of a message window, as the desktop gives a message without one.
inline constexpr const char* kMessageCaption = "错误";

// Shown after the question on a terminal.
inline constexpr const char* kConsoleAnswerHint = " [Y/N] ";

// File names inside the program folder.
// The names start-up accepts for the main program; the first is the one a
// fresh installation uses and the one downloaded into the update folder.
inline constexpr const char* kProgramNames[] = {"tembra", "Tembra"};
inline constexpr const char* kUpdateFolderName = "update/";

} // namespace updater
