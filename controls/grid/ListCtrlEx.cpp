#include "grid/ListCtrlEx.h"

#include "grid/EditorText.h"
#include "grid/GridModel.h"

#include "widgets/HeaderCtrlQv.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace
{
constexpr int kRowHeight = 20;
constexpr COLORREF kZebraEven = 0xFFFFFF;
constexpr COLORREF kZebraOdd = 0xF0E6DC; // RGB 220, 230, 240
} // namespace

CListCtrlEx::CListCtrlEx(QWidget* parent)
    : QTableView(parent), m_pModel(new CGridModel(this))
{
    m_pModel->SetDefaultColors(RefFromColor(palette().color(QPalette::Base)), RefFromColor(palette().color(QPalette::Text)));
    setHorizontalHeader(new CHeaderCtrlQv(this));
    setModel(m_pModel);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setShowGrid(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(1);
    SetUpHeader();
}

CListCtrlEx::~CListCtrlEx()
{
    // The form owns its editor windows: an open edit ends without running
    // the callbacks of a form that may be going too, and every editor goes
    // back to its own parent.
    m_hook.Detach();
    HideEditor();
    for (const auto& [editor, home] : m_borrowedEditors)
        if (editor && home)
            editor->setParent(home);
}

void CListCtrlEx::SetSaveIds(int menuUid, int tableId)
{
    m_nMenuUid = menuUid;
    m_nTableId = tableId;
}

void CListCtrlEx::SetUpHeader()
{
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    header->viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionClicked, this, &CListCtrlEx::OnColumnClick);
    connect(header, &QHeaderView::sectionResized, this, &CListCtrlEx::OnHeaderResized);
    // The header moves its arrow on every click; the grid's sort decides where it is.
    connect(header, &QHeaderView::sortIndicatorChanged, this, &CListCtrlEx::UpdateSortArrow);
}

// Columns ------------------------------------------------------------------

int CListCtrlEx::InsertColumn(int column, const QString& title, int format, int width)
{
    column = m_pModel->InsertColumn(column, title, format);
    SetColumnWidth(column, width);
    ApplyLockedColumns();
    return column;
}

bool CListCtrlEx::DeleteColumn(int column)
{
    if (m_nEditSubItem == column)
        EndEdit(false);
    return m_pModel->DeleteColumn(column);
}

int CListCtrlEx::GetColumnCount() const
{
    return m_pModel->ColumnCount();
}

QString CListCtrlEx::GetColumnTitle(int column) const
{
    return m_pModel->Title(column);
}

void CListCtrlEx::SetColumnTitle(int column, const QString& title)
{
    m_pModel->SetTitle(column, title);
}

int CListCtrlEx::GetColumnWidth(int column) const
{
    return m_pModel->IsColumn(column) ? horizontalHeader()->sectionSize(column) : 0;
}

void CListCtrlEx::SetColumnWidth(int column, int width)
{
    if (!m_pModel->IsColumn(column))
        return;
    ++m_nCodeResize;
    if (width <= 0) {
        horizontalHeader()->hideSection(column);
    } else {
        horizontalHeader()->showSection(column);
        horizontalHeader()->resizeSection(column, width);
    }
    --m_nCodeResize;
}

void CListCtrlEx::SetColumnColors(int column, COLORREF back, COLORREF text)
{
    if (!m_pModel->IsColumn(column))
        return;
    ColumnInfo& info = m_pModel->MakeColumn(column);
    info.clrBack = back;
    info.clrText = text;
    viewport()->update();
}

void CListCtrlEx::SetColumnEditor(int column, BeginEditCallback begin, EndEditCallback end, QWidget* editor)
{
    EditorInfo& info = m_pModel->MakeColumn(column).editor;
    info.pfnBeginEdit = std::move(begin);
    info.pfnEndEdit = std::move(end);
    info.pWnd = editor;
}

