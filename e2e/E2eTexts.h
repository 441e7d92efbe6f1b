#pragma once

#include <QString>

// The fixed texts the sessions look for on the screen and type: window
// names, the demo users, and where the pieces of the shell sit.
namespace E2eText {

inline const QString LoginWindow = QStringLiteral("^Tembra软件$");
inline const QString MainWindow = QStringLiteral("管理软件$");
// Message boxes carry captions of many kinds ("操作提示", the program's name,
// an action's own): a box is any named window that is neither the main window
// nor a form of the demo.
inline const QString NamedWindow = QStringLiteral(".+");

inline const QString Administrator = QStringLiteral("admin");
inline const QString OrdinaryUser = QStringLiteral("zhang");
inline const QString SuspendedUser = QStringLiteral("li");
inline const QString DemoPassword = QStringLiteral("1");

// The login dialog's boxes (its client coordinates).
constexpr int LoginIdX = 240, LoginIdY = 108;
// The navigation tree of the main window starts this far down its window;
// its highlighted row is looked for this far in from the left.
constexpr int NavTreeTop = 80;
constexpr int NavTreeProbeX = 200;

// The grid's header and rows in pixels (the demo's font on Xvfb).
constexpr int GridHeaderHeight = 21;
constexpr int GridRowHeight = 20;

// The platform's printer dialog (its caption in English or Chinese).
inline const QString PrinterDialog = QStringLiteral("^(Print|打印)$");
// The print preview fills the screen; its 关闭 sits in its tool bar (in its
// client area).
inline const QString PreviewWindow = QStringLiteral("^打印预览");
constexpr int PreviewCloseX = 146, PreviewCloseY = 15;
// The platform's printer dialog prints to a PDF file in the working folder
// (the program folder) unless told otherwise.
inline const QString PrintedFile = QStringLiteral("print.pdf");

// The stand-in for the desktop's opener: it notes each file it is asked to
// open in this file of the session's folder.
inline const QString OpenedFilesList = QStringLiteral("opened.txt");

} // namespace E2eText
