// run_sql, check, checkthis and the jump step, through events of real form
// windows: what reaches the database, what the user is told, and that a
// failure anywhere rolls the whole event back.
#include "text/SqlTexts.h"
#include "ActionFormTest.h"
#include "ActionTexts.h"
#include "EventTexts.h"
#include "RunSqlTexts.h"
#include "grid/ListCtrlEx.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

class RunSqlActionsTest : public ActionFormTest
{
protected:
    void SetUp() override
    {
        ActionFormTest::SetUp();
        if (HasFatalFailure())
            return;
        // t: rows with keys the tests choose; w: what the actions write.
        Exec("CREATE TABLE t (uid_0 INTEGER PRIMARY KEY, name_0 VARCHAR(100), qty_0 INTEGER, paid_0 INTEGER)");
        Exec("CREATE TABLE w (uid_0 " + KeyColumn() + ", text_0 VARCHAR(200))");
        Exec("INSERT INTO t VALUES(1,'甲',10,0)");
        Exec("INSERT INTO t VALUES(2,'乙',20,0)");
        Exec("INSERT INTO t VALUES(3,'丙',30,0)");
    }

    // A form with three text boxes (1, 2, 3), a drop-down list (4), a
    // two-column grid (7) and a button (9) whose CLICK runs the actions.
    D_T1* OpenWith(const QString& click)
    {
        return Open("<textbox id='1' pos='0,0,100,20' value=''/>"
                    "<textbox id='2' pos='0,30,100,50' value=''/>"
                    "<textbox id='3' pos='0,60,100,80' value=''/>"
                    "<droplist id='4' pos='0,90,100,110' value=''/>"
                    "<table id='7' pos='200,0,600,200'><PARA><col_info><col id='1' title='名称' width='80'/>"
                    "<col id='2' title='数量' width='60'/></col_info></PARA></table>"
                    "<button id='9' style='1' pos='0,300,80,330' value='go'><ACTION><CLICK>"
                    + click + "</CLICK></ACTION></button>");
    }

    CListCtrlEx* Grid() { return qobject_cast<CListCtrlEx*>(Control(7)); }
    QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(Control(id)); }

    // Grid rows of t as a fill would show them: key, name, quantity.
    void LoadGrid(const QStringList& keys = {"1", "2", "3"})
    {
        CListCtrlEx* grid = Grid();
        for (const QString& key : keys) {
            const int row = grid->InsertRow(grid->GetItemCount(), Value("SELECT name_0 FROM t WHERE uid_0=" + key));
            grid->SetItemText(row, 1, Value("SELECT qty_0 FROM t WHERE uid_0=" + key));
            grid->SetRowData(row, nullptr, key, 0);
        }
    }
    void Select(const QList<int>& rows)
    {
        for (int row : rows)
            Grid()->SelectRow(row, true);
    }

    // The one message the event showed.
    QString Shown() const { return m_messages.isEmpty() ? QString("<none>") : m_messages.join("|"); }
    QString Written() { return Rows("SELECT text_0 FROM w ORDER BY uid_0"); }
};

// ---- run_sql once ----------------------------------------------------------

TEST_P(RunSqlActionsTest, OnceRunsTheCheckAndTheStatementOnly)
{
    OpenWith(R"~(<run_sql><para_info can_run_sql="SELECT '已登记' FROM w WHERE text_0='{{p1}}'"
                 run_sql="INSERT INTO w(text_0) VALUES('{{p1}}')" target_ids='2' query_sql="SELECT 'q'"
                 run_sql2="INSERT INTO w(text_0) VALUES('second')"><p value='1'/></para_info></run_sql>)~");
    Edit(1)->setText("张三");
    Fire(9);
    EXPECT_EQ(Written(), "张三");
    EXPECT_EQ(Shown(), RunSqlTexts::Done);
    EXPECT_EQ(Edit(2)->text(), "") << "the queries belong to the row modes";

    // The same name again: the check's row refuses with its value.
    m_messages.clear();
    Fire(9);
    EXPECT_EQ(Written(), "张三");
    EXPECT_EQ(Shown(), "已登记");
}

