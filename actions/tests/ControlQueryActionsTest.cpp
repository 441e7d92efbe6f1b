// query_to_list, query_to_wnd and query_to_wnds through events of real
// form windows.
#include "text/SqlTexts.h"
#include "ActionFormTest.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "RunSqlTexts.h"
#include "grid/ListCtrlEx.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

class ControlQueryActionsTest : public ActionFormTest
{
protected:
    void SetUp() override
    {
        ActionFormTest::SetUp();
        if (HasFatalFailure())
            return;
        Exec("CREATE TABLE city (uid_0 INTEGER PRIMARY KEY, prov_0 VARCHAR(40), name_0 VARCHAR(40), code_0 VARCHAR(10))");
        Exec("INSERT INTO city VALUES(1,'河北','石家庄','311')");
        Exec("INSERT INTO city VALUES(2,'河北','唐山','315')");
        Exec("INSERT INTO city VALUES(3,'山东','济南','531')");
        Exec("INSERT INTO city VALUES(4,'O''Hara','O''Hara','1')");
    }

    // Text boxes 1 to 3, drop-down lists 4 and 5, check box 6, a grid 7
    // of two columns and a button 9 whose CLICK runs the actions.
    D_T1* OpenWith(const QString& click)
    {
        return Open("<textbox id='1' pos='0,0,100,20' value=''/>"
                    "<textbox id='2' pos='0,30,100,50' value='old'/>"
                    "<textbox id='3' pos='0,60,100,80' value='old'/>"
                    "<droplist id='4' pos='0,90,100,110' value=''/>"
                    "<droplist id='5' pos='0,120,100,140' value=''/>"
                    "<button id='6' style='3' pos='0,150,100,170' value='启用'/>"
                    "<table id='7' pos='200,0,600,200'><PARA><col_info><col id='1' title='省' width='80'/>"
                    "<col id='2' title='市' width='60'/></col_info></PARA></table>"
                    "<button id='9' style='1' pos='0,300,80,330' value='go'><ACTION><CLICK>"
                    + click + "</CLICK></ACTION></button>");
    }

    QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(Control(id)); }
    QComboBox* List(int id) { return qobject_cast<QComboBox*>(Control(id)); }
    QCheckBox* Box() { return qobject_cast<QCheckBox*>(Control(6)); }
    CListCtrlEx* Grid() { return qobject_cast<CListCtrlEx*>(Control(7)); }
    static QString Entries(const QComboBox* list)
    {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
        return entries.join('|') + "@" + QString::number(list->currentIndex());
    }
    // Grid rows (province, city) keyed by the city's uid.
    void LoadGrid()
    {
        for (const QString key : {"1", "2", "3"}) {
            const int row = Grid()->InsertRow(Grid()->GetItemCount(), Value("SELECT prov_0 FROM city WHERE uid_0=" + key));
            Grid()->SetItemText(row, 1, Value("SELECT name_0 FROM city WHERE uid_0=" + key));
            Grid()->SetRowData(row, nullptr, key, 0);
        }
    }
    QString Shown() const { return m_messages.isEmpty() ? QString("<none>") : m_messages.join("|"); }
};

// ---- query_to_list ----------------------------------------------------------------

TEST_P(ControlQueryActionsTest, ListTakesEveryValueAndSelectsTheFirst)
{
    OpenWith(R"~(<query_to_list target_ids='5' values="SELECT name_0, code_0 FROM city WHERE prov_0='{{p1}}' ORDER BY uid_0">
        <para_info><p value='4'/></para_info></query_to_list>)~");
    List(4)->addItems({"山东", "河北"});
    List(4)->setCurrentIndex(1);
    List(5)->addItems({"旧"});
    Fire(9);
    EXPECT_EQ(Entries(List(5)), "石家庄|311|唐山|315@0");
    EXPECT_EQ(Shown(), "<none>");
}

