#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// Opening files and web pages with the desktop's program for them.

// Opens a web address (a text holding "://") or a file path; true when the
// desktop accepted it.
bool OpenWithShell(const QString& target);

// Opens the maker's online help page of a page key ("login" for the login,
// "dh" for the main window), with the application id.
bool OpenHelpPage(const QString& pageKey = QStringLiteral("login"));

// Tests put their own opener in place of the desktop's; an empty function
// restores it.
using ShellOpener = std::function<bool(const QUrl&)>;
void SetShellOpenerForTests(ShellOpener opener);