TEST_P(RunSqlActionsTest, OnceFailuresWriteNothing)
{
    struct Case {
        const char* name;
        QString action;
        QString shown; // what the event shows; empty: any text but success
    } cases[] = {
        // A check whose row holds an empty value still refuses, silently.
        {"empty refusal", R"~(<run_sql><para_info can_run_sql="SELECT '' FROM t"
             run_sql="INSERT INTO w(text_0) VALUES('x')"/></run_sql>)~", "<none>"},
        // A check that cannot run refuses: it never lets the write through.
        {"failing check", R"~(<run_sql><para_info can_run_sql="SELECT x FROM no_such_table"
             run_sql="INSERT INTO w(text_0) VALUES('x')"/></run_sql>)~", ""},
        // The second statement fails: the first is rolled back with it.
        {"second statement", R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('x');
             INSERT INTO no_such_table VALUES(1)"/></run_sql>)~", ""},
        // A parameter naming no control: the statement is not run half filled.
        {"missing control", R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('{{p1}}')">
             <p value='77'/></para_info></run_sql>)~", "控件指向出错:\n77"},
        // A value that would stand bare in the SQL must be a number.
        {"bare text", R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES({{p1}})">
             <p value='1'/></para_info></run_sql>)~", SqlTexts::NotANumber.arg("1 OR 1=1", "{{p1}}")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWith(R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('before')"/></run_sql>)~"
                 + c.action);
        Edit(1)->setText("1 OR 1=1");
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Written(), "") << "the earlier action of the event is rolled back too";
        if (c.shown.isEmpty()) {
            ASSERT_EQ(m_messages.size(), 1);
            EXPECT_NE(m_messages[0], RunSqlTexts::Done);
        } else {
            EXPECT_EQ(Shown(), c.shown);
        }
    }
}

// ---- run_sql over grid rows --------------------------------------------------

TEST_P(RunSqlActionsTest, SelectedRowsRunOncePerRowWithTheirCells)
{
    OpenWith(R"~(<run_sql><para_info table_id='7'
                 run_sql="UPDATE t SET paid_0=1 WHERE uid_0={{id?uid}};
                          INSERT INTO w(text_0) VALUES('{{id?1}}:{{id?2}}:{{p1}}')"><p value='1'/></para_info></run_sql>)~");
    LoadGrid();
    Grid()->SetItemText(2, 0, "丙'特");
    Select({0, 2});
    Edit(1)->setText("O'K");
    Fire(9);
    EXPECT_EQ(Shown(), RunSqlTexts::Done);
    EXPECT_EQ(Rows("SELECT paid_0 FROM t ORDER BY uid_0"), "1|0|1");
    EXPECT_EQ(Written(), "甲:10:O'K|丙'特:30:O'K");
}

TEST_P(RunSqlActionsTest, RowModeFailures)
{
    struct Case {
        const char* name;
        QString table;      // table_id
        QList<int> select;  // rows selected
        QString key2;       // key of the second row
        QString statement;
        QString shown;      // empty: any text but success
    } cases[] = {
        {"no selection", "7", {}, "2", "INSERT INTO w(text_0) VALUES('x')", RunSqlTexts::SelectRow},
        {"row without key", "7", {0, 1}, "", "INSERT INTO w(text_0) VALUES('x')", RunSqlTexts::RowWithoutKey},
        {"key no number", "7", {0, 1}, "2 OR 1=1", "INSERT INTO w(text_0) SELECT 'x' FROM t WHERE uid_0={{id?uid}}",
         SqlTexts::NotANumber.arg("2 OR 1=1", "{{id?uid}}")},
        {"not a grid", "1", {0}, "2", "INSERT INTO w(text_0) VALUES('x')", "控件指向出错:\n1"},
        {"nothing there", "70", {0}, "2", "INSERT INTO w(text_0) VALUES('x')", "控件指向出错:\n70"},
        // The second of three rows fails: the run never ends as a success
        // and the first row's write goes back with it.
        // (t holds a row 102: the second row's insert breaks its key.)
        {"second row fails", "7", {0, 1, 2}, "2",
         "INSERT INTO w(text_0) VALUES('{{id?1}}');INSERT INTO t(uid_0) VALUES({{id?uid}}+100)", ""},
    };
    Exec("INSERT INTO t(uid_0) VALUES(102)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWith(R"~(<run_sql><para_info table_id=")~" + c.table + R"~(" run_sql=")~" + c.statement
                 + R"~("/></run_sql>)~");
        LoadGrid();
        Grid()->GetRowKey(1)->strKey = c.key2;
        Select(c.select);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Written(), "");
        if (c.shown.isEmpty()) {
            ASSERT_EQ(m_messages.size(), 1);
            EXPECT_NE(m_messages[0], RunSqlTexts::Done);
        } else {
            EXPECT_EQ(Shown(), c.shown);
        }
    }
}

