#pragma once

#include <QList>
#include <QPair>
#include <QString>

// How a command run by RunCommandCapture ended.
struct CommandStatus
{
    bool bStarted = false;
    bool bTimedOut = false; // stopped, with everything it had started, after the time-out
    int nExitCode = -1;     // the exit status of a command that ended by itself, else -1
};

// Runs the command line with /bin/sh -c, its standard input closed, and gives
// everything it wrote to standard output and standard error, read in one
// piece as UTF-8, or as code page 936 when it is not UTF-8; an empty text
// when it cannot be started. Waits until the command ends, or for at most
// timeoutMs (-1: no limit); a command still running then is killed together
// with the processes it started. status, when given, says how it ended.
QString RunCommandCapture(const QString& command, int timeoutMs = -1, CommandStatus* status = nullptr);

// Puts values into a command line for /bin/sh at their tokens so that the
// shell never reads a value as part of the command: each value goes into a
// shell variable of its own, set in single quotes at the start of the line
// (where nothing inside them is special), and each token becomes a quoted
// reference to that variable, in the form of where it stands: outside
// quotes, inside '...' or "...", and at any depth inside $(...) and `...`,
// whose text the shell reads again as a command of its own. The shell puts
// an expanded value in as text and reads no quotes, substitutions or
// command separators in it, so a value stays one piece of text whatever it
// holds. Tokens are found in one pass over the command, so a value is never
// searched for tokens itself.
QString FillShellValues(const QString& command, const QList<QPair<QString, QString>>& values);
