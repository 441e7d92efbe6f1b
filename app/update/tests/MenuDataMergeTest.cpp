#include "MenuDataMerge.h"
#include "UpdateServiceServer.h"
#include "UpdateTestSupport.h"
#include "db/DbConnection.h"
#include "db/DbSchema.h"
#include "db/tests/DbTestDatabase.h"
#include "text/Cp936.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

const QByteArray kForm1("installed form 1");
const QByteArray kForm3("installed form 3");
const QByteArray kNewForm2("new form 2");
const QByteArray kNewForm5("new form 5");

// An installation of each kind with four menu entries and three buttons, and
// a service that offers menu-data version 8: entry 1 unchanged, 2 renamed
// with a new form, 3 renamed with an empty form file, 4 removed, 5 new;
// button 1 unchanged, 2 changed, 3 removed, 4 new.
class MenuDataMerge : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        database = std::make_unique<DbTestDatabase>(GetParam());
        ASSERT_FALSE(database->ConnectText().isEmpty()) << database->Problem().toStdString();
        db.SetConnectString(database->ConnectText());
        ASSERT_TRUE(db.Connect()) << db.m_strErrorInfo.toStdString();
        ASSERT_TRUE(db.ExecuteScript(DbSchemaScript(GetParam())));
        UpdateInstallation& installation = folder.installation;
        installation.connectText = database->ConnectText();
        // The start-up worker names every database that is not SQL Server
        // "2"; the merge must follow the connection it opens, not this text.
        installation.dbType = "2";
        ASSERT_TRUE(db.ExecuteScript(
            "INSERT INTO c_app(uid_0,app_0,ver_1) VALUES(1,'" + installation.appId + "','7');"
            "INSERT INTO c_menu_dh(uid_0,level_0,leaf_0,order_0,pUid_0,name_0,update_user_uid_0,update_time_0) VALUES"
            "(1,1,0,1,0,'销售',1,'2024-01-02 03:04:05'),(2,2,1,1,1,'订单',1,'2024-01-02 03:04:05'),"
            "(3,2,1,2,1,'客户',1,'2024-01-02 03:04:05'),(4,2,1,3,1,'旧报表',1,'2024-01-02 03:04:05');"
            "INSERT INTO c_menu_button(uid_0,menu_uid_0,button_id_0,value_0,sta_0) VALUES"
            "(1,2,1001,'保存',1),(2,2,1002,'删除',1),(3,3,1001,'打印',1)"));
        for (const auto& [uid, form] : {std::pair{1, kForm1}, std::pair{2, QByteArray("installed form 2")},
                                        std::pair{3, kForm3}})
            ASSERT_TRUE(db.WriteBlobs(QString("SELECT uid_0,form_0 FROM c_menu_dh WHERE uid_0=%1").arg(uid),
                                      {"form_0"}, {form}, {int(form.size())}));

        QStringList dump;
        db.QueryToList("SELECT uid_0,level_0,leaf_0,order_0,pUid_0,name_0,update_user_uid_0,update_time_0 "
                       "FROM c_menu_dh WHERE uid_0=1", {"uid_0", "level_0", "leaf_0", "order_0", "pUid_0", "name_0",
                                                        "update_user_uid_0", "update_time_0"}, dump);
        const QString time = installedTime = dump.last();
        menuText = dump.join(',') + "\n2,2,1,1,1,订单录入,1," + time + "\n3,2,1,2,1,客户资料,1," + time
            + "\n5,2,1,3,1,新报表,1," + time + "\n";
        Serve("dh_menu.txt", ToCp936(menuText));
        Serve("menu_button.txt", ToCp936(buttonText));
        Serve("up_sql.txt", "");
        Serve("clear_sql.txt", "");
        Serve("2_form.dll", kNewForm2);
        Serve("3_form.dll", "");
        Serve("5_form.dll", kNewForm5);
        before = Snapshot();
    }
    void TearDown() override { db.Close(); }

    QString Target(const QString& name) const
    {
        return "/service/dl.aspx?type=" + folder.installation.dbType + "&app_id=" + folder.installation.appId
            + "&id=" + name;
    }
    void Serve(const QString& name, const QByteArray& body) { service.Serve(Target(name), body); }

    CMenuDataMerge::Outcome Run(const QString& version = "8")
    {
        CMenuDataMerge merge(folder.installation, service.Host(), seams);
        const CMenuDataMerge::Outcome outcome = merge.Run(version);
        updating = merge.Updating();
        return outcome;
    }

    QStringList Rows(const QString& sql)
    {
        QStringList values;
        db.QueryAllToList(sql, values);
        return values;
    }
    QList<QByteArray> Forms()
    {
        QList<QByteArray> forms;
        QList<int> sizes;
        db.ReadBlobs("SELECT form_0 FROM c_menu_dh ORDER BY uid_0", {"form_0"}, forms, sizes);
        return forms;
    }
    // Everything the merge may change.
    QStringList Snapshot()
    {
        QStringList all = Rows("SELECT uid_0,level_0,leaf_0,order_0,pUid_0,name_0 FROM c_menu_dh ORDER BY uid_0")
            + Rows("SELECT uid_0,menu_uid_0,button_id_0,value_0,sta_0 FROM c_menu_button ORDER BY uid_0")
            + Rows("SELECT ver_1 FROM c_app WHERE uid_0=1");
        for (const QByteArray& form : Forms())
            all.append(QString::fromLatin1(form.toHex()));
        return all;
    }

    std::unique_ptr<DbTestDatabase> database;
    CDbConnection db;
    ProgramFolder folder;
    RecordingSeams seams{folder.installation.programFolder};
    UpdateServiceServer service;
    QString Log() const { return FromCp936(ReadBytes(LogPath())); }
    QString LogPath() const { return folder.temp.path() + "log_tembra.log"; }

    QString installedTime;
    QString menuText;
    const QString buttonText = "1,2,1001,保存\r\n2,2,1002,作废\r\n4,5,1001,导出\r\n";
    QStringList before;
    bool updating = false;
};

