// Reading 100,000 rows of 8 columns: CDbConnection::QueryAllToList beside a
// plain QSqlQuery loop over the same rows, on SQLite (kind 2) and on the
// PostgreSQL test server (kind 3, TEMBRA_TEST_PG_* as for the tests).
#include "BenchDatabase.h"

#include <QSqlQuery>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace
{
void BM_QueryAllToList(benchmark::State& state)
{
    BenchDatabase& bench = GetBenchDatabase(int(state.range(0)));
    if (!bench.db || !bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return;
    }
    for (auto _ : state) {
        QStringList values;
        if (bench.db->QueryAllToList(kBenchSelect, values) != 1 || values.size() != kBenchRows * 8) {
            state.SkipWithError("query failed");
            return;
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * kBenchRows);
}

// The same rows read with a forward-only QSqlQuery into QVariants, nothing else.
void BM_PlainQSqlQuery(benchmark::State& state)
{
    BenchDatabase& bench = GetBenchDatabase(int(state.range(0)));
    if (!bench.db || !bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return;
    }
    for (auto _ : state) {
        QSqlQuery query(bench.plain);
        query.setForwardOnly(true);
        query.exec(kBenchSelect);
        qint64 count = 0;
        while (query.next()) {
            for (int i = 0; i < 8; ++i)
                benchmark::DoNotOptimize(query.value(i));
            ++count;
        }
        if (count != kBenchRows) {
            state.SkipWithError("query failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kBenchRows);
}

BENCHMARK(BM_QueryAllToList)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQSqlQuery)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
} // namespace