TEST_P(ControlQueryActionsTest, ListCases)
{
    struct Case {
        const char* name;
        QString action;
        QString filter;   // text of box 1
        QString entries;  // list 5 afterwards
        bool goesOn;      // the action after it runs
        QString shown;
    } cases[] = {
        // The value is escaped inside its literal: an apostrophe finds its row.
        {"apostrophe", R"~(<query_to_list target_ids='5' values="SELECT name_0 FROM city WHERE prov_0='{{p1}}'">
             <para_info><p value='1'/></para_info></query_to_list>)~", "O'Hara", "O'Hara@0", true, "<none>"},
        // A fragment gets the value at {{self}}, an empty value included.
        {"fragment", R"~(<query_to_list target_ids='5' values="SELECT name_0 FROM city WHERE 1=1 {{p1}} ORDER BY uid_0">
             <para_info_where><p value='1' where="AND prov_0&lt;&gt;'{{self}}'"/></para_info_where></query_to_list>)~",
         "", "石家庄|唐山|济南|O'Hara@0", true, "<none>"},
        // No row, or a query that fails, leaves the list as it was.
        {"no row", R"~(<query_to_list target_ids='5' values="SELECT name_0 FROM city WHERE uid_0=99"/>)~", "",
         "旧@0", true, "<none>"},
        {"no target", R"~(<query_to_list values="SELECT name_0 FROM city"/>)~", "", "旧@0", true, "<none>"},
        // A bare token takes only numbers.
        {"bare text", R"~(<query_to_list target_ids='5' values="SELECT name_0 FROM city WHERE uid_0={{p1}}">
             <para_info><p value='1'/></para_info></query_to_list>)~", "0 OR 1=1", "旧@0", false,
         SqlTexts::NotANumber.arg("0 OR 1=1", "{{p1}}")},
        {"parameter names nothing", R"~(<query_to_list target_ids='5' values="SELECT '{{p1}}'">
             <para_info><p value='70'/></para_info></query_to_list>)~", "", "旧@0", false, "控件指向出错:\n70"},
        {"target not a list", R"~(<query_to_list target_ids='1' values="SELECT name_0 FROM city"/>)~", "", "旧@0",
         false, "控件指向出错:\n1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWith(c.action + R"~(<query_to_wnd target_ids='3' values="SELECT 'after'"/>)~");
        List(5)->addItem("旧");
        Edit(1)->setText(c.filter);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Entries(List(5)), c.entries);
        EXPECT_EQ(Edit(3)->text(), c.goesOn ? "after" : "old");
        EXPECT_EQ(Shown(), c.shown);
    }
}

// A query that cannot run leaves the list as it was and does not stop the
// list of actions by itself.
TEST_P(ControlQueryActionsTest, ListQueryThatFails)
{
    OpenWith(R"~(<query_to_list target_ids='5' values="SELECT x FROM no_such_table"/>)~");
    List(5)->addItem("旧");
    Fire(9);
    EXPECT_EQ(Entries(List(5)), "旧@0");
    EXPECT_EQ(Shown(), "<none>");
}

// ---- query_to_wnd -----------------------------------------------------------------

