#pragma once

#include "db/DbConnection.h"
#include "db/tests/DbTestDatabase.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>

// 100,000 rows of 8 columns in a table bench_t, on SQLite (kind 2) or on the
// PostgreSQL test server (kind 3, TEMBRA_TEST_PG_* as for the tests), made
// once per kind for the whole run.
constexpr int kBenchRows = 100000;
extern const QString kBenchSelect; // the 8 columns of every row

struct BenchDatabase
{
    std::unique_ptr<DbTestDatabase> database;
    std::unique_ptr<CDbConnection> db;
    QSqlDatabase plain; // a second connection with the same driver settings
    QString problem;    // why the database could not be made
};

BenchDatabase& GetBenchDatabase(int kind);

// Drops every database; call before the application object goes.
void ReleaseBenchDatabases();
