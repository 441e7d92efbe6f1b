#pragma once

#include <cerrno>

// The fixed texts the updater shows, kept together.
namespace updater {

inline constexpr const char* kConfirmText = "软件需要升级，升级的作用是让软件更好用！";
inline constexpr const char* kConfirmCaption = "软件更新确认";
// The copy failed: %s is its cause (kErrorCauses), %d the system error number.
inline constexpr const char* kCopyFailedFormat =
    "升级出错: %s（错误号 %d）\n可以尝试手动复制update文件夹主程序覆盖根目录主程序。";

// The causes of system errors as the user is told them; others are
// kOtherCause.
struct ErrorCause
{
    int error;
    const char* text;
};
inline constexpr ErrorCause kErrorCauses[] = {
    {EACCES, "没有读写权限，程序文件夹可能是只读的"},
    {EPERM, "没有读写权限，程序文件夹可能是只读的"},
    {EROFS, "程序所在的磁盘是只读的"},
    {ENOSPC, "磁盘空间不足"},
    {EDQUOT, "磁盘配额已用完"},
    {ENOENT, "找不到文件"},
    {EIO, "磁盘读写错误"},
    {ETXTBSY, "文件正在被使用"},
    {EBUSY, "文件正在被使用"},
    {ENAMETOOLONG, "路径太长"},
};
inline constexpr const char* kOtherCause = "系统错误";

// The downloaded file is no whole program for this machine (cut short, an
// error page, a script).
inline constexpr const char* kNotAProgramText =
    "update文件夹中的新主程序不完整或不能在本机运行，没有升级，原主程序照常使用。";
// A running main program may not be ended (another user's).
inline constexpr const char* kCannotEndText =
    "有正在运行的主程序无法结束（可能是其他用户打开的），没有升级。请关闭所有正在运行的主程序后再试。";
// The new main program did not start (%s why, below); the old one is back
// and started.
inline constexpr const char* kNewProgramFailedFormat = "新主程序无法启动：%s。已恢复并启动原主程序。";
// ... and the old one could not be put back (%s the cause as for a copy,
// %d its number; then the file names).
inline constexpr const char* kRestoreFailedFormat =
    "新主程序无法启动：%s。\n恢复原主程序出错: %s（错误号 %d）\n可以尝试手动把%s改名为%s。";
// Why: it could not be run (cause, number), it ended (exit code) or was
// ended by a signal before its first window showed, or it stayed silent
// (seconds waited).
inline constexpr const char* kNotRunFormat = "无法运行，%s（错误号 %d）";
inline constexpr const char* kEndedFormat = "打开登录窗口之前就退出了（退出码 %d）";
inline constexpr const char* kKilledFormat = "打开登录窗口之前异常终止（信号 %d）";
inline constexpr const char* kSilentFormat = "%d秒内没有打开登录窗口";

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
