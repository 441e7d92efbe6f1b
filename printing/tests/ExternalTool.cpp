#include "ExternalTool.h"

#include <QProcess>
#include <QStandardPaths>

bool HaveTool(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QString RunTool(const QString& program, const QStringList& arguments, bool* ok)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForStarted() && process.waitForFinished(60000);
    const bool success = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (ok)
        *ok = success;
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList DecodeSymbols(const QString& imagePath)
{
    // --raw writes each symbol's data and a line break; the data of these
    // tests holds no line break of its own.
    const QString output = RunTool(QStringLiteral("zbarimg"),
                                   {QStringLiteral("--quiet"), QStringLiteral("--raw"), imagePath});
    QStringList symbols = output.split(u'\n');
    if (!symbols.isEmpty() && symbols.last().isEmpty())
        symbols.removeLast();
    return symbols;
}
