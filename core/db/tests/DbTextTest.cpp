// The parts of the database layer that work on text alone: script splitting,
// connection texts, the value-to-text rule, paging SQL and the base table of
// a record query.
#include "db/DbConnectText.h"
#include "db/DbFetch.h"
#include "db/DbPaging.h"
#include "db/DbRecordWriter.h"
#include "db/DbScript.h"
#include "db/tests/DbTestDatabase.h"
#include "db/DbValueText.h"

#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>

namespace
{
TEST(DbScriptTest, SplitsOnlyOutsideQuotedLiterals)
{
    struct Case
    {
        QString script;
        QStringList pieces;
    };
    const Case cases[] = {
        {"a;b;", {"a", "b", ""}},
        {"no separator", {"no separator"}},
        {"INSERT INTO t VALUES('x;y');UPDATE t", {"INSERT INTO t VALUES('x;y')", "UPDATE t"}},
        {"SELECT 'it''s;' ;x", {"SELECT 'it''s;' ", "x"}},
        {"SELECT \"a;b\" FROM t;x", {"SELECT \"a;b\" FROM t", "x"}},
        {"-- don't worry;\nUPDATE t SET a='b';c", {"-- don't worry", "\nUPDATE t SET a='b'", "c"}},
        {"\r\nUPDATE t;\n\n", {"\r\nUPDATE t", "\n\n"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitSqlScript(c.script), c.pieces) << c.script.toStdString();
}

TEST(DbConnectTextTest, KindOfText)
{
    EXPECT_EQ(DbKindOfText(DbTestDatabase::SqlServerText("h", "1433", "d", "u", "p")), kDbSqlServer);
    EXPECT_EQ(DbKindOfText(DbTestDatabase::AccessText("/x/a.mdb")), kDbAccess);
    EXPECT_EQ(DbKindOfText(DbTestDatabase::PostgreSqlText("h", "5432", "d", "u", "p")), kDbPostgreSql);
    // Case-sensitive tests: anything else is kind 3.
    EXPECT_EQ(DbKindOfText("DRIVER={SQL SERVER};Server=h,1;"), kDbPostgreSql);
    EXPECT_EQ(DbKindOfText(""), kDbPostgreSql);
}

TEST(DbConnectTextTest, AccessPath)
{
    EXPECT_EQ(DbAccessPathOf(DbTestDatabase::AccessText("/data/my db.mdb")), "/data/my db.mdb");
    EXPECT_EQ(DbAccessPathOf("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a.mdb;Jet OLEDB:Database Password=;"),
              "/a.mdb");
    EXPECT_EQ(DbAccessPathOf("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/b.mdb"), "/b.mdb");
    EXPECT_EQ(DbAccessPathOf("driver={SQL Server};Server=h,1;"), "");
}

TEST(DbConnectTextTest, TranslatesTheStoredForms)
{
    const DbDriverSettings access = TranslateConnectText(DbTestDatabase::AccessText("/data/a.mdb"));
    EXPECT_EQ(access.driverName, "QSQLITE");
    EXPECT_EQ(access.databaseName, "/data/a.mdb");

    const DbDriverSettings sqlServer =
        TranslateConnectText(DbTestDatabase::SqlServerText("10.0.0.5", "1433", "erp", "sa", "p}w"));
    EXPECT_EQ(sqlServer.driverName, "QODBC");
    EXPECT_TRUE(sqlServer.databaseName.startsWith("DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so;"));
    EXPECT_TRUE(sqlServer.databaseName.contains("SERVER=10.0.0.5;PORT=1433;DATABASE=erp;UID=sa;PWD={p}}w};"))
        << sqlServer.databaseName.toStdString();
    EXPECT_TRUE(sqlServer.options.contains("SQL_ATTR_LOGIN_TIMEOUT=10"));

    const DbDriverSettings pg =
        TranslateConnectText(DbTestDatabase::PostgreSqlText("db.local", "5433", "erp", "app", "secret"));
    EXPECT_EQ(pg.driverName, "QODBC");
    EXPECT_TRUE(pg.databaseName.startsWith("DRIVER=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so;"));
    EXPECT_TRUE(pg.databaseName.contains("SERVER=db.local;PORT=5433;DATABASE=erp;UID=app;PWD=secret;"))
        << pg.databaseName.toStdString();
    EXPECT_TRUE(pg.databaseName.contains("Protocol=7.4-2;"));
}

class DbHostSpliceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDbFetchFunction([this](const QString& url) {
            m_urls.append(url);
            return m_reply;
        });
    }
    void TearDown() override { SetDbFetchFunction({}); }

    QString m_reply;
    QStringList m_urls;
};

TEST_F(DbHostSpliceTest, ReplacesOnlyTheServerFieldOfAWebHost)
{
    m_reply = "10.1.2.3\r\n";
    QString text = DbTestDatabase::SqlServerText("www.host.cn/ip.aspx", "1433", "www.host.cn/ip.aspx", "u", "p");
    QString failure;
    ASSERT_TRUE(SpliceSqlServerHost(text, failure));
    EXPECT_EQ(m_urls, QStringList{"www.host.cn/ip.aspx"});
    EXPECT_EQ(text, DbTestDatabase::SqlServerText("10.1.2.3", "1433", "www.host.cn/ip.aspx", "u", "p"));
}

TEST_F(DbHostSpliceTest, LeavesPlainHostsAndOtherKindsAlone)
{
    for (const QString& original : {DbTestDatabase::SqlServerText("10.0.0.1", "1433", "d/x", "u", "p"),
                                    DbTestDatabase::SqlServerText("/abs", "1433", "d", "u", "p"),
                                    DbTestDatabase::AccessText("/a/b.mdb")}) {
        QString text = original;
        QString failure;
        EXPECT_TRUE(SpliceSqlServerHost(text, failure));
        EXPECT_EQ(text, original);
    }
    EXPECT_TRUE(m_urls.isEmpty());
}

TEST_F(DbHostSpliceTest, EmptyReplyFails)
{
    const QString original = DbTestDatabase::SqlServerText("h.cn/ip", "1433", "d", "u", "p");
    QString text = original;
    QString failure;
    EXPECT_FALSE(SpliceSqlServerHost(text, failure));
    EXPECT_EQ(text, original);
    EXPECT_TRUE(failure.contains("h.cn/ip"));
}

TEST(DbValueTextTest, OneRuleForEveryValue)
{
    struct Case
    {
        QVariant value;
        QString text;
    };
    const Case cases[] = {
        {QVariant(), ""},
        {QVariant(QMetaType(QMetaType::Int)), ""},
        {QVariant(QMetaType(QMetaType::QString)), ""},
        {QString("文本 'a'"), "文本 'a'"},
        {-42, "-42"},
        {qlonglong(9007199254740993LL), "9007199254740993"},
        {0.1, "0.1"},
        {1234567.5, "1234567.5"},
        {-2.0, "-2"},
        {1e20, "100000000000000000000"},
        {true, "-1"},
        {false, "0"},
        {QDate(2024, 2, 29), "2024-02-29"},
        {QDateTime(QDate(2024, 2, 29), QTime(13, 5, 9)), "2024-02-29 13:05:09"},
        {QDateTime(QDate(2024, 2, 29), QTime(0, 0)), "2024-02-29"},
        {QTime(7, 8, 9), "07:08:09"},
        {QByteArray("abc"), "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DbValueToText(c.value), c.text) << c.value.typeName() << " " << c.text.toStdString();
}

TEST(DbPagingTest, PagesAreClampedAndCounted)
{
    struct Case
    {
        int total, size, number;
        int page, rows, outer, count;
    };
    const Case cases[] = {
        {25, 10, 1, 1, 10, 10, 3},
        {25, 10, 2, 2, 10, 20, 3},
        {25, 10, 3, 3, 5, 25, 3},
        {25, 10, 4, 3, 5, 25, 3},  // past the last page: the last
        {25, 10, 0, 1, 10, 10, 3}, // before the first: the first
        {25, 10, -7, 1, 10, 10, 3},
        {8, 10, 1, 1, 8, 8, 1},
        {8, 10, 5, 1, 8, 8, 1},
        {8, 0, 1, 1, 1, 1, 8},     // page size below 1 counts as 1
        {8, -3, 2, 2, 1, 2, 8},
        {20, 10, 2, 2, 10, 20, 2},
    };
    for (const Case& c : cases) {
        const DbPage page = DbPageOf(c.total, c.size, c.number);
        EXPECT_EQ(page.page, c.page) << c.total << "/" << c.size << "/" << c.number;
        EXPECT_EQ(page.rows, c.rows) << c.total << "/" << c.size << "/" << c.number;
        EXPECT_EQ(page.outer, c.outer) << c.total << "/" << c.size << "/" << c.number;
        EXPECT_EQ(page.pageCount, c.count) << c.total << "/" << c.size << "/" << c.number;
    }
}

TEST(DbPagingTest, ReversesOrderByItsTokens)
{
    const QPair<QString, QString> cases[] = {
        {"a DESC, b ASC", "a ASC, b DESC"},
        {"a", "a DESC"},
        {"a desc,b", "a ASC,b DESC"},
        {"a, b ", "a DESC, b DESC "},
        {"ASCENT_0 DESC,DESCR_0", "ASCENT_0 ASC,DESCR_0 DESC"},
        {"name_ASC_0, coalesce(x, y) DESC", "name_ASC_0 DESC, coalesce(x, y) ASC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReverseOrderText(c.first), c.second) << c.first.toStdString();
}

TEST(DbPagingTest, QueryTextPerKind)
{
    const QString source = DbPageSource("SELECT *", "FROM t WHERE n LIKE '%1%'");
    EXPECT_EQ(source, "(SELECT * FROM t WHERE n LIKE '%1%') AS TABLE_A");
    EXPECT_EQ(DbPageCountQuery(source), "SELECT count(1) as qv_counts FROM " + source);
    const DbPage page = DbPageOf(25, 10, 3);
    EXPECT_EQ(DbPageQuery(kDbSqlServer, source, "uid_0", page),
              "SELECT * FROM ( SELECT Top 5 * FROM (SELECT Top 25 * FROM " + source
                  + " ORDER By uid_0 ) DERIVEDTBL Order By uid_0 DESC ) DERIVEDTBL Order By uid_0");
    EXPECT_EQ(DbPageQuery(kDbAccess, source, "uid_0", page),
              "SELECT * FROM " + source + " ORDER BY uid_0 LIMIT 5 OFFSET 20");
    EXPECT_EQ(DbPageQuery(kDbPostgreSql, source, "", DbPageOf(8, 10, 1)),
              "SELECT * FROM " + source + " LIMIT 8 OFFSET 0");
}

TEST(DbRecordWriterTest, BaseTableOfAQuery)
{
    struct Case
    {
        QString sql;
        bool ok;
        QString table;
    };
    const Case cases[] = {
        {"SELECT uid_0,name_0 FROM c_user WHERE uid_0=5", true, "c_user"},
        {"select * from c_menu_dh_down where uid_0<0", true, "c_menu_dh_down"},
        {"SELECT a.x FROM c_app AS a WHERE a.uid_0=(SELECT max(uid_0) FROM c_user)", true, "c_app"},
        {"SELECT TOP 1 exe_0 FROM c_app a ORDER BY uid_0", true, "c_app"},
        {"SELECT * FROM a, b WHERE a.x=b.x", false, ""},
        {"SELECT * FROM a JOIN b ON a.x=b.x", false, ""},
        {"SELECT * FROM a LEFT JOIN b ON a.x=b.x", false, ""},
        {"SELECT * FROM (SELECT * FROM a) s", false, ""},
        {"SELECT 1", false, ""},
    };
    for (const Case& c : cases) {
        QString table;
        QString tail;
        EXPECT_EQ(DbBaseTableOf(c.sql, table, tail), c.ok) << c.sql.toStdString();
        if (c.ok) {
            EXPECT_EQ(table, c.table) << c.sql.toStdString();
        }
    }
}
} // namespace
