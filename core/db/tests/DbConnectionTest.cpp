// CDbConnection against real databases: kind 2 (SQLite files) and kind 3
// (the PostgreSQL test server) through one fixture, kind 1 up to the driver.
#include "text/AppState.h"
#include "db/DbConnectText.h"
#include "db/DbConnection.h"
#include "db/DbFetch.h"
#include "db/DbSchema.h"
#include "db/tests/DbTestDatabase.h"
#include "db/DbTexts.h"
#include "text/IniFile.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"

#include <QComboBox>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace
{
// Keeps the application's connection members of one test from the next.
class AppConnectionGuard
{
public:
    AppConnectionGuard() : m_saved(theApp()) {}
    ~AppConnectionGuard()
    {
        theApp() = m_saved;
        SetDbFetchFunction({});
        SetModuleFolderOverride(QString());
    }

private:
    AppState m_saved;
};

class DbKindTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        m_database = std::make_unique<DbTestDatabase>(GetParam());
        ASSERT_FALSE(m_database->ConnectText().isEmpty()) << m_database->Problem().toStdString();
        m_db.SetConnectString(m_database->ConnectText());
        ASSERT_TRUE(m_db.Connect()) << m_db.m_strErrorInfo.toStdString();
        ASSERT_EQ(m_db.GetDbTypeText(), QString::number(GetParam()));
        ASSERT_TRUE(m_db.ExecuteScript(DbSchemaScript(GetParam()))) << m_db.m_strErrorInfo.toStdString();
    }
    void TearDown() override { m_db.Close(); }

    QString Value(const QString& sql)
    {
        QString value = "<none>";
        m_db.QueryValue(sql, value);
        return value;
    }
    QStringList UserIds()
    {
        QStringList ids;
        m_db.QueryToList("SELECT id_0 FROM c_user ORDER BY uid_0", {"id_0"}, ids);
        return ids;
    }
    void AddUsers(int count)
    {
        for (int i = 1; i <= count; ++i)
            ASSERT_TRUE(m_db.ExecuteCommand(QStringLiteral("INSERT INTO c_user(id_0,name_0) VALUES('u%1','n%2')")
                                                .arg(i, 2, 10, QChar(u'0'))
                                                .arg(i)));
    }

    AppConnectionGuard m_guard;
    std::unique_ptr<DbTestDatabase> m_database;
    CDbConnection m_db;
};

INSTANTIATE_TEST_SUITE_P(Kinds, DbKindTest, ::testing::Values(2, 3),
                         [](const auto& info) { return info.param == 2 ? "Sqlite" : "PostgreSql"; });

TEST_P(DbKindTest, SchemaHasEveryTable)
{
    for (const char* table : {"c_app", "c_user", "view_c_user", "c_menu_dh", "c_menu_dh_down", "c_menu_button",
                              "c_menu_button_down", "c_menu_button_group", "log_dh_open", "log_client_login"})
        EXPECT_EQ(Value(QStringLiteral("SELECT count(uid_0) FROM ") + table), "0") << table;
}

TEST_P(DbKindTest, ExecuteRunsStatementByStatement)
{
    ASSERT_TRUE(m_db.Execute("INSERT INTO c_user(id_0) VALUES('a');INSERT INTO c_user(id_0) VALUES('b;c');"));
    EXPECT_EQ(UserIds(), QStringList({"a", "b;c"}));
    // A failing second statement: the detail names that statement alone.
    EXPECT_FALSE(m_db.Execute("INSERT INTO c_user(id_0) VALUES('d');INSERT INTO no_table VALUES(1)"));
    EXPECT_EQ(m_db.m_strError, DbText::kStatement);
    EXPECT_TRUE(m_db.m_strErrorInfo.startsWith("INSERT INTO no_table VALUES(1)"));
    EXPECT_FALSE(m_db.IsOpen());
}