// A right click's list runs without the event guard, so the box a row's
// query fills runs its own EN_CHANGE event at once; here that event refills
// the grid. The run stops rather than go on with indexes that now name other
// records or none.
TEST_P(RunSqlActionsTest, SelectedRowsStopWhenANestedEventRefillsTheGrid)
{
    Open("<textbox id='2' pos='0,30,100,50' value=''><ACTION><EN_CHANGE><select_info_table>"
         "<para_info table_id='7' select='SELECT name_0,qty_0 FROM t WHERE uid_0=3'/></select_info_table>"
         "</EN_CHANGE></ACTION></textbox>"
         "<table id='7' pos='200,0,600,200'><PARA><col_info><col id='1' title='名称' width='80'/>"
         "<col id='2' title='数量' width='60'/></col_info></PARA><ACTION><RCLICK><run_sql><para_info table_id='7'"
         " run_sql=\"INSERT INTO w(text_0) VALUES('{{id?1}}')\" target_ids='2' query_sql=\"SELECT 'x{{id?uid}}'\"/>"
         "</run_sql></RCLICK></ACTION></table>");
    LoadGrid();
    Select({0, 2});
    ASSERT_TRUE(m_form->m_actions.m_db.Connect());
    m_form->Notify(7 + D_T1::ControlIdBase, FormNotify::RightClicked);
    EXPECT_EQ(Edit(2)->text(), "x1");
    ASSERT_EQ(Grid()->GetItemCount(), 1) << "the nested event refilled the grid";
    EXPECT_EQ(Grid()->GetItemText(0, 0), "丙");
    EXPECT_EQ(m_form->m_actions.m_db.m_strError, RunSqlTexts::RowsMoved);
    EXPECT_EQ(Written(), "甲") << "the first row ran; nothing ran on a stale index";
    m_form->m_actions.m_db.Close();
}

TEST_P(RunSqlActionsTest, AllSelectedKeysGoInAsOneList)
{
    const QString action = R"~(<run_sql><para_info table_id='7'
        can_run_sql="SELECT '已付款' FROM t WHERE paid_0=1 AND uid_0 IN({{id?uid_all_selected}})"
        run_sql="UPDATE t SET paid_0=1 WHERE uid_0 IN({{id?uid_all_selected}});
                 INSERT INTO w(text_0) VALUES('{{id?uid_all_selected}}')"/></run_sql>)~";
    OpenWith(action);
    LoadGrid({"3", "1", "2"});
    Select({0, 1});
    Fire(9);
    EXPECT_EQ(Shown(), RunSqlTexts::Done);
    EXPECT_EQ(Written(), "3,1");
    EXPECT_EQ(Rows("SELECT paid_0 FROM t ORDER BY uid_0"), "1|0|1");

    // One of them paid already: the check refuses the whole list.
    m_messages.clear();
    Grid()->SelectRow(-1, false);
    Select({1, 2});
    Fire(9);
    EXPECT_EQ(Shown(), "已付款");
    EXPECT_EQ(Rows("SELECT paid_0 FROM t ORDER BY uid_0"), "1|0|1");

    // Keys stand bare in the list: one that is no whole number stops it.
    m_messages.clear();
    Grid()->GetRowKey(2)->strKey = "2) OR (1=1";
    Fire(9);
    EXPECT_EQ(Shown(), RunSqlTexts::KeyNotInteger.arg("2) OR (1=1"));
    EXPECT_EQ(Rows("SELECT paid_0 FROM t ORDER BY uid_0"), "1|0|1");

    // Only empty keys: nothing to work on.
    m_messages.clear();
    Grid()->GetRowKey(1)->strKey.clear();
    Grid()->GetRowKey(2)->strKey.clear();
    Fire(9);
    EXPECT_EQ(Shown(), RunSqlTexts::RowWithoutKey);
}