void CListCtrlEx::SetColumnReadOnly(int column, int readOnly)
{
    if (m_pModel->IsColumn(column))
        m_pModel->MakeColumn(column).editor.bReadOnly = readOnly;
}

void CListCtrlEx::SetColumnSort(int column, int flags, int kind)
{
    if (!m_pModel->IsColumn(column) || !(flags & 7))
        return;
    ColumnInfo& info = m_pModel->MakeColumn(column);
    info.nSortFlags = flags;
    info.nCompareKind = kind;
}

ColumnInfo* CListCtrlEx::GetColumnInfo(int column) const
{
    return m_pModel->Column(column);
}

void CListCtrlEx::SetLockedColumns(const QString& text)
{
    m_strLockedCols = text;
    ApplyLockedColumns();
}

bool CListCtrlEx::IsColumnLocked(int column) const
{
    return m_strLockedCols.contains(QStringLiteral(",%1,").arg(column + 1));
}

void CListCtrlEx::ApplyLockedColumns()
{
    QHeaderView* header = horizontalHeader();
    for (int column = 0; column < GetColumnCount(); ++column)
        header->setSectionResizeMode(column, IsColumnLocked(column) ? QHeaderView::Fixed : QHeaderView::Interactive);
}

// Rows ---------------------------------------------------------------------

int CListCtrlEx::GetItemCount() const
{
    return m_pModel->RowCount();
}

int CListCtrlEx::InsertRow(int row, const QString& text)
{
    row = m_bZebraOff ? m_pModel->InsertRow(row) : m_pModel->InsertRow(row, row % 2 ? kZebraOdd : kZebraEven, 0);
    m_pModel->SetText(row, 0, text);
    return row;
}

bool CListCtrlEx::SetItemText(int row, int column, QString text)
{
    if (!m_pModel->IsRow(row) || !m_pModel->IsColumn(column))
        return false;
    m_pModel->SetText(row, column, std::move(text));
    return true;
}

QString CListCtrlEx::GetItemText(int row, int column) const
{
    return m_pModel->Text(row, column);
}

void CListCtrlEx::SetRowData(int row, void* data, const QString& key, int state)
{
    if (ItemData* item = m_pModel->Item(row)) {
        item->pData = data;
        item->strKey = key;
        item->nState = state;
    }
}

void CListCtrlEx::SetRowDataPtr(int row, void* data)
{
    if (ItemData* item = m_pModel->Item(row))
        item->pData = data;
}

void* CListCtrlEx::GetRowDataPtr(int row) const
{
    const ItemData* item = m_pModel->ReadItem(row);
    return item ? item->pData : nullptr;
}

ItemData* CListCtrlEx::GetRowKey(int row) const
{
    return m_pModel->Item(row);
}

void CListCtrlEx::SetRowColors(int row, COLORREF back, COLORREF text)
{
    if (ItemData* item = m_pModel->Item(row)) {
        item->clrBack = back;
        item->clrText = text;
        m_pModel->RowChanged(row);
    }
}

void CListCtrlEx::SetRowReadOnly(int row, int readOnly)
{
    if (ItemData* item = m_pModel->Item(row))
        item->bReadOnly = readOnly;
}

void CListCtrlEx::SetCellColors(int row, int column, COLORREF back, COLORREF text)
{
    if (!m_pModel->IsColumn(column))
        return;
    ItemData* item = m_pModel->Item(row);
    if (!item)
        return;
    CellInfo& cell = item->MakeCell(column);
    cell.clrBack = back;
    cell.clrText = text;
    m_pModel->RowChanged(row);
}

bool CListCtrlEx::SetCellData(int row, int column, void* data)
{
    if (!m_pModel->IsColumn(column))
        return false;
    ItemData* item = m_pModel->Item(row);
    if (!item)
        return false;
    item->MakeCell(column).pData = data;
    return true;
}

void* CListCtrlEx::GetCellData(int row, int column) const
{
    const ItemData* item = m_pModel->ReadItem(row);
    const CellInfo* cell = item ? item->FindCell(column) : nullptr;
    return cell ? cell->pData : nullptr;
}

