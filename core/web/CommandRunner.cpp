#include "web/CommandRunner.h"

namespace {

// What the shell reads at a place of a command line: a command (the top
// level, or inside $(...) or `...`), arithmetic inside $((...)), or the
// inside of single or double quotes.
enum class ShellPart { Command, Substitution, Backquoted, Arithmetic, SingleQuoted, DoubleQuoted };

struct OpenPart
{
    ShellPart part = ShellPart::Command;
    int parentheses = 0; // opened inside a $( or $(( and not closed yet
};

// The reference to a value's variable, for where its token stands: the
// shell expands it to the value and reads nothing of the value itself.
QString VariableReference(ShellPart part, const QString& name)
{
    switch (part) {
    case ShellPart::SingleQuoted:
        return QStringLiteral("'\"$%1\"'").arg(name);
    case ShellPart::DoubleQuoted:
    case ShellPart::Arithmetic:
        return QStringLiteral("${%1}").arg(name);
    default:
        return QStringLiteral("\"${%1}\"").arg(name);
    }
}

// Follows the quotes and substitutions of a command line, one character
// at a time, as far as the form of a variable reference depends on them.
class CShellReader
{
public:
    ShellPart Current() const { return m_parts.back().part; }

    // The characters of the command line at i that the shell reads as one
    // (an escape and what it escapes, "$(", "$((", "))"); updates where
    // the reading stands.
    qsizetype Read(QStringView command, qsizetype i)
    {
        const QChar c = command[i];
        const QChar next = i + 1 < command.size() ? command[i + 1] : QChar();
        OpenPart& top = m_parts.back();
        if (top.part == ShellPart::SingleQuoted) {
            if (c == u'\'')
                m_parts.pop_back();
            return 1;
        }
        // An escaped character opens or closes nothing.
        if (c == u'\\' && !next.isNull())
            return 2;
        if (c == u'$' && next == u'(') {
            const bool arithmetic = i + 2 < command.size() && command[i + 2] == u'(';
            m_parts.append({arithmetic ? ShellPart::Arithmetic : ShellPart::Substitution, 0});
            return arithmetic ? 3 : 2;
        }
        if (c == u'`') {
            if (top.part == ShellPart::Backquoted)
                m_parts.pop_back();
            else
                m_parts.append({ShellPart::Backquoted, 0});
            return 1;
        }
        if (top.part == ShellPart::DoubleQuoted) {
            if (c == u'"')
                m_parts.pop_back();
            return 1;
        }
        if (c == u'\'')
            m_parts.append({ShellPart::SingleQuoted, 0});
        else if (c == u'"')
            m_parts.append({ShellPart::DoubleQuoted, 0});
        else if (c == u'(' && (top.part == ShellPart::Substitution || top.part == ShellPart::Arithmetic))
            ++top.parentheses;
        else if (c == u')' && top.part == ShellPart::Substitution)
            return Close(top, 1);
        else if (c == u')' && top.part == ShellPart::Arithmetic)
            return top.parentheses == 0 && next == u')' ? Close(top, 2) : Close(top, 1);
        return 1;
    }

private:
    qsizetype Close(OpenPart& top, qsizetype length)
    {
        if (top.parentheses > 0)
            --top.parentheses;
        else if (m_parts.size() > 1)
            m_parts.pop_back();
        return length;
    }

    QList<OpenPart> m_parts{OpenPart{}};
};

// The value whose token stands at i of the command, or -1.
qsizetype TokenAt(const QString& command, qsizetype i, const QList<QPair<QString, QString>>& values)
{
    for (qsizetype v = 0; v < values.size(); ++v) {
        const QString& token = values[v].first;
        if (!token.isEmpty() && QStringView(command).sliced(i).startsWith(token))
            return v;
    }
    return -1;
}

} // namespace

QString FillShellValues(const QString& command, const QList<QPair<QString, QString>>& values)
{
    // The variable of each value, made when its token is first met.
    QList<QString> names(values.size());
    QString assignments;
    QString filled;
    CShellReader reader;
    for (qsizetype i = 0; i < command.size();) {
        const qsizetype matched = TokenAt(command, i, values);
        if (matched >= 0) {
            QString& name = names[matched];
            if (name.isEmpty()) {
                name = QStringLiteral("tembra_value_%1").arg(matched + 1);
                assignments += name + QStringLiteral("='")
                    + QString(values[matched].second).replace(u'\'', QStringLiteral("'\\''")) + QStringLiteral("'\n");
            }
            filled += VariableReference(reader.Current(), name);
            i += values[matched].first.size();
            continue;
        }
        const qsizetype length = reader.Read(command, i);
        filled += QStringView(command).sliced(i, length);
        i += length;
    }
    return assignments + filled;
}

QString ShowShellValues(const QString& command, const QList<QPair<QString, QString>>& values)
{
    QString shown;
    for (qsizetype i = 0; i < command.size();) {
        const qsizetype matched = TokenAt(command, i, values);
        if (matched >= 0) {
            shown += values[matched].second;
            i += values[matched].first.size();
        } else {
            shown += command[i++];
        }
    }
    return shown;
}