TEST_P(DbKindTest, ScriptStopsAtFailureScriptAllRunsAll)
{
    const QString script = "INSERT INTO c_user(id_0) VALUES('1');INSERT INTO no_table VALUES(1);"
                           "INSERT INTO c_user(id_0) VALUES('3')";
    EXPECT_FALSE(m_db.ExecuteScript(script));
    EXPECT_EQ(UserIds(), QStringList({"1"}));
    EXPECT_TRUE(m_db.ExecuteScriptAll(script)); // the result of the third
    EXPECT_EQ(UserIds(), QStringList({"1", "1", "3"}));
    EXPECT_FALSE(m_db.ExecuteScriptAll("INSERT INTO c_user(id_0) VALUES('4');INSERT INTO no_table VALUES(1)"));
    EXPECT_EQ(UserIds(), QStringList({"1", "1", "3", "4"}));
}

TEST_P(DbKindTest, ShortAndCommentPiecesAreSkipped)
{
    EXPECT_TRUE(m_db.ExecuteScript(""));
    EXPECT_TRUE(m_db.ExecuteScript("\n\n-- note\nINSERT INTO c_user(id_0) VALUES('x');bogus;"
                                   "\r\nINSERT INTO c_user(id_0) VALUES('y');\n"));
    EXPECT_EQ(UserIds(), QStringList({"y"}));
}

TEST_P(DbKindTest, ConnectAfterCloseFallsBackToTheStoredText)
{
    // The stored text names another database than the one connected to, so
    // that reaching it shows the connection text was let go.
    const DbTestDatabase stored(GetParam());
    ASSERT_FALSE(stored.ConnectText().isEmpty()) << stored.Problem().toStdString();
    {
        CDbConnection other;
        other.SetConnectString(stored.ConnectText());
        ASSERT_TRUE(other.Connect()) << other.m_strErrorInfo.toStdString();
        ASSERT_TRUE(other.ExecuteScript(DbSchemaScript(GetParam())));
        ASSERT_TRUE(other.ExecuteCommand("INSERT INTO c_user(id_0) VALUES('stored')"));
        other.Close();
    }
    ASSERT_TRUE(m_db.ExecuteCommand("INSERT INTO c_user(id_0) VALUES('given')"));
    theApp().m_strConnectText = ScrambleText(stored.ConnectText(), 1);
    m_db.Close();
    EXPECT_FALSE(m_db.IsOpen());
    ASSERT_TRUE(m_db.Connect()) << m_db.m_strErrorInfo.toStdString();
    EXPECT_TRUE(m_db.IsOpen());
    EXPECT_EQ(UserIds(), QStringList{"stored"});
}

TEST_P(DbKindTest, QueryValueRowNoRowAndError)
{
    QString value = "before";
    EXPECT_TRUE(m_db.QueryValue("SELECT NULL", value));
    EXPECT_EQ(value, "");
    value = "before";
    EXPECT_FALSE(m_db.QueryValue("SELECT uid_0 FROM c_user", value));
    EXPECT_EQ(value, "before");
    EXPECT_EQ(m_db.m_nResult, 0);
    // A failed query is a failure, told apart from "no row" by m_nResult.
    EXPECT_FALSE(m_db.QueryValue("SELEC 1", value));
    EXPECT_EQ(value, "before");
    EXPECT_EQ(m_db.m_nResult, -1);
    EXPECT_EQ(m_db.m_strError, DbText::kStatement);
    EXPECT_TRUE(m_db.m_strErrorInfo.startsWith("SELEC 1\n"));
    EXPECT_FALSE(m_db.HasRecords("SELEC 1"));
    EXPECT_FALSE(m_db.HasRecords("SELECT uid_0 FROM c_user"));
    EXPECT_TRUE(m_db.HasRecords("SELECT 1"));
}

