#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A line of a menu-data file that cannot be used: what is wrong, and the line.
struct MenuDataProblem
{
    QString failure;
    QString line;
};

// The menu-data files of the update service, split and checked before any of
// them reaches the database. Lines end in "\n" or "\r\n"; fields are
// separated by "," and never quoted.
class MenuDataFiles
{
public:
    // Splits dh_menu.txt (8 fields a line) and menu_button.txt (4 fields a
    // line). Blank lines are passed over. A line with another field count or
    // a uid that is not an integer is left out and noted in Problems(); the
    // rest of the files is still used.
    void Read(const QString& menuText, const QString& buttonText);
    const QList<MenuDataProblem>& Problems() const { return m_problems; }

    // Menu lines without their line ends, and their fields.
    const QStringList& MenuLines() const { return m_menuLines; }
    static QStringList MenuFields(const QString& line);
    // Button fields with every "\r" and "\n" removed.
    const QList<QStringList>& Buttons() const { return m_buttons; }

    // The uids of the menu lines that are no row of the installed menu's
    // dump, whatever the line ends: only those entries fetch their forms.
    QStringList ChangedUids(const QString& dump) const;

    // The dump of the installed menu from its 8 fields per row, row by row.
    static QString Dump(const QStringList& values);

private:
    void Note(const QString& file, qsizetype index, const QString& line);

    QStringList m_menuLines;
    QList<QStringList> m_buttons;
    QList<MenuDataProblem> m_problems;
};
