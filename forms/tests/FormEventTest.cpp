// The event machinery and the keyword table through real form windows on
// SQLite and the PostgreSQL test server: transactions, rollback with the
// touched grid rows, rights, logs, column sums.
#include "ActionDispatcher.h"
#include "D_T1.h"
#include "EventTexts.h"
#include "FormEventRunner.h"
#include "QvControls.h"
#include "db/DbSchema.h"
#include "db/DbTexts.h"
#include "db/tests/DbTestDatabase.h"
#include "grid/ListCtrlEx.h"
#include "text/AppState.h"
#include "text/Cp936.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"
#include "web/FileHelpers.h"
#include "xml/XmlNode.h"
#include "FileModes.h"
#include "TempFolder.h"

#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <optional>

namespace {

class FormEventTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        m_saved = theApp();
        // The log file goes into a folder of this test's own: test programs
        // run side by side must not share one.
        SetModuleFolderOverride(m_programFolder.path());
        m_previousSink = SetMessageSink([this](const QString& text) { m_messages << text; });
        m_database = std::make_unique<DbTestDatabase>(GetParam());
        ASSERT_FALSE(m_database->ConnectText().isEmpty()) << m_database->Problem().toStdString();
        m_db.SetConnectString(m_database->ConnectText());
        ASSERT_TRUE(m_db.Connect()) << m_db.m_strErrorInfo.toStdString();
        ASSERT_TRUE(m_db.ExecuteScript(DbSchemaScript(GetParam()))) << m_db.m_strErrorInfo.toStdString();
        // A deferred unique key lets a commit fail on PostgreSQL.
        ASSERT_TRUE(m_db.ExecuteCommand(
            GetParam() == 3 ? "CREATE TABLE t_item (uid_0 SERIAL PRIMARY KEY, name_0 VARCHAR(50), "
                              "CONSTRAINT t_item_name UNIQUE (name_0) DEFERRABLE INITIALLY DEFERRED)"
                            : "CREATE TABLE t_item (uid_0 INTEGER PRIMARY KEY AUTOINCREMENT, name_0 VARCHAR(50))"))
            << m_db.m_strErrorInfo.toStdString();
        ASSERT_TRUE(m_db.ExecuteCommand("INSERT INTO c_user(id_0,name_0,user_group_uid_0) VALUES('clerk','Clerk',5)"));
        theApp().m_strConnectText = ScrambleText(m_database->ConnectText(), 1);
        theApp().m_strUserUid = "1";
        theApp().m_strUserId = "clerk";

        CActionDispatcher& dispatcher = CActionDispatcher::Instance();
        dispatcher.Clear();
        // Test doubles of two handlers: a statement, and a grid change.
        dispatcher.Register("run_sql", [](D_T1& form, const CXmlNode& action, int, const QString&) {
            return form.m_actions.m_db.ExecuteCommand(action.GetAttribute("sql"));
        });
        dispatcher.Register("addrow", [](D_T1& form, const CXmlNode& action, int, const QString&) {
            auto* grid = qobject_cast<CListCtrlEx*>(form.GetDlgItem(action.GetAttributeInt("table_id", 0) + 1024));
            form.m_actions.SaveRowStates(grid);
            const int row = grid->InsertRow(0, "new");
            grid->SetRowData(row, nullptr, "0", kRowNew);
            for (int i = 1; i < grid->GetItemCount(); ++i)
                grid->GetRowKey(i)->nState = kRowChanged;
            grid->SortByColumn(0, false);
            return true;
        });
        dispatcher.Register("check", [](D_T1& form, const CXmlNode& action, int, const QString&) {
            form.m_actions.m_db.m_strError = action.GetAttribute("refuse");
            return form.m_actions.m_db.m_strError.isEmpty();
        });
        dispatcher.Register("close", [](D_T1& form, const CXmlNode&, int, const QString&) {
            form.RequestClose();
            return true;
        });
    }

    void TearDown() override
    {
        delete m_form.data();
        CActionDispatcher::Instance().Clear();
        m_db.Close();
        SetMessageSink(m_previousSink);
        theApp() = m_saved;
        SetModuleFolderOverride(QString());
    }

    D_T1* Open(const QString& dialog, const QString& menuUid = "7")
    {
        auto* form = new D_T1;
        m_form = form;
        form->SetBuilder(std::make_unique<QvControls>());
        form->SetEvents(std::make_unique<CFormEventRunner>());
        form->m_strMenuUid = menuUid;
        form->m_strMenuName = "单据";
        const QString text = "<html id='0'><head title='t' pos='0,0,400,300'/><body><dialog>" + dialog
                             + "</dialog></body></html>";
        EXPECT_TRUE(form->LoadDescription(text));
        EXPECT_TRUE(form->Create());
        return form;
    }

    // Every row of the tables an event may touch, as text.
    QString Snapshot()
    {
        QString all;
        for (const char* table : {"t_item", "log_dh_open", "c_user"}) {
            QStringList values;
            m_db.QueryAllToList(QString("SELECT * FROM %1 ORDER BY uid_0").arg(table), values);
            all += QString(table) + ":" + values.join('|') + "\n";
        }
        return all;
    }

    QString Value(const QString& sql)
    {
        QString value = "<none>";
        m_db.QueryValue(sql, value);
        return value;
    }

    static QString LogFile()
    {
        return FromCp936(ReadWholeFile(GetModuleFolder() + LogFileName));
    }

    TempFolder m_programFolder;
    AppState m_saved;
    MessageSink m_previousSink;
    std::unique_ptr<DbTestDatabase> m_database;
    CDbConnection m_db;
    QPointer<D_T1> m_form;
    QStringList m_messages;
};

