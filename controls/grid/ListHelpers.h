#pragma once

#include <QString>

class CListCtrlEx;

// Small operations on grids used by the form actions and the charts.

// Appends the key text of every ticked row, from the first row on, each
// followed by the separator. out is not cleared first.
void GetCheckedListIds(const CListCtrlEx* list, QString& out, const QString& separator);

// The first selected row; false when none is selected.
bool GetSelectedListItem(const CListCtrlEx* list, int& index);

// The key text of the first selected row; false when none is selected.
bool GetSelectedListItemData(const CListCtrlEx* list, QString& out);

// The header title of a column (at most 256 characters); empty for an index
// outside the columns.
QString GetListColumnTitle(const CListCtrlEx* list, int index);

// Puts the grid on the clipboard as text: a title row and one row per grid
// row, cells separated by tabs, rows ended by CR LF, line breaks and tabs
// removed from the cells. columns is empty for every visible column (width
// above 0), or a "," list of column numbers from 1 in the order wanted; a
// number that names no column gives an empty title and empty cells. An empty
// grid shows "没有记录!" (through the message sink) and gives false.
bool CopyListToClipboard(const CListCtrlEx* list, const QString& columns);

// The text CopyListToClipboard puts on the clipboard.
QString ListToClipboardText(const CListCtrlEx* list, const QString& columns);
