// The grid's everyday operations on a shown grid of 100,000 rows of short
// business texts: setting and reading cells, inserting and deleting rows,
// sorting by a text column, editing a cell, moving the editor with the Down
// key, cell colours and painting what is in view. Each is a fixed batch of
// work, so that builds of the grid can be compared figure by figure.
#include "BusinessTexts.h"
#include "QtBenchmarkMain.h"

#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QStringList>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace
{
constexpr int kRows = 100000;
constexpr int kBatch = 10000;   // cells set, read or coloured per iteration
constexpr int kEdits = 100;     // edits, key presses and row inserts per iteration
constexpr int kEditColumn = 1;  // the product name
constexpr int kAmountColumn = 4;

struct GridForm
{
    QWidget form;
    CListCtrlEx* grid = nullptr;
    QLineEdit* editor = nullptr;
};

// The form with its grid, made once for every benchmark of this file.
GridForm& Form()
{
    static GridForm* made = [] {
        auto* bench = new GridForm;
        AtBenchmarkEnd([bench] { delete bench; });
        bench->form.resize(1000, 600);
        bench->grid = new CListCtrlEx(&bench->form);
        bench->grid->resize(1000, 600);
        bench->editor = new QLineEdit(&bench->form);
        bench->editor->hide();
        CListCtrlEx& grid = *bench->grid;
        for (int column = 0; column < kBusinessColumns; ++column)
            grid.InsertColumn(column, QStringLiteral("列%1").arg(column + 1));
        grid.SetColumnEditor(kEditColumn, nullptr, nullptr, bench->editor);
        grid.SetColumnSort(0, kSortAscending, 3);
        grid.SetColumnSort(kAmountColumn, kSortAscending, 2);
        for (int row = 0; row < kRows; ++row) {
            grid.InsertRow(row, BusinessText(row, 0));
            for (int column = 1; column < kBusinessColumns; ++column)
                grid.SetItemText(row, column, BusinessText(row, column));
        }
        bench->form.show();
        QCoreApplication::processEvents();
        return bench;
    }();
    return *made;
}

// Cells spread over the grid, the same in every run.
std::vector<std::pair<int, int>> RandomCells(int count)
{
    QRandomGenerator random(20261211);
    std::vector<std::pair<int, int>> cells;
    for (int i = 0; i < count; ++i)
        cells.emplace_back(random.bounded(kRows), random.bounded(kBusinessColumns));
    return cells;
}

// Each iteration writes a batch of cells with texts of other lengths than
// theirs (from another row and column), turn about with their own texts.
void BM_GridSetCells(benchmark::State& state)
{
    CListCtrlEx& grid = *Form().grid;
    const auto cells = RandomCells(kBatch);
    QStringList own;
    QStringList other;
    for (const auto& [row, column] : cells) {
        own.append(BusinessText(row, column));
        other.append(BusinessText(row + 1, (column + 3) % kBusinessColumns));
    }
    bool turn = false;
    for (auto _ : state) {
        const QStringList& texts = turn ? own : other;
        // A text of its own for each cell, as an action or a query makes one:
        // a cell that shared the batch's string would keep it warm in the
        // cache, which no real text is.
        for (int i = 0; i < kBatch; ++i)
            grid.SetItemText(cells[size_t(i)].first, cells[size_t(i)].second, QString(texts[i].constData(), texts[i].size()));
        turn = !turn;
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_GridGetCells(benchmark::State& state)
{
    const CListCtrlEx& grid = *Form().grid;
    const auto cells = RandomCells(kBatch);
    for (auto _ : state) {
        qsizetype characters = 0;
        for (const auto& [row, column] : cells)
            characters += grid.GetItemText(row, column).size();
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

// A row inserted in the middle with its texts, then deleted again.
void BM_GridInsertDeleteRow(benchmark::State& state)
{
    CListCtrlEx& grid = *Form().grid;
    for (auto _ : state) {
        for (int i = 0; i < kEdits; ++i) {
            const int row = grid.InsertRow(kRows / 2, BusinessText(i, 0));
            for (int column = 1; column < kBusinessColumns; ++column)
                grid.SetItemText(row, column, BusinessText(i, column));
            grid.DeleteRow(row);
        }
    }
    state.SetItemsProcessed(state.iterations() * kEdits);
}

// Sorted by the amounts, then back by the order codes (as text).
void BM_GridSortTwice(benchmark::State& state)
{
    CListCtrlEx& grid = *Form().grid;
    for (auto _ : state) {
        grid.SortByColumn(kAmountColumn, false);
        grid.SortByColumn(0, false);
    }
    state.SetItemsProcessed(state.iterations() * kRows * 2);
}

// An edit opened on a cell and committed with another text (one character
// more, or less again), row after row.
void BM_GridEditCells(benchmark::State& state)
{
    GridForm& bench = Form();
    CListCtrlEx& grid = *bench.grid;
    const auto cells = RandomCells(kEdits);
    for (auto _ : state) {
        for (const auto& cell : cells) {
            grid.BeginEdit(cell.first, kEditColumn);
            const QString shown = bench.editor->text();
            bench.editor->setText(shown.endsWith(u'x') ? shown.chopped(1) : shown + u'x');
            grid.EndEdit(true);
        }
    }
    state.SetItemsProcessed(state.iterations() * kEdits);
}

// The Down key in the open editor, moving the edit a row down each time.
void BM_GridDownKey(benchmark::State& state)
{
    GridForm& bench = Form();
    CListCtrlEx& grid = *bench.grid;
    for (auto _ : state) {
        grid.BeginEdit(kRows / 2, kEditColumn);
        for (int i = 0; i < kEdits; ++i) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QCoreApplication::sendEvent(bench.editor, &down);
        }
        grid.EndEdit(false);
    }
    state.SetItemsProcessed(state.iterations() * kEdits);
}

// Cell colours set over the grid, then every cell's colours read as the view
// reads them.
void BM_GridCellColours(benchmark::State& state)
{
    CListCtrlEx& grid = *Form().grid;
    CGridModel& model = *grid.GetModel();
    const auto cells = RandomCells(kBatch);
    COLORREF colour = 0x102030;
    for (auto _ : state) {
        for (const auto& [row, column] : cells)
            grid.SetCellColors(row, column, colour, CLR_UNSET);
        int seen = 0;
        for (const auto& [row, column] : cells)
            seen += model.data(model.index(row, column), Qt::BackgroundRole).isValid() ? 1 : 0;
        benchmark::DoNotOptimize(seen);
        colour ^= 0x0F0F0F;
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

// The rows in view painted into an image.
void BM_GridPaintView(benchmark::State& state)
{
    CListCtrlEx& grid = *Form().grid;
    QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        grid.viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}

BENCHMARK(BM_GridSetCells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridGetCells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridInsertDeleteRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridSortTwice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridEditCells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridDownKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridCellColours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridPaintView)->Unit(benchmark::kMicrosecond);
} // namespace
