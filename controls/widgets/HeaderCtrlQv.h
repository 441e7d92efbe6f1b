#pragma once

#include <QHeaderView>

// The column header of every editable grid: a class of the program's own,
// so that the grid's header can be told apart and given its own handling.
class CHeaderCtrlQv : public QHeaderView
{
    Q_OBJECT

public:
    explicit CHeaderCtrlQv(QWidget* parent = nullptr);
};