void CListCtrlEx::ForgetRecord(const ItemData* item)
{
    // An edit open on the row ends without a row to write to; its editor
    // must not stay over the row that takes the place.
    if (item == m_pEditItem) {
        EndEdit(false);
        m_pEditItem = nullptr;
    }
    if (item == m_pEndingItem)
        m_pEndingItem = nullptr;
    if (item == m_pCurItem)
        m_pCurItem = nullptr;
}

void CListCtrlEx::DeleteRow(int row)
{
    if (const ItemData* item = m_pModel->MadeItem(row))
        ForgetRecord(item);
    m_pModel->DeleteRow(row);
}

void CListCtrlEx::DeleteRows(const QList<int>& rows)
{
    const int top = rowAt(0);
    int goneAboveTop = 0;
    for (const int row : rows) {
        if (!m_pModel->IsRow(row))
            continue;
        if (const ItemData* item = m_pModel->MadeItem(row))
            ForgetRecord(item);
        goneAboveTop += row < top ? 1 : 0;
    }
    m_pModel->DeleteRows(rows);
    const int newTop = top - goneAboveTop;
    if (newTop > 0 && newTop < GetItemCount()) {
        doItemsLayout();
        scrollTo(m_pModel->index(newTop, 0), QAbstractItemView::PositionAtTop);
    }
}

void CListCtrlEx::DeleteAllRows()
{
    // A refill ends the open edit first: its text reaches its own row (and
    // the end-of-edit work) instead of an editor floating over new rows.
    EndEdit(true);
    m_pEditItem = nullptr;
    m_pEndingItem = nullptr;
    m_pCurItem = nullptr;
    m_pModel->DeleteAllRows();
}

bool CListCtrlEx::Reset()
{
    EndEdit(false);
    DeleteAllRows();
    while (GetColumnCount() > 0)
        m_pModel->DeleteColumn(0);
    m_nSortColumn = -1;
    UpdateSortArrow();
    return GetColumnCount() == 0;
}

bool CListCtrlEx::IsRowReadOnly(int row) const
{
    const ItemData* item = m_pModel->ReadItem(row);
    return item && item->bReadOnly;
}

bool CListCtrlEx::IsColumnReadOnly(int column) const
{
    const ColumnInfo* info = m_pModel->Column(column);
    return info && info->editor.bReadOnly;
}

bool CListCtrlEx::IsCellReadOnly(int row, int column) const
{
    return IsRowReadOnly(row) || IsColumnReadOnly(column);
}

// Selection and ticks --------------------------------------------------------

