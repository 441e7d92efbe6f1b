#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CListCtrlEx;

// The keys of stored rows deleted from the grids of a form since each grid
// was last saved. They are kept per grid: the detail save of one grid
// deletes the records of its own removed rows and never those of another.
class CDeletedUids
{
public:
    void Add(const CListCtrlEx* grid, const QString& uid);
    // One grid's keys joined by ","; for a null grid every grid's.
    QString Joined(const CListCtrlEx* grid = nullptr) const;
    // No key of that grid (of any grid for a null grid).
    bool IsEmpty(const CListCtrlEx* grid = nullptr) const;
    // The grid was saved or reloaded: its keys are done with.
    void Forget(const CListCtrlEx* grid);
    void Clear();

private:
    struct Entry
    {
        const CListCtrlEx* grid = nullptr;
        QStringList uids;
    };
    QList<Entry> m_entries;
};