const char* const Insert = "<run_sql sql=\"INSERT INTO t_item(name_0) VALUES('%1')\"/>";

TEST_P(FormEventTest, SuccessfulEventCommitsEveryWrite)
{
    D_T1* form = Open(QString("<button id='1' pos='0,0,80,24' value='存'><ACTION><CLICK>%1%2</CLICK></ACTION></button>")
                          .arg(QString(Insert).arg("a"), QString(Insert).arg("b")));
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM t_item"), "2");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_EQ(form->Life(), FormLife::Open);
    EXPECT_FALSE(form->m_actions.m_db.IsOpen());
}

// Each way an event can fail, at each place in a list of three writes: the
// database is as before, the grid's rows have their states back, the text is
// shown once and written to the log file.
TEST_P(FormEventTest, FailureAtAnyStepLeavesDatabaseAndGridAsBefore)
{
    const QString bad = "<run_sql sql=\"INSERT INTO no_such_table VALUES(1)\"/>";
    const QString refuse = "<check refuse='库存不足，不能保存'/>";
    QStringList failures = {bad, refuse};
    for (const QString& failure : failures) {
        for (int at = 0; at <= 3; ++at) {
            QStringList list = {"<addrow table_id='2'/>", QString(Insert).arg("x"), QString(Insert).arg("y"),
                                QString(Insert).arg("z")};
            list.insert(at + 1, failure);
            D_T1* form = Open("<table id='2' pos='0,0,200,100'><PARA><col_info><col id='1' value='a' width='50'/>"
                              "</col_info></PARA></table><button id='1' pos='0,0,80,24' value='存'><ACTION><CLICK>" + list.join("")
                              + "</CLICK></ACTION></button>");
            auto* grid = qobject_cast<CListCtrlEx*>(form->GetDlgItem(1026));
            for (const char* name : {"b", "a", "c"}) {
                const int row = grid->InsertRow(grid->GetItemCount(), name);
                grid->SetRowData(row, nullptr, QString::number(row + 10), kRowUnchanged);
            }
            grid->GetRowKey(1)->nState = kRowChanged;
            const QString before = Snapshot();
            m_messages.clear();

            form->FireEvent(1025, "CLICK");

            SCOPED_TRACE(QString("failure %1 at %2").arg(failure).arg(at).toStdString());
            EXPECT_EQ(Snapshot(), before);
            for (int row = 0; row < grid->GetItemCount(); ++row) {
                const ItemData* item = grid->GetRowKey(row);
                const int expected = item->strKey == "0" ? kRowNew : item->strKey == "11" ? kRowChanged : kRowUnchanged;
                EXPECT_EQ(item->nState, expected) << "row key " << item->strKey.toStdString();
            }
            ASSERT_EQ(m_messages.size(), 1);
            EXPECT_FALSE(m_messages[0].isEmpty());
            EXPECT_TRUE(LogFile().startsWith(m_messages[0]));
            EXPECT_EQ(form->Life(), FormLife::Open);
        }
    }
}