TEST_P(MenuDataMerge, NewChangedUnchangedAndRemovedEntries)
{
    EXPECT_EQ(Run(), CMenuDataMerge::Outcome::Merged);

    EXPECT_EQ(Rows("SELECT uid_0,name_0 FROM c_menu_dh ORDER BY uid_0"),
              QStringList({"1", "销售", "2", "订单录入", "3", "客户资料", "5", "新报表"}));
    // Entry 1 and 3 keep their installed forms, 2 and 5 take the new ones.
    EXPECT_EQ(Forms(), QList<QByteArray>({kForm1, kNewForm2, kForm3, kNewForm5}));
    // Button states are carried over on PostgreSQL; SQLite takes the staged ones.
    const QString carried = GetParam() == 3 ? "1" : "0";
    EXPECT_EQ(Rows("SELECT uid_0,value_0,sta_0 FROM c_menu_button ORDER BY uid_0"),
              QStringList({"1", "保存", carried, "2", "作废", carried, "4", "导出", "0"}));
    EXPECT_EQ(Rows("SELECT ver_1 FROM c_app WHERE uid_0=1"), QStringList({"8"}));
    EXPECT_EQ(Rows("SELECT count(*) FROM c_menu_dh_down"), QStringList({"0"}));

    // Only the changed entries' forms were fetched.
    EXPECT_EQ(service.CountOf(Target("1_form.dll")), 0);
    for (const QString name : {"2_form.dll", "3_form.dll", "5_form.dll"})
        EXPECT_EQ(service.CountOf(Target(name)), 1) << name.toStdString();
    EXPECT_TRUE(updating);
    // The program is told as soon as update files are in the folder.
    EXPECT_EQ(seams.updatingNotes, 1);
    EXPECT_FALSE(QFileInfo::exists(folder.temp.path() + "update"));
}

