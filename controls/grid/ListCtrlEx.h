#pragma once

#include "grid/GridRecords.h"
#include "grid/MsgHook.h"

#include <QPointer>
#include <QTableView>

class CGridModel;

// The editable report grid behind every "table" element of a form.
//
// Rows carry a record (ItemData): the row's database key, its state, its
// colours, its read-only flag and a user pointer. Cells are edited in place by
// an ordinary widget of the form laid over the cell (a line edit, combo box,
// date-time edit or browse box), chosen per column with SetColumnEditor.
// Indexes are 0-based; operations on a row or column that does not exist do
// nothing and answer 0, false, an empty text or null.
//
// How the form builder plugs in:
//  - SetOwnerForm, SetZebraOff, SetSaveIds (menu uid and table id of the
//    column-width key), then InsertColumn per column with the width read back
//    by ReadColumnWidth, SetColumnColors, SetColumnSort and SetColumnEditor
//    (editor widget, begin-edit callback that shows the cell's text in it,
//    end-edit callback that takes the text back; see GridRecords.h).
//  - Editing: a click on a cell (without Ctrl or Shift) or a double-click
//    opens its editor (BeginEdit). The edit ends (EndEdit) with Enter or a
//    click, wheel turn or focus change elsewhere (commit), with Esc (cancel),
//    when another cell opens, a header is clicked, or a caller asks. Ending
//    calls the end-edit callback with the cell's text; an answer other than 0
//    writes the text into the cell, kResortAfterEdit also sorts again. An edit
//    that writes marks its row kRowChanged unless it is kRowNew (rows marked
//    kRowMarked become kRowChanged too).
//  - Keys: Up and Down move the editor to the cell above or below; Tab and
//    Enter (Shift+Tab back) to the next editable cell, row after row. Past the
//    last cell the key moves the focus on as usual; in an empty grid Tab asks
//    OnAppendRow first.
//  - Column widths the user drags are written to cfg.ini, section
//    "TABLECOLS", key ColumnWidthKey(menu uid, table id, column + 1, user uid),
//    while the menu uid is above 0. Widths set by code are not written.
//  - Locked columns (SetLockedColumns, numbers from 1 as ",%d,"): their
//    header neither resizes nor sorts.
class CListCtrlEx : public QTableView
{
    Q_OBJECT

public:
    explicit CListCtrlEx(QWidget* parent = nullptr);
    ~CListCtrlEx() override;

    // Settings of the form builder.
    void SetOwnerForm(QWidget* form) { m_pOwnerForm = form; }
    QWidget* GetOwnerForm() const { return m_pOwnerForm; }
    // When off (the default), each inserted row gets the alternating colours.
    void SetZebraOff(bool off) { m_bZebraOff = off; }
    bool IsZebraOff() const { return m_bZebraOff; }
    void SetSaveIds(int menuUid, int tableId);
    int GetMenuUid() const { return m_nMenuUid; }
    int GetTableId() const { return m_nTableId; }

    // Columns.
    int InsertColumn(int column, const QString& title, int format = 0, int width = 100);
    bool DeleteColumn(int column);
    int GetColumnCount() const;
    QString GetColumnTitle(int column) const;
    void SetColumnTitle(int column, const QString& title);
    int GetColumnWidth(int column) const;
    // Width 0 hides the column. Never written to cfg.ini.
    void SetColumnWidth(int column, int width);
    void SetColumnColors(int column, COLORREF back, COLORREF text);
    // Stores a record for any column index, existing or not yet.
    void SetColumnEditor(int column, BeginEditCallback begin, EndEditCallback end, QWidget* editor);
    void SetColumnReadOnly(int column, int readOnly);
    // flags: kSortAscending, kSortDescending, kSortToggles; kind 0 to 7.
    void SetColumnSort(int column, int flags, int kind);
    ColumnInfo* GetColumnInfo(int column) const;

    // Locked columns: numbers from 1, each present as ",%d,".
    QString GetLockedColumns() const { return m_strLockedCols; }
    void SetLockedColumns(const QString& text);
    bool IsColumnLocked(int column) const;

    // Rows.
    int GetItemCount() const;
    int InsertRow(int row, const QString& text);
    bool SetItemText(int row, int column, QString text);
    QString GetItemText(int row, int column) const;
    void SetRowData(int row, void* data, const QString& key, int state);
    void SetRowDataPtr(int row, void* data);
    void* GetRowDataPtr(int row) const;
    // The row's record (key text and state, which callers read and write).
    ItemData* GetRowKey(int row) const;
    void SetRowColors(int row, COLORREF back, COLORREF text);
    void SetRowReadOnly(int row, int readOnly);
    void SetCellColors(int row, int column, COLORREF back, COLORREF text);
    bool SetCellData(int row, int column, void* data);
    void* GetCellData(int row, int column) const;
    void DeleteRow(int row);
    // Deletes many rows at once; the first row shown that is kept stays at
    // the top of the view.
    void DeleteRows(const QList<int>& rows);
    void DeleteAllRows();
    // Deletes every row and column; true when no column is left.
    bool Reset();
    bool IsRowReadOnly(int row) const;
    bool IsColumnReadOnly(int column) const;
    bool IsCellReadOnly(int row, int column) const;

