#include "web/CommandRunner.h"

#include "text/Cp936.h"

#include <QProcess>

QString RunCommandCapture(const QString& command)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    if (!process.waitForStarted(-1))
        return QString();
    // A command that reads its input gets the end of it at once.
    process.closeWriteChannel();
    process.waitForFinished(-1);
    return FromCp936(process.readAll());
}