TEST_P(ControlQueryActionsTest, WndJoinsEveryValueWithCommas)
{
    struct Case {
        const char* name;
        QString action;
        QList<int> select;
        QString text;   // box 3 afterwards
        QString shown;
    } cases[] = {
        {"three values", R"~(<query_to_wnd target_ids='3' values="SELECT name_0 FROM city WHERE prov_0&lt;&gt;'O''Hara' ORDER BY uid_0"/>)~",
         {}, "石家庄,唐山,济南", "<none>"},
        {"two columns", R"~(<query_to_wnd target_ids='3' values="SELECT name_0, code_0 FROM city WHERE uid_0&lt;3 ORDER BY uid_0"/>)~",
         {}, "石家庄,311,唐山,315", "<none>"},
        {"no row empties", R"~(<query_to_wnd target_ids='3' values="SELECT name_0 FROM city WHERE uid_0=99"/>)~", {}, "",
         "<none>"},
        // Cells count from 0 here; the key goes in as it is.
        {"grid row", R"~(<query_to_wnd table_id='7' target_ids='3' values="SELECT '{{id?0}}/{{id?1}}/' || code_0 FROM city WHERE uid_0={{id?uid}}"/>)~",
         {1}, "河北/唐山/315", "<none>"},
        {"no selection", R"~(<query_to_wnd table_id='7' target_ids='3' values="SELECT 'x'"/>)~", {}, "old", "<none>"},
        {"not a grid", R"~(<query_to_wnd table_id='1' target_ids='3' values="SELECT 'x'"/>)~", {0}, "old",
         "控件指向出错:\n1"},
        // Checked before the query, which would fail here.
        {"no target", R"~(<query_to_wnd values="SELECT x FROM no_such_table"/>)~", {}, "old", RunSqlTexts::NoTarget},
        // A filter naming no control counts as an empty one; the next
        // filter still applies.
        {"filter names nothing", R"~(<query_to_wnd target_ids='3' values="SELECT name_0 FROM city WHERE 1=1{{p1}}{{p2}} ORDER BY uid_0">
             <para_info_where><w value='70' where=" AND uid_0=1"/><w value='2' where=" AND uid_0&lt;&gt;{{self}}"/>
             </para_info_where></query_to_wnd>)~", {}, "石家庄,济南,O'Hara", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWith(c.action);
        LoadGrid();
        for (int row : c.select)
            Grid()->SelectRow(row, true);
        m_messages.clear();
        Edit(2)->setText("2");
        Fire(9);
        EXPECT_EQ(Edit(3)->text(), c.text);
        EXPECT_EQ(Shown(), c.shown);
    }
}

// A stale filter reference stops nothing: the actions after it run, and its
// text is what the user reads only when a later action fails without one.
TEST_P(ControlQueryActionsTest, WndStaleFilterLetsTheListGoOn)
{
    const QString stale = R"~(<query_to_wnd target_ids='3' values="SELECT name_0 FROM city WHERE uid_0&lt;3{{p1}} ORDER BY uid_0">
        <para_info_where><w value='2:70' where=" AND uid_0=1"/></para_info_where></query_to_wnd>)~";
    OpenWith(stale + R"~(<query_to_wnd target_ids='1' values="SELECT code_0 FROM city WHERE uid_0=3"/>)~");
    Fire(9);
    EXPECT_EQ(Edit(3)->text(), "石家庄,唐山");
    EXPECT_EQ(Edit(1)->text(), "531");
    EXPECT_EQ(Shown(), "<none>");

    // The later action stops the list without a text of its own (no row
    // selected): the stale reference is the reason shown.
    OpenWith(stale + R"~(<query_to_wnd table_id='7' target_ids='1' values="SELECT 'x'"/>)~");
    Fire(9);
    EXPECT_EQ(Edit(3)->text(), "石家庄,唐山");
    EXPECT_EQ(Shown(), "控件指向出错:\n2:70");
}

TEST_P(ControlQueryActionsTest, WndFilterFragments)
{
    OpenWith(R"~(<query_to_wnd target_ids='3' values="SELECT name_0 FROM city WHERE 1=1{{p1}}{{p2}} ORDER BY uid_0">
        <para_info_where><w value='1' where=" AND prov_0='{{self}}'"/><w value='4' where=" AND code_0='{{self}}'"/>
        </para_info_where></query_to_wnd>)~");
    Edit(1)->setText("河北");
    Fire(9);
    EXPECT_EQ(Edit(3)->text(), "石家庄,唐山") << "an empty list leaves its fragment out";
    List(4)->addItems({"311", "315"});
    List(4)->setCurrentIndex(1);
    Fire(9);
    EXPECT_EQ(Edit(3)->text(), "唐山");
    Edit(1)->setText("O'Hara");
    List(4)->clear();
    Fire(9);
    EXPECT_EQ(Edit(3)->text(), "O'Hara");
}

