// Grids and trees filled from queries and texts, paging, and query values
// into grid titles, global slots, new grid rows and the print-value list,
// on real form windows.
#include "text/SqlTexts.h"
#include "ActionFormTest.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "QueryTexts.h"
#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

// A paged list of items: filter box 1, page text 9, grid 7 (name, code),
// query button 10, page buttons 11 to 14, and the same query with another
// page size on button 15.
QString PagedForm(int pageSize = 10, const QString& buttons = "11;12;13;14", int otherSize = 25)
{
    const QString query = R"(<select_info_table><para_info_where table_id='7'
        select='SELECT uid_0,name_0,code_0 FROM items' where='1=1{{p1}}' order='uid_0'
        counts_in_page='%1' contain_head='1' result_info_id='9' page_buttons='%2'>
        <w value='1' where=" AND name_0 LIKE '%{{self}}%'"/></para_info_where></select_info_table>)";
    QString form = R"(<textbox id='1' pos='0,0,100,20' value=''/>
        <static id='9' pos='0,30,400,50' value=''/>
        <table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/>
        <col id='2' title='编码' width='60'/></col_info></PARA></table>
        <button id='10' pos='410,0,480,20' value='查询'><ACTION><CLICK>%1</CLICK></ACTION></button>
        <button id='15' pos='410,30,480,50' value='查询'><ACTION><CLICK>%2</CLICK></ACTION></button>)";
    form = form.arg(query.arg(pageSize).arg(buttons), query.arg(otherSize).arg(buttons));
    for (int page = 1; page <= 4; ++page) {
        form += QStringLiteral("<button id='%1' pos='410,%2,480,%3' value='页'><ACTION><CLICK>"
                               "<click_page><para_info page='%4' button_id='10'/></click_page>"
                               "</CLICK></ACTION></button>")
                    .arg(10 + page)
                    .arg(60 + page * 30)
                    .arg(80 + page * 30)
                    .arg(page);
    }
    return form;
}

class QueryActionsTest : public ActionFormTest
{
protected:
    // Items 1..count named "item<n>", code "C<n>".
    void MakeItems(int count)
    {
        Exec("CREATE TABLE items (uid_0 " + KeyColumn() + ", name_0 VARCHAR(60), code_0 VARCHAR(20))");
        if (count > 0)
            Exec(QStringLiteral("INSERT INTO items(name_0,code_0) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                "SELECT i+1 FROM n WHERE i<%1) SELECT 'item' || i, 'C' || i FROM n")
                     .arg(count));
    }

    CListCtrlEx* Grid(int id = 7) { return qobject_cast<CListCtrlEx*>(Control(id)); }
    QString Text(int id) { return GetControlText(Control(id)); }
    QString Error() { return m_form->m_actions.m_db.m_strError; }
    void SetText(int id, const QString& text) { SetControlText(Control(id), text); }

    // Enabled states of the page buttons first, previous, next, last.
    QString Buttons()
    {
        QString states;
        for (int id = 11; id <= 14; ++id)
            states += Control(id)->isEnabled() ? u'1' : u'0';
        return states;
    }

    QStringList Row(int row, int id = 7)
    {
        QStringList cells;
        for (int column = 0; column < Grid(id)->GetColumnCount(); ++column)
            cells << Grid(id)->GetItemText(row, column);
        return cells;
    }

    QString Key(int row, int id = 7)
    {
        const ItemData* record = Grid(id)->GetRowKey(row);
        return record ? record->strKey : "<none>";
    }

    static QString PageText(int page, int pages, int size, int total)
    {
        return QueryTexts::PageInfo.arg(page).arg(pages).arg(size).arg(total);
    }

    // Runs the paged query of button 10, clicks the page buttons given and
    // checks the page text (10 rows a page); whether the grid shows `shown`
    // rows.
    bool QueryAndPage(const QList<int>& clicks, int page, int pages, int total, int shown)
    {
        Fire(10);
        for (int button : clicks)
            Fire(button);
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
        EXPECT_EQ(Text(9), PageText(page, pages, 10, total));
        EXPECT_EQ(Grid()->GetItemCount(), shown);
        return Grid()->GetItemCount() == shown;
    }
};

TEST_P(QueryActionsTest, PagingMovesThroughTheRows)
{
    struct Case {
        int rows;
        QList<int> clicks; // page buttons clicked after the query (10 is the query again)
        int page, pages, total;
        int shown;
        QString firstKey;
        QString buttons;
    } cases[] = {
        {0, {}, 1, 0, 0, 0, "", "0000"},
        {1, {}, 1, 1, 1, 1, "1", "0000"},
        {25, {}, 1, 3, 25, 10, "1", "0011"},
        {25, {13, 13}, 3, 3, 25, 5, "21", "1100"},
        {25, {14, 12}, 2, 3, 25, 10, "11", "1111"},
        {25, {14, 11}, 1, 3, 25, 10, "1", "0011"},
        // Past the end: the page read and shown is the last one.
        {25, {14, 13, 13}, 3, 3, 25, 5, "21", "1100"},
        // Any other run of the query starts at page 1 again.
        {25, {13, 13, 10}, 1, 3, 25, 10, "1", "0011"},
        {10001, {14}, 1001, 1001, 10001, 1, "10001", "1100"},
        {10001, {14, 12}, 1000, 1001, 10001, 10, "9991", "1111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 rows, clicks %2").arg(c.rows).arg(c.clicks.size()).toStdString());
        Exec("DROP TABLE IF EXISTS items");
        MakeItems(c.rows);
        Open(PagedForm());
        Grid()->InsertRow(0, "旧行");
        ASSERT_TRUE(QueryAndPage(c.clicks, c.page, c.pages, c.total, c.shown));
        if (c.shown > 0) {
            EXPECT_EQ(Key(0), c.firstKey);
            EXPECT_EQ(Row(0), QStringList({"item" + c.firstKey, "C" + c.firstKey}));
        }
        EXPECT_EQ(Buttons(), c.buttons);
    }
}

