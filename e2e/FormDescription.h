#pragma once

#include <QHash>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// What the sessions need of a demo form description: its title and where
// its controls are (the pos of each control id, in the form's client area),
// and the column widths of its grids.
class E2eFormDescription
{
public:
    // Reads demo/forms/<uid>_*.xml, or the popup form with the id given that
    // it holds (a picker, a dialog); false when there is none.
    bool Load(int entryUid, int popupId = 0);

    QString Title() const { return m_strTitle; }
    QString Problem() const { return m_strProblem; }
    bool HasControl(int id) const { return m_controls.contains(id); }
    QRect ControlRect(int id) const { return m_controls.value(id); }
    QList<int> ColumnWidths(int tableId) const { return m_columns.value(tableId); }
    // The choices of a drop-down list, as its value lists them.
    QStringList Choices(int id) const { return m_choices.value(id); }

    // The titles of every demo form and of the popup forms they hold.
    static QStringList AllTitles();

private:
    QString m_strTitle;
    QStringList m_popupTitles;
    QString m_strProblem;
    QHash<int, QRect> m_controls;
    QHash<int, QList<int>> m_columns;
    QHash<int, QStringList> m_choices;
};
