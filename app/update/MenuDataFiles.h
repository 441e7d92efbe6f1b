#pragma once

#include <QString>
#include <QStringList>

// The menu-data files of the update service, read and checked before any of
// them reaches the database. Lines end at "\n"; fields are separated by ","
// and never quoted.
class MenuDataFiles
{
public:
    // Splits dh_menu.txt (8 fields a line) and menu_button.txt (4 fields a
    // line). Empty lines are skipped. False, with Problem() set, when a line
    // has another field count or a uid that is not an integer: a cut or
    // damaged file must not be merged.
    bool Read(const QString& menuText, const QString& buttonText);
    QString Problem() const { return m_strProblem; }

    // Menu lines as they stand (the "\r" of a "\r\n" line end stays, as part
    // of the last field) and their fields.
    const QStringList& MenuLines() const { return m_menuLines; }
    static QStringList MenuFields(const QString& line);
    // Button fields with every "\r" and "\n" removed.
    const QList<QStringList>& Buttons() const { return m_buttons; }

    // The uids of the menu lines that are not, as whole lines, rows of the
    // installed menu's dump (rows separated by "\r\n").
    QStringList ChangedUids(const QString& dump) const;

    // The dump of the installed menu from its 8 fields per row, row by row.
    static QString Dump(const QStringList& values);

private:
    bool Fail(const QString& problem);

    QStringList m_menuLines;
    QList<QStringList> m_buttons;
    QString m_strProblem;
};