TEST_P(QueryActionsTest, PageSizeChangesStartAtPageOne)
{
    MakeItems(60);
    Open(PagedForm(10, "11;12;13;14", 25));
    Fire(10);
    Fire(13);
    Fire(13);
    EXPECT_EQ(Text(9), PageText(3, 6, 10, 60));
    Fire(15);
    EXPECT_EQ(Text(9), PageText(1, 3, 25, 60));
    EXPECT_EQ(Grid()->GetItemCount(), 25);
    // The page buttons rerun the query of button 10, with its own size.
    // One paging state serves the form: "last" is the last page of the
    // query that ran before, fetched with button 10's size.
    Fire(14);
    EXPECT_EQ(Text(9), PageText(3, 6, 10, 60));
    EXPECT_EQ(Key(0), "21");
}

// While the form opens, {{TOP30}}/{{TOP100}} in a paged select caps the rows
// the pages are cut from (the first ones in the page order); the filter
// behind it still applies, and no page reaches past the cap.
TEST_P(QueryActionsTest, RowLimitOfTheOpeningCapsThePagedRows)
{
    struct Case {
        QString limit;
        QString filter;
        QList<int> clicks;
        int page, pages, total, shown;
        QString firstKey, buttons;
    } cases[] = {
        {"{{TOP30}}", "item", {}, 1, 3, 30, 10, "1", "0011"},
        {"{{TOP30}}", "item", {14}, 3, 3, 30, 10, "21", "1100"},
        {"{{TOP30}}", "item4", {}, 1, 1, 7, 7, "4", "0000"},
        {"{{TOP100}}", "", {14}, 5, 5, 45, 5, "41", "1100"},
    };
    MakeItems(45);
    for (const Case& c : cases) {
        SCOPED_TRACE((c.limit + " " + c.filter + " " + QString::number(c.clicks.size())).toStdString());
        Open(PagedForm().replace("SELECT uid_0", "SELECT " + c.limit + " uid_0"));
        SetText(1, c.filter);
        m_form->m_bTopRows = true;
        ASSERT_TRUE(QueryAndPage(c.clicks, c.page, c.pages, c.total, c.shown));
        EXPECT_EQ(Key(0), c.firstKey);
        EXPECT_EQ(Buttons(), c.buttons);
    }
    // Outside the opening the token goes away, and every row takes part.
    m_form->m_bTopRows = false;
    SetText(1, "item");
    EXPECT_TRUE(QueryAndPage({}, 1, 5, 45, 10));
}

TEST_P(QueryActionsTest, FilterFragmentOnlyWhileTheBoxHoldsText)
{
    MakeItems(25);
    Open(PagedForm());
    SetText(1, "item2");
    Fire(10);
    // item2 and item20..item25
    EXPECT_EQ(Text(9), PageText(1, 1, 10, 7));
    EXPECT_EQ(m_form->m_actions.m_strListedUids, "2,20,21,22,23,24,25");
    EXPECT_EQ(Buttons(), "0000");
    SetText(1, "");
    Fire(10);
    EXPECT_EQ(Text(9), PageText(1, 3, 10, 25));
}

TEST_P(QueryActionsTest, PageButtonsThatAreMissingOrNameNothing)
{
    MakeItems(25);
    // A number naming no control leaves that button alone.
    Open(PagedForm(10, "11;12;99;14"));
    Fire(10);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(Buttons(), "0011");
    EXPECT_EQ(Grid()->GetItemCount(), 10);

    // Fewer than four: the page text is written, the action fails plainly.
    for (const QString buttons : {"11;12;13", ""}) {
        Open(PagedForm(10, buttons));
        Fire(10);
        EXPECT_EQ(Text(9), PageText(1, 3, 10, 25));
        EXPECT_EQ(m_messages.value(m_messages.size() - 1), QueryTexts::PageButtonsMissing + buttons);
        EXPECT_EQ(Grid()->GetItemCount(), 0);
    }
}