    // Selection and ticks. Row -1 selects, or clears, every row.
    void SelectRow(int row, bool on);
    bool IsRowSelected(int row) const;
    // The selected rows in ascending order.
    QList<int> GetSelectedRows() const;
    void SetCheckBoxes(bool on);
    bool GetCheck(int row) const;
    void SetCheck(int row, bool checked);

    // The cell under a point of the viewport; false, and -1 for what lies
    // outside the rows or columns.
    bool SubItemHitTest(const QPoint& point, int& row, int& column) const;

    // Editing.
    bool EnsureCellVisible(int row, int column, QRect* rect = nullptr);
    bool BeginEdit(int row, int column);
    void EndEdit(bool commit);
    bool IsEditing() const { return m_editor.pWnd != nullptr; }
    // The cell last opened for editing (-1, -1 before the first edit); the
    // row follows its record when rows move.
    int GetCurrentRow() const;
    int GetCurrentColumn() const { return m_nCurSubItem; }
    // Tab in an empty grid; true when it added a row to edit.
    virtual bool OnAppendRow();

    // Sorting. A column with sort settings (SetColumnSort) sorts by its
    // compare kind (GridSort.h); with kSortToggles the direction swaps when
    // toggle is true, so the first header click sorts ascending. False, and
    // nothing moves, for a column without settings. Equal rows keep their order.
    bool SortByColumn(int column, bool toggle);
    int GetSortColumn() const { return m_nSortColumn; }
    // Two rows' texts in the sort column compared by its kind: -1, 0 or +1.
    int CompareCellTexts(int row1, int row2) const;
    static int CompareAsNumbers(const QString& a, const QString& b);       // kind 1
    static int CompareAsAmounts(const QString& a, const QString& b);       // kind 2
    static int CompareAsText(const QString& a, const QString& b);          // kind 3, others
    static int CompareAsIntegers(const QString& a, const QString& b);      // kind 4
    static int CompareTextNoCase(const QString& a, const QString& b);      // kind 5
    static int CompareAsIntegersNoCase(const QString& a, const QString& b); // kind 6
    static int CompareAsDates(const QString& a, const QString& b);         // kind 7

    // Column widths in cfg.ini.
    static QString ColumnWidthKey(int menuUid, int tableId, int columnNumber, const QString& userUid);
    // The saved width of a column (0-based) of this grid for the logged-in
    // user; -1 when none is saved.
    int ReadColumnWidth(int column) const;

    CGridModel* GetModel() const { return m_pModel; }

    // The first value of each result row the fills are given is the row's
    // key (its record uid): it goes into the row's record, not a column.
    bool m_bContainHead = false;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void SetUpHeader(); // the header is the program's CHeaderCtrlQv
    void OnColumnClick(int column);
    void UpdateSortArrow();
    void OnHeaderResized(int column, int oldWidth, int newWidth);
    void SaveColumnWidth(int column);
    void ApplyLockedColumns();
    // Tab, Enter, Up and Down; true when the key was used.
    bool NavigateKey(int key, Qt::KeyboardModifiers modifiers, bool fromEditor);
    bool MoveToNextCell(bool forward);
    void HideEditor();
    // Notes the user's choices in the editor's own drop-down list or calendar,
    // which lie in windows of their own, outside the editor's event filter.
    void WatchEditorChoices(QWidget* editor);
    // Whether the event, sent to the open editor or a part of it, is the user
    // working it (keys that end the edit or move it are not).
    static bool IsEditorInput(const QEvent* event);
    // An edit or navigation pointing at a record that goes forgets it.
    void ForgetRecord(const ItemData* item);
    // The grid whose cell the editor window lies over now, if any.
    static CListCtrlEx* GridHoldingEditor(const QWidget* editor);
    // Ends an edit open in the editor and returns it to its own parent.
    void GiveBackEditor(QWidget* editor);

    CGridModel* m_pModel;
    QWidget* m_pOwnerForm = nullptr;
    bool m_bZebraOff = false;
    QString m_strLockedCols;
    int m_nMenuUid = 0;
    int m_nTableId = 0;

    // The open edit: a copy of the editor in use, the record of its row.
    EditorInfo m_editor;
    QPointer<QWidget> m_editorWnd;
    ItemData* m_pEditItem = nullptr;
    ItemData* m_pEndingItem = nullptr; // the row of an edit being ended
    int m_nEditSubItem = -1;
    // What the open editor showed at its start, whether that was not the
    // cell's text, and whether the user has worked the editor since (typed,
    // turned the wheel, chose in its list or calendar).
    QString m_strShownText;
    bool m_bShowsOtherText = false;
    bool m_bEditorWorked = false;
    std::vector<QMetaObject::Connection> m_editorChoices;
    // The cell last opened; origin of keyboard navigation.
    ItemData* m_pCurItem = nullptr;
    int m_nCurSubItem = -1;
    // Editors laid over cells stay children of the grid, as keys typed in
    // them pass on to it; each goes back to its own parent with the grid.
    std::vector<std::pair<QPointer<QWidget>, QPointer<QWidget>>> m_borrowedEditors;
    CMsgHook m_hook;

    int m_nSortColumn = -1;
    bool m_bSettingArrow = false;
    int m_nCodeResize = 0;   // widths being set by code, not by the user
    bool m_bHeaderPressed = false; // the user is dragging in the header
    QList<int> m_resizedByUser;
    QPoint m_pressPoint;
    QPersistentModelIndex m_pressIndex;
};