// A damaged line, a blank line of a "\r\n" file, an entry given twice or a
// failing statement of the service's scripts is logged and passed over: the
// rest of the menu data is merged.
TEST_P(MenuDataMerge, FailuresAreLoggedAndPassedOver)
{
    const QStringList lines = menuText.split('\n');
    const auto withLine = [&](const QString& line) {
        QStringList changed = lines;
        changed.insert(1, line);
        return ToCp936(changed.join('\n'));
    };
    const QString carried = GetParam() == 3 ? "1" : "0";
    const QStringList allButtons = {"1", "保存", carried, "2", "作废", carried, "4", "导出", "0"};
    const QStringList scriptFailures = {"菜单数据更新：up_sql.txt 的语句执行失败",
                                        "菜单数据更新：clear_sql.txt 的语句执行失败"};
    const struct
    {
        const char* name;
        QString file;
        QByteArray body;
        QStringList logged; // failure texts in the log, in order
        QStringList buttons = {};  // empty: all of them
    } cases[] = {
        {"menu line cut, in the middle", "dh_menu.txt", withLine("6,2,1"), {"dh_menu.txt 第 2 行格式不对"}},
        {"uid that is no integer", "dh_menu.txt", withLine("../6,2,1,3,1,x,1,"), {"dh_menu.txt 第 2 行格式不对"}},
        {"blank line of a \\r\\n file", "dh_menu.txt", withLine("\r"), {}},
        {"lines ending in \\r\\n", "dh_menu.txt", ToCp936(QString(menuText).replace("\n", "\r\n")), {}},
        {"entry given twice", "dh_menu.txt", ToCp936(menuText + "5,2,1,3,1,again,1,\n"),
         {"菜单数据更新：dh_menu.txt 的一行未能写入"}},
        {"failing statement of the service's scripts", "up_sql.txt",
         "UPDATE no_such_table SET a_0=1;\nUPDATE c_app SET company_0='script' WHERE uid_0=1;", scriptFailures},
        // Last: the button it drops is new to the cases after it.
        {"button line cut", "menu_button.txt", ToCp936("1,2,1001,保存\r\n2,2,1002\r\n4,5,1001,导出\r\n"),
         {"menu_button.txt 第 2 行格式不对"}, {"1", "保存", carried, "4", "导出", "0"}},
    };
    const QString log = LogPath();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Serve(c.file, c.body);
        Serve("clear_sql.txt", c.file == "up_sql.txt" ? QByteArray("UPDATE no_such_table SET a_0=2") : QByteArray());
        ASSERT_TRUE(db.Execute("UPDATE c_app SET ver_1='7',company_0=NULL WHERE uid_0=1"));
        QFile::remove(log);

        EXPECT_EQ(Run(), CMenuDataMerge::Outcome::Merged);
        EXPECT_EQ(Rows("SELECT uid_0,name_0 FROM c_menu_dh ORDER BY uid_0"),
                  QStringList({"1", "销售", "2", "订单录入", "3", "客户资料", "5", "新报表"}));
        EXPECT_EQ(Forms(), QList<QByteArray>({kForm1, kNewForm2, kForm3, kNewForm5}));
        EXPECT_EQ(Rows("SELECT uid_0,value_0,sta_0 FROM c_menu_button ORDER BY uid_0"),
                  c.buttons.isEmpty() ? allButtons : c.buttons);
        EXPECT_EQ(Rows("SELECT ver_1 FROM c_app WHERE uid_0=1"), QStringList({"8"}));
        // The script's statements after the failing one ran.
        if (c.file == "up_sql.txt") {
            EXPECT_EQ(Rows("SELECT company_0 FROM c_app WHERE uid_0=1"), QStringList({"script"}));
        }

        const QString written = Log();
        qsizetype at = 0;
        for (const QString& failure : c.logged) {
            at = written.indexOf(failure + "\r\n\r\n", at);
            EXPECT_GE(at, 0) << failure.toStdString() << " in " << written.toStdString();
        }
        if (c.logged.isEmpty()) {
            EXPECT_FALSE(QFileInfo::exists(log)) << written.toStdString();
        }
        Serve(c.file, c.file == "dh_menu.txt" ? ToCp936(menuText)
                      : c.file == "up_sql.txt" ? QByteArray()
                                               : ToCp936(buttonText));
    }
    // Unchanged entries never fetch their forms, the line that is no uid neither.
    EXPECT_EQ(service.CountOf(Target("1_form.dll")), 0);
    EXPECT_EQ(service.CountOf(Target("../6_form.dll")), 0);
}

