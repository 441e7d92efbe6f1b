// Reading 100,000 rows of 8 columns: CDbConnection::QueryAllToList beside a
// plain QSqlQuery loop over the same rows, on SQLite (kind 2) and on the
// PostgreSQL test server (kind 3, TEMBRA_TEST_PG_* as for the tests).
#include "db/DbConnectText.h"
#include "db/DbConnection.h"
#include "db/tests/DbTestDatabase.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace
{
constexpr int kRows = 100000;
const QString kSelect = QStringLiteral("SELECT uid_0,a_0,b_0,c_0,d_0,e_0,f_0,g_0 FROM bench_t");

QString CreateTable()
{
    return QStringLiteral("CREATE TABLE bench_t (uid_0 integer PRIMARY KEY, a_0 integer, b_0 text, c_0 real, "
                          "d_0 text, e_0 integer, f_0 text, g_0 text)");
}

QString FillTable(int kind)
{
    const QString values = QStringLiteral(
        "SELECT n, n*3, 'name ' || n, n/7.0, 'a somewhat longer description text ' || n, n%100, "
        "'2024-01-01 10:00:00', NULL FROM ");
    if (kind == 2)
        return QStringLiteral("INSERT INTO bench_t WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n+1 FROM s "
                              "WHERE n<%1) ").arg(kRows) + values + QStringLiteral("s");
    return QStringLiteral("INSERT INTO bench_t ") + values + QStringLiteral("generate_series(1,%1) AS s(n)").arg(kRows);
}

// One filled database per kind for the whole run.
struct BenchDatabase
{
    std::unique_ptr<DbTestDatabase> database;
    std::unique_ptr<CDbConnection> db;
    QSqlDatabase plain; // a second connection with the same driver settings
    QString problem;
};

// Emptied before the application object goes.
std::map<int, BenchDatabase>& Databases()
{
    static std::map<int, BenchDatabase> databases;
    return databases;
}

BenchDatabase& Database(int kind)
{
    BenchDatabase& entry = Databases()[kind];
    if (entry.db || !entry.problem.isEmpty())
        return entry;
    entry.database = std::make_unique<DbTestDatabase>(kind);
    entry.problem = entry.database->Problem();
    if (!entry.problem.isEmpty())
        return entry;
    auto db = std::make_unique<CDbConnection>();
    db->SetConnectString(entry.database->ConnectText());
    if (!db->Connect() || !db->ExecuteCommand(CreateTable()) || !db->ExecuteCommand(FillTable(kind))) {
        entry.problem = db->m_strErrorInfo;
        return entry;
    }
    entry.db = std::move(db);
    const DbDriverSettings settings = TranslateConnectText(entry.database->ConnectText());
    entry.plain = QSqlDatabase::addDatabase(settings.driverName, QStringLiteral("bench_plain_%1").arg(kind));
    entry.plain.setDatabaseName(settings.databaseName);
    entry.plain.setConnectOptions(settings.options);
    if (!entry.plain.open())
        entry.problem = QStringLiteral("plain connection failed");
    return entry;
}

void BM_QueryAllToList(benchmark::State& state)
{
    BenchDatabase& bench = Database(int(state.range(0)));
    if (!bench.db || !bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return;
    }
    for (auto _ : state) {
        QStringList values;
        if (bench.db->QueryAllToList(kSelect, values) != 1 || values.size() != kRows * 8) {
            state.SkipWithError("query failed");
            return;
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The same rows read with a forward-only QSqlQuery into QVariants, nothing else.
void BM_PlainQSqlQuery(benchmark::State& state)
{
    BenchDatabase& bench = Database(int(state.range(0)));
    if (!bench.db || !bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return;
    }
    for (auto _ : state) {
        QSqlQuery query(bench.plain);
        query.setForwardOnly(true);
        query.exec(kSelect);
        qint64 count = 0;
        while (query.next()) {
            for (int i = 0; i < 8; ++i)
                benchmark::DoNotOptimize(query.value(i));
            ++count;
        }
        if (count != kRows) {
            state.SkipWithError("query failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_QueryAllToList)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQSqlQuery)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Databases().clear();
    return 0;
}