TEST_P(DbKindTest, ValuesBecomeText)
{
    struct Case
    {
        QString sql;
        QString text;
        bool postgreSqlOnly;
    };
    const Case cases[] = {
        {"SELECT 42", "42", false},
        {"SELECT -7", "-7", false},
        {"SELECT 2.5", "2.5", false},
        {"SELECT CAST(0.1 AS real)", "0.1", false},
        {"SELECT 'it''s'", "it's", false},
        {"SELECT '中文'", "中文", false},
        {"SELECT true", "1", true}, // psqlODBC hands booleans over as characters
        {"SELECT false", "0", true},
        {"SELECT DATE '2024-02-29'", "2024-02-29", true},
        {"SELECT TIMESTAMP '2024-02-29 13:05:09'", "2024-02-29 13:05:09", true},
        {"SELECT TIMESTAMP '2024-02-29 00:00:00'", "2024-02-29", true},
        {"SELECT CAST(12.50 AS numeric(10,2))", "12.5", true},
        {"SELECT CAST(5000000000 AS bigint)", "5000000000", true},
        {"SHOW statement_timeout", "10min", true}, // the owners' 600 seconds
    };
    for (const Case& c : cases) {
        if (c.postgreSqlOnly && GetParam() != kDbPostgreSql)
            continue;
        EXPECT_EQ(Value(c.sql), c.text) << c.sql.toStdString();
    }
}

TEST_P(DbKindTest, ListsKeepTheirContentOnAnEmptyResult)
{
    QStringList names = {"n"};
    QStringList values = {"v"};
    EXPECT_EQ(m_db.QueryAllToList("SELECT id_0 FROM c_user", values), -1);
    EXPECT_FALSE(m_db.QueryAllWithNames("SELECT id_0 FROM c_user", names, values));
    EXPECT_EQ(values, QStringList{"v"});
    EXPECT_EQ(names, QStringList{"n"});
    AddUsers(2);
    EXPECT_EQ(m_db.QueryAllToList("SELECT id_0,name_0 FROM c_user ORDER BY uid_0", values), 1);
    EXPECT_EQ(values, QStringList({"u01", "n1", "u02", "n2"}));
    EXPECT_TRUE(m_db.QueryAllWithNames("SELECT id_0,name_0 FROM c_user ORDER BY uid_0", names, values));
    EXPECT_EQ(names, QStringList({"id_0", "name_0"}));
    EXPECT_EQ(values.size(), 4);
    EXPECT_FALSE(m_db.QueryToList("SELECT id_0 FROM c_user", {"nope_0"}, values));
    EXPECT_EQ(m_db.m_strError, DbText::kValueList);
    EXPECT_EQ(m_db.QueryAllToList("SELEC 1", values), -1);
    EXPECT_EQ(m_db.m_strError, DbText::kData);
    EXPECT_TRUE(m_db.m_strErrorInfo.startsWith(DbText::kDetailPrefix + "SELEC 1"));
}

TEST_P(DbKindTest, QueryPageReadsTheRequestedPage)
{
    struct Case
    {
        int rows, size, page;
        QString order;
        QStringList ids;
        int pageCount;
    };
    const Case cases[] = {
        {25, 10, 1, "uid_0", {"u01", "u10"}, 3},
        {25, 10, 2, "uid_0 ASC", {"u11", "u20"}, 3},
        {25, 10, 3, "uid_0", {"u21", "u25"}, 3},
        {25, 10, 9, "uid_0", {"u21", "u25"}, 3},
        {25, 10, 1, "id_0 DESC", {"u25", "u16"}, 3},
        {25, 10, 3, "name_0 DESC, uid_0", {"u13", "u01"}, 3},
        {25, 0, 2, "uid_0", {"u02", "u02"}, 25},
        {8, 10, 1, "uid_0", {"u01", "u08"}, 1},
        {8, 10, 3, "uid_0", {"u01", "u08"}, 1},
    };
    int added = 0;
    for (const Case& c : cases) {
        if (added != c.rows) {
            ASSERT_TRUE(m_db.ExecuteCommand("DELETE FROM c_user"));
            AddUsers(c.rows);
            added = c.rows;
        }
        QStringList names;
        QStringList values;
        int total = 0;
        int pageCount = 0;
        ASSERT_TRUE(m_db.QueryPage("SELECT id_0,name_0,uid_0", "FROM c_user", c.size, c.page, c.order, names,
                                   values, total, pageCount))
            << m_db.m_strErrorInfo.toStdString();
        EXPECT_EQ(total, c.rows);
        EXPECT_EQ(pageCount, c.pageCount);
        EXPECT_EQ(names, QStringList({"id_0", "name_0", "uid_0"}));
        ASSERT_FALSE(values.isEmpty());
        EXPECT_EQ(values.first(), c.ids.first()) << c.page << " " << c.order.toStdString();
        EXPECT_EQ(values.at(values.size() - 3), c.ids.last()) << c.page << " " << c.order.toStdString();
    }
    QStringList names = {"n"};
    QStringList values = {"v"};
    int total = -1;
    int pageCount = -1;
    EXPECT_FALSE(m_db.QueryPage("SELECT id_0", "FROM c_user WHERE uid_0<0", 10, 1, "uid_0", names, values, total,
                                pageCount));
    EXPECT_EQ(total, 0);
    EXPECT_EQ(pageCount, -1);
    EXPECT_EQ(values, QStringList{"v"});
}

