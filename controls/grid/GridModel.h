#pragma once

#include "grid/GridRecords.h"
#include "grid/GridRowRecord.h"
#include "grid/GridRowTexts.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>
#include <vector>

// The rows, columns and records of one grid, shown by its table view. The
// texts of a row sit together in one buffer (GridRowTexts.h); each row has
// one ItemData record (made when first needed, GridRowRecord.h), each cell
// with colours one CellInfo inside it.
//
// Rows appended at the end are announced to the views in one step, when the
// event loop next runs or before any other change, so that filling a large
// grid row by row costs no more than storing the texts. For the same reason
// the row inserted last keeps its texts as given, and packs them into its
// buffer in one step when another row is inserted or the grid changes
// otherwise.
class CGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CGridModel(QObject* parent = nullptr);
    ~CGridModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Every row, announced or not.
    int RowCount() const { return int(m_items.size()); }
    int ColumnCount() const { return int(m_titles.size()); }
    bool IsRow(int row) const { return row >= 0 && row < RowCount(); }
    bool IsColumn(int column) const { return column >= 0 && column < ColumnCount(); }

    // A new row at row (clamped to 0..RowCount()) with empty texts and a
    // fresh record of the given colours; returns its index.
    int InsertRow(int row, COLORREF back = CLR_UNSET, COLORREF text = CLR_UNSET);
    void DeleteRow(int row);
    // Deletes the given rows (any order; numbers that are no rows are left
    // out) in one pass over the grid.
    void DeleteRows(const QList<int>& rows);
    void DeleteAllRows();

    // A new column at column (clamped) with the list-view alignment format
    // (0 left, 1 right, 2 centre); returns its index.
    int InsertColumn(int column, const QString& title, int format);
    bool DeleteColumn(int column);
    QString Title(int column) const;
    // A new title for an existing column; width and alignment stay.
    void SetTitle(int column, const QString& title);

    QString Text(int row, int column) const;
    // The text without a copy, valid until the row's texts or the columns
    // next change.
    QStringView TextView(int row, int column) const;
    void SetText(int row, int column, QString text);

    // The row's record, to change or to hand out.
    ItemData* Item(int row) const;
    // The row's record to read: what Item would give, without making it.
    const ItemData* ReadItem(int row) const;
    // The row's record if it was made, else null (nothing can point to it).
    ItemData* MadeItem(int row) const;
    // The row that carries the record, -1 when none does.
    int FindItem(const ItemData* item) const;

    ColumnInfo* Column(int column) const;
    ColumnInfo& MakeColumn(int column);

    void SetDefaultColors(COLORREF back, COLORREF text);
    COLORREF DefaultBack() const { return m_clrDefaultBack; }
    COLORREF DefaultText() const { return m_clrDefaultText; }

    void SetCheckBoxes(bool on);
    bool HasCheckBoxes() const { return m_bCheckBoxes; }

    // Puts the rows in a new order: new row i is old row order[i]. order must
    // be a permutation of 0..RowCount()-1.
    void SetRowOrder(const std::vector<int>& order);

    // Repaints a row whose record changed.
    void RowChanged(int row);

    // Announces appended rows to the views now.
    void Flush();

private:
    // The colours a cell shows: the first of cell, row and column that sets
    // one, the defaults for what it leaves unset.
    void CellColors(int row, int column, COLORREF& back, COLORREF& text) const;
    void QueueFlush();
    // Packs the texts of the row inserted last into its buffer.
    void CloseOpenRow();

    // The records rows read until they have their own, one per pair of
    // colours rows were inserted with.
    std::vector<std::unique_ptr<ItemData>> m_sharedItems;
    // Row by row; the records apart, so that looking a record up reads
    // nothing else. A record is made on the first call of Item, which the
    // const interface of the grid's readers allows.
    std::vector<CGridRowTexts> m_texts;
    mutable std::vector<CGridRowRecord> m_items;
    // The row inserted last, -1 when closed, and its texts while open.
    int m_nOpenRow = -1;
    std::vector<QString> m_openTexts;
    std::vector<std::unique_ptr<ColumnInfo>> m_columnInfos; // in order of creation
    QStringList m_titles;
    std::vector<int> m_formats;
    COLORREF m_clrDefaultBack = CLR_UNSET;
    COLORREF m_clrDefaultText = CLR_UNSET;
    bool m_bCheckBoxes = false;
    int m_nShownRows = 0;
    bool m_bFlushQueued = false;
};
