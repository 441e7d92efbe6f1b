#include "web/CommandRunner.h"

#include "text/Cp936.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>

QString RunCommandCapture(const QString& command, int timeoutMs, CommandStatus* status)
{
    CommandStatus outcome;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // A group of its own, so that a time-out stops the shell's children too
    // (a killed shell would leave them holding the output open).
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    if (!process.waitForStarted(-1)) {
        if (status)
            *status = outcome;
        return QString();
    }
    outcome.bStarted = true;
    // A command that reads its input gets the end of it at once.
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        outcome.bTimedOut = true;
        ::kill(-static_cast<pid_t>(process.processId()), SIGKILL);
        process.waitForFinished(-1);
    } else if (process.exitStatus() == QProcess::NormalExit) {
        outcome.nExitCode = process.exitCode();
    }
    if (status)
        *status = outcome;
    return FromCp936(process.readAll());
}