// A box's maxlen holds back the user's typing only: a value the query
// brings goes in whole, into one-line, multi-line and browse boxes alike.
TEST_P(ControlQueryActionsTest, WndValuesLongerThanABoxsLimitStayWhole)
{
    Open("<textbox id='1' pos='0,0,100,20' maxlen='5' value=''/>"
         "<textbox id='2' pos='0,30,100,90' style='4' maxlen='5' value=''/>"
         "<editbutton id='3' pos='0,100,100,120' maxlen='5' value=''/>"
         "<button id='9' style='1' pos='0,300,80,330' value='go'><ACTION><CLICK>"
         "<query_to_wnd target_ids='1' values=\"SELECT '0123456789'\"/>"
         "<query_to_wnds target_ids='2;3' values=\"SELECT '甲乙丙丁戊己庚辛', 'abcdefgh'\"/>"
         "</CLICK></ACTION></button>");
    Fire(9);
    EXPECT_EQ(GetControlText(Control(1)), "0123456789");
    EXPECT_EQ(GetControlText(Control(2)), "甲乙丙丁戊己庚辛");
    EXPECT_EQ(GetControlText(Control(3)), "abcdefgh");
    EXPECT_EQ(Shown(), "<none>");
}

// ---- query_to_wnds ----------------------------------------------------------------

TEST_P(ControlQueryActionsTest, WndsOneValuePerTarget)
{
    OpenWith(R"~(<query_to_wnds table_id='7' target_ids='1;3;5'
        values="SELECT '{{id?1}}', '{{id?2}}', code_0 FROM city WHERE uid_0={{id?uid}} AND '{{id?0}}'='{{id?0}}'"/>)~");
    LoadGrid();
    List(5)->addItems({"a", "b"});
    Grid()->SelectRow(0, true);
    Fire(9);
    EXPECT_EQ(Edit(1)->text(), "河北");
    EXPECT_EQ(Edit(3)->text(), "石家庄");
    EXPECT_EQ(Entries(List(5)), "311|a|b@0") << "a missing entry goes in at the top";
}

TEST_P(ControlQueryActionsTest, WndsRowChoice)
{
    struct Case {
        int num;
        QList<int> select;
        QString text;
    } cases[] = {
        {2, {0}, "济南"},   // the third row, whatever is selected
        {3, {0}, "石家庄"}, // no fourth row: the selected one
        {0, {1}, "唐山"},
        {0, {}, "old"},     // nothing selected: stops without a text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.num);
        OpenWith(QString(R"~(<query_to_wnds table_id='7' num='%1' target_ids='3' values="SELECT name_0 FROM city WHERE uid_0={{id?uid}}"/>)~")
                     .arg(c.num));
        LoadGrid();
        for (int row : c.select)
            Grid()->SelectRow(row, true);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Edit(3)->text(), c.text);
        EXPECT_EQ(Shown(), "<none>");
    }
}

TEST_P(ControlQueryActionsTest, WndsCountsAndFailures)
{
    struct Case {
        const char* name;
        QString action;
        QString text1;
        QString text3;
        QString shown;
    } cases[] = {
        // Three values for two targets: the message, nothing written.
        {"too many", R"~(<query_to_wnds target_ids='1;3' values="SELECT 'a','b','c'"/>)~", "", "old",
         ActionTexts::CountMismatch},
        // A trailing ";" is one more target, the form itself.
        {"trailing", R"~(<query_to_wnds target_ids='1;3;' values="SELECT 'a','b','窗口'"/>)~", "a", "b", "<none>"},
        {"failed query empties", R"~(<query_to_wnds target_ids='1;3' values="SELECT x FROM no_such_table"/>)~", "", "",
         "<none>"},
        {"target names nothing", R"~(<query_to_wnds target_ids='3;70' values="SELECT 'a','b'"/>)~", "", "a",
         "控件指向出错:\n70"},
        // The token stays when the targets are listed.
        {"para_in untouched", R"~(<query_to_wnds target_ids='3' values="SELECT '{{para_in}}'">
             <para_in_out><p in='x' out='1'/></para_in_out></query_to_wnds>)~", "", "{{para_in}}", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWith(c.action);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Edit(1)->text(), c.text1);
        EXPECT_EQ(Edit(3)->text(), c.text3);
        EXPECT_EQ(Shown(), c.shown);
    }
}