TEST_P(QueryActionsTest, PlainQueriesWithKeysRowNumbersAndRebuiltColumns)
{
    MakeItems(12);
    const QString grid = R"(<table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='序号' width='40'/>
        <col id='2' title='名称' width='80'/><col id='3' title='编码' width='60'/></col_info></PARA></table>)";
    Open(grid + R"(<button id='10' pos='410,0,480,20'><ACTION><CLICK><select_info_table>
        <para_info table_id='7' select='SELECT uid_0,name_0,code_0 FROM items WHERE uid_0 IN (7,9,12) ORDER BY uid_0'
        contain_head='1' is_rowid='1'/></select_info_table></CLICK></ACTION></button>
        <button id='11' pos='410,30,480,50'><ACTION><CLICK><select_info_table>
        <para_info table_id='7' select='SELECT uid_0 AS 键,name_0 AS 名字,code_0 AS 代码 FROM items WHERE uid_0 &lt; 3 ORDER BY uid_0'
        contain_head='1' reset_head='1'/></select_info_table></CLICK></ACTION></button>
        <button id='12' pos='410,60,480,80'><ACTION><CLICK><select_info_table>
        <para_info table_id='7' select='SELECT name_0 FROM no_such_table'/></select_info_table></CLICK></ACTION></button>
        <button id='13' pos='410,90,480,110'><ACTION><CLICK><select_info_table>
        <para_info table_id='7' select="SELECT uid_0,name_0,code_0,'多' FROM items WHERE uid_0 IN (7,9) ORDER BY uid_0"/>
        </select_info_table></CLICK></ACTION></button>)");
    // Without contain_head a result one column wider than the grid has no
    // key column: the values fill the cells in order.
    Fire(13);
    ASSERT_EQ(Grid()->GetItemCount(), 2);
    EXPECT_EQ(Row(1), QStringList({"9", "item9", "C9"}));
    EXPECT_EQ(Key(1), "");
    EXPECT_EQ(m_form->m_actions.m_strListedUids, "");

    Fire(10);
    ASSERT_EQ(Grid()->GetItemCount(), 3);
    EXPECT_EQ(Row(1), QStringList({"2", "item9", "C9"}));
    EXPECT_EQ(Key(2), "12");
    EXPECT_EQ(Grid()->GetRowKey(2)->nState, kRowUnchanged);
    EXPECT_EQ(m_form->m_actions.m_strListedUids, "7,9,12");

    Fire(11);
    ASSERT_EQ(Grid()->GetColumnCount(), 2);
    EXPECT_EQ(Grid()->GetColumnTitle(0), "名字");
    EXPECT_EQ(Grid()->GetColumnTitle(1), "代码");
    EXPECT_EQ(Grid()->GetColumnWidth(0), 50);
    EXPECT_EQ(Row(1), QStringList({"item2", "C2"}));
    EXPECT_EQ(m_form->m_actions.m_strListedUids, "1,2");

    // A failing query leaves the grid empty without a message.
    Fire(12);
    EXPECT_EQ(Grid()->GetItemCount(), 0);
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_P(QueryActionsTest, RefillKeepsTheTopRow)
{
    MakeItems(200);
    Open(R"(<table id='7' pos='0,0,300,200'><PARA><col_info><col id='1' title='名称' width='80'/></col_info></PARA></table>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK><select_info_table>
        <para_info table_id='7' select='SELECT name_0 FROM items ORDER BY uid_0'/></select_info_table></CLICK></ACTION></button>)");
    Fire(10);
    Grid()->GetModel()->Flush();
    Grid()->doItemsLayout();
    Grid()->scrollTo(Grid()->model()->index(40, 0), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(Grid()->rowAt(0), 40);
    Fire(10);
    EXPECT_EQ(Grid()->rowAt(0), 40);
}

TEST_P(QueryActionsTest, TextCutIntoRows)
{
    Open(R"(<textbox id='5' pos='0,0,300,20' value=''/>
        <table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='甲' width='40'/>
        <col id='2' title='乙' width='40'/><col id='3' title='丙' width='40'/></col_info></PARA></table>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK><select_info_table>
        <para_info_where table_id='7' select='5' where=',' counts_in_page='3'/></select_info_table></CLICK></ACTION></button>
        <button id='11' pos='410,30,480,50'><ACTION><CLICK><select_info_table>
        <para_info_where table_id='7' select='5' where=',' order='|' counts_in_page='3' contain_head='1'
         reset_head='[头]' result_info_id='&lt;br&gt;|&lt;p&gt;' page_buttons='#;{{;}}'/></select_info_table></CLICK></ACTION></button>
        <button id='12' pos='410,60,480,80'><ACTION><CLICK><select_info_table>
        <para_info_where table_id='7' select='5' where=',' counts_in_page='0'/></select_info_table></CLICK></ACTION></button>)");
    struct Case {
        int button;
        QString text;
        QList<QStringList> rows;
        QString keys;
    } cases[] = {
        {10, "a,b,c,d,e,f", {{"a", "b", "c"}, {"d", "e", "f"}}, ""},
        // One value more than whole rows: the empty first one goes.
        {10, ",a,b,c", {{"a", "b", "c"}}, ""},
        {10, "a,b,c,d,e", {{"a", "b", "c"}, {"d", "e", ""}}, ""},
        // Without reset_head nothing is removed from the data.
        {10, "10,20,300,405,0,06", {{"10", "20", "300"}, {"405", "0", "06"}}, ""},
        // Key first; removed texts, texts that become separators.
        {11, "[头]7|x<br>y,#9<p>u;v", {{"x", "y", ""}, {"uv", "", ""}}, "7,9"},
    };
    for (const Case& c : cases) {
        SetText(5, c.text);
        Fire(c.button);
        ASSERT_EQ(Grid()->GetItemCount(), c.rows.size()) << c.text.toStdString();
        for (int row = 0; row < c.rows.size(); ++row)
            EXPECT_EQ(Row(row), c.rows[row]) << c.text.toStdString();
        EXPECT_EQ(m_form->m_actions.m_strListedUids, c.keys);
    }
    // No values a row would never end: a plain failure.
    Fire(12);
    EXPECT_EQ(m_messages.value(0), QueryTexts::ValuesPerRowTooSmall + "0");
    EXPECT_EQ(Grid()->GetItemCount(), 2) << "the grid is left as it was";
}

TEST_P(QueryActionsTest, GridAndTreeReferencesOfAnotherKindFail)
{
    Open(R"(<textbox id='1' pos='0,0,100,20' value=''/><tree id='2' pos='0,30,200,200'/>
        <table id='7' pos='210,30,400,300'><PARA><col_info><col id='1' title='名称' width='80'/></col_info></PARA></table>
        <button id='20' pos='410,0,480,20'><ACTION><CLICK><select_info_table>
        <para_info table_id='1' select='SELECT 1'/></select_info_table></CLICK></ACTION></button>
        <button id='21' pos='410,0,480,20'><ACTION><CLICK><select_info_table>
        <para_info table_id='0' select='SELECT 1'/></select_info_table></CLICK></ACTION></button>
        <button id='22' pos='410,0,480,20'><ACTION><CLICK><select_info_tree>
        <para_info_where tree_id='7' select='SELECT 0,1,2'/></select_info_tree></CLICK></ACTION></button>
        <button id='23' pos='410,0,480,20'><ACTION><CLICK><query_to_head table_id='2' target_ids='1' values='SELECT 1'/></CLICK></ACTION></button>
        <button id='24' pos='410,0,480,20'><ACTION><CLICK><query_to_main table_id='1' target_ids='1' values='SELECT 1'/></CLICK></ACTION></button>
        <button id='25' pos='410,0,480,20'><ACTION><CLICK><query_to_table><para_info select='SELECT 1' to_table_id='2'>
        <para_out><o value='1'/></para_out></para_info></query_to_table></CLICK></ACTION></button>
        <button id='26' pos='410,0,480,20'><ACTION><CLICK><query_to_print table_id='8:1:1' values='SELECT 1'/></CLICK></ACTION></button>
        <button id='27' pos='410,0,480,20'><ACTION><CLICK><query_to_head table_id='' target_ids='1' values='SELECT 1'/></CLICK></ACTION></button>)");
    const QString ref = ActionTexts::WrongControl;
    const QStringList expected = {ref + "1", ref + "0", ref + "7", ref + "2", ref + "1", ref + "2", ref + "8:1:1",
                                  QueryTexts::NoTableId};
    for (int id = 20; id <= 27; ++id)
        Fire(id);
    EXPECT_EQ(m_messages, expected);
}

TEST_P(QueryActionsTest, TreeFromQueryWithTicks)
{
    Exec("CREATE TABLE cats (uid_0 INTEGER, parent_0 INTEGER, name_0 VARCHAR(20))");
    Exec("INSERT INTO cats VALUES (1,0,'A'),(2,1,'B'),(3,1,'C'),(4,0,'D')");
    Exec("CREATE TABLE ticks (role_0 INTEGER, ids_0 VARCHAR(40))");
    Exec("INSERT INTO ticks VALUES (5,'2,3')");
    Open(R"(<textbox id='1' pos='0,0,100,20' value='5'/><tree id='2' pos='0,30,200,200'/>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK><select_info_tree>
        <para_info_where tree_id='2' select='SELECT parent_0,name_0,uid_0 FROM cats ORDER BY uid_0'
         check_sql='SELECT ids_0 FROM ticks WHERE 1=1{{p1}}'><w value='1' where=' AND role_0={{self}}'/>
        </para_info_where></select_info_tree></CLICK></ACTION></button>
        <button id='11' pos='410,30,480,50'><ACTION><CLICK><select_info_tree>
        <para_info_where tree_id='2' select='SELECT parent_0,name_0,uid_0 FROM cats ORDER BY uid_0'/>
        </select_info_tree></CLICK></ACTION></button>)");
    auto* tree = qobject_cast<QTreeWidget*>(Control(2));
    tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"旧"}));
    Fire(10);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* a = tree->topLevelItem(0);
    EXPECT_EQ(a->text(0), "A");
    ASSERT_EQ(a->childCount(), 2);
    EXPECT_TRUE(a->isExpanded());
    EXPECT_EQ(a->checkState(0), Qt::Checked) << "a ticked item ticks its parents";
    EXPECT_EQ(a->child(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(a->child(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(tree->topLevelItem(1)->checkState(0), Qt::Unchecked);

    // A tick query without a row is a plain failure; the tree stays empty.
    SetText(1, "6");
    Fire(10);
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_EQ(m_messages.value(0), QueryTexts::NoTickRow + "SELECT ids_0 FROM ticks WHERE 1=1 AND role_0=6");

    // A role that is no number never reaches the SQL.
    SetText(1, "5 OR 1=1");
    Fire(10);
    EXPECT_TRUE(m_messages.value(1).contains("5 OR 1=1"));

    // The boxes stay once a tick query gave them.
    Fire(11);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->checkState(0), Qt::Unchecked);
}

TEST_P(QueryActionsTest, TreeWithoutTicksHasNoBoxes)
{
    Exec("CREATE TABLE cats (uid_0 INTEGER, parent_0 INTEGER, name_0 VARCHAR(20))");
    Exec("INSERT INTO cats VALUES (1,0,'A'),(2,1,'B')");
    Open(R"(<tree id='2' pos='0,30,200,200'/>
        <button id='11' pos='410,30,480,50'><ACTION><CLICK><select_info_tree>
        <para_info_where tree_id='2' select='SELECT parent_0,name_0,uid_0 FROM cats ORDER BY uid_0'/>
        </select_info_tree></CLICK></ACTION></button>)");
    Fire(11);
    auto* tree = qobject_cast<QTreeWidget*>(Control(2));
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_FALSE(tree->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
}

TEST_P(QueryActionsTest, QueryToHeadSetsColumnTitles)
{
    Exec("CREATE TABLE heads (a VARCHAR(20), b VARCHAR(20), c VARCHAR(20), d VARCHAR(20))");
    Exec("INSERT INTO heads VALUES ('一月','二月','三月','四月')");
    Open(R"(<table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/>
        <col id='2' title='x' width='60'/><col id='3' title='y' width='70'/></col_info></PARA></table>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_head table_id='7' target_ids='2;3' values='SELECT a,b FROM heads'/></CLICK></ACTION></button>
        <button id='11' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_head table_id='7' target_ids='0;x;1' values='SELECT c,d,a FROM heads'/></CLICK></ACTION></button>
        <button id='12' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_head table_id='7' target_ids='2;3' values='SELECT a,b,c,d FROM heads'/></CLICK></ACTION></button>
        <button id='13' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_head table_id='7' values='SELECT {{para_in}} FROM heads'><para_in_out><x in='c' out='2'/>
        <x in='d' out='3'/></para_in_out></query_to_head></CLICK></ACTION></button>
        <button id='14' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_head table_id='7' target_ids='1' values='SELECT nothing FROM heads'/></CLICK></ACTION></button>)");
    const auto titles = [this] {
        return QStringList{Grid()->GetColumnTitle(0), Grid()->GetColumnTitle(1), Grid()->GetColumnTitle(2)};
    };
    Fire(10);
    EXPECT_EQ(titles(), QStringList({"名称", "一月", "二月"}));
    EXPECT_EQ(Grid()->GetColumnWidth(2), 70);
    Fire(11); // 0 and a word are skipped
    EXPECT_EQ(titles(), QStringList({"一月", "一月", "二月"}));
    Fire(12);
    EXPECT_EQ(m_messages, QStringList{ActionTexts::CountMismatch});
    EXPECT_EQ(titles(), QStringList({"一月", "一月", "二月"}));
    Fire(13);
    EXPECT_EQ(titles(), QStringList({"一月", "三月", "四月"}));
    Fire(14);
    EXPECT_EQ(m_messages.size(), 2);
    EXPECT_EQ(m_messages.value(1), m_form->m_actions.m_db.m_strError);
    EXPECT_FALSE(m_messages.value(1).isEmpty());
}

TEST_P(QueryActionsTest, QueryToMainWritesGlobalSlots)
{
    MakeItems(5);
    Open(R"(<table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/></col_info></PARA></table>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_main target_ids='1;3' values='SELECT name_0,code_0 FROM items WHERE uid_0=2'/></CLICK></ACTION></button>
        <button id='11' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_main target_ids='1;11' values='SELECT name_0,code_0 FROM items WHERE uid_0=4'/></CLICK></ACTION></button>
        <button id='12' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_main target_ids='0' values='SELECT name_0 FROM items WHERE uid_0=4'/></CLICK></ACTION></button>
        <button id='13' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_main target_ids='1;2' values='SELECT name_0,code_0 FROM items WHERE uid_0=99'/></CLICK></ACTION></button>
        <button id='14' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_main values='SELECT {{para_in}} FROM items WHERE uid_0=3'><para_in_out><x in='code_0' out='5'/>
        <x in='name_0' out='6'/></para_in_out></query_to_main></CLICK></ACTION></button>
        <button id='15' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_main values='SELECT {{para_in}} FROM items WHERE uid_0=99'><para_in_out><x in='code_0' out='5'/>
        </para_in_out></query_to_main></CLICK></ACTION></button>
        <button id='16' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_main table_id='7' target_ids='2' values='SELECT name_0 FROM items WHERE uid_0={{id?uid}}'/></CLICK></ACTION></button>)");
    const auto globals = [this](const QString& text) { return m_form->ExpandPlaceholders(text); };
    Fire(10);
    EXPECT_EQ(globals("{{A0}}|{{A1}}|{{A2}}"), "item2||C2");
    // Out of range: the message; earlier slots keep what they got.
    Fire(11);
    EXPECT_EQ(m_messages, QStringList{QueryTexts::GlobalOutOfRange});
    EXPECT_EQ(globals("{{A0}}"), "item4");
    Fire(12);
    EXPECT_EQ(m_messages.size(), 2);
    // No row empties the slots and succeeds.
    Fire(13);
    EXPECT_EQ(globals("{{A0}}|{{A1}}|{{A2}}"), "||C2");
    // Slots named only in para_in_out are not written by a query that found
    // its row; a query without a row empties them.
    theApp().m_strGlobal[4] = "旧4";
    theApp().m_strGlobal[5] = "旧5";
    Fire(14);
    EXPECT_EQ(globals("{{A4}}|{{A5}}"), "旧4|旧5");
    Fire(15);
    EXPECT_EQ(globals("{{A4}}|{{A5}}"), "|旧5");
    EXPECT_EQ(m_messages.size(), 2);

    // The key of the selected row; without one the action stops silently.
    Fire(16);
    EXPECT_EQ(m_messages.size(), 2);
    EXPECT_EQ(globals("{{A1}}"), "");
    const int row = Grid()->InsertRow(0, "x");
    Grid()->SetRowData(row, nullptr, "5", kRowUnchanged);
    Grid()->SelectRow(row, true);
    Fire(16);
    EXPECT_EQ(globals("{{A1}}"), "item5");
    Grid()->SetRowData(row, nullptr, "5 OR 1=1", kRowUnchanged);
    Fire(16);
    EXPECT_TRUE(m_messages.value(2).contains("5 OR 1=1"));
}

TEST_P(QueryActionsTest, QueryToTableKeepsTheKeyInAnyOrder)
{
    Exec("CREATE TABLE src (k VARCHAR(10), a VARCHAR(20), b VARCHAR(20))");
    Exec("INSERT INTO src VALUES ('42','甲','乙')");
    const QString grid = R"(<table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/>
        <col id='2' title='数量' width='60'/></col_info></PARA></table>)";
    struct Case {
        QString select;
        QList<int> outs;
        QStringList cells;
        QString key;
        int state = kRowNew;
    } cases[] = {
        {"SELECT k,a,b FROM src", {0, 1, 2}, {"甲", "乙"}, "42"},
        {"SELECT a,b,k FROM src", {1, 2, 0}, {"甲", "乙"}, "42"},
        {"SELECT a,k,b FROM src", {1, 0, 2}, {"甲", "乙"}, "42"},
        {"SELECT a,b,k FROM src", {1, 2}, {"甲", "乙"}, ""},
        {"SELECT a,b,k FROM src", {2, -1, 1}, {"42", "甲"}, ""},
        // The row number takes a value's place and one more value is read.
        {"SELECT '{{row_num}}',a,b FROM src", {1, 2}, {"2", "甲"}, ""},
        // Without para_out: an empty row in the state of any new grid row.
        {"SELECT a,b FROM src", {}, {"", ""}, "", kRowUnchanged},
    };
    for (const Case& c : cases) {
        QString outs;
        for (int out : c.outs)
            outs += QStringLiteral("<o value='%1'/>").arg(out);
        Open(grid + QStringLiteral("<button id='10' pos='410,0,480,20'><ACTION><CLICK><query_to_table>"
                                   "<para_info select=\"%1\" to_table_id='7'><para_out>%2</para_out></para_info>"
                                   "</query_to_table></CLICK></ACTION></button>")
                        .arg(c.select, outs));
        Grid()->InsertRow(0, "前");
        Fire(10);
        ASSERT_EQ(Grid()->GetItemCount(), 2) << c.select.toStdString();
        EXPECT_EQ(Row(1), c.cells) << c.select.toStdString();
        EXPECT_EQ(Key(1), c.key) << c.select.toStdString();
        EXPECT_EQ(Grid()->GetRowKey(1)->nState, c.state);
    }
}

TEST_P(QueryActionsTest, QueryToTableOnAPanelPageWithTotals)
{
    Exec("CREATE TABLE src (a VARCHAR(20), n INTEGER)");
    Exec("INSERT INTO src VALUES ('甲',3),('乙',4)");
    Open(R"(<textbox id='1' pos='0,0,100,20' value='乙'/>
        <panel id='8' pos='0,30,600,400'><html id='81' title='一'><head pos='0,0,580,350'/><body><dialog>
        <textbox id='20' pos='0,0,80,20' value=''/>
        <table id='5' pos='0,30,400,300'><PARA><col_info><col id='1' title='名称' width='80'/>
        <col id='2' title='数量' width='60' sum='20'/></col_info></PARA></table></dialog></body></html></panel>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK><query_to_table>
        <para_info select="SELECT a,n FROM src WHERE a='{{p1}}' OR a='{{p2}}' ORDER BY a" to_table_id='8:1:5'>
        <para_in><i value='1'/><i value='77'/></para_in><para_out><o value='1'/><o value='2'/></para_out>
        </para_info></query_to_table></CLICK></ACTION></button>
        <button id='11' pos='410,0,480,20'><ACTION><CLICK><query_to_table>
        <para_info select="SELECT a,n FROM src WHERE a='无'" to_table_id='8:1:5'>
        <para_out><o value='1'/></para_out></para_info></query_to_table></CLICK></ACTION></button>)");
    D_T1* page = m_form->GetPage(8 + D_T1::ControlIdBase, 1);
    ASSERT_TRUE(page);
    auto* grid = qobject_cast<CListCtrlEx*>(page->GetDlgItem(5 + D_T1::ControlIdBase));
    ASSERT_TRUE(grid);
    Fire(10);
    Fire(10);
    ASSERT_EQ(grid->GetItemCount(), 2);
    EXPECT_EQ(grid->GetItemText(1, 0), "乙");
    EXPECT_EQ(grid->GetItemText(1, 1), "4");
    EXPECT_EQ(GetControlText(page->GetDlgItem(20 + D_T1::ControlIdBase)), "8");
    // No row: nothing added, no failure.
    Fire(11);
    EXPECT_EQ(grid->GetItemCount(), 2);
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_P(QueryActionsTest, QueryToPrintReplacesTheList)
{
    MakeItems(3);
    Open(R"(<table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/></col_info></PARA></table>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_print values='SELECT uid_0,code_0 FROM items ORDER BY uid_0'/></CLICK></ACTION></button>
        <button id='11' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_print values='SELECT uid_0 FROM items WHERE uid_0=2'/></CLICK></ACTION></button>
        <button id='12' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_print values='SELECT broken FROM nowhere'/></CLICK></ACTION></button>
        <button id='13' pos='410,0,480,20'><ACTION><CLICK>
        <query_to_print table_id='7' values='SELECT uid_0 FROM items WHERE uid_0={{id?uid}}'/></CLICK></ACTION></button>)");
    Fire(10);
    EXPECT_EQ(m_form->m_printValues, QStringList({"1", "C1", "2", "C2", "3", "C3"}));
    Fire(11);
    EXPECT_EQ(m_form->m_printValues, QStringList{"2"});
    Fire(12);
    EXPECT_TRUE(m_form->m_printValues.isEmpty());
    EXPECT_TRUE(m_messages.isEmpty());
    Fire(11);
    Fire(13); // no selected row: emptied, then stopped
    EXPECT_TRUE(m_form->m_printValues.isEmpty());
    const int row = Grid()->InsertRow(0, "x");
    Grid()->SetRowData(row, nullptr, "3", kRowUnchanged);
    Grid()->SelectRow(row, true);
    Fire(13);
    EXPECT_EQ(m_form->m_printValues, QStringList{"3"});
}

// Hostile texts typed into controls reach the database as the texts they
// are, and nothing else runs.
TEST_P(QueryActionsTest, HostileTextsReachTheDatabaseUnchanged)
{
    const QStringList hostile = {
        "O'Brien", "'; DROP TABLE items; --", "x' OR '1'='1", "\\'; DELETE FROM items; --",
        "名字'\"%_", "a;b", "--", "' UNION SELECT uid_0,name_0,code_0 FROM items --",
    };
    MakeItems(0);
    Exec("INSERT INTO items(name_0,code_0) VALUES ('guard','G')");
    Open(R"(<textbox id='1' pos='0,0,100,20' value=''/><static id='9' pos='0,30,400,50' value=''/>
        <table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/>
        <col id='2' title='编码' width='60'/></col_info></PARA></table>
        <table id='17' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/></col_info></PARA></table>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK><select_info_table><para_info_where table_id='7'
        select='SELECT uid_0,name_0,code_0 FROM items' where='1=1{{p1}}' order='uid_0' counts_in_page='5'
        contain_head='1' result_info_id='9' page_buttons='91;92;93;94'><w value='1' where=" AND name_0='{{self}}'"/>
        </para_info_where></select_info_table></CLICK></ACTION></button>
        <button id='11' pos='410,0,480,20'><ACTION><CLICK><query_to_main target_ids='1'
        values='SELECT code_0 FROM items WHERE 1=1{{p1}}'><para_info_where><w value='1' where=" AND name_0='{{self}}'"/>
        </para_info_where></query_to_main></CLICK></ACTION></button>
        <button id='12' pos='410,0,480,20'><ACTION><CLICK><query_to_table><para_info
        select="SELECT name_0 FROM items WHERE name_0='{{p1}}'" to_table_id='17'><para_in><i value='1'/></para_in>
        <para_out><o value='1'/></para_out></para_info></query_to_table></CLICK></ACTION></button>
        <button id='13' pos='410,0,480,20'><ACTION><CLICK><query_to_print
        values='SELECT uid_0 FROM items WHERE 1=1{{p1}}'><para_info_where><w value='1' where=" AND name_0='{{self}}'"/>
        </para_info_where></query_to_print></CLICK></ACTION></button>
        <button id='14' pos='410,0,480,20'><ACTION><CLICK><select_info_tree><para_info_where tree_id='2'
        select="SELECT 0,name_0,uid_0 FROM items WHERE 1=1{{p1}}"><w value='1' where=" AND name_0='{{self}}'"/>
        </para_info_where></select_info_tree></CLICK></ACTION></button>
        <tree id='2' pos='0,310,200,400'/>)");
    for (const QString& text : hostile) {
        SCOPED_TRACE(text.toStdString());
        Exec("DELETE FROM items WHERE name_0<>'guard'");
        QString code = text;
        code.replace("'", "''");
        Exec("INSERT INTO items(name_0,code_0) VALUES ('" + code + "','K')");
        const QString uid = Value("SELECT uid_0 FROM items WHERE code_0='K'");
        SetText(1, text);

        Fire(10);
        ASSERT_EQ(Grid()->GetItemCount(), 1);
        EXPECT_EQ(Row(0), QStringList({text, "K"}));
        Fire(11);
        EXPECT_EQ(m_form->ExpandPlaceholders("{{A0}}"), "K");
        Fire(12);
        EXPECT_EQ(Grid(17)->GetItemText(Grid(17)->GetItemCount() - 1, 0), text);
        Fire(13);
        EXPECT_EQ(m_form->m_printValues, QStringList{uid});
        Fire(14);
        auto* tree = qobject_cast<QTreeWidget*>(Control(2));
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        EXPECT_EQ(tree->topLevelItem(0)->text(0), text);

        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
        EXPECT_EQ(Rows("SELECT name_0 FROM items ORDER BY uid_0"), "guard|" + text);
    }
}

// The filters of a grid or tree fill name the form's own controls by
// description id; one that is not there leaves its filter out, and the fill
// goes on.
TEST_P(QueryActionsTest, FillFiltersNameTheFormsOwnControls)
{
    MakeItems(3);
    const QString filters = R"(<w value='70' where=" AND uid_0=1"/><w value='1' where=" AND name_0&lt;&gt;'{{self}}'"/>)";
    Open(QString(R"(<textbox id='1' pos='0,0,100,20' value='item2'/>
        <table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/>
        <col id='2' title='编码' width='60'/></col_info></PARA></table>
        <tree id='2' pos='0,310,200,400'/>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK><select_info_table><para_info_where table_id='7'
        select='SELECT uid_0,name_0,code_0 FROM items WHERE 1=1{{p1}}{{p2}} ORDER BY uid_0' contain_head='1'>%1
        </para_info_where></select_info_table></CLICK></ACTION></button>
        <button id='14' pos='410,30,480,50'><ACTION><CLICK><select_info_tree><para_info_where tree_id='2'
        select="SELECT 0,name_0,uid_0 FROM items WHERE 1=1{{p1}}{{p2}} ORDER BY uid_0">%1
        </para_info_where></select_info_tree></CLICK></ACTION></button>)")
             .arg(filters));
    Fire(10);
    ASSERT_EQ(Grid()->GetItemCount(), 2);
    EXPECT_EQ(Row(0), QStringList({"item1", "C1"}));
    EXPECT_EQ(Row(1), QStringList({"item3", "C3"}));
    Fire(14);
    auto* tree = qobject_cast<QTreeWidget*>(Control(2));
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "item3");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

// Outside a literal only numbers may be put; a text stops the action.
TEST_P(QueryActionsTest, TextsOutsideLiteralsAreRefused)
{
    MakeItems(3);
    Open(R"(<textbox id='1' pos='0,0,100,20' value=''/>
        <table id='7' pos='0,60,400,300'><PARA><col_info><col id='1' title='名称' width='80'/>
        <col id='2' title='编码' width='60'/></col_info></PARA></table>
        <button id='10' pos='410,0,480,20'><ACTION><CLICK><select_info_table><para_info table_id='7'
        select='SELECT name_0,code_0 FROM items WHERE uid_0={{p1}}'><i value='1'/></para_info>
        </select_info_table></CLICK></ACTION></button>
        <button id='11' pos='410,0,480,20'><ACTION><CLICK><query_to_table><para_info
        select="SELECT name_0 FROM items WHERE uid_0={{p1}}" to_table_id='7'><para_in><i value='1'/></para_in>
        <para_out><o value='1'/></para_out></para_info></query_to_table></CLICK></ACTION></button>)");
    SetText(1, "2");
    Fire(10);
    ASSERT_EQ(Grid()->GetItemCount(), 1);
    EXPECT_EQ(Row(0), QStringList({"item2", "C2"}));
    for (const int button : {10, 11}) {
        SetText(1, "2 OR 1=1");
        Fire(button);
        EXPECT_EQ(m_messages.value(m_messages.size() - 1), SqlTexts::NotANumber.arg("2 OR 1=1", "{{p1}}"));
    }
    EXPECT_EQ(Rows("SELECT count(*) FROM items"), "3");
}

} // namespace

TEMBRA_ACTION_KINDS(QueryActionsTest);