TEST_P(DbKindTest, InsertRecordGivesTheNewKey)
{
    QString newId;
    const QString query = "SELECT uid_0,id_0,name_0,user_group_uid_0 FROM c_user WHERE uid_0<0";
    ASSERT_EQ(m_db.InsertRecord(newId, query, {"id_0", "name_0", "user_group_uid_0"},
                                {"a'b;c", "名字; DROP TABLE c_user; --", "7"}),
              1)
        << m_db.m_strErrorInfo.toStdString();
    EXPECT_EQ(newId, Value("SELECT max(uid_0) FROM c_user"));
    ASSERT_EQ(m_db.InsertRecord(newId, query, {"id_0"}, {"second"}), 1);
    EXPECT_EQ(newId, Value("SELECT uid_0 FROM c_user WHERE id_0='second'"));
    QStringList values;
    ASSERT_EQ(m_db.QueryAllToList("SELECT id_0,name_0,user_group_uid_0 FROM c_user ORDER BY uid_0", values), 1);
    EXPECT_EQ(values.mid(0, 3), QStringList({"a'b;c", "名字; DROP TABLE c_user; --", "7"}));
}

TEST_P(DbKindTest, RecordWriterRefusals)
{
    AddUsers(1);
    const QString existing = "SELECT uid_0,id_0,user_group_uid_0 FROM c_user WHERE id_0='u01'";
    const QString missing = "SELECT uid_0,id_0,user_group_uid_0 FROM c_user WHERE uid_0<0";
    QString newId = "kept";
    EXPECT_EQ(m_db.InsertRecord(newId, existing, {"id_0"}, {"x"}), -1);
    EXPECT_EQ(newId, "kept");
    EXPECT_FALSE(m_db.AddRecord(existing, {"id_0"}, {"x"}));
    EXPECT_FALSE(m_db.UpdateRecord(missing, {"id_0"}, {"x"}));

    struct Refusal
    {
        QStringList fields;
        QStringList values;
        QString error;
        QString detail;
    };
    const Refusal refusals[] = {
        {{"id_0", "name_0", "pass_0"}, {"1", "2", "3", "4", "5", "6"}, DbText::kFieldsValues, ""},
        {{"id_0", "nope_0"}, {"x", "y"}, DbText::kData, "nope_0"},
        {{"id_0", "user_group_uid_0"}, {"x", "abc"}, DbText::kData, "abc"},
    };
    for (const Refusal& r : refusals) {
        EXPECT_EQ(m_db.InsertRecord(newId, missing, r.fields, r.values), r.error == DbText::kFieldsValues ? -2 : -1);
        EXPECT_EQ(m_db.m_strError, r.error);
        EXPECT_FALSE(m_db.AddRecord(missing, r.fields, r.values));
        EXPECT_EQ(m_db.m_strError, r.error);
        EXPECT_FALSE(m_db.UpdateRecord(existing, r.fields, r.values));
        EXPECT_EQ(m_db.m_strError, r.error);
        EXPECT_TRUE(m_db.m_strErrorInfo.contains(r.detail)) << m_db.m_strErrorInfo.toStdString();
    }
    EXPECT_FALSE(m_db.AddRecord("SELECT A.uid_0 FROM c_user A LEFT JOIN c_app B ON A.uid_0=B.uid_0 WHERE A.uid_0<0",
                                {"uid_0"}, {"5"}));
    EXPECT_EQ(m_db.m_strError, DbText::kData);
    EXPECT_EQ(UserIds(), QStringList{"u01"});
}

