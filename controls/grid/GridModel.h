#pragma once

#include "grid/GridRecords.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>
#include <vector>

// The rows, columns and records of one grid, shown by its table view. Texts
// sit in one flat array (row after row, one slot per column); each row has
// one ItemData record, each cell with colours one CellInfo inside it.
//
// Rows appended at the end are announced to the views in one step, when the
// event loop next runs or before any other change, so that filling a large
// grid row by row costs no more than storing the texts.
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
    int RowCount() const { return int(m_rows.size()); }
    int ColumnCount() const { return int(m_titles.size()); }
    bool IsRow(int row) const { return row >= 0 && row < RowCount(); }
    bool IsColumn(int column) const { return column >= 0 && column < ColumnCount(); }

    // A new row at row (clamped to 0..RowCount()) with empty texts and a
    // fresh record; returns its index.
    int InsertRow(int row);
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

    const QString& Text(int row, int column) const;
    void SetText(int row, int column, QString text);

    ItemData* Item(int row) const;
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

    std::vector<QString> m_texts;
    std::vector<std::unique_ptr<ItemData>> m_rows;
    std::vector<std::unique_ptr<ColumnInfo>> m_columnInfos; // in order of creation
    QStringList m_titles;
    std::vector<int> m_formats;
    COLORREF m_clrDefaultBack = CLR_UNSET;
    COLORREF m_clrDefaultText = CLR_UNSET;
    bool m_bCheckBoxes = false;
    int m_nShownRows = 0;
    bool m_bFlushQueued = false;
};