TEST_P(RunSqlActionsTest, AllRowsFromTheGivenRowOn)
{
    const QString statement = "INSERT INTO w(text_0) VALUES('{{id?1}}')";
    struct Case {
        int allRows;
        int gridRows;
        QString written;
        QString shown;
    } cases[] = {
        {1, 3, "甲|乙|丙", RunSqlTexts::Done},
        {3, 3, "丙", RunSqlTexts::Done},
        {4, 3, "", RunSqlTexts::Failed + statement},
        {1, 0, "", RunSqlTexts::Failed + statement},
        {-1, 3, "", RunSqlTexts::Failed + statement},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.allRows);
        Exec("DELETE FROM w");
        OpenWith(QString(R"~(<run_sql><para_info table_id='7' all_rows='%1' run_sql="%2"/></run_sql>)~")
                     .arg(c.allRows)
                     .arg(statement));
        LoadGrid(QStringList{"1", "2", "3"}.mid(0, c.gridRows));
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Written(), c.written);
        EXPECT_EQ(Shown(), c.shown);
    }
}

// The jump control repeats a row: 1 from stage one, 2 from stage two.
TEST_P(RunSqlActionsTest, JumpControlRepeatsARowFromItsStage)
{
    Exec("CREATE TABLE c (uid_0 INTEGER PRIMARY KEY, a_0 INTEGER, b_0 INTEGER)");
    Exec("INSERT INTO c VALUES(1,0,0)");
    Exec("INSERT INTO c VALUES(2,0,0)");
    OpenWith(R"~(<run_sql><para_info table_id='7' all_rows='1' jump_id='2'
        run_sql="UPDATE c SET a_0=a_0+1 WHERE uid_0={{id?uid}}"
        target_ids='2' query_sql="SELECT 2"
        target_ids2='3' query_sql2="SELECT a_0 FROM c WHERE uid_0={{id?uid}}"
        run_sql2="UPDATE c SET b_0=b_0+1 WHERE uid_0={{id?uid}}"
        target_ids3='2' query_sql3="SELECT CASE WHEN b_0 &lt; 3 THEN 2 ELSE 0 END FROM c WHERE uid_0={{id?uid}}"
        /></run_sql>)~");
    LoadGrid({"1", "2"});
    Fire(9);
    EXPECT_EQ(Shown(), RunSqlTexts::Done);
    EXPECT_EQ(Rows("SELECT a_0, b_0 FROM c ORDER BY uid_0"), "1|3|1|3");
    EXPECT_EQ(Edit(2)->text(), "0");
}

