// Rows get a record of their own only when one is asked for; until then
// they show the colours they were inserted with.
#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

namespace
{
constexpr COLORREF kEven = 0xFFFFFF;
constexpr COLORREF kOdd = 0xF0E6DC;

QColor Background(CGridModel& model, int row)
{
    model.Flush();
    return model.data(model.index(row, 0), Qt::BackgroundRole).value<QColor>();
}

using Table = std::vector<std::vector<QString>>;

Table Read(const CGridModel& model)
{
    Table table(size_t(model.RowCount()));
    for (int row = 0; row < model.RowCount(); ++row)
        for (int column = 0; column < model.ColumnCount(); ++column) {
            table[size_t(row)].push_back(model.Text(row, column));
            EXPECT_EQ(model.TextView(row, column), table[size_t(row)].back());
        }
    return table;
}

// Every change of rows and columns in random order against a plain table of
// strings, with the row inserted last written to before and after the rest.
TEST(GridModelTest, FollowsAPlainTableThroughEveryChange)
{
    QRandomGenerator random(20261212);
    CGridModel model;
    Table expected;
    int columns = 0;
    for (int step = 0; step < 3000; ++step) {
        const int rows = int(expected.size());
        const int row = random.bounded(rows + 1);
        const int column = random.bounded(columns + 1);
        switch (random.bounded(columns == 0 ? 1 : 9)) {
        case 0:
            if (columns < 6) {
                model.InsertColumn(column, u"列"_qs, 0);
                for (auto& cells : expected)
                    cells.insert(cells.begin() + column, QString());
                ++columns;
            }
            break;
        case 1:
            if (columns > 1 && column < columns) {
                model.DeleteColumn(column);
                for (auto& cells : expected)
                    cells.erase(cells.begin() + column);
                --columns;
            }
            break;
        case 2:
        case 3:
            model.InsertRow(row);
            expected.insert(expected.begin() + row, std::vector<QString>(size_t(columns)));
            break;
        case 4:
            if (row < rows) {
                model.DeleteRow(row);
                expected.erase(expected.begin() + row);
            }
            break;
        case 5:
            if (rows > 0) {
                std::vector<int> order(expected.size());
                std::iota(order.begin(), order.end(), 0);
                std::shuffle(order.begin(), order.end(), std::mt19937(step));
                model.SetRowOrder(order);
                Table sorted;
                for (const int old : order)
                    sorted.push_back(expected[size_t(old)]);
                expected = sorted;
            }
            break;
        case 6:
            model.Flush();
            break;
        default:
            if (row < rows && column < columns) {
                const QString text = random.bounded(5) == 0 ? QString() : QString::number(random.generate(), 36);
                model.SetText(row, column, text);
                expected[size_t(row)][size_t(column)] = text;
            }
        }
        ASSERT_EQ(Read(model), expected) << "step " << step;
    }
}

TEST(GridModelTest, ARecordMadeLateKeepsItsRowsColoursAndPlace)
{
    CGridModel model;
    model.InsertColumn(0, u"名称"_qs, 0);
    for (int row = 0; row < 6; ++row) {
        model.InsertRow(row, row % 2 ? kOdd : kEven, 0);
        model.SetText(row, 0, QString::number(row));
    }
    EXPECT_EQ(model.MadeItem(3), nullptr);
    EXPECT_EQ(model.ReadItem(3)->clrBack, kOdd);
    EXPECT_EQ(Background(model, 3), ColorFromRef(kOdd));

    ItemData* item = model.Item(3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->clrBack, kOdd);
    EXPECT_EQ(item->clrText, 0u);
    EXPECT_EQ(model.MadeItem(3), item);
    item->clrBack = 0x0000FF;
    EXPECT_EQ(Background(model, 3), QColor(255, 0, 0));
    EXPECT_EQ(Background(model, 1), ColorFromRef(kOdd)) << "the other rows keep what they share";

    // The record goes with its row wherever the row goes.
    model.InsertRow(0);
    model.DeleteRow(5);
    std::vector<int> reversed(size_t(model.RowCount()));
    std::iota(reversed.rbegin(), reversed.rend(), 0);
    model.SetRowOrder(reversed);
    const int row = model.FindItem(item);
    ASSERT_GE(row, 0);
    EXPECT_EQ(model.Text(row, 0), u"3"_qs);
    EXPECT_EQ(model.Item(row), item);
    model.DeleteRows({row});
    EXPECT_EQ(model.FindItem(item), -1);
}

// Rows without records of their own, deleted above the top of the view,
// leave the first row shown that is kept at the top.
TEST(GridModelTest, DeletedRowsWithoutRecordsKeepTheTopRow)
{
    CListCtrlEx grid;
    grid.InsertColumn(0, u"名称"_qs);
    for (int row = 0; row < 200; ++row)
        grid.InsertRow(row, u"r%1"_qs.arg(row));
    grid.resize(300, 200);
    grid.show();
    QCoreApplication::processEvents();
    grid.scrollTo(grid.GetModel()->index(100, 0), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(grid.rowAt(0), 100);
    grid.DeleteRows({10, 20, 150});
    EXPECT_EQ(grid.GetItemCount(), 197);
    EXPECT_EQ(grid.GetItemText(grid.rowAt(0), 0), u"r100"_qs);
}
} // namespace

// A cell set on a row the views have is announced as that cell's text, and
// nothing else; one set on a row appended since, which the views do not have
// yet, is not announced at all.
TEST(GridModelTest, ASetCellIsAnnouncedOnlyOnRowsTheViewsHave)
{
    CGridModel model;
    model.InsertColumn(0, u"编码"_qs, 0);
    model.InsertColumn(1, u"名称"_qs, 0);
    model.InsertRow(0);
    model.InsertRow(1);
    model.Flush();
    const int appended = model.InsertRow(2);
    using Change = std::tuple<int, int, int, int, QList<int>>; // first row and column, last row and column, roles
    std::vector<Change> changes;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& first, const QModelIndex& last, const QList<int>& roles) {
                         changes.emplace_back(first.row(), first.column(), last.row(), last.column(), roles);
                     });

    model.SetText(1, 1, u"螺母 M8"_qs);
    model.SetText(appended, 0, u"A-003"_qs);
    model.SetText(0, 0, u"A-001"_qs);

    const std::vector<Change> expected{{1, 1, 1, 1, {Qt::DisplayRole}}, {0, 0, 0, 0, {Qt::DisplayRole}}};
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(model.Text(appended, 0), u"A-003"_qs);
}
