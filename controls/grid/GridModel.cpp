#include "grid/GridModel.h"

#include <algorithm>

CellInfo* ItemData::FindCell(int column)
{
    if (!cells)
        return nullptr;
    for (CellInfo& cell : *cells)
        if (cell.nColumn == column)
            return &cell;
    return nullptr;
}

const CellInfo* ItemData::FindCell(int column) const
{
    return const_cast<ItemData*>(this)->FindCell(column);
}

CellInfo& ItemData::MakeCell(int column)
{
    if (CellInfo* cell = FindCell(column))
        return *cell;
    if (!cells)
        cells = std::make_unique<std::vector<CellInfo>>();
    cells->push_back(CellInfo{column});
    return cells->back();
}

CGridModel::CGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

CGridModel::~CGridModel() = default;

int CGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nShownRows;
}

int CGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant CGridModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    const int column = index.column();
    if (!index.isValid() || row >= m_nShownRows || !IsColumn(column))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return Text(row, column);
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        COLORREF back = CLR_UNSET;
        COLORREF text = CLR_UNSET;
        CellColors(row, column, back, text);
        const COLORREF colour = role == Qt::BackgroundRole ? back : text;
        return colour == CLR_UNSET ? QVariant() : QVariant(ColorFromRef(colour));
    }
    case Qt::TextAlignmentRole: {
        const int format = m_formats[size_t(column)];
        const Qt::Alignment horizontal = format == 1 ? Qt::AlignRight : format == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    case Qt::CheckStateRole:
        if (m_bCheckBoxes && column == 0)
            return m_items[size_t(row)].Read().bChecked ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool CGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !m_bCheckBoxes || index.column() != 0 || index.row() >= m_nShownRows)
        return false;
    m_items[size_t(index.row())].Own().bChecked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant CGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !IsColumn(section))
        return {};
    if (role == Qt::DisplayRole)
        return m_titles[section];
    if (role == Qt::TextAlignmentRole) {
        const int format = m_formats[size_t(section)];
        const Qt::Alignment horizontal = format == 1 ? Qt::AlignRight : format == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags CGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_bCheckBoxes && index.column() == 0)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

int CGridModel::InsertRow(int row, COLORREF back, COLORREF text)
{
    CloseOpenRow();
    row = std::clamp(row, 0, RowCount());
    const bool announce = row < m_nShownRows;
    if (announce) {
        Flush();
        beginInsertRows(QModelIndex(), row, row);
    }
    auto shared = std::find_if(m_sharedItems.begin(), m_sharedItems.end(), [&](const auto& item) {
        return item->clrBack == back && item->clrText == text;
    });
    if (shared == m_sharedItems.end()) {
        shared = m_sharedItems.insert(m_sharedItems.end(), std::make_unique<ItemData>());
        (*shared)->clrBack = back;
        (*shared)->clrText = text;
    }
    m_texts.insert(m_texts.begin() + row, CGridRowTexts());
    m_items.insert(m_items.begin() + row, CGridRowRecord(**shared));
    m_nOpenRow = row;
    m_openTexts.resize(size_t(ColumnCount()));
    if (announce) {
        ++m_nShownRows;
        endInsertRows();
    } else {
        QueueFlush();
    }
    return row;
}

void CGridModel::DeleteRow(int row)
{
    if (!IsRow(row))
        return;
    CloseOpenRow();
    const bool announced = row < m_nShownRows;
    if (announced)
        beginRemoveRows(QModelIndex(), row, row);
    m_texts.erase(m_texts.begin() + row);
    m_items.erase(m_items.begin() + row);
    if (announced) {
        --m_nShownRows;
        endRemoveRows();
    }
}

