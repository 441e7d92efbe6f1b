// Reading 10,000, 100,000 and 1,000,000 rows of 8 columns into texts:
// CDbConnection::QueryAllToList beside a plain QSqlQuery loop that makes
// the same texts (the same rule: NULL empty, doubles through the C locale's
// shortest form, everything else as Qt writes it), on SQLite (kind 2) and on
// the PostgreSQL test server (kind 3, TEMBRA_TEST_PG_* as for the tests).
#include "BenchDatabase.h"

#include <QLocale>
#include <QSqlQuery>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace
{
constexpr int kColumns = 8;

// The database of the kind, or null with the reason the benchmark is skipped.
BenchDatabase* Database(benchmark::State& state)
{
    BenchDatabase& bench = GetBenchDatabase(int(state.range(0)));
    if (!bench.db || !bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return nullptr;
    }
    return &bench;
}

QStringList QueryAllToList(BenchDatabase& bench, int rows)
{
    QStringList values;
    bench.db->QueryAllToList(BenchSelect(rows), values);
    return values;
}

// The plain loop a programmer would write for the same texts.
QStringList PlainQueryToTexts(BenchDatabase& bench, int rows)
{
    const QLocale c = QLocale::c();
    QSqlQuery query(bench.plain);
    query.setForwardOnly(true);
    query.exec(BenchSelect(rows));
    QStringList values;
    while (query.next())
        for (int column = 0; column < kColumns; ++column) {
            const QVariant value = query.value(column);
            if (value.isNull())
                values.append(QString());
            else if (value.typeId() == QMetaType::Double)
                values.append(c.toString(value.toDouble(), 'f', QLocale::FloatingPointShortest));
            else
                values.append(value.toString());
        }
    return values;
}

// Both ways must make the same texts, once per size and kind, untimed.
bool SameTexts(benchmark::State& state, BenchDatabase& bench, int rows)
{
    const QStringList texts = QueryAllToList(bench, rows);
    if (texts.size() != rows * kColumns || texts != PlainQueryToTexts(bench, rows)) {
        state.SkipWithError("the two ways make different texts");
        return false;
    }
    return true;
}

// The texts of the rows read in each iteration by read, once checked to be
// those of the other way.
void RunToTexts(benchmark::State& state, QStringList (*read)(BenchDatabase&, int))
{
    const int rows = int(state.range(1));
    BenchDatabase* bench = Database(state);
    if (!bench || !SameTexts(state, *bench, rows))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(read(*bench, rows).data());
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_QueryAllToList(benchmark::State& state)
{
    RunToTexts(state, QueryAllToList);
}

void BM_PlainQueryToTexts(benchmark::State& state)
{
    RunToTexts(state, PlainQueryToTexts);
}

BENCHMARK(BM_QueryAllToList)->Apply(BenchSizesAndKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQueryToTexts)->Apply(BenchSizesAndKinds)->Unit(benchmark::kMillisecond);
} // namespace
