// The grid at 10,000, 100,000 and 1,000,000 rows of 8 columns:
// - filled from a query and shown, beside a plain QSqlQuery loop that reads
//   every value as a QString into a list, and beside the same list shown in
//   a plain QTableView (SQLite, kind 2, and the PostgreSQL test server,
//   kind 3);
// - sorted by an amount column ("12,345.68") from a shuffled order, beside
//   the same texts parsed and stable-sorted in each iteration;
// - built cell by cell from short business texts, beside the same texts
//   made into a plain list;
// - the memory it holds for its rows (filled from the query, and built from
//   the business texts), beside the bytes of their texts and beside a plain
//   list of the same texts.
#include "BenchDatabase.h"
#include "BusinessTexts.h"

#include "grid/ListCtrlEx.h"
#include "text/NumberText.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QHeaderView>
#include <QSqlQuery>
#include <QStringList>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

#include <algorithm>
#include <numeric>
#include <random>

namespace
{
constexpr int kColumns = 8;
constexpr int kKeyColumn = 0;
constexpr int kAmountColumn = 3;

// Reads the rows into a shown grid; false when the query failed.
bool FillGrid(CListCtrlEx& grid, QSqlDatabase& database, int rows)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(BenchSelect(rows)))
        return false;
    int row = 0;
    while (query.next()) {
        grid.InsertRow(row, query.value(0).toString());
        for (int column = 1; column < kColumns; ++column)
            grid.SetItemText(row, column, query.value(column).toString());
        ++row;
    }
    QCoreApplication::processEvents();
    return row == rows;
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

// The database of the kind, or the reason the benchmark is skipped.
BenchDatabase* Database(benchmark::State& state, int kind)
{
    BenchDatabase& bench = GetBenchDatabase(kind);
    if (!bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return nullptr;
    }
    return &bench;
}