// A query into targets that misses fails the row: a count that differs is
// told at once and the run's own failure follows; no row names the query.
TEST_P(RunSqlActionsTest, QueriesIntoTargetsThatMiss)
{
    const QString statement = "INSERT INTO w(text_0) VALUES('{{id?1}}')";
    struct Case {
        QString query;
        QStringList shown;
    } cases[] = {
        {"SELECT 'a','b'", {ActionTexts::CountMismatch, RunSqlTexts::Failed + statement}},
        {"SELECT name_0 FROM t WHERE uid_0=99", {"SELECT name_0 FROM t WHERE uid_0=99"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.toStdString());
        OpenWith(QString(R"~(<run_sql><para_info table_id='7' all_rows='1' run_sql="%1" target_ids='3'
            query_sql="%2"/></run_sql>)~")
                     .arg(statement, c.query));
        LoadGrid({"1"});
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(m_messages, c.shown);
        EXPECT_EQ(Written(), "");
    }
}

TEST_P(RunSqlActionsTest, AJumpControlThatNeverClearsStops)
{
    OpenWith(R"~(<run_sql><para_info table_id='7' all_rows='1' jump_id='2'
        run_sql="INSERT INTO w(text_0) VALUES('{{id?1}}')" target_ids3='2' query_sql3="SELECT 3"/></run_sql>)~");
    LoadGrid({"1"});
    Fire(9);
    EXPECT_EQ(Shown(), RunSqlTexts::RowRepeatsTooOften.arg(10000));
    EXPECT_EQ(Written(), "");
}

// ---- hostile texts -------------------------------------------------------------

// Texts from a control, a grid cell and a drop-down list entry reach the
// table exactly as typed, and nothing else runs.
TEST_P(RunSqlActionsTest, HostileTextsAreStoredUnchanged)
{
    const QStringList hostile = {
        "O'Brien",
        "x'); DELETE FROM t; --",
        "'; DROP TABLE t; --",
        "a\\'b",
        "\"双\"引号;",
        "-- 注释",
        "1 OR 1=1",
        "''",
        "中文'混合'文本",
    };
    OpenWith(R"~(<run_sql><para_info table_id='7' all_rows='1'
        run_sql="INSERT INTO w(text_0) VALUES('{{p1}}');INSERT INTO w(text_0) VALUES('{{id?1}}');
                 INSERT INTO w(text_0) VALUES('{{p2}}')"><p value='1'/><p value='4'/></para_info></run_sql>)~");
    for (const QString& text : hostile) {
        SCOPED_TRACE(text.toStdString());
        Exec("DELETE FROM w");
        Grid()->DeleteAllRows();
        const int row = Grid()->InsertRow(0, text);
        Grid()->SetRowData(row, nullptr, "1", 0);
        Edit(1)->setText(text);
        auto* list = qobject_cast<QComboBox*>(Control(4));
        list->clear();
        list->addItem(text);
        list->setCurrentIndex(0);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Shown(), RunSqlTexts::Done);
        EXPECT_EQ(Written(), QStringList({text, text, text}).join('|'));
        EXPECT_EQ(Value("SELECT COUNT(*) FROM t"), "3");
    }
}

// ---- check and checkthis ---------------------------------------------------------

TEST_P(RunSqlActionsTest, CheckAsksThenUpdatesTheSelectedRecord)
{
    OpenWith(R"~(<check><para_info table_id='7'
        update_sql="UPDATE t SET paid_0=1 WHERE uid_0={{id?uid}}"
        run_sql="INSERT INTO w(text_0) VALUES('{{id?0}}|{{id?1}}|{{id?uid}}')"/></check>)~");
    LoadGrid();
    Select({1});
    Fire(9);
    EXPECT_EQ(m_questions, QStringList{RunSqlTexts::Confirm});
    EXPECT_EQ(Shown(), RunSqlTexts::Done);
    EXPECT_EQ(Rows("SELECT paid_0 FROM t ORDER BY uid_0"), "0|1|0");
    EXPECT_EQ(Written(), "乙|20|2");
}

TEST_P(RunSqlActionsTest, AnswerNoStopsCheckButOnlySkipsCheckthis)
{
    const QString before = R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('before')"/></run_sql>)~";
    const QString after = R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('after')"/></run_sql>)~";
    const QString confirm = R"~(<para_info uid_wnd_id='1' update_sql="UPDATE t SET paid_0=1 WHERE uid_0={{id?uid}}"/>)~";
    m_answer = false;

    OpenWith(before + "<check>" + confirm + "</check>" + after);
    Edit(1)->setText("2");
    Fire(9);
    EXPECT_EQ(m_questions.size(), 1);
    EXPECT_EQ(Shown(), "<none>") << "No stops the event without a message";
    EXPECT_EQ(Written(), "") << "and rolls back what ran before";

    OpenWith(before + "<checkthis>" + confirm + "</checkthis>" + after);
    Edit(1)->setText("2");
    Fire(9);
    EXPECT_EQ(Written(), "before|after");
    EXPECT_EQ(Value("SELECT paid_0 FROM t WHERE uid_0=2"), "0");

    // Yes lets both through.
    m_answer = true;
    Exec("DELETE FROM w");
    Fire(9);
    EXPECT_EQ(Written(), "before|after");
    EXPECT_EQ(Value("SELECT paid_0 FROM t WHERE uid_0=2"), "1");
}

