// select_info_table filling one 50-row page of a 1,000,000-row table into the
// grid of a real form (first page and last page), beside the bare paged
// query: the same count and page SQL through CDbConnection and QSqlQuery into
// a list of strings. SQLite (kind 2) and the PostgreSQL test server (kind 3,
// skipped without TEMBRA_TEST_PG_HOST).
#include "D_T1.h"
#include "QvControls.h"
#include "db/DbPaging.h"
#include "db/tests/DbTestDatabase.h"
#include "grid/ListCtrlEx.h"
#include "xml/XmlDocument.h"

#include "QtBenchmarkMain.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace
{
constexpr int kRows = 1000000;
constexpr int kPageSize = 50;
constexpr int kLastPage = kRows / kPageSize;
const QString kSelect = QStringLiteral("SELECT uid_0,name_0,code_0,amount_0 FROM page_t");
const QString kOrder = QStringLiteral("uid_0");

const char* const kForm =
    "<html id='0'><head title='t' pos='0,0,640,480'/><body><dialog>"
    "<static id='9' pos='0,0,400,20' value=''/>"
    "<table id='7' pos='0,30,600,460'><PARA><col_info><col id='1' title='名称' width='120'/>"
    "<col id='2' title='编码' width='80'/><col id='3' title='金额' width='80'/></col_info></PARA></table>"
    "<button id='11' pos='0,0,1,1'/><button id='12' pos='0,0,1,1'/>"
    "<button id='13' pos='0,0,1,1'/><button id='14' pos='0,0,1,1'/>"
    "</dialog></body></html>";

const char* const kAction =
    "<select_info_table><para_info_where table_id='7' select='SELECT uid_0,name_0,code_0,amount_0 FROM page_t'"
    " where='' order='uid_0' counts_in_page='50' contain_head='1' result_info_id='9' page_buttons='11;12;13;14'/>"
    "</select_info_table>";

struct PageDatabase
{
    std::unique_ptr<DbTestDatabase> database;
    QString problem;
};

std::map<int, PageDatabase>& PageDatabases()
{
    static std::map<int, PageDatabase>& databases = [] () -> std::map<int, PageDatabase>& {
        static std::map<int, PageDatabase> made;
        // Dropped while the SQL drivers are still there.
        AtBenchmarkEnd([] { made.clear(); });
        return made;
    }();
    return databases;
}

PageDatabase& GetPageDatabase(int kind)
{
    PageDatabase& entry = PageDatabases()[kind];
    if (entry.database)
        return entry;
    entry.database = std::make_unique<DbTestDatabase>(kind);
    entry.problem = entry.database->Problem();
    if (!entry.problem.isEmpty())
        return entry;
    CDbConnection db;
    db.SetConnectString(entry.database->ConnectText());
    const QString values = QStringLiteral("SELECT n, 'name ' || n, 'C' || n, n/7.0 FROM ");
    const QString fill = kind == 2 ? QStringLiteral("INSERT INTO page_t WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL "
                                                    "SELECT n+1 FROM s WHERE n<%1) ").arg(kRows) + values + u's'
                                   : QStringLiteral("INSERT INTO page_t ") + values
                                         + QStringLiteral("generate_series(1,%1) AS s(n)").arg(kRows);
    if (!db.Connect()
        || !db.ExecuteCommand(QStringLiteral(
            "CREATE TABLE page_t (uid_0 integer PRIMARY KEY, name_0 text, code_0 text, amount_0 real)"))
        || !db.ExecuteCommand(fill))
        entry.problem = db.m_strErrorInfo;
    db.Close();
    return entry;
}

void BM_SelectInfoTablePage(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const int page = int(state.range(1));
    if (kind == 3 && qEnvironmentVariableIsEmpty("TEMBRA_TEST_PG_HOST")) {
        state.SkipWithError("TEMBRA_TEST_PG_HOST is not set");
        return;
    }
    PageDatabase& bench = GetPageDatabase(kind);
    if (!bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return;
    }
    D_T1 form;
    form.SetBuilder(std::make_unique<QvControls>());
    if (!form.LoadDescription(QString::fromUtf8(kForm)) || !form.Create()) {
        state.SkipWithError("form not built");
        return;
    }
    CXmlDocument document;
    document.LoadXml(QString::fromUtf8(kAction));
    const CXmlNode action = *document.GetRoot();
    CFormActions& actions = form.m_actions;
    actions.m_db.SetConnectString(bench.database->ConnectText());
    actions.m_db.Connect();
    auto* grid = qobject_cast<CListCtrlEx*>(form.GetDlgItem(7 + D_T1::ControlIdBase));
    for (auto _ : state) {
        actions.m_nPage = page;
        if (!actions.SelectInfoTable(action, form) || grid->GetItemCount() != kPageSize) {
            state.SkipWithError("page not filled");
            break;
        }
        QCoreApplication::processEvents();
    }
    actions.m_db.Close();
    state.SetItemsProcessed(state.iterations() * kPageSize);
}

// The same SQL, nothing around it: the count, then the page's rows read as
// strings into a list.
void BM_BarePagedQuery(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const int page = int(state.range(1));
    if (kind == 3 && qEnvironmentVariableIsEmpty("TEMBRA_TEST_PG_HOST")) {
        state.SkipWithError("TEMBRA_TEST_PG_HOST is not set");
        return;
    }
    PageDatabase& bench = GetPageDatabase(kind);
    if (!bench.problem.isEmpty()) {
        state.SkipWithError(bench.problem.toUtf8().constData());
        return;
    }
    CDbConnection db;
    db.SetConnectString(bench.database->ConnectText());
    db.Connect();
    const QString source = DbPageSource(kSelect, QString());
    const QString countSql = DbPageCountQuery(source);
    const QString pageSql = DbPageQuery(kind, source, kOrder, DbPageOf(kRows, kPageSize, page));
    for (auto _ : state) {
        QString total;
        db.QueryValue(countSql, total);
        QSqlQuery query = db.OpenQuery(pageSql);
        QStringList values;
        while (query.next())
            for (int column = 0; column < 4; ++column)
                values.append(query.value(column).toString());
        if (total.toInt() != kRows || values.size() != kPageSize * 4) {
            state.SkipWithError("query failed");
            break;
        }
        benchmark::DoNotOptimize(values.data());
    }
    db.Close();
    state.SetItemsProcessed(state.iterations() * kPageSize);
}

BENCHMARK(BM_SelectInfoTablePage)->Args({2, 1})->Args({2, kLastPage})->Args({3, 1})->Args({3, kLastPage})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePagedQuery)->Args({2, 1})->Args({2, kLastPage})->Args({3, 1})->Args({3, kLastPage})
    ->Unit(benchmark::kMillisecond);
} // namespace