TEST_P(DbKindTest, UpdateRecordChangesTheFirstRowOnly)
{
    AddUsers(3);
    ASSERT_TRUE(m_db.UpdateRecord("SELECT name_0,user_group_uid_0 FROM c_user WHERE uid_0>0 ORDER BY id_0 DESC",
                                  {"name_0", "user_group_uid_0"}, {"new 'name'", ""}))
        << m_db.m_strErrorInfo.toStdString();
    QStringList values;
    m_db.QueryAllToList("SELECT name_0,user_group_uid_0 FROM c_user ORDER BY uid_0", values);
    EXPECT_EQ(values, QStringList({"n1", "0", "n2", "0", "new 'name'", ""}));
    ASSERT_TRUE(m_db.AddRecord("SELECT uid_0,menu_uid_0,button_id_0,value_0 FROM c_menu_button_down where uid_0<0",
                               {"uid_0", "menu_uid_0", "button_id_0", "value_0"}, {"12", "3", "1025", "v"}));
    EXPECT_EQ(Value("SELECT value_0 FROM c_menu_button_down WHERE uid_0=12"), "v");
    EXPECT_EQ(Value("SELECT sta_0 FROM c_menu_button_down WHERE uid_0=12"), "0");
}

TEST_P(DbKindTest, BlobsRoundTrip)
{
    ASSERT_TRUE(m_db.Execute("INSERT INTO c_app(uid_0,ver_0) VALUES(1,'a');INSERT INTO c_app(uid_0,ver_0) VALUES(2,'b')"));
    for (const int size : {0, 1, 1000000}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = char((i * 7 + 3) % 256);
        ASSERT_TRUE(m_db.WriteBlobs("SELECT uid_0,exe_0 FROM c_app where uid_0=1", {"exe_0"}, {bytes}, {size}))
            << m_db.m_strErrorInfo.toStdString();
        QList<QByteArray> buffers;
        QList<int> sizes;
        ASSERT_TRUE(m_db.ReadBlobs("SELECT exe_0 FROM c_app where uid_0=1", {"exe_0"}, buffers, sizes));
        ASSERT_EQ(buffers.size(), 1);
        EXPECT_EQ(sizes, QList<int>{size});
        EXPECT_EQ(buffers.first(), bytes) << size;
    }
    // Two rows, two fields, row 2 NULL in exe_0: four entries, in step.
    QList<QByteArray> buffers = {"old"};
    QList<int> sizes = {3};
    ASSERT_TRUE(m_db.ReadBlobs("SELECT exe_0,ver_0 FROM c_app order by uid_0", {"exe_0", "ver_0"}, buffers, sizes));
    ASSERT_EQ(buffers.size(), 5);
    ASSERT_EQ(sizes.size(), 5);
    EXPECT_EQ(sizes, QList<int>({3, 1000000, 1, 0, 1}));
    EXPECT_TRUE(buffers[3].isNull());
    EXPECT_EQ(buffers[4], "b");
    EXPECT_FALSE(m_db.ReadBlobs("SELECT exe_0 FROM c_app where uid_0=9", {"exe_0"}, buffers, sizes));
    EXPECT_EQ(m_db.m_nResult, 0);
}