void CListCtrlEx::SelectRow(int row, bool on)
{
    m_pModel->Flush();
    QItemSelectionModel* selection = selectionModel();
    if (row == -1) {
        if (on)
            selectAll();
        else
            selection->clearSelection();
        return;
    }
    if (!m_pModel->IsRow(row) || GetColumnCount() == 0)
        return;
    selection->select(m_pModel->index(row, 0),
                      (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
}

bool CListCtrlEx::IsRowSelected(int row) const
{
    if (!m_pModel->IsRow(row) || row >= m_pModel->rowCount() || GetColumnCount() == 0)
        return false;
    return selectionModel()->isRowSelected(row, QModelIndex());
}

QList<int> CListCtrlEx::GetSelectedRows() const
{
    // Read from the selection's ranges: asking the selection model row by
    // row looks through every range for each row, which grows with the
    // square of a selection spread over the grid.
    const QItemSelectionModel* model = selectionModel();
    const int lastColumn = GetColumnCount() - 1;
    QList<int> rows;
    for (const QItemSelectionRange& range : model->selection()) {
        const bool wholeRows = range.left() == 0 && range.right() == lastColumn;
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (wholeRows || model->isRowSelected(row))
                rows.append(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CListCtrlEx::SetCheckBoxes(bool on)
{
    m_pModel->SetCheckBoxes(on);
}

bool CListCtrlEx::GetCheck(int row) const
{
    const ItemData* item = m_pModel->ReadItem(row);
    return item && item->bChecked;
}

void CListCtrlEx::SetCheck(int row, bool checked)
{
    if (ItemData* item = m_pModel->Item(row)) {
        item->bChecked = checked;
        m_pModel->RowChanged(row);
    }
}

bool CListCtrlEx::SubItemHitTest(const QPoint& point, int& row, int& column) const
{
    const_cast<CGridModel*>(m_pModel)->Flush();
    row = rowAt(point.y());
    column = columnAt(point.x());
    return row >= 0 && column >= 0;
}

// Mouse and keys -------------------------------------------------------------

void CListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    m_pressPoint = event->position().toPoint();
    m_pressIndex = indexAt(m_pressPoint);
    QTableView::mousePressEvent(event);
}

void CListCtrlEx::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool click = event->button() == Qt::LeftButton && index.isValid() && index == m_pressIndex &&
                       (event->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance();
    m_pressIndex = QPersistentModelIndex();
    if (click && !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)))
        BeginEdit(index.row(), index.column());
}

void CListCtrlEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        BeginEdit(index.row(), index.column());
}

bool CListCtrlEx::event(QEvent* event)
{
    if (event->type() == CEndCellEditEvent::kType) {
        EndEdit(static_cast<CEndCellEditEvent*>(event)->Commit() != 0);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (NavigateKey(key->key(), key->modifiers(), false))
            return true;
    }
    return QTableView::event(event);
}

bool CListCtrlEx::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_bHeaderPressed = true;
        if (event->type() == QEvent::MouseButtonRelease) {
            m_bHeaderPressed = false;
            const QList<int> columns = std::exchange(m_resizedByUser, {});
            for (int column : columns)
                SaveColumnWidth(column);
        }
        return QTableView::eventFilter(watched, event);
    }
    if (m_editorWnd && watched->isWidgetType() &&
        (watched == m_editorWnd || m_editorWnd->isAncestorOf(static_cast<QWidget*>(watched))) &&
        static_cast<QWidget*>(watched)->window() == m_editorWnd->window()) {
        // Keys in the editor's own drop-down list choose in the list.
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (NavigateKey(key->key(), key->modifiers(), true))
                return true;
        }
        if (IsEditorInput(event))
            m_bEditorWorked = true;
    }
    return QTableView::eventFilter(watched, event);
}

bool CListCtrlEx::NavigateKey(int key, Qt::KeyboardModifiers modifiers, bool fromEditor)
{
    switch (key) {
    case Qt::Key_Down: {
        const int row = GetCurrentRow();
        return row >= 0 && row + 1 < GetItemCount() && BeginEdit(row + 1, m_nCurSubItem);
    }
    case Qt::Key_Up: {
        const int row = GetCurrentRow();
        return row > 0 && BeginEdit(row - 1, m_nCurSubItem);
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (modifiers & Qt::ControlModifier)
            return false;
        if (fromEditor) {
            // The move runs when the key comes back to the grid, after the
            // editor has seen its current key through.
            QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, key, modifiers));
            return true;
        }
        const bool forward = key != Qt::Key_Backtab && !(modifiers & Qt::ShiftModifier);
        if (MoveToNextCell(forward))
            return true;
        // No cell left: the key moves on as usual; the edit is done.
        EndEdit(true);
        return false;
    }
    default:
        return false;
    }
}