// An installation for all users: neither the program folder (the log file)
// nor the database may be written. The failed save is reported with its
// cause, the program goes on, and the form keeps what the user typed.
TEST_P(FormEventTest, ReadOnlyProgramFolderAndDatabaseReportTheFailureAndKeepTheForm)
{
    D_T1* form = Open(QString("<textbox id='2' pos='0,30,80,24'/><button id='1' pos='0,0,80,24' value='存'>"
                              "<ACTION><CLICK>%1</CLICK></ACTION></button>")
                          .arg(QString(Insert).arg("typed")));
    auto* edit = qobject_cast<QLineEdit*>(form->GetDlgItem(1026));
    ASSERT_NE(edit, nullptr);
    edit->setText("录入的内容");
    if (GetParam() == 3) {
        ASSERT_TRUE(m_db.ExecuteCommand("DO $$BEGIN EXECUTE 'ALTER DATABASE ' || quote_ident(current_database()) "
                                        "|| ' SET default_transaction_read_only = on'; END$$"))
            << m_db.m_strErrorInfo.toStdString();
    }
    const QString before = Snapshot();
    {
        const ReadOnlyFolder program(m_programFolder.path());
        const std::optional<ReadOnlyFolder> database =
            GetParam() == 2 ? std::make_optional<ReadOnlyFolder>(m_database->Folder()) : std::nullopt;
        const BoundByFileModes bound;
        form->FireEvent(1025, "CLICK");
    }
    EXPECT_EQ(Snapshot(), before);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith(DbText::kStatement)) << m_messages[0].toStdString();
    EXPECT_TRUE(m_messages[0].contains(DbText::kReadOnly)) << m_messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(m_programFolder.file(LogFileName)));
    ASSERT_FALSE(m_form.isNull());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(edit->text(), "录入的内容");
    EXPECT_EQ(form->Life(), FormLife::Open);
}

TEST_P(FormEventTest, FailedCommitIsAFailedEvent)
{
    if (GetParam() != 3)
        GTEST_SKIP() << "only PostgreSQL defers a check to the commit here";
    D_T1* form = Open(QString("<button id='1' pos='0,0,80,24' value='存'><ACTION><CLICK>%1%1<close/></CLICK></ACTION></button>")
                          .arg(QString(Insert).arg("same")));
    const QString before = Snapshot();
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(m_messages, QStringList{EventTexts::Failed});
    EXPECT_TRUE(form->isVisible()) << "a failed event carries out no close request";
    EXPECT_EQ(form->Life(), FormLife::Open);
}

TEST_P(FormEventTest, RightsOfTheUsersGroup)
{
    // Button 1: the group may not use it (-1); button 3: hidden (-2);
    // button 4: -3 leaves it as it is but refuses it.
    ASSERT_TRUE(m_db.Execute("INSERT INTO c_menu_button(menu_uid_0,button_id_0,sta_0) VALUES(7,1,0);"
                             "INSERT INTO c_menu_button(menu_uid_0,button_id_0,sta_0) VALUES(7,3,0);"
                             "INSERT INTO c_menu_button(menu_uid_0,button_id_0,sta_0) VALUES(7,4,0);"
                             "INSERT INTO c_menu_button_group(menu_button_uid_0,group_uid_0,sta_0) VALUES(1,5,-1);"
                             "INSERT INTO c_menu_button_group(menu_button_uid_0,group_uid_0,sta_0) VALUES(2,5,-2);"
                             "INSERT INTO c_menu_button_group(menu_button_uid_0,group_uid_0,sta_0) VALUES(3,5,-3)"))
        << m_db.m_strErrorInfo.toStdString();
    const auto list = [](int id, int log) {
        return QString("<button id='%1' pos='0,0,80,24'><ACTION><CLICK log='%2'>%3</CLICK></ACTION></button>")
            .arg(id)
            .arg(log)
            .arg(QString(Insert).arg(id));
    };
    D_T1* form = Open(list(1, 0) + "<button id='3' pos='0,0,80,24'/>" + list(4, 0) + list(5, 2) + list(6, 1));
    EXPECT_EQ(form->m_strNoRightIds, ";1;3;4;");
    EXPECT_FALSE(form->GetDlgItem(1025)->isEnabled());
    EXPECT_FALSE(form->GetDlgItem(1027)->isVisibleTo(form));
    EXPECT_TRUE(form->GetDlgItem(1028)->isEnabled());
    EXPECT_EQ(Value("SELECT menu_name_0 FROM log_dh_open WHERE control_id_0=0"), "单据");

    form->FireEvent(1028, "CLICK");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM t_item"), "0");
    EXPECT_EQ(m_messages, QStringList{EventTexts::NoRight});

    form->FireEvent(1029, "CLICK"); // log 2: neither checked nor logged
    form->FireEvent(1030, "CLICK"); // log 1: checked and logged
    EXPECT_EQ(m_messages, QStringList{EventTexts::NoRight});
    EXPECT_EQ(Value("SELECT COUNT(*) FROM t_item"), "2");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM log_dh_open WHERE control_id_0=6"), "1");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM log_dh_open WHERE control_id_0=5"), "0");
}

