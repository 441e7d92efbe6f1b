#include "web/CommandRunner.h"

#include "web/CommandProcess.h"

QString RunCommandCapture(const QString& command, int timeoutMs, CommandStatus* status)
{
    CommandStatus outcome;
    CCommandProcess process;
    if (process.Start(command)) {
        outcome.bStarted = true;
        if (!process.WaitForEnd(timeoutMs)) {
            outcome.bTimedOut = true;
            process.Stop();
        }
        outcome.nExitCode = process.ExitCode();
    }
    if (status)
        *status = outcome;
    return outcome.bStarted ? process.Output() : QString();
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
