#include "MenuDataFiles.h"

#include "UpdateTexts.h"

#include <QSet>

namespace {

constexpr int kMenuFields = 8;
constexpr int kButtonFields = 4;
const QString kRowBreak = QStringLiteral("\r\n");

bool IsUid(const QString& text)
{
    bool number = false;
    text.toLongLong(&number);
    return number && !text.contains(u'+') && text.trimmed() == text;
}

} // namespace

bool MenuDataFiles::Fail(const QString& problem)
{
    m_strProblem = problem;
    return false;
}

QStringList MenuDataFiles::MenuFields(const QString& line)
{
    return line.split(u',');
}

bool MenuDataFiles::Read(const QString& menuText, const QString& buttonText)
{
    m_menuLines.clear();
    m_buttons.clear();
    const QStringList menuLines = menuText.split(u'\n');
    for (qsizetype i = 0; i < menuLines.size(); ++i) {
        const QString& line = menuLines[i];
        if (line.isEmpty())
            continue;
        const QStringList fields = MenuFields(line);
        if (fields.size() != kMenuFields || !IsUid(fields.first()))
            return Fail(UpdateTexts::DamagedLine.arg(UpdateTexts::MenuFile).arg(i + 1));
        m_menuLines.append(line);
    }
    const QStringList buttonLines = buttonText.split(u'\n');
    for (qsizetype i = 0; i < buttonLines.size(); ++i) {
        QString line = buttonLines[i];
        line.remove(u'\r');
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(u',');
        if (fields.size() != kButtonFields || !IsUid(fields[0]) || !IsUid(fields[1]) || !IsUid(fields[2]))
            return Fail(UpdateTexts::DamagedLine.arg(UpdateTexts::ButtonFile).arg(i + 1));
        m_buttons.append(fields);
    }
    return true;
}

QStringList MenuDataFiles::ChangedUids(const QString& dump) const
{
    const QStringList rows = dump.split(kRowBreak);
    const QSet<QString> installed(rows.begin(), rows.end());
    QStringList uids;
    for (const QString& line : m_menuLines)
        if (!installed.contains(line))
            uids.append(MenuFields(line).first());
    return uids;
}

QString MenuDataFiles::Dump(const QStringList& values)
{
    QString dump;
    for (qsizetype i = 0; i < values.size(); ++i) {
        dump += values[i];
        if (i + 1 < values.size())
            dump += (i + 1) % kMenuFields == 0 ? kRowBreak : QStringLiteral(",");
    }
    return dump;
}