TEST_P(ControlQueryActionsTest, WndsInOutPairsAndCheckBoxes)
{
    const QString action = R"~(<query_to_wnds values="SELECT {{para_in}} FROM city WHERE uid_0={{p1}}">
        <para_info_where><w value='2' where='{{self}}'/></para_info_where>
        <para_in_out><p in='name_0' out='3'/><p in="CASE WHEN code_0='311' THEN '0' WHEN code_0='315' THEN '' ELSE 'x' END"
        out='6' type='checked'/></para_in_out></query_to_wnds>)~";
    struct Case {
        QString uid;
        bool initially;
        QString text;
        bool checked;
    } cases[] = {
        {"1", true, "石家庄", false}, // "0" clears
        {"2", false, "唐山", true},   // the empty text sets
        {"3", false, "济南", true},
        {"99", true, "", false},      // no row: cleared, the caption stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uid.toStdString());
        OpenWith(action);
        Edit(2)->setText(c.uid);
        Box()->setChecked(c.initially);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Shown(), "<none>");
        EXPECT_EQ(Edit(3)->text(), c.text);
        EXPECT_EQ(Box()->isChecked(), c.checked);
        EXPECT_EQ(Box()->text(), "启用");
    }

    // Only a box can be ticked.
    OpenWith(R"~(<query_to_wnds values="SELECT '1'"><para_in_out><p in='x' out='1' type='checked'/></para_in_out></query_to_wnds>)~");
    m_messages.clear();
    Fire(9);
    EXPECT_EQ(Shown(), "控件指向出错:\n1");
}

// Hostile texts from controls, grid cells and list entries go into the
// queries as values and find their rows; nothing else runs.
TEST_P(ControlQueryActionsTest, HostileTextsAreOnlyValues)
{
    Exec("CREATE TABLE h (uid_0 INTEGER PRIMARY KEY, text_0 VARCHAR(100))");
    const QStringList hostile = {"O'Brien", "x'); DELETE FROM city; --", "' OR '1'='1", "a\\'b", "\"q\";", "''"};
    for (int i = 0; i < hostile.size(); ++i) {
        QString text = hostile[i];
        Exec(QString("INSERT INTO h VALUES(%1,'%2')").arg(i + 1).arg(text.replace("'", "''")));
    }
    OpenWith(R"~(<query_to_list target_ids='5' values="SELECT uid_0 FROM h WHERE text_0='{{p1}}'"><para_info><p value='1'/></para_info></query_to_list>
        <query_to_wnd table_id='7' target_ids='2' values="SELECT uid_0 FROM h WHERE text_0='{{id?0}}'"/>
        <query_to_wnds target_ids='3' values="SELECT uid_0 FROM h WHERE 1=1{{p1}}"><para_info_where><w value='4' where=" AND text_0='{{self}}'"/></para_info_where></query_to_wnds>)~");
    for (int i = 0; i < hostile.size(); ++i) {
        SCOPED_TRACE(hostile[i].toStdString());
        Edit(1)->setText(hostile[i]);
        Grid()->DeleteAllRows();
        Grid()->InsertRow(0, hostile[i]);
        Grid()->SetRowData(0, nullptr, "1", 0);
        Grid()->SelectRow(0, true);
        List(4)->clear();
        List(4)->addItem(hostile[i]);
        List(4)->setCurrentIndex(0);
        m_messages.clear();
        Fire(9);
        const QString uid = QString::number(i + 1);
        EXPECT_EQ(Entries(List(5)), uid + "@0");
        EXPECT_EQ(Edit(2)->text(), uid);
        EXPECT_EQ(Edit(3)->text(), uid);
        EXPECT_EQ(Shown(), "<none>");
    }
    EXPECT_EQ(Value("SELECT COUNT(*) FROM city"), "4");
}

} // namespace

TEMBRA_ACTION_KINDS(ControlQueryActionsTest);