TEST_P(DbKindTest, WriteBlobsChecksItsLists)
{
    ASSERT_TRUE(m_db.ExecuteCommand("INSERT INTO c_app(uid_0) VALUES(1)"));
    const QString sql = "SELECT uid_0,exe_0 FROM c_app where uid_0=1";
    EXPECT_FALSE(m_db.WriteBlobs(sql, {"exe_0"}, {"ab", "cd"}, {2, 2}));
    EXPECT_EQ(m_db.m_strError, DbText::kFieldsValues);
    EXPECT_FALSE(m_db.WriteBlobs(sql, {"exe_0"}, {"ab"}, {}));
    EXPECT_FALSE(m_db.WriteBlobs(sql, {"exe_0"}, {"ab"}, {3}));
    EXPECT_FALSE(m_db.WriteBlobs(sql, {"exe_0"}, {"ab"}, {-1}));
    EXPECT_FALSE(m_db.WriteBlobs(sql, {"nope_0"}, {"ab"}, {2}));
    EXPECT_EQ(m_db.m_strError, DbText::kData);
    EXPECT_FALSE(m_db.WriteBlobs("SELECT uid_0,exe_0 FROM c_app where uid_0=2", {"exe_0"}, {"ab"}, {2}));
    ASSERT_TRUE(m_db.WriteBlobs(sql, {"exe_0"}, {"abc"}, {2}));
    EXPECT_EQ(Value("SELECT count(uid_0) FROM c_app WHERE exe_0 IS NOT NULL"), "1");
}

TEST_P(DbKindTest, AFailedStatementDoesNotAbortTheTransaction)
{
    m_db.BeginTrans();
    EXPECT_TRUE(m_db.ExecuteCommand("INSERT INTO c_user(id_0) VALUES('a')"));
    EXPECT_FALSE(m_db.ExecuteCommand("INSERT INTO no_table VALUES(1)"));
    EXPECT_TRUE(m_db.ExecuteCommand("INSERT INTO c_user(id_0) VALUES('b')")) << m_db.m_strErrorInfo.toStdString();
    m_db.CommitTrans();
    EXPECT_EQ(UserIds(), QStringList({"a", "b"}));

    m_db.BeginTrans();
    EXPECT_TRUE(m_db.ExecuteCommand("INSERT INTO c_user(id_0) VALUES('c')"));
    m_db.RollbackTrans();
    EXPECT_EQ(UserIds(), QStringList({"a", "b"}));
}

TEST_P(DbKindTest, FillComboBox)
{
    AddUsers(3);
    QComboBox combo;
    combo.setEditable(true);
    combo.setEditText("U02");
    ASSERT_TRUE(m_db.FillComboBox(&combo, "SELECT id_0 FROM c_user ORDER BY id_0", "id_0"));
    ASSERT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(0), "");
    EXPECT_EQ(combo.itemText(3), "u03");
    EXPECT_EQ(combo.currentIndex(), 2);
    // A filled box is only reselected: the broken query never runs.
    combo.setEditText("u0");
    m_db.m_strError.clear();
    EXPECT_TRUE(m_db.FillComboBox(&combo, "SELEC broken", "id_0"));
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_TRUE(m_db.m_strError.isEmpty());

    QComboBox empty;
    EXPECT_FALSE(m_db.FillComboBox(&empty, "SELECT id_0 FROM c_user WHERE uid_0<0", "id_0"));
    EXPECT_EQ(empty.count(), 0);
}

// Kind 1 has no server here: translation, kind and the refused connection.
class DbSqlServerTest : public ::testing::Test
{
protected:
    static QString ClosedPort()
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        return QString::number(server.serverPort()); // closed again when server goes
    }
    AppConnectionGuard m_guard;
};

TEST_F(DbSqlServerTest, RefusedConnection)
{
    CDbConnection db;
    EXPECT_EQ(db.m_strError, DbText::kNoError);
    EXPECT_EQ(db.m_nResult, -1);
    db.SetConnectString(DbTestDatabase::SqlServerText("127.0.0.1", ClosedPort(), "erp", "sa", "pw"));
    EXPECT_FALSE(db.Connect());
    EXPECT_EQ(db.GetDbTypeText(), "1");
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.m_nResult, -1);
    EXPECT_EQ(db.m_strError, DbText::kConnect);
    EXPECT_TRUE(db.m_strError.startsWith("\n"));
    EXPECT_FALSE(db.m_strErrorInfo.isEmpty());
    // Kind 1 sends a script as one batch: the detail holds the whole text.
    const QString batch = "UPDATE a SET x=1;UPDATE b SET y=2";
    EXPECT_FALSE(db.Execute(batch));
    EXPECT_TRUE(db.m_strErrorInfo.startsWith(batch));
}

