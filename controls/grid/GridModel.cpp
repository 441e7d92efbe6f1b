#include "grid/GridModel.h"

#include <algorithm>

CellInfo* ItemData::FindCell(int column)
{
    for (CellInfo& cell : cells)
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
    cells.push_back(CellInfo{column});
    return cells.back();
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
            return m_rows[size_t(row)]->bChecked ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool CGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !m_bCheckBoxes || index.column() != 0 || index.row() >= m_nShownRows)
        return false;
    m_rows[size_t(index.row())]->bChecked = value.toInt() == Qt::Checked;
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

int CGridModel::InsertRow(int row)
{
    row = std::clamp(row, 0, RowCount());
    const bool announce = row < m_nShownRows;
    if (announce) {
        Flush();
        beginInsertRows(QModelIndex(), row, row);
    }
    const size_t columns = size_t(ColumnCount());
    m_texts.insert(m_texts.begin() + ptrdiff_t(size_t(row) * columns), columns, QString());
    m_rows.insert(m_rows.begin() + row, std::make_unique<ItemData>());
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
    const bool announced = row < m_nShownRows;
    if (announced)
        beginRemoveRows(QModelIndex(), row, row);
    const size_t columns = size_t(ColumnCount());
    const auto first = m_texts.begin() + ptrdiff_t(size_t(row) * columns);
    m_texts.erase(first, first + ptrdiff_t(columns));
    m_rows.erase(m_rows.begin() + row);
    if (announced) {
        --m_nShownRows;
        endRemoveRows();
    }
}

void CGridModel::DeleteRows(const QList<int>& rows)
{
    std::vector<bool> gone(m_rows.size(), false);
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
    const size_t columns = size_t(ColumnCount());
    size_t kept = 0;
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (gone[row])
            continue;
        if (kept != row) {
            m_rows[kept] = std::move(m_rows[row]);
            std::move(m_texts.begin() + ptrdiff_t(row * columns), m_texts.begin() + ptrdiff_t((row + 1) * columns),
                      m_texts.begin() + ptrdiff_t(kept * columns));
        }
        ++kept;
    }
    m_rows.resize(kept);
    m_texts.resize(kept * columns);
    m_nShownRows = RowCount();
    if (oneRun)
        endRemoveRows();
    else
        endResetModel();
}

void CGridModel::DeleteAllRows()
{
    beginResetModel();
    m_texts.clear();
    m_rows.clear();
    m_nShownRows = 0;
    endResetModel();
}

int CGridModel::InsertColumn(int column, const QString& title, int format)
{
    Flush();
    column = std::clamp(column, 0, ColumnCount());
    const size_t oldColumns = size_t(ColumnCount());
    beginInsertColumns(QModelIndex(), column, column);
    if (!m_rows.empty()) {
        std::vector<QString> texts;
        texts.reserve(m_rows.size() * (oldColumns + 1));
        for (size_t row = 0; row < m_rows.size(); ++row)
            for (size_t c = 0; c <= oldColumns; ++c)
                texts.push_back(c == size_t(column) ? QString()
                                                    : std::move(m_texts[row * oldColumns + (c < size_t(column) ? c : c - 1)]));
        m_texts.swap(texts);
    }
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
    std::vector<QString> texts;
    texts.reserve(m_rows.size() * (oldColumns - 1));
    for (size_t row = 0; row < m_rows.size(); ++row)
        for (size_t c = 0; c < oldColumns; ++c)
            if (c != size_t(column))
                texts.push_back(std::move(m_texts[row * oldColumns + c]));
    m_texts.swap(texts);
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

const QString& CGridModel::Text(int row, int column) const
{
    static const QString none;
    if (!IsRow(row) || !IsColumn(column))
        return none;
    return m_texts[size_t(row) * size_t(ColumnCount()) + size_t(column)];
}

void CGridModel::SetText(int row, int column, QString text)
{
    if (!IsRow(row) || !IsColumn(column))
        return;
    m_texts[size_t(row) * size_t(ColumnCount()) + size_t(column)] = std::move(text);
    if (row < m_nShownRows) {
        const QModelIndex cell = index(row, column);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

ItemData* CGridModel::Item(int row) const
{
    return IsRow(row) ? m_rows[size_t(row)].get() : nullptr;
}

int CGridModel::FindItem(const ItemData* item) const
{
    if (!item)
        return -1;
    for (size_t row = 0; row < m_rows.size(); ++row)
        if (m_rows[row].get() == item)
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
    const size_t rows = m_rows.size();
    if (order.size() != rows)
        return;
    const size_t columns = size_t(ColumnCount());
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
            std::swap(m_rows[start], m_rows[to]);
            for (size_t c = 0; c < columns; ++c)
                std::swap(m_texts[start * columns + c], m_texts[to * columns + c]);
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
    if (m_nShownRows >= RowCount())
        return;
    beginInsertRows(QModelIndex(), m_nShownRows, RowCount() - 1);
    m_nShownRows = RowCount();
    endInsertRows();
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
    const ItemData& item = *m_rows[size_t(row)];
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
