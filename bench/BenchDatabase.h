#pragma once

#include "db/DbConnection.h"
#include "db/tests/DbTestDatabase.h"

#include <QSqlDatabase>
#include <QString>
#include <benchmark/benchmark.h>

#include <memory>

// 1,000,000 rows of 8 columns in a table bench_t, on SQLite (kind 2) or on
// the PostgreSQL test server (kind 3, TEMBRA_TEST_PG_* as for the tests), made
// once per kind for the whole run.
constexpr int kBenchMaxRows = 1000000;
// The 8 columns of the first rows (uid_0 1 to rows).
QString BenchSelect(int rows);

struct BenchDatabase
{
    std::unique_ptr<DbTestDatabase> database;
    std::unique_ptr<CDbConnection> db;
    QSqlDatabase plain; // a second connection with the same driver settings
    QString problem;    // why the database could not be made
};

BenchDatabase& GetBenchDatabase(int kind);

// The arguments {kind, rows} of the benchmarks that read the rows: kinds 2
// and 3, 10,000, 100,000 and 1,000,000 rows.
void BenchSizesAndKinds(benchmark::internal::Benchmark* benchmark);