TEST_P(FormEventTest, HostileTextsReachTheLogsAsTheyAre)
{
    const QString hostile = "O'Brien'); DROP TABLE t_item; --";
    theApp().m_strUserId = hostile;
    D_T1* form = Open("<button id='6' pos='0,0,80,24' value=\"x'--\"><ACTION><CLICK log='1'><check/></CLICK></ACTION></button>");
    form->FireEvent(1030, "CLICK");
    EXPECT_EQ(Value("SELECT open_user_id_0 FROM log_dh_open WHERE control_id_0=6"), hostile);
    EXPECT_EQ(Value("SELECT menu_name_0 FROM log_dh_open WHERE control_id_0=6"), "t -> x'--");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM t_item"), "0");
}

INSTANTIATE_TEST_SUITE_P(Kinds, FormEventTest, ::testing::Values(2, 3),
                         [](const auto& info) { return info.param == 2 ? "SQLite" : "PostgreSQL"; });

// The keyword table and the list runner need no database.
class DispatcherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousSink = SetMessageSink([this](const QString& text) { m_messages << text; });
        CActionDispatcher& dispatcher = CActionDispatcher::Instance();
        dispatcher.Clear();
        dispatcher.Register("get_daxie", [this](D_T1& form, const CXmlNode& action, int, const QString& event) {
            m_ran << action.GetAttribute("n") + "/" + event;
            form.m_actions.m_strResult = action.GetAttribute("result");
            return action.GetAttribute("fail").isEmpty();
        });
        dispatcher.RegisterJump([this](D_T1&, const CXmlNode& action, int& step) {
            m_ran << "jump";
            step = action.GetAttributeInt("step", 0);
            return step != 0;
        });
        m_form.SetBuilder(std::make_unique<QvControls>());
    }
    void TearDown() override
    {
        CActionDispatcher::Instance().Clear();
        SetMessageSink(m_previousSink);
    }

    // Runs the CLICK list of button 1 without transaction or rights.
    bool Run(const QString& list)
    {
        m_ran.clear();
        m_form.LoadDescription("<html id='0'><body><dialog><button id='1' pos='0,0,80,24'><ACTION><CLICK>" + list
                               + "</CLICK></ACTION></button></dialog></body></html>");
        if (m_form.GetDlgItem(1025) == nullptr)
            m_form.GetBuilder()->Build(m_form);
        return m_runner.RunEventActions(m_form, 1025, "CLICK");
    }

    MessageSink m_previousSink;
    D_T1 m_form;
    CFormEventRunner m_runner;
    QStringList m_ran;
    QStringList m_messages;
};