// A service that ends its lines in "\r\n": each line is compared with the
// installed rows and staged without its line end.
TEST_P(MenuDataMerge, MenuFileWithCrLfLineEnds)
{
    // The installed menu as it stands: no entry has changed, so no form is
    // asked for (the service has none), and every entry keeps its own.
    const QStringList values = Rows("SELECT uid_0,level_0,leaf_0,order_0,pUid_0,name_0,update_user_uid_0,update_time_0 "
                                    "FROM c_menu_dh ORDER BY uid_0");
    QString unchanged;
    for (qsizetype row = 0; row < values.size(); row += 8)
        unchanged += values.mid(row, 8).join(',') + "\r\n";
    Serve("dh_menu.txt", ToCp936(unchanged));
    for (const QString name : {"2_form.dll", "3_form.dll", "5_form.dll"})
        service.Forget(Target(name));

    EXPECT_EQ(Run(), CMenuDataMerge::Outcome::Merged);
    for (const QString& request : service.Requests())
        EXPECT_FALSE(request.endsWith("_form.dll")) << request.toStdString();
    EXPECT_EQ(Rows("SELECT uid_0,name_0,update_time_0 FROM c_menu_dh ORDER BY uid_0"),
              QStringList({"1", "销售", installedTime, "2", "订单", installedTime, "3", "客户", installedTime, "4",
                           "旧报表", installedTime}));
    EXPECT_EQ(Forms(), QList<QByteArray>({kForm1, "installed form 2", kForm3, QByteArray()}));
    EXPECT_EQ(Rows("SELECT ver_1 FROM c_app WHERE uid_0=1"), QStringList({"8"}));

    // Changed entries whose time is empty (as rows without one give them):
    // no line end is left to stand for a time, which the database would refuse.
    ASSERT_TRUE(db.Execute("UPDATE c_app SET ver_1='7' WHERE uid_0=1"));
    Serve("dh_menu.txt", ToCp936(menuText.section('\n', 0, 0)
                                 + "\r\n2,2,1,1,1,订单录入,1,\r\n3,2,1,2,1,客户资料,1,\r\n5,2,1,3,1,新报表,1,\r\n"));
    Serve("2_form.dll", kNewForm2);
    Serve("3_form.dll", "");
    Serve("5_form.dll", kNewForm5);

    EXPECT_EQ(Run(), CMenuDataMerge::Outcome::Merged);
    EXPECT_EQ(Rows("SELECT uid_0,name_0,update_time_0 FROM c_menu_dh ORDER BY uid_0"),
              QStringList({"1", "销售", installedTime, "2", "订单录入", "", "3", "客户资料", "", "5", "新报表", ""}));
    EXPECT_EQ(Forms(), QList<QByteArray>({kForm1, kNewForm2, kForm3, kNewForm5}));
    EXPECT_EQ(service.CountOf(Target("1_form.dll")), 0);
    EXPECT_EQ(Rows("SELECT ver_1 FROM c_app WHERE uid_0=1"), QStringList({"8"}));
    EXPECT_FALSE(QFileInfo::exists(LogPath())) << Log().toStdString();
}

// The service's scripts run statement by statement on every kind: a failing
// statement is logged with the database's reason and the next one runs, in
// the merge's transaction (up_sql.txt) as after it (clear_sql.txt). A ";"
// inside a comment, a literal or a dollar-quoted body splits nothing.
TEST_P(MenuDataMerge, ScriptsGoOnPastAFailingStatement)
{
    QString up = "-- 先记下; 再合并\r\nUPDATE c_app SET company_0='up;1' WHERE uid_0=1;\r\n"
                 "UPDATE no_such_table SET a_0=1;\r\n";
    if (GetParam() == 3)
        up += "DO $$ BEGIN UPDATE c_app SET company_0=company_0 || ';do' WHERE uid_0=1; END $$;\r\n";
    up += "UPDATE c_app SET company_0=company_0 || ';up2' WHERE uid_0=1;\r\n";
    Serve("up_sql.txt", ToCp936(up));
    Serve("clear_sql.txt", "UPDATE no_such_table SET a_0=2;\r\n"
                           "UPDATE c_app SET company_0=company_0 || '+clear' WHERE uid_0=1");

    EXPECT_EQ(Run(), CMenuDataMerge::Outcome::Merged);
    EXPECT_EQ(Rows("SELECT company_0 FROM c_app WHERE uid_0=1"),
              QStringList({GetParam() == 3 ? "up;1;do;up2+clear" : "up;1;up2+clear"}));
    EXPECT_EQ(Rows("SELECT uid_0,name_0 FROM c_menu_dh ORDER BY uid_0"),
              QStringList({"1", "销售", "2", "订单录入", "3", "客户资料", "5", "新报表"}));
    EXPECT_EQ(Rows("SELECT ver_1 FROM c_app WHERE uid_0=1"), QStringList({"8"}));

    // One entry per failing statement, in order: the script, the statement
    // and, on the line below it, the database's text, which names the table.
    const QString written = Log();
    EXPECT_EQ(written.count("语句执行失败"), 2) << written.toStdString();
    qsizetype at = 0;
    for (const QString entry : {"菜单数据更新：up_sql.txt 的语句执行失败\r\n\r\nUPDATE no_such_table SET a_0=1\r\n",
                                "菜单数据更新：clear_sql.txt 的语句执行失败\r\n\r\nUPDATE no_such_table SET a_0=2\r\n"}) {
        at = written.indexOf(entry, at);
        ASSERT_GE(at, 0) << entry.toStdString() << " in " << written.toStdString();
        at += entry.size();
        EXPECT_TRUE(written.mid(at).section("\r\n", 0, 0).contains("no_such_table")) << written.toStdString();
    }
}

