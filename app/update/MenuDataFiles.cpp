#include "MenuDataFiles.h"

#include "UpdateTexts.h"

#include <QSet>

namespace {

constexpr int kMenuFields = 8;
constexpr int kButtonFields = 4;
const QString kRowBreak = QStringLiteral("\r\n");

// The lines of a text whose lines end in "\n" or "\r\n", without their ends.
QStringList LinesOf(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}

bool IsUid(const QString& text)
{
    bool number = false;
    text.toLongLong(&number);
    return number && !text.contains(u'+') && text.trimmed() == text;
}

} // namespace

void MenuDataFiles::Note(const QString& file, qsizetype index, const QString& line)
{
    m_problems.append({UpdateTexts::DamagedLine.arg(file).arg(index + 1), line});
}

QStringList MenuDataFiles::MenuFields(const QString& line)
{
    return line.split(u',');
}

void MenuDataFiles::Read(const QString& menuText, const QString& buttonText)
{
    m_menuLines.clear();
    m_buttons.clear();
    m_problems.clear();
    const QStringList menuLines = LinesOf(menuText);
    for (qsizetype i = 0; i < menuLines.size(); ++i) {
        const QString& line = menuLines[i];
        if (line.isEmpty())
            continue;
        const QStringList fields = MenuFields(line);
        if (fields.size() != kMenuFields || !IsUid(fields.first()))
            Note(UpdateTexts::MenuFile, i, line);
        else
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
            Note(UpdateTexts::ButtonFile, i, line);
        else
            m_buttons.append(fields);
    }
}

QStringList MenuDataFiles::ChangedUids(const QString& dump) const
{
    // A line is compared with whole rows: one that only occurs inside a row
    // (entry 2 inside entry 12's row, a cleared time inside the row that has
    // one) is another entry's data, and taking it for unchanged would leave
    // the entry without its new form.
    const QStringList rows = LinesOf(dump);
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
