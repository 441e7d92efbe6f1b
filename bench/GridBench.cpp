// The grid with 100,000 rows of 8 columns: filled from a query and shown,
// beside a plain QSqlQuery loop that reads every value as a QString into a
// list (SQLite, kind 2, and the PostgreSQL test server, kind 3); and sorted by
// an amount column, beside std::stable_sort over the already-parsed amounts.
#include "BenchDatabase.h"

#include "grid/ListCtrlEx.h"
#include "text/NumberText.h"

#include <QApplication>
#include <QSqlQuery>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>

namespace
{
constexpr int kColumns = 8;
constexpr int kAmountColumn = 3;

// Reads the rows into a shown grid; false when the query failed.
bool FillGrid(CListCtrlEx& grid, QSqlDatabase& database)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(kBenchSelect))
        return false;
    int row = 0;
    while (query.next()) {
        grid.InsertRow(row, query.value(0).toString());
        for (int column = 1; column < kColumns; ++column)
            grid.SetItemText(row, column, query.value(column).toString());
        ++row;
    }
    QCoreApplication::processEvents();
    return row == kBenchRows;
}

std::unique_ptr<CListCtrlEx> MakeGrid()
{
    auto grid = std::make_unique<CListCtrlEx>();
    for (int column = 0; column < kColumns; ++column)
        grid->InsertColumn(column, QStringLiteral("列%1").arg(column + 1));
    grid->resize(1000, 600);
    grid->show();
    QCoreApplication::processEvents();
    return grid;
}

void BM_FillGridFromQuery(benchmark::State& state)
{
    BenchDatabase& bench = GetBenchDatabase(int(state.range(0)));
    if (!bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return;
    }
    const std::unique_ptr<CListCtrlEx> grid = MakeGrid();
    // Emptying the grid counts, as the plain loop's list is freed in its time.
    for (auto _ : state) {
        grid->DeleteAllRows();
        if (!FillGrid(*grid, bench.plain)) {
            state.SkipWithError("query failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kBenchRows);
}

// Every value of the same rows read as a QString into a list, nothing else.
void BM_PlainQueryToStrings(benchmark::State& state)
{
    BenchDatabase& bench = GetBenchDatabase(int(state.range(0)));
    if (!bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return;
    }
    for (auto _ : state) {
        QSqlQuery query(bench.plain);
        query.setForwardOnly(true);
        query.exec(kBenchSelect);
        QStringList values;
        while (query.next())
            for (int column = 0; column < kColumns; ++column)
                values.append(query.value(column).toString());
        if (values.size() != kBenchRows * kColumns) {
            state.SkipWithError("query failed");
            return;
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * kBenchRows);
}

// A grid of the SQLite rows whose amount column holds texts such as "12,345.68".
CListCtrlEx* AmountGrid()
{
    static std::unique_ptr<CListCtrlEx> grid;
    if (!grid) {
        BenchDatabase& bench = GetBenchDatabase(2);
        if (!bench.problem.isEmpty())
            return nullptr;
        grid = MakeGrid();
        if (!FillGrid(*grid, bench.plain))
            return nullptr;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            grid->SetItemText(row, kAmountColumn, FormatThousands(grid->GetItemText(row, kAmountColumn)));
        grid->SetColumnSort(kAmountColumn, kSortToggles, 2);
    }
    return grid.get();
}

void BM_SortGridByAmount(benchmark::State& state)
{
    CListCtrlEx* grid = AmountGrid();
    if (!grid) {
        state.SkipWithError("no grid");
        return;
    }
    for (auto _ : state)
        grid->SortByColumn(kAmountColumn, true);
    state.SetItemsProcessed(state.iterations() * kBenchRows);
}

void BM_StableSortParsedAmounts(benchmark::State& state)
{
    CListCtrlEx* grid = AmountGrid();
    if (!grid) {
        state.SkipWithError("no grid");
        return;
    }
    std::vector<double> keys;
    for (int row = 0; row < grid->GetItemCount(); ++row)
        keys.push_back(TextToDouble(grid->GetItemText(row, kAmountColumn).remove(u',')));
    std::vector<int> order(keys.size());
    bool ascending = true;
    for (auto _ : state) {
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return ascending ? keys[size_t(a)] < keys[size_t(b)] : keys[size_t(b)] < keys[size_t(a)];
        });
        ascending = !ascending;
        benchmark::DoNotOptimize(order.data());
    }
    state.SetItemsProcessed(state.iterations() * kBenchRows);
}

BENCHMARK(BM_FillGridFromQuery)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQueryToStrings)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortGridByAmount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StableSortParsedAmounts)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReleaseBenchDatabases();
    return 0;
}
