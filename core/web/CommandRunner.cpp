#include "web/CommandRunner.h"

#include "text/Cp936.h"

#include <QProcess>
#include <QStringDecoder>

#include <csignal>
#include <unistd.h>

namespace {

// Programs here write UTF-8; output that is not UTF-8 comes from programs
// that write the code page of the Windows original.
QString OutputText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? FromCp936(bytes) : text;
}

} // namespace

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
    return OutputText(process.readAll());
}

namespace {

enum class ShellQuote { None, Single, Double };

QString QuotedFor(ShellQuote state, const QString& value)
{
    QString quoted;
    switch (state) {
    case ShellQuote::None:
        quoted = u'\'' + QString(value).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
        break;
    case ShellQuote::Single:
        quoted = QString(value).replace(u'\'', QStringLiteral("'\\''"));
        break;
    case ShellQuote::Double:
        for (const QChar c : value) {
            if (c == u'\\' || c == u'$' || c == u'`' || c == u'"')
                quoted += u'\\';
            quoted += c;
        }
        break;
    }
    return quoted;
}

} // namespace

QString FillShellValues(const QString& command, const QList<QPair<QString, QString>>& values)
{
    QString filled;
    ShellQuote state = ShellQuote::None;
    for (qsizetype i = 0; i < command.size();) {
        bool matched = false;
        for (const auto& [token, value] : values) {
            if (!token.isEmpty() && QStringView(command).sliced(i).startsWith(token)) {
                filled += QuotedFor(state, value);
                i += token.size();
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const QChar c = command[i];
        if (state != ShellQuote::Single && c == u'\\' && i + 1 < command.size()) {
            // An escaped character never opens or closes quotes.
            filled += c;
            filled += command[i + 1];
            i += 2;
            continue;
        }
        if (c == u'\'' && state != ShellQuote::Double)
            state = state == ShellQuote::Single ? ShellQuote::None : ShellQuote::Single;
        else if (c == u'"' && state != ShellQuote::Single)
            state = state == ShellQuote::Double ? ShellQuote::None : ShellQuote::Double;
        filled += c;
        ++i;
    }
    return filled;
}
