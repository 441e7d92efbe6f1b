#include "BenchDatabase.h"

#include "QtBenchmarkMain.h"
#include "db/DbConnectText.h"

#include <map>

QString BenchSelect(int rows)
{
    return QStringLiteral("SELECT uid_0,a_0,b_0,c_0,d_0,e_0,f_0,g_0 FROM bench_t WHERE uid_0<=%1 ORDER BY uid_0").arg(rows);
}

namespace
{
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
                              "WHERE n<%1) ").arg(kBenchMaxRows) + values + QStringLiteral("s");
    return QStringLiteral("INSERT INTO bench_t ") + values + QStringLiteral("generate_series(1,%1) AS s(n)").arg(kBenchMaxRows);
}

std::map<int, BenchDatabase>& Databases()
{
    static std::map<int, BenchDatabase>& databases = [] () -> std::map<int, BenchDatabase>& {
        static std::map<int, BenchDatabase> made;
        // Dropped while the SQL drivers are still there.
        AtBenchmarkEnd([] { made.clear(); });
        return made;
    }();
    return databases;
}
} // namespace

BenchDatabase& GetBenchDatabase(int kind)
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

void BenchSizesAndKinds(benchmark::internal::Benchmark* benchmark)
{
    for (const int kind : {2, 3})
        for (const int rows : {10000, 100000, 1000000})
            benchmark->Args({kind, rows});
}
