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

// Puts values into a command line for /bin/sh at their tokens, each quoted
// for where its token stands: outside quotes as one single-quoted word,
// inside single quotes with its apostrophes closed around, inside double
// quotes with \\, $, ` and " escaped. Whatever a value holds, it stays one
// piece of text and never becomes shell syntax. Tokens are found in one pass
// over the command, so a value is never searched for tokens itself.
QString FillShellValues(const QString& command, const QList<QPair<QString, QString>>& values);