bool CListCtrlEx::MoveToNextCell(bool forward)
{
    if (GetItemCount() == 0)
        return forward && OnAppendRow();
    // A commit may sort or remove rows; the move starts from where the
    // edited row went, and callbacks on the way may change the rows again.
    EndEdit(true);
    int row = GetCurrentRow();
    int column = m_nCurSubItem;
    for (;;) {
        const int rows = GetItemCount();
        const int columns = GetColumnCount();
        if (rows == 0 || columns == 0)
            return false;
        if (row < 0 || row >= rows || column < 0 || column >= columns) {
            row = forward ? 0 : rows - 1;
            column = forward ? 0 : columns - 1;
        } else if (forward) {
            if (++column >= columns) {
                column = 0;
                ++row;
            }
        } else if (--column < 0) {
            column = columns - 1;
            --row;
        }
        if (row < 0 || row >= rows)
            return false;
        if (BeginEdit(row, column))
            return true;
    }
}

bool CListCtrlEx::OnAppendRow()
{
    return false;
}

// Editing ------------------------------------------------------------------

int CListCtrlEx::GetCurrentRow() const
{
    return m_pModel->FindItem(m_pCurItem);
}

bool CListCtrlEx::EnsureCellVisible(int row, int column, QRect* rect)
{
    if (!m_pModel->IsRow(row) || !m_pModel->IsColumn(column))
        return false;
    m_pModel->Flush();
    const QModelIndex index = m_pModel->index(row, column);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    if (rect) {
        QRect cell = visualRect(index);
        const int right = viewport()->width() - 4;
        if (cell.right() > right)
            cell.setRight(right);
        *rect = cell;
    }
    return true;
}

bool CListCtrlEx::BeginEdit(int row, int column)
{
    ItemData* item = m_pModel->Item(row);
    EndEdit(true);
    // The commit may have sorted the rows or removed this one.
    if (item)
        row = m_pModel->FindItem(item);
    if (!item || row < 0 || !m_pModel->IsColumn(column) || IsCellReadOnly(row, column))
        return false;
    const ColumnInfo* info = m_pModel->Column(column);
    if (!info || !info->editor.IsSet() || info->editor.bReadOnly)
        return false;
    // An editor shared with another grid leaves that grid's edit before it
    // shows this cell, so that neither grid takes the other's text.
    if (CListCtrlEx* holder = GridHoldingEditor(info->editor.pWnd); holder && holder != this) {
        holder->GiveBackEditor(info->editor.pWnd);
        row = m_pModel->FindItem(item);
        if (row < 0)
            return false;
    }
    QRect rect;
    EnsureCellVisible(row, column, &rect);

    m_pCurItem = item;
    m_nCurSubItem = column;
    EditorInfo editor = info->editor;
    const QString text = m_pModel->Text(row, column);
    if (editor.pfnBeginEdit)
        editor.pfnBeginEdit(&editor.pWnd, row, column, text, item->pData, this, 1);
    // A callback-only editor has done its work.
    if (!editor.pWnd)
        return false;

    selectionModel()->clearSelection();
    if (!editor.pfnBeginEdit)
        SetEditorText(editor.pWnd, text);
    // What the editor shows when it cannot show the cell's text (a list
    // without that entry, a date box over an empty cell) is no edit.
    m_strShownText = GetEditorText(editor.pWnd);
    m_bShowsOtherText = m_strShownText != text;
    m_bEditorWorked = false;
    WatchEditorChoices(editor.pWnd);
    m_editor = editor;
    m_editorWnd = editor.pWnd;
    m_pEditItem = item;
    m_nEditSubItem = column;
    if (editor.pWnd->parentWidget() != viewport()) {
        m_borrowedEditors.emplace_back(editor.pWnd, editor.pWnd->parentWidget());
        editor.pWnd->setParent(viewport());
    }
    editor.pWnd->installEventFilter(this);
    for (QWidget* child : editor.pWnd->findChildren<QWidget*>())
        child->installEventFilter(this);
    editor.pWnd->setGeometry(rect);
    editor.pWnd->show();
    editor.pWnd->raise();
    editor.pWnd->setFocus(Qt::OtherFocusReason);
    m_hook.Attach(editor.pWnd, this);
    return true;
}