void BM_FillGridFromQuery(benchmark::State& state)
{
    const int rows = int(state.range(1));
    BenchDatabase* bench = Database(state, int(state.range(0)));
    if (!bench)
        return;
    const std::unique_ptr<CListCtrlEx> grid = MakeGrid();
    // Emptying the grid counts, as the plain loop's list is freed in its time.
    for (auto _ : state) {
        grid->DeleteAllRows();
        if (!FillGrid(*grid, bench->plain, rows)) {
            state.SkipWithError("query failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

// Every value of the rows read as a QString into a list, nothing else; empty
// when the query failed.
QStringList ReadStrings(QSqlDatabase& database, int rows)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(BenchSelect(rows)))
        return {};
    QStringList values;
    while (query.next())
        for (int column = 0; column < kColumns; ++column)
            values.append(query.value(column).toString());
    return values;
}

// A table model over a list of texts, row after row: what a plain Qt program
// writes to show them.
class PlainTextsModel : public QAbstractTableModel
{
public:
    void SetTexts(QStringList texts)
    {
        beginResetModel();
        m_texts = std::move(texts);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : int(m_texts.size() / kColumns);
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumns; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(m_texts[index.row() * kColumns + index.column()]) : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        return orientation == Qt::Horizontal && role == Qt::DisplayRole ? QVariant(QStringLiteral("列%1").arg(section + 1))
                                                                        : QVariant();
    }

private:
    QStringList m_texts;
};

// Reads the rows into strings in each iteration; with a model, shows them in
// its view.
void RunPlainQuery(benchmark::State& state, PlainTextsModel* shown)
{
    const int rows = int(state.range(1));
    BenchDatabase* bench = Database(state, int(state.range(0)));
    if (!bench)
        return;
    for (auto _ : state) {
        if (shown)
            shown->SetTexts({});
        QStringList values = ReadStrings(bench->plain, rows);
        if (values.size() != rows * kColumns) {
            state.SkipWithError("query failed");
            return;
        }
        if (shown) {
            shown->SetTexts(std::move(values));
            QCoreApplication::processEvents();
        } else {
            benchmark::DoNotOptimize(values.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_PlainQueryToStrings(benchmark::State& state)
{
    RunPlainQuery(state, nullptr);
}

// The same rows read into strings and shown in a plain table view of the
// grid's size, rows and columns: the grid's first page is painted by the
// same view code, which costs the same for 10,000 rows as for 1,000,000.
void BM_PlainQueryToStringsShown(benchmark::State& state)
{
    PlainTextsModel model;
    QTableView view;
    view.setModel(&model);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(20);
    view.horizontalHeader()->setDefaultSectionSize(100);
    view.setWordWrap(false);
    view.resize(1000, 600);
    view.show();
    QCoreApplication::processEvents();
    RunPlainQuery(state, &model);
}

// The amounts of the rows in a shuffled order, written with thousands
// separators; the same for every run of the same size.
QStringList ShuffledAmounts(int rows)
{
    std::vector<int> values(static_cast<size_t>(rows));
    std::iota(values.begin(), values.end(), 1);
    std::shuffle(values.begin(), values.end(), std::mt19937(20261211));
    QStringList amounts;
    amounts.reserve(rows);
    for (const int value : values)
        amounts.append(FormatThousands(QString::number(value * 12.34, 'f', 2)));
    return amounts;
}

// A grid of the rows: a key column in row order (integers) and the amounts.
std::unique_ptr<CListCtrlEx> AmountGrid(int rows)
{
    auto grid = MakeGrid();
    const QStringList amounts = ShuffledAmounts(rows);
    for (int row = 0; row < rows; ++row) {
        grid->InsertRow(row, QString::number(row + 1));
        grid->SetItemText(row, kAmountColumn, amounts[row]);
    }
    grid->SetColumnSort(kKeyColumn, kSortAscending, 4);
    grid->SetColumnSort(kAmountColumn, kSortAscending, 2);
    return grid;
}

// Each iteration starts from the shuffled order (the rows sorted back by
// their key, not timed) and sorts by the amounts.
void BM_SortGridByAmount(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const std::unique_ptr<CListCtrlEx> grid = AmountGrid(rows);
    for (auto _ : state) {
        state.PauseTiming();
        grid->SortByColumn(kKeyColumn, false);
        state.ResumeTiming();
        grid->SortByColumn(kAmountColumn, false);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

// The same texts in the same shuffled order, parsed and stable-sorted in each
// iteration: what the grid's sort does, without the grid.
void BM_StableSortParsedAmounts(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const QStringList amounts = ShuffledAmounts(rows);
    for (auto _ : state) {
        std::vector<std::pair<double, int>> keyed;
        keyed.reserve(size_t(rows));
        for (int row = 0; row < rows; ++row)
            keyed.emplace_back(TextToDouble(QString(amounts[row]).remove(u',')), row);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<int> order;
        order.reserve(keyed.size());
        for (const auto& entry : keyed)
            order.push_back(entry.second);
        benchmark::DoNotOptimize(order.data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

// The bytes of texts as UTF-16 (the form every text has in memory) and as
// UTF-8.
struct TextBytes
{
    double utf16 = 0;
    double utf8 = 0;

    void Add(const QString& text)
    {
        utf16 += double(text.size()) * sizeof(QChar);
        utf8 += double(text.toUtf8().size());
    }
};

// What a build holds once it is done, measured from just before it: the
// heap in use (glibc's allocated bytes, the blocks it maps on its own
// included) and the growth of the resident set (which also counts what the
// allocator keeps free).
class HeldMemory
{
public:
    HeldMemory()
    {
        malloc_trim(0);
        m_heap = Heap();
        m_resident = Resident();
    }

    // Reported beside the bytes of the texts held.
    void Report(benchmark::State& state, const TextBytes& texts) const
    {
        const double utf16 = texts.utf16;
        const double utf8 = texts.utf8;
        const double heap = Heap() - m_heap;
        const double resident = Resident() - m_resident;
        state.counters["heap_MB"] = heap / 1e6;
        state.counters["rss_MB"] = resident / 1e6;
        state.counters["utf16_MB"] = utf16 / 1e6;
        state.counters["heap_per_utf16"] = heap / utf16;
        state.counters["rss_per_utf16"] = resident / utf16;
        state.counters["heap_per_utf8"] = heap / utf8;
    }

private:
    static double Heap()
    {
        const struct mallinfo2 info = mallinfo2();
        return double(info.uordblks + info.hblkhd);
    }

    static double Resident()
    {
        long pages = 0;
        long resident = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
                resident = 0;
            std::fclose(statm);
        }
        return double(resident) * double(sysconf(_SC_PAGESIZE));
    }

    double m_heap = 0;
    double m_resident = 0;
};

TextBytes GridTextBytes(const CListCtrlEx& grid)
{
    TextBytes bytes;
    for (int row = 0; row < grid.GetItemCount(); ++row)
        for (int column = 0; column < grid.GetColumnCount(); ++column)
            bytes.Add(grid.GetItemText(row, column));
    return bytes;
}

TextBytes ListTextBytes(const QStringList& texts)
{
    TextBytes bytes;
    for (const QString& text : texts)
        bytes.Add(text);
    return bytes;
}

// The memory a grid filled from the query holds.
void BM_GridMemory(benchmark::State& state)
{
    const int rows = int(state.range(0));
    BenchDatabase* bench = Database(state, 2);
    if (!bench)
        return;
    for (auto _ : state) {
        const HeldMemory held;
        const std::unique_ptr<CListCtrlEx> grid = MakeGrid();
        if (!FillGrid(*grid, bench->plain, rows)) {
            state.SkipWithError("query failed");
            return;
        }
        held.Report(state, GridTextBytes(*grid));
    }
}

// The reference: the same texts in a plain list of strings.
void BM_PlainListMemory(benchmark::State& state)
{
    const int rows = int(state.range(0));
    BenchDatabase* bench = Database(state, 2);
    if (!bench)
        return;
    for (auto _ : state) {
        const HeldMemory held;
        const QStringList values = ReadStrings(bench->plain, rows);
        held.Report(state, ListTextBytes(values));
    }
}

// A grid of short business texts built cell by cell, as a form's actions
// build one.
void BuildBusinessGrid(CListCtrlEx& grid, int rows)
{
    for (int row = 0; row < rows; ++row) {
        grid.InsertRow(row, BusinessText(row, 0));
        for (int column = 1; column < kBusinessColumns; ++column)
            grid.SetItemText(row, column, BusinessText(row, column));
    }
    QCoreApplication::processEvents();
}

// The reference: the same texts made one by one into a plain list.
QStringList BusinessList(int rows)
{
    QStringList values;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < kBusinessColumns; ++column)
            values.append(BusinessText(row, column));
    return values;
}

void BM_BusinessGridMemory(benchmark::State& state)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        const HeldMemory held;
        const std::unique_ptr<CListCtrlEx> grid = MakeGrid();
        BuildBusinessGrid(*grid, rows);
        held.Report(state, GridTextBytes(*grid));
    }
}

void BM_BusinessListMemory(benchmark::State& state)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        const HeldMemory held;
        const QStringList values = BusinessList(rows);
        held.Report(state, ListTextBytes(values));
    }
}

// The time of the same builds; emptying the grid counts, as the list is
// freed in its time.
void BM_BuildBusinessGrid(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const std::unique_ptr<CListCtrlEx> grid = MakeGrid();
    for (auto _ : state) {
        grid->DeleteAllRows();
        BuildBusinessGrid(*grid, rows);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_BuildBusinessList(benchmark::State& state)
{
    const int rows = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(BusinessList(rows).data());
    state.SetItemsProcessed(state.iterations() * rows);
}

BENCHMARK(BM_FillGridFromQuery)->Apply(BenchSizesAndKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQueryToStrings)->Apply(BenchSizesAndKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQueryToStringsShown)->Apply(BenchSizesAndKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortGridByAmount)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StableSortParsedAmounts)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildBusinessGrid)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildBusinessList)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
// One at a time (--benchmark_filter=Memory), in a process of their own: what
// other benchmarks left behind in the allocator blurs the resident set.
BENCHMARK(BM_GridMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainListMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusinessGridMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusinessListMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
