#pragma once

#include "widgets/ColorRef.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CListCtrlEx;
class QWidget;

// Colours are COLORREF values; CLR_UNSET leaves a level's colour to the next.
constexpr COLORREF CLR_UNSET = 0xFFFFFFFFu;

// Called when an edit opens: editor is the slot holding the editor window in
// use (the callback may change it), text the cell's text, rowData the row's
// user pointer. It is to show the text in the editor; the result is unused.
using BeginEditCallback = std::function<int(QWidget** editor, int row, int column, const QString& text,
                                            void* rowData, CListCtrlEx* grid, int flag)>;

// Called when an edit ends; commit is 1 to keep the edit, 0 to cancel it.
// text holds the cell's current text and may be replaced with the new one.
// Result 0 leaves the cell unchanged, any other value writes text into it,
// kResortAfterEdit writes it and sorts the rows again by the edited column.
using EndEditCallback = std::function<int(QWidget** editor, int row, int column, QString& text,
                                          void* rowData, CListCtrlEx* grid, int commit)>;
constexpr int kResortAfterEdit = -1;

// The in-place editor of a column: a window laid over the cell, callbacks
// that move the text between cell and window, or both.
struct EditorInfo
{
    BeginEditCallback pfnBeginEdit;
    EndEditCallback pfnEndEdit;
    QWidget* pWnd = nullptr;
    int bReadOnly = 0;

    bool IsSet() const { return pfnBeginEdit || pWnd; }
};

// The colours and user pointer of one cell, created on first need.
struct CellInfo
{
    int nColumn = 0;
    COLORREF clrBack = CLR_UNSET;
    COLORREF clrText = CLR_UNSET;
    void* pData = nullptr;
};

// Row states as the form runtime and the actions use them.
enum RowState : int
{
    kRowUnchanged = 0, // as loaded
    kRowNew = 1,       // to be inserted; its key is "0"
    kRowMarked = 2,    // marked by an action for saving as a whole
    kRowChanged = 3,   // changed by editing
};

// The record of one row. Its address stays the same while the row lives,
// whatever rows are inserted, removed or sorted around it.
struct ItemData
{
    QString strKey;          // the row's record uid, "0" for a row not yet stored
    int nState = kRowUnchanged;
    int bReadOnly = 0;
    COLORREF clrBack = CLR_UNSET;
    COLORREF clrText = CLR_UNSET;
    void* pData = nullptr;   // the caller's, not owned
    bool bChecked = false;   // the row's tick, shown when the grid has check boxes
    // Only the cells that have a record; none at all for most rows, which
    // then pay one pointer for it.
    std::unique_ptr<std::vector<CellInfo>> cells;

    CellInfo* FindCell(int column);
    const CellInfo* FindCell(int column) const;
    CellInfo& MakeCell(int column);
};

// Sort flags of a column.
enum SortFlags : int
{
    kSortAscending = 1,
    kSortDescending = 2,
    kSortToggles = 4, // each header click swaps the direction
};

// The record of one column, created on first need; it keeps the column index
// it was made for.
struct ColumnInfo
{
    int nColumn = 0;
    EditorInfo editor;
    COLORREF clrBack = CLR_UNSET;
    COLORREF clrText = CLR_UNSET;
    int nSortFlags = 0;
    int nCompareKind = 0; // 0 to 7; see CListCtrlEx::CompareCellTexts
};