void CListCtrlEx::EndEdit(bool commit)
{
    // Withdrawn first: an end that hiding the editor or a callback causes
    // finds nothing to end.
    if (!m_hook.Detach())
        return;
    // The edit is over before the callback runs, which may open the next one.
    EditorInfo editor = std::exchange(m_editor, EditorInfo());
    QPointer<QWidget> window = m_editorWnd;
    HideEditor();
    m_pEndingItem = std::exchange(m_pEditItem, nullptr);
    const int column = std::exchange(m_nEditSubItem, -1);
    if (!window) {
        m_pEndingItem = nullptr;
        return;
    }
    int row = m_pModel->FindItem(m_pEndingItem);
    QString text;
    void* data = nullptr;
    // Typing the very text the editor showed is an edit all the same (the
    // date it kept from the row before, typed again for this row).
    if (m_bShowsOtherText && !m_bEditorWorked && GetEditorText(window) == m_strShownText)
        commit = false;
    if (row >= 0) {
        text = m_pModel->Text(row, column);
        data = m_pEndingItem->pData;
    } else {
        commit = false;
    }
    int result;
    if (editor.pfnEndEdit) {
        result = editor.pfnEndEdit(&editor.pWnd, row, column, text, data, this, commit ? 1 : 0);
    } else {
        text = GetEditorText(window);
        result = commit ? 1 : 0;
    }
    // The callback may have removed the row (DeleteRow forgets it then).
    ItemData* item = std::exchange(m_pEndingItem, nullptr);
    row = m_pModel->FindItem(item);
    if (result == 0 || row < 0)
        return;
    m_pModel->SetText(row, column, text);
    if (item->nState == kRowUnchanged || item->nState == kRowMarked)
        item->nState = kRowChanged;
    m_pModel->RowChanged(row);
    if (result == kResortAfterEdit)
        SortByColumn(column, false);
}

CListCtrlEx* CListCtrlEx::GridHoldingEditor(const QWidget* editor)
{
    QWidget* viewport = editor ? editor->parentWidget() : nullptr;
    auto* grid = viewport ? qobject_cast<CListCtrlEx*>(viewport->parentWidget()) : nullptr;
    return grid && grid->viewport() == viewport ? grid : nullptr;
}

void CListCtrlEx::GiveBackEditor(QWidget* editor)
{
    if (m_editorWnd == editor)
        EndEdit(true);
    for (auto it = m_borrowedEditors.begin(); it != m_borrowedEditors.end(); ++it) {
        if (it->first == editor) {
            if (it->second)
                editor->setParent(it->second);
            m_borrowedEditors.erase(it);
            return;
        }
    }
}

void CListCtrlEx::WatchEditorChoices(QWidget* editor)
{
    const auto worked = [this] { m_bEditorWorked = true; };
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        m_editorChoices.push_back(connect(combo, &QComboBox::activated, this, worked));
    auto* dateTime = qobject_cast<QDateTimeEdit*>(editor);
    if (dateTime && dateTime->calendarPopup() && dateTime->calendarWidget())
        m_editorChoices.push_back(connect(dateTime->calendarWidget(), &QCalendarWidget::clicked, this, worked));
}

bool CListCtrlEx::IsEditorInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        switch (static_cast<const QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
            return false;
        default:
            return true;
        }
    case QEvent::Wheel:
        return true;
    case QEvent::InputMethod:
        return !static_cast<const QInputMethodEvent*>(event)->commitString().isEmpty();
    default:
        return false;
    }
}

// Hides the open editor and gives the focus it had to the grid.
void CListCtrlEx::HideEditor()
{
    for (const QMetaObject::Connection& choice : std::exchange(m_editorChoices, {}))
        disconnect(choice);
    QWidget* editor = std::exchange(m_editorWnd, nullptr);
    if (!editor)
        return;
    editor->removeEventFilter(this);
    for (QWidget* child : editor->findChildren<QWidget*>())
        child->removeEventFilter(this);
    const QWidget* focus = QApplication::focusWidget();
    const bool hadFocus = focus && (focus == editor || editor->isAncestorOf(focus));
    editor->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}
