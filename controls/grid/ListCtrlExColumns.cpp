// Sorting, the sort arrow and saved column widths of CListCtrlEx.
#include "grid/ListCtrlEx.h"

#include "grid/GridModel.h"
#include "grid/GridSort.h"
#include "grid/GridTexts.h"

#include "text/AppState.h"
#include "text/IniFile.h"
#include "text/TextSplit.h"

#include <QHeaderView>

namespace
{
constexpr Qt::SortOrder kArrowUp = Qt::DescendingOrder;
constexpr Qt::SortOrder kArrowDown = Qt::AscendingOrder;
} // namespace

bool CListCtrlEx::SortByColumn(int column, bool toggle)
{
    ColumnInfo* info = m_pModel->Column(column);
    if (!info || !(info->nSortFlags & 7))
        return false;
    if (info->nSortFlags & kSortToggles) {
        if (!(info->nSortFlags & (kSortAscending | kSortDescending)))
            info->nSortFlags |= kSortDescending;
        if (toggle)
            info->nSortFlags ^= kSortAscending | kSortDescending;
    }
    const bool ascending = info->nSortFlags & kSortAscending;
    const std::vector<int> order = SortedRowOrder(
        GetItemCount(), [this, column](int row) { return m_pModel->TextView(row, column); },
        info->nCompareKind, ascending);
    m_nSortColumn = column;
    m_pModel->SetRowOrder(order);
    UpdateSortArrow();
    return true;
}

int CListCtrlEx::CompareCellTexts(int row1, int row2) const
{
    const ColumnInfo* info = m_pModel->Column(m_nSortColumn);
    if (!info || !m_pModel->IsRow(row1) || !m_pModel->IsRow(row2))
        return 0;
    return CompareGridTexts(info->nCompareKind, m_pModel->TextView(row1, m_nSortColumn),
                            m_pModel->TextView(row2, m_nSortColumn));
}

int CListCtrlEx::CompareAsNumbers(const QString& a, const QString& b)
{
    return CompareGridTexts(1, a, b);
}

int CListCtrlEx::CompareAsAmounts(const QString& a, const QString& b)
{
    return CompareGridTexts(2, a, b);
}

int CListCtrlEx::CompareAsText(const QString& a, const QString& b)
{
    return CompareGridTexts(3, a, b);
}

int CListCtrlEx::CompareAsIntegers(const QString& a, const QString& b)
{
    return CompareGridTexts(4, a, b);
}

int CListCtrlEx::CompareTextNoCase(const QString& a, const QString& b)
{
    return CompareGridTexts(5, a, b);
}

int CListCtrlEx::CompareAsIntegersNoCase(const QString& a, const QString& b)
{
    return CompareGridTexts(6, a, b);
}

int CListCtrlEx::CompareAsDates(const QString& a, const QString& b)
{
    return CompareGridTexts(7, a, b);
}

void CListCtrlEx::OnColumnClick(int column)
{
    EndEdit(true);
    if (!IsColumnLocked(column))
        SortByColumn(column, true);
}

void CListCtrlEx::UpdateSortArrow()
{
    if (m_bSettingArrow)
        return;
    m_bSettingArrow = true;
    QHeaderView* header = horizontalHeader();
    const ColumnInfo* info = m_pModel->Column(m_nSortColumn);
    header->setSortIndicatorShown(info != nullptr);
    // The header draws Qt's descending order as the up arrow, which this
    // grid shows for ascending rows.
    if (info)
        header->setSortIndicator(m_nSortColumn, info->nSortFlags & kSortAscending ? kArrowUp : kArrowDown);
    m_bSettingArrow = false;
}

QString CListCtrlEx::ColumnWidthKey(int menuUid, int tableId, int columnNumber, const QString& userUid)
{
    return GridTexts::kColumnWidthKey.arg(menuUid).arg(tableId).arg(columnNumber).arg(userUid);
}

int CListCtrlEx::ReadColumnWidth(int column) const
{
    const QString text = ReadIniString(GridTexts::kIniFile, GridTexts::kColumnWidthSection,
                                       ColumnWidthKey(m_nMenuUid, m_nTableId, column + 1, theApp().m_strUserUid));
    return text.isEmpty() ? -1 : TextToInt(text);
}

void CListCtrlEx::OnHeaderResized(int column, int, int)
{
    if (m_nCodeResize > 0)
        return;
    // A drag is saved once, when the button comes up; a width changed by a
    // double-click on the border at once.
    if (m_bHeaderPressed) {
        if (!m_resizedByUser.contains(column))
            m_resizedByUser.append(column);
        return;
    }
    SaveColumnWidth(column);
}

void CListCtrlEx::SaveColumnWidth(int column)
{
    if (m_nMenuUid <= 0 || !m_pModel->IsColumn(column))
        return;
    WriteIniString(GridTexts::kIniFile, GridTexts::kColumnWidthSection,
                   ColumnWidthKey(m_nMenuUid, m_nTableId, column + 1, theApp().m_strUserUid),
                   QString::number(GetColumnWidth(column)));
}
