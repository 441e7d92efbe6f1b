#pragma once

#include <QString>

// What a printed form reads from its window and does to it: the texts and
// check states of its controls, the rows of its tables, and the two steps of
// batch printing. Controls are named by description id; an id without a
// control gives empty texts, 0 rows and no check.
class IPrintSource
{
public:
    virtual ~IPrintSource() = default;

    virtual QString ControlText(int id) const = 0;
    // The control is a check box or radio button that is checked.
    virtual bool IsChecked(int id) const = 0;

    virtual int TableRowCount(int id) const = 0;
    virtual int TableHeaderCount(int id) const = 0;
    virtual QString TableHeaderText(int id, int column) const = 0;
    virtual QString TableItemText(int id, int row, int column) const = 0;

    virtual void SetControlTextById(int id, const QString& text) = 0;
    // Clicks the button once the running event and print job are over.
    virtual void PostClick(int id) = 0;
};