TEST_P(RunSqlActionsTest, CheckQuestionsAndRefusals)
{
    struct Case {
        const char* name;
        QString attributes;
        QStringList questions;
        QString paid2;  // paid_0 of record 2 afterwards
        QString shown;  // empty: any text but success
    } cases[] = {
        {"question from the query", R"~(check_sql="SELECT '付款 ' || name_0 || '？' FROM t WHERE uid_0={{id?uid}}")~",
         {"付款 乙？"}, "1", RunSqlTexts::Done},
        {"no row asks nothing", R"~(check_sql="SELECT name_0 FROM t WHERE uid_0=99")~", {}, "1", RunSqlTexts::Done},
        {"empty question", R"~(check_sql="SELECT '' FROM t WHERE uid_0={{id?uid}}")~", {""}, "1", RunSqlTexts::Done},
        // The cell tokens are not filled in the question.
        {"no cells in question", R"~(check_sql="SELECT '{{id?0}}' FROM t WHERE uid_0={{id?uid}}")~", {"{{id?0}}"},
         "1", RunSqlTexts::Done},
        {"refused", R"~(can_update_sql="SELECT '已锁定' FROM t WHERE uid_0={{id?uid}}")~", {RunSqlTexts::Confirm},
         "0", "已锁定"},
        // Check queries that cannot run refuse; nothing is written.
        {"failing question", R"~(check_sql="SELECT x FROM no_such_table")~", {}, "0", ""},
        {"failing check", R"~(can_update_sql="SELECT x FROM no_such_table")~", {RunSqlTexts::Confirm}, "0", ""},
        {"failing update", R"~(run_sql="UPDATE no_such_table SET x=1")~", {RunSqlTexts::Confirm}, "0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exec("UPDATE t SET paid_0=0");
        OpenWith(R"~(<check><para_info table_id='7' update_sql="UPDATE t SET paid_0=1 WHERE uid_0={{id?uid}}" )~"
                 + c.attributes + "/></check>");
        LoadGrid();
        Select({1});
        m_messages.clear();
        m_questions.clear();
        Fire(9);
        EXPECT_EQ(m_questions, c.questions);
        EXPECT_EQ(Value("SELECT paid_0 FROM t WHERE uid_0=2"), c.paid2);
        if (c.shown.isEmpty()) {
            ASSERT_EQ(m_messages.size(), 1);
            EXPECT_NE(m_messages[0], RunSqlTexts::Done);
        } else {
            EXPECT_EQ(Shown(), c.shown);
        }
    }
}

TEST_P(RunSqlActionsTest, CheckRecordSources)
{
    const QString update = R"~(update_sql="UPDATE t SET paid_0=1 WHERE uid_0={{id?uid}}")~";
    struct Case {
        const char* name;
        QString source;
        QString key; // text of control 1
        QString shown;
    } cases[] = {
        {"no selection", "table_id='7'", "", ActionTexts::SelectRecord},
        {"neither", "", "", RunSqlTexts::NoRecordSource},
        {"not a grid", "table_id='1'", "", "控件指向出错:\n1"},
        {"missing key control", "uid_wnd_id='70'", "", "控件指向出错:\n70"},
        {"key no number", "uid_wnd_id='1'", "2 OR 1=1", SqlTexts::NotANumber.arg("2 OR 1=1", "{{id?uid}}")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWith("<check><para_info " + c.source + " " + update + "/></check>");
        LoadGrid();
        Edit(1)->setText(c.key);
        m_messages.clear();
        m_questions.clear();
        Fire(9);
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_TRUE(m_questions.isEmpty());
        EXPECT_EQ(Rows("SELECT paid_0 FROM t ORDER BY uid_0"), "0|0|0");
    }

    // The failing statement is named after the database's text.
    OpenWith(R"~(<check><para_info uid_wnd_id='1' update_sql="UPDATE no_such_table SET x={{id?uid}}"/></check>)~");
    Edit(1)->setText("3");
    m_messages.clear();
    Fire(9);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].endsWith(RunSqlTexts::StatementFailed + "UPDATE no_such_table SET x=3"))
        << m_messages[0].toStdString();
}