TEST_F(DispatcherTest, KeywordsMatchWholeAndExactly)
{
    const struct {
        QString list;
        bool result;
        QStringList ran;
    } cases[] = {
        {"<get_daxie n='1'/><Get_daxie n='2'/><get_daxie n='3'/>", true, {"1/CLICK", "3/CLICK"}},
        {"<nothing/><get_daxie n='1'/>", true, {"1/CLICK"}},
        {"<get_daxie n='1' fail='1'/><get_daxie n='2'/>", false, {"1/CLICK"}},
        {"<jump step='2'/><get_daxie n='skipped'/><get_daxie n='3'/>", true, {"jump", "3/CLICK"}},
        {"<get_daxie n='1'/><jump step='5'/><get_daxie n='never'/>", true, {"1/CLICK", "jump"}},
        {"<get_daxie n='1'/><jump step='-7'/><get_daxie n='never'/>", true, {"1/CLICK", "jump"}},
        {"<jump step='0'/><get_daxie n='never'/>", false, {"jump"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.list), c.result) << c.list.toStdString();
        EXPECT_EQ(m_ran, c.ran) << c.list.toStdString();
    }
}

TEST_F(DispatcherTest, KeywordWithoutWorkFailsNamingIt)
{
    EXPECT_FALSE(Run("<get_daxie n='1'/><export_excel/><get_daxie n='2'/>"));
    EXPECT_EQ(m_ran, QStringList{"1/CLICK"});
    EXPECT_EQ(m_form.m_actions.m_db.m_strError, EventTexts::ActionUnavailable.arg("export_excel"));
    EXPECT_FALSE(CActionDispatcher::Instance().Register("no_such_keyword", [](auto&&...) { return true; }));
    EXPECT_EQ(CActionDispatcher::Keywords().size(), 80);
}

TEST_F(DispatcherTest, BackwardJumpCycleStops)
{
    EXPECT_FALSE(Run("<get_daxie n='x'/><jump step='-1'/>"));
    EXPECT_EQ(m_form.m_actions.m_db.m_strError, EventTexts::ListTooLong.arg(100000));
}

TEST_F(DispatcherTest, EachActionStartsWithAnEmptyResult)
{
    Run("<get_daxie n='1' result='已保存'/><get_daxie n='2'/>");
    EXPECT_TRUE(m_form.m_actions.m_strResult.isEmpty());
    Run("<get_daxie n='1'/><get_daxie n='2' result='已更新'/>");
    EXPECT_EQ(m_form.m_actions.m_strResult, "已更新");
}

TEST_F(DispatcherTest, SelectInfoTableStartsAtPageOneUnlessPaging)
{
    CActionDispatcher::Instance().Register("select_info_table",
                                           [](D_T1&, const CXmlNode&, int, const QString&) { return true; });
    m_form.m_actions.m_nPage = 4;
    m_form.m_actions.m_nPageCount = 9;
    m_form.m_actions.m_deletedUids.Add(nullptr, "3");
    Run("<select_info_table/>");
    EXPECT_EQ(m_form.m_actions.m_nPage, 1);
    EXPECT_EQ(m_form.m_actions.m_nPageCount, 0);
    EXPECT_TRUE(m_form.m_actions.m_deletedUids.IsEmpty());
    m_form.m_actions.m_nPage = 4;
    m_form.m_actions.m_bResetPaging = false;
    Run("<select_info_table/>");
    EXPECT_EQ(m_form.m_actions.m_nPage, 4);
}

TEST_F(DispatcherTest, ColumnSums)
{
    const struct {
        QStringList cells;
        QString sum;
    } cases[] = {
        {{"1,200.50", "3"}, "1,203.50"},
        {{"1.5", "2"}, "3.5"},
        {{}, "0"},
        {{"abc", "4"}, "4"},
    };
    m_form.LoadDescription("<html id='0'><body><dialog><table id='2' pos='0,30,200,130'><PARA><col_info><col id='1' value='a' sum='9'/>"
                           "</col_info></PARA></table><textbox id='9' pos='0,0,80,24'/></dialog></body></html>");
    m_form.GetBuilder()->Build(m_form);
    auto* grid = qobject_cast<CListCtrlEx*>(m_form.GetDlgItem(1026));
    ASSERT_NE(grid, nullptr);
    for (const auto& c : cases) {
        grid->DeleteAllRows();
        for (const QString& cell : c.cells)
            grid->InsertRow(grid->GetItemCount(), cell);
        m_form.SumTableCol(1026);
        EXPECT_EQ(qobject_cast<QLineEdit*>(m_form.GetDlgItem(1033))->text(), c.sum) << c.cells.join(' ').toStdString();
    }
}

} // namespace