TEST_F(DbSqlServerTest, WebHostWithoutReplyFailsTheConnect)
{
    QStringList urls;
    SetDbFetchFunction([&urls](const QString& url) {
        urls.append(url);
        return QString();
    });
    CDbConnection db;
    db.SetConnectString(DbTestDatabase::SqlServerText("www.host.cn/ip.aspx", "1433", "erp", "sa", "pw"));
    EXPECT_FALSE(db.Connect());
    EXPECT_EQ(urls, QStringList{"www.host.cn/ip.aspx"});
    EXPECT_EQ(db.m_strError, DbText::kConnect);
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(DbSqlServerTest, MissingAccessFileIsRefused)
{
    TempFolder folder;
    CDbConnection db;
    db.SetConnectString(DbTestDatabase::AccessText(folder.file("missing.mdb")));
    EXPECT_FALSE(db.Connect());
    EXPECT_EQ(db.m_strError, DbText::kConnect);
    EXPECT_FALSE(QFile::exists(folder.file("missing.mdb")));
}

// The configuring constructor and Configure read cfg.ini in the program folder.
class DbConfigureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetModuleFolderOverride(m_folder.path());
        theApp().m_strConnectText.clear();
        theApp().m_strDbType.clear();
        theApp().m_strDbPath.clear();
    }
    void StoreName(const QString& text)
    {
        WriteIniString("cfg.ini", "SERVER", "NAME", ScrambleText(text, 1));
    }

    AppConnectionGuard m_guard;
    TempFolder m_folder;
};

TEST_F(DbConfigureTest, KindTextFollowsTheStoredText)
{
    const QPair<QString, QString> cases[] = {
        {DbTestDatabase::SqlServerText("h", "1433", "d", "u", "p"), "1"},
        {DbTestDatabase::AccessText("/a.mdb"), "2"},
        {DbTestDatabase::PostgreSqlText("h", "5432", "d", "u", "p"), "2"}, // the login sets "3" later
    };
    for (const auto& c : cases) {
        StoreName(c.first);
        theApp().m_strConnectText.clear();
        CDbConnection db(CDbConnection::Configured);
        EXPECT_EQ(theApp().m_strDbType, c.second) << c.first.toStdString();
        EXPECT_EQ(theApp().m_strConnectText, ScrambleText(c.first, 1));
    }
}

TEST_F(DbConfigureTest, ConfigureStoresTheAccessPathAndConnects)
{
    DbTestDatabase database(kDbAccess);
    StoreName(database.ConnectText());
    theApp().m_strDbType = "x";
    CDbConnection db;
    db.Configure();
    EXPECT_EQ(theApp().m_strDbType, "x");
    EXPECT_EQ(theApp().m_strDbPath, DbAccessPathOf(database.ConnectText()));
    EXPECT_TRUE(db.Connect()) << db.m_strErrorInfo.toStdString();
    EXPECT_EQ(db.GetDbTypeText(), "2");
}

TEST_F(DbConfigureTest, LookupServiceReplyBecomesTheStoredText)
{
    DbTestDatabase database(kDbAccess);
    const QString address = DbLookupServiceAddress() + "abc";
    StoreName(address);
    QStringList urls;
    SetDbFetchFunction([&](const QString& url) {
        urls.append(url);
        return ScrambleText(database.ConnectText(), 1);
    });
    CDbConnection db(CDbConnection::Configured);
    EXPECT_EQ(urls, QStringList{address});
    EXPECT_EQ(theApp().m_strConnectText, ScrambleText(database.ConnectText(), 1));
    EXPECT_EQ(theApp().m_strDbType, "2");
    EXPECT_TRUE(db.Connect()) << db.m_strErrorInfo.toStdString();
}
} // namespace