// ---- jump --------------------------------------------------------------------------

TEST_P(RunSqlActionsTest, JumpMovesThroughTheList)
{
    const auto write = [](const QString& text) {
        return R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES(')~" + text + R"~(')"/></run_sql>)~";
    };
    struct Case {
        QString step;   // the query's value
        QString written;
        QString shown;
    } cases[] = {
        {"1", "a|b|c|d", RunSqlTexts::Done},
        {"2", "a|c|d", RunSqlTexts::Done},
        {"3", "a|d", RunSqlTexts::Done},
        // Past the end or before the start: the list ends as a success, with
        // the result of the action before the jump.
        {"4", "a", RunSqlTexts::Done},
        {"-3", "a", RunSqlTexts::Done},
        {"0", "", RunSqlTexts::JumpZero},
        {"", "", RunSqlTexts::JumpZero},
        {"abc", "", RunSqlTexts::JumpZero},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step.toStdString());
        Exec("DELETE FROM w");
        OpenWith(write("a") + "<jump values=\"SELECT '" + c.step + "'\"/>" + write("b") + write("c") + write("d"));
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Written(), c.written);
        EXPECT_EQ(Shown(), c.shown);
    }
}

TEST_P(RunSqlActionsTest, JumpFromAGridRowAndFilters)
{
    Exec("CREATE TABLE s (uid_0 INTEGER PRIMARY KEY, step_0 INTEGER, kind_0 VARCHAR(20))");
    Exec("INSERT INTO s VALUES(2,2,'跳')");
    const QString list = R"~(<jump table_id='7' values="SELECT step_0 FROM s WHERE uid_0={{id?uid}}{{p1}}">
        <para_info_where><w value='1' where=" AND kind_0='{{self}}'"/></para_info_where></jump>
        <run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('skipped')"/></run_sql>
        <run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('reached')"/></run_sql>)~";
    OpenWith(list);
    LoadGrid();
    Select({1});
    Edit(1)->setText("跳");
    Fire(9);
    EXPECT_EQ(Written(), "reached");

    struct Case {
        const char* name;
        QList<int> select;
        QString filter;
        QString shown;
    } cases[] = {
        {"no row", {1}, "走", RunSqlTexts::JumpNoRow},
        {"no selection", {}, "跳", "<none>"},
        {"no step row", {0}, "", RunSqlTexts::JumpNoRow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exec("DELETE FROM w");
        OpenWith(list);
        LoadGrid();
        Select(c.select);
        Edit(1)->setText(c.filter);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Written(), "");
        EXPECT_EQ(Shown(), c.shown);
    }

    // A query that cannot run stops the list with the database's text.
    OpenWith("<jump values='SELECT x FROM no_such_table'/>"
             R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('x')"/></run_sql>)~");
    m_messages.clear();
    Fire(9);
    EXPECT_EQ(Written(), "");
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_NE(m_messages[0], RunSqlTexts::JumpZero);

    OpenWith("<jump table_id='1' values='SELECT 1'/>");
    m_messages.clear();
    Fire(9);
    EXPECT_EQ(Shown(), "控件指向出错:\n1");
}

// A backward jump repeats the elements in between until its query says
// otherwise; one whose answer never changes is stopped.
TEST_P(RunSqlActionsTest, BackwardJumps)
{
    OpenWith(R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('x')"/></run_sql>
        <jump values="SELECT CASE WHEN COUNT(*) &lt; 3 THEN -1 ELSE 1 END FROM w"/>
        <run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('end')"/></run_sql>)~");
    Fire(9);
    EXPECT_EQ(Written(), "x|x|x|end");

    Exec("DELETE FROM w");
    OpenWith(R"~(<run_sql><para_info run_sql="INSERT INTO w(text_0) VALUES('x')"/></run_sql>
        <no_action/><jump values="SELECT -1"/>)~");
    m_messages.clear();
    Fire(9);
    EXPECT_EQ(Shown(), EventTexts::ListTooLong.arg(100000));
    EXPECT_EQ(Written(), "");
}

} // namespace

TEMBRA_ACTION_KINDS(RunSqlActionsTest);
