#pragma once

#include <QString>

// How a command run by RunCommandCapture ended.
struct CommandStatus
{
    bool bStarted = false;
    bool bTimedOut = false; // stopped, with everything it had started, after the time-out
    int nExitCode = -1;     // the exit status of a command that ended by itself, else -1
};

// Runs the command line with /bin/sh -c, its standard input closed, and gives
// everything it wrote to standard output and standard error, read as code
// page 936 in one piece; an empty text when it cannot be started. Waits until
// the command ends, or for at most timeoutMs (-1: no limit); a command still
// running then is killed together with the processes it started. status,
// when given, says how it ended.
QString RunCommandCapture(const QString& command, int timeoutMs = -1, CommandStatus* status = nullptr);