void CGridModel::DeleteRows(const QList<int>& rows)
{
    std::vector<bool> gone(m_items.size(), false);
    int first = RowCount();
    int last = -1;
    int count = 0;
    for (const int row : rows) {
        if (!IsRow(row) || gone[size_t(row)])
            continue;
        gone[size_t(row)] = true;
        first = std::min(first, row);
        last = std::max(last, row);
        ++count;
    }
    if (count == 0)
        return;
    Flush();
    // One run of rows is announced as such, so that the views keep their
    // place; rows spread over the grid would cost the views one update per
    // run, so they take the grid anew.
    const bool oneRun = last - first + 1 == count;
    if (oneRun)
        beginRemoveRows(QModelIndex(), first, last);
    else
        beginResetModel();
    size_t kept = 0;
    for (size_t row = 0; row < m_items.size(); ++row) {
        if (gone[row])
            continue;
        if (kept != row) {
            m_items[kept] = std::move(m_items[row]);
            m_texts[kept] = std::move(m_texts[row]);
        }
        ++kept;
    }
    m_items.erase(m_items.begin() + ptrdiff_t(kept), m_items.end());
    m_texts.erase(m_texts.begin() + ptrdiff_t(kept), m_texts.end());
    m_nShownRows = RowCount();
    if (oneRun)
        endRemoveRows();
    else
        endResetModel();
}

void CGridModel::DeleteAllRows()
{
    beginResetModel();
    CloseOpenRow();
    m_texts.clear();
    m_items.clear();
    m_nShownRows = 0;
    endResetModel();
}

int CGridModel::InsertColumn(int column, const QString& title, int format)
{
    Flush();
    column = std::clamp(column, 0, ColumnCount());
    const size_t oldColumns = size_t(ColumnCount());
    beginInsertColumns(QModelIndex(), column, column);
    for (CGridRowTexts& texts : m_texts)
        texts.InsertColumn(size_t(column), oldColumns);
    m_titles.insert(column, title);
    m_formats.insert(m_formats.begin() + column, format);
    endInsertColumns();
    return column;
}

bool CGridModel::DeleteColumn(int column)
{
    if (!IsColumn(column))
        return false;
    Flush();
    const size_t oldColumns = size_t(ColumnCount());
    beginRemoveColumns(QModelIndex(), column, column);
    for (CGridRowTexts& texts : m_texts)
        texts.RemoveColumn(size_t(column), oldColumns);
    m_titles.removeAt(column);
    m_formats.erase(m_formats.begin() + column);
    endRemoveColumns();
    return true;
}

QString CGridModel::Title(int column) const
{
    return IsColumn(column) ? m_titles[column] : QString();
}

