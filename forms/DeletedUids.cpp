#include "DeletedUids.h"

void CDeletedUids::Add(const CListCtrlEx* grid, const QString& uid)
{
    for (Entry& entry : m_entries) {
        if (entry.grid == grid) {
            entry.uids.append(uid);
            return;
        }
    }
    m_entries.append({grid, {uid}});
}

QString CDeletedUids::Joined(const CListCtrlEx* grid) const
{
    QStringList uids;
    for (const Entry& entry : m_entries) {
        if (!grid || entry.grid == grid)
            uids += entry.uids;
    }
    return uids.join(u',');
}

bool CDeletedUids::IsEmpty(const CListCtrlEx* grid) const
{
    for (const Entry& entry : m_entries) {
        if ((!grid || entry.grid == grid) && !entry.uids.isEmpty())
            return false;
    }
    return true;
}

void CDeletedUids::Forget(const CListCtrlEx* grid)
{
    m_entries.removeIf([grid](const Entry& entry) { return entry.grid == grid; });
}

void CDeletedUids::Clear()
{
    m_entries.clear();
}