// A file or form the service does not have, a menu file without one usable
// entry (which would empty the installed menu), a dump that cannot be written
// or a database that does not open leaves everything as it was, and the log
// says why.
TEST_P(MenuDataMerge, NothingChangesWhenTheMergeCannotBeComplete)
{
    const QString connectText = folder.installation.connectText;
    const QString dumpPath = folder.temp.path() + "update/dh_menu_old.txt";
    const struct
    {
        const char* name;
        std::function<void()> spoil;
        std::function<void()> mend;
        CMenuDataMerge::Outcome outcome;
        QString logged; // the entry's first line and the start of its detail, if any
    } cases[] = {
        {"form missing on the service", [&] { service.Forget(Target("5_form.dll")); },
         [&] { Serve("5_form.dll", kNewForm5); }, CMenuDataMerge::Outcome::Refused,
         "菜单数据更新：菜单 5 的表单下载失败（服务器返回状态 404），未合并\r\n\r\nhttp://" + service.Host()
             + Target("5_form.dll")},
        {"button file missing on the service", [&] { service.Forget(Target("menu_button.txt")); },
         [&] { Serve("menu_button.txt", ToCp936(buttonText)); }, CMenuDataMerge::Outcome::NotDownloaded,
         "菜单数据更新：menu_button.txt 下载失败（服务器返回状态 404），未合并\r\n\r\nhttp://"},
        {"no usable menu entry", [&] { Serve("dh_menu.txt", "<html>error</html>\n"); },
         [&] { Serve("dh_menu.txt", ToCp936(menuText)); }, CMenuDataMerge::Outcome::Refused,
         "菜单数据更新：dh_menu.txt 没有可用的菜单，未合并"},
        {"dump cannot be written", [&] { QDir().mkpath(dumpPath); }, [] {}, CMenuDataMerge::Outcome::Refused,
         "菜单数据更新：更新文件无法读写，未合并\r\n\r\n" + dumpPath},
        {"database does not open",
         [&] { folder.installation.connectText = DbTestDatabase::AccessText(folder.temp.path() + "none.mdb"); },
         [&] { folder.installation.connectText = connectText; }, CMenuDataMerge::Outcome::Refused,
         "菜单数据更新：数据库连接失败，未合并"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(LogPath());
        c.spoil();

        EXPECT_EQ(Run(), c.outcome);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_TRUE(Log().contains(c.logged)) << Log().toStdString();
        if (c.outcome == CMenuDataMerge::Outcome::Refused) {
            EXPECT_FALSE(QFileInfo::exists(folder.temp.path() + "update"));
        }
        c.mend();
    }
    // The same files, whole again, merge.
    EXPECT_EQ(Run(), CMenuDataMerge::Outcome::Merged);
}

TEST_P(MenuDataMerge, OtherInstallationOrSameVersionIsLeftAlone)
{
    EXPECT_EQ(Run("7"), CMenuDataMerge::Outcome::NothingNew);
    EXPECT_EQ(Run(""), CMenuDataMerge::Outcome::NothingNew);
    EXPECT_TRUE(service.Requests().isEmpty());
    EXPECT_EQ(seams.updateFolderRemovals, 2);

    // The database belongs to another installation.
    ASSERT_TRUE(db.Execute("UPDATE c_app SET app_0='another' WHERE uid_0=1"));
    EXPECT_EQ(Run(), CMenuDataMerge::Outcome::Refused);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Log(), "菜单数据更新：数据库不属于本安装，未合并\r\n\r\n数据库的 app_0：another\r\n本程序的 app_id："
                         + folder.installation.appId + "\r\n");

    // Merged meanwhile by another client: the folder stays until exit.
    ASSERT_TRUE(db.Execute("UPDATE c_app SET app_0='" + folder.installation.appId + "' WHERE uid_0=1"));
    ASSERT_TRUE(db.Execute("UPDATE c_app SET ver_1='8' WHERE uid_0=1"));
    EXPECT_EQ(Run(), CMenuDataMerge::Outcome::AlreadyMerged);
    EXPECT_TRUE(QFileInfo::exists(folder.temp.path() + "update/dh_menu.txt"));
    EXPECT_TRUE(updating);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MenuDataMerge, ::testing::Values(2, 3),
                         [](const auto& info) { return info.param == 2 ? "Access" : "PostgreSql"; });

} // namespace