void CGridModel::SetTitle(int column, const QString& title)
{
    if (!IsColumn(column))
        return;
    m_titles[column] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString CGridModel::Text(int row, int column) const
{
    if (!IsRow(row) || !IsColumn(column))
        return {};
    if (row == m_nOpenRow)
        return m_openTexts[size_t(column)];
    return m_texts[size_t(row)].Text(size_t(column), size_t(ColumnCount()));
}

QStringView CGridModel::TextView(int row, int column) const
{
    if (!IsRow(row) || !IsColumn(column))
        return {};
    if (row == m_nOpenRow)
        return m_openTexts[size_t(column)];
    return m_texts[size_t(row)].View(size_t(column), size_t(ColumnCount()));
}

void CGridModel::SetText(int row, int column, QString text)
{
    if (!IsRow(row) || !IsColumn(column))
        return;
    if (row == m_nOpenRow)
        m_openTexts[size_t(column)] = std::move(text);
    else
        m_texts[size_t(row)].SetText(size_t(column), size_t(ColumnCount()), text);
    if (row < m_nShownRows) {
        // The cell is known to be shown: its index needs no second check.
        // One list of roles serves every cell: a list made for each call
        // would cost an allocation as large as the rest of the change.
        const QModelIndex cell = createIndex(row, column);
        static const QList<int> displayRole{Qt::DisplayRole};
        emit dataChanged(cell, cell, displayRole);
    }
}

ItemData* CGridModel::Item(int row) const
{
    return IsRow(row) ? &m_items[size_t(row)].Own() : nullptr;
}

const ItemData* CGridModel::ReadItem(int row) const
{
    return IsRow(row) ? &m_items[size_t(row)].Read() : nullptr;
}

ItemData* CGridModel::MadeItem(int row) const
{
    return IsRow(row) ? m_items[size_t(row)].Made() : nullptr;
}

int CGridModel::FindItem(const ItemData* item) const
{
    if (!item)
        return -1;
    for (size_t row = 0; row < m_items.size(); ++row)
        if (m_items[row].Holds(item))
            return int(row);
    return -1;
}

ColumnInfo* CGridModel::Column(int column) const
{
    for (const auto& info : m_columnInfos)
        if (info->nColumn == column)
            return info.get();
    return nullptr;
}

ColumnInfo& CGridModel::MakeColumn(int column)
{
    if (ColumnInfo* info = Column(column))
        return *info;
    m_columnInfos.push_back(std::make_unique<ColumnInfo>());
    m_columnInfos.back()->nColumn = column;
    return *m_columnInfos.back();
}

void CGridModel::SetDefaultColors(COLORREF back, COLORREF text)
{
    m_clrDefaultBack = back;
    m_clrDefaultText = text;
}

void CGridModel::SetCheckBoxes(bool on)
{
    if (on == m_bCheckBoxes)
        return;
    Flush();
    beginResetModel();
    m_bCheckBoxes = on;
    endResetModel();
}

void CGridModel::SetRowOrder(const std::vector<int>& order)
{
    Flush();
    const size_t rows = m_items.size();
    if (order.size() != rows)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Moved in place along the cycles of the permutation: no copy of the
    // table is made.
    std::vector<int> newRowOf(rows);
    for (size_t row = 0; row < rows; ++row)
        newRowOf[size_t(order[row])] = int(row);
    std::vector<bool> placed(rows, false);
    for (size_t start = 0; start < rows; ++start) {
        if (placed[start])
            continue;
        // Walk the cycle: the row at start goes to newRowOf[start], whose
        // row goes on, until the cycle closes.
        size_t at = start;
        while (!placed[size_t(newRowOf[at])] && size_t(newRowOf[at]) != start) {
            const size_t to = size_t(newRowOf[at]);
            std::swap(m_items[start], m_items[to]);
            std::swap(m_texts[start], m_texts[to]);
            placed[to] = true;
            at = to;
        }
        placed[start] = true;
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newRowOf[size_t(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CGridModel::RowChanged(int row)
{
    if (row < 0 || row >= m_nShownRows || ColumnCount() == 0)
        return;
    emit dataChanged(index(row, 0), index(row, ColumnCount() - 1));
}

void CGridModel::Flush()
{
    m_bFlushQueued = false;
    CloseOpenRow();
    if (m_nShownRows >= RowCount())
        return;
    beginInsertRows(QModelIndex(), m_nShownRows, RowCount() - 1);
    m_nShownRows = RowCount();
    endInsertRows();
}

void CGridModel::CloseOpenRow()
{
    if (m_nOpenRow < 0)
        return;
    m_texts[size_t(m_nOpenRow)].SetTexts(m_openTexts);
    std::fill(m_openTexts.begin(), m_openTexts.end(), QString());
    m_nOpenRow = -1;
}

void CGridModel::QueueFlush()
{
    if (m_bFlushQueued)
        return;
    m_bFlushQueued = true;
    QMetaObject::invokeMethod(this, &CGridModel::Flush, Qt::QueuedConnection);
}

void CGridModel::CellColors(int row, int column, COLORREF& back, COLORREF& text) const
{
    back = m_clrDefaultBack;
    text = m_clrDefaultText;
    const ItemData& item = m_items[size_t(row)].Read();
    COLORREF levelBack = CLR_UNSET;
    COLORREF levelText = CLR_UNSET;
    if (const CellInfo* cell = item.FindCell(column); cell && (cell->clrBack != CLR_UNSET || cell->clrText != CLR_UNSET)) {
        levelBack = cell->clrBack;
        levelText = cell->clrText;
    } else if (item.clrBack != CLR_UNSET || item.clrText != CLR_UNSET) {
        levelBack = item.clrBack;
        levelText = item.clrText;
    } else if (const ColumnInfo* info = Column(column)) {
        levelBack = info->clrBack;
        levelText = info->clrText;
    }
    if (levelBack != CLR_UNSET)
        back = levelBack;
    if (levelText != CLR_UNSET)
        text = levelText;
}
