#pragma once

// The fixed texts the updater shows, kept together.
namespace updater {

inline constexpr const char* kConfirmText = "软件需要升级，升级的作用是让软件更好用！";
inline constexpr const char* kConfirmCaption = "软件更新确认";
// %d is the system error number of the failed copy.
inline constexpr const char* kCopyFailedFormat =
    "升级出错: %d \n可以尝试手动复制update文件夹主程序覆盖根目录主程序。";

// The caption of a message window, as the desktop gives a message without one.
inline constexpr const char* kMessageCaption = "错误";

// Shown after the question on a terminal.
inline constexpr const char* kConsoleAnswerHint = " [Y/N] ";

// File names inside the program folder.
inline constexpr const char* kProgramName = "tembra";
inline constexpr const char* kUpdateFolderName = "update/";

} // namespace updater
