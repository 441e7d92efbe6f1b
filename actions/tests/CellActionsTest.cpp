// The cell operations on a real form's grid, run through a button's event.
#include "ActionFormTest.h"
#include "DemoDatabase.h"
#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"
#include "xml/XmlNode.h"

#include <QColor>

namespace {

using GridRows = QList<QStringList>;

// Colours as the model shows them, "r,g,b".
const QString White = "255,255,255";
const QString Band = "220,230,240";
const QString Red = "255,0,0";

class CellActionsTest : public ActionFormTest
{
protected:
    // A form with a five-column grid 7 (its colour rule given), a text box
    // 1, and button 9 whose click runs the actions; the grid is then filled
    // with rows (missing cells stay empty).
    CListCtrlEx* OpenGrid(const QString& actions, const GridRows& rows, const QString& rule = QString())
    {
        Open("<textbox id='1' pos='0,0,100,20' value='x'/>"
             "<table id='7' pos='0,30,600,300'><PARA><table_info>"
             + rule
             + "</table_info><col_info>"
               "<col id='1' title='日期' width='80'/><col id='2' title='摘要' width='80'/>"
               "<col id='3' title='收入' width='80'/><col id='4' title='支出' width='80'/>"
               "<col id='5' title='余额' width='80'/></col_info></PARA></table>"
               "<button id='9' style='1' pos='0,320,80,340' value='go'><ACTION><CLICK>"
             + actions + "</CLICK></ACTION></button>");
        CListCtrlEx* grid = Grid();
        EXPECT_TRUE(grid);
        if (grid)
            Fill(rows);
        return grid;
    }

    CListCtrlEx* Grid() const { return qobject_cast<CListCtrlEx*>(Control(7)); }

    void Fill(const GridRows& rows)
    {
        CListCtrlEx* grid = Grid();
        grid->DeleteAllRows();
        for (const QStringList& cells : rows) {
            const int row = grid->InsertRow(grid->GetItemCount(), QString());
            for (int column = 0; column < cells.size(); ++column)
                grid->SetItemText(row, column, cells[column]);
        }
    }

    // Column texts from column 1 (the first), top to bottom.
    QStringList Column(int number) const
    {
        QStringList texts;
        for (int row = 0; row < Grid()->GetItemCount(); ++row)
            texts << Grid()->GetItemText(row, number - 1);
        return texts;
    }

    QString Colour(int row, int column, Qt::ItemDataRole role = Qt::BackgroundRole) const
    {
        CGridModel* model = Grid()->GetModel();
        model->Flush();
        const QColor colour = model->data(model->index(row, column), role).value<QColor>();
        return QStringLiteral("%1,%2,%3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
    }

    // The background of every row, read in the given column.
    QStringList Backgrounds(int column = 0) const
    {
        QStringList colours;
        for (int row = 0; row < Grid()->GetItemCount(); ++row)
            colours << Colour(row, column);
        return colours;
    }
};

TEST_P(CellActionsTest, ReadOnlyRows)
{
    CListCtrlEx* grid = OpenGrid("<set_table_readonly table_id='7' values='1'/>", {{"a"}, {"b"}});
    Fire(9);
    EXPECT_TRUE(grid->IsRowReadOnly(0));
    EXPECT_TRUE(grid->IsRowReadOnly(1));

    OpenGrid("<set_table_readonly table_id='7'/>", {{"a"}});
    Grid()->SetRowReadOnly(0, 1);
    Fire(9);
    EXPECT_FALSE(Grid()->IsRowReadOnly(0)) << "values defaults to 0: editable";

    OpenGrid("<set_table_readonly table_id='7' values='1'/>", {});
    Fire(9);
    EXPECT_TRUE(m_messages.isEmpty()) << "an empty grid is nothing to do";
}

// The rule sits in the grid's own description; rows that do not match keep
// the colours they had (the zebra colours here).
TEST_P(CellActionsTest, RowColourRuleOfTheGrid)
{
    const GridRows rows = {{"1", "欠款"}, {"2", "已付"}, {"3", "欠款"}, {"4", "欠款 "}};
    OpenGrid("<set_row_color table_id='7'/>", rows,
             "<para_info row_color_bg='255,0,0' row_color_text='0,0,255' col='2' text='欠款'/>");
    Fire(9);
    EXPECT_EQ(Backgrounds(), (QStringList{Red, Band, Red, Band}));
    EXPECT_EQ(Colour(2, 4, Qt::ForegroundRole), "0,0,255");
    EXPECT_EQ(Colour(1, 4, Qt::ForegroundRole), "0,0,0");

    // Colours left out are white on black.
    OpenGrid("<set_row_color table_id='7'/>", rows, "<para_info col='2' text='已付'/>");
    Fire(9);
    EXPECT_EQ(Backgrounds(), (QStringList{White, White, White, Band}));

    // Without a rule nothing is tested and nothing coloured.
    OpenGrid("<set_row_color table_id='7'/>", rows);
    Fire(9);
    EXPECT_EQ(Backgrounds(), (QStringList{White, Band, White, Band}));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_P(CellActionsTest, CellColourRules)
{
    const GridRows rows = {{"a", "x", "-5", "0", "1"}, {"b", "y", "7", "3", "0"}, {"c", "x", "-0.5", "0", "0"}};
    struct Case {
        const char* settings;
        // Backgrounds of rows 0..2 in columns 1..5, row after row.
        QStringList expected;
    } cases[] = {
        // Negative amounts in column 3: only columns 2 and 3 coloured.
        {"text='-0' text_col='3' color_col='2,3' color_bg='255,0,0'",
         {White, Red, Red, White, White, Band, Band, Band, Band, Band, White, Red, Red, White, White}},
        // Each cell of columns 4 and 5 that reads 0, by itself.
        {"text='0' text_col='-1' color_col='4,5' color_bg='255,0,0'",
         {White, White, White, Red, White, Band, Band, Band, Band, Red, White, White, White, Red, Red}},
        // An exact match colours the whole row.
        {"text='x' text_col='2' color_bg='255,0,0'",
         {Red, Red, Red, Red, Red, Band, Band, Band, Band, Band, Red, Red, Red, Red, Red}},
        // No row matches; colour columns outside the grid are ignored.
        {"text='z' text_col='2' color_col='0,9' color_bg='255,0,0'",
         {White, White, White, White, White, Band, Band, Band, Band, Band, White, White, White, White, White}},
        {"text='x' text_col='2' color_col='0,9,-3' color_bg='255,0,0'",
         {White, White, White, White, White, Band, Band, Band, Band, Band, White, White, White, White, White}},
        // A test column outside the grid matches nothing, not every row.
        {"text='' text_col='9' color_bg='255,0,0'",
         {White, White, White, White, White, Band, Band, Band, Band, Band, White, White, White, White, White}},
    };
    for (const Case& c : cases) {
        OpenGrid(QString("<set_cell_color><para_info table_id='7' %1/></set_cell_color>").arg(c.settings), rows);
        Fire(9);
        QStringList colours;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 5; ++column)
                colours << Colour(row, column);
        }
        EXPECT_EQ(colours, c.expected) << c.settings;
    }
    // No text colour given: black.
    OpenGrid("<set_cell_color><para_info table_id='7' text='x' text_col='2' color_bg='255,0,0'/></set_cell_color>",
             rows);
    Fire(9);
    EXPECT_EQ(Colour(0, 0, Qt::ForegroundRole), "0,0,0");
}

TEST_P(CellActionsTest, RunningBalance)
{
    struct Case {
        const char* name;
        GridRows rows; // columns 3, 4, 5: in, out, balance
        QStringList expected;
    } cases[] = {
        {"plain", {{"", "", "100", "0", ""}, {"", "", "0", "30"}, {"", "", "50", "0", ""}}, {"100", "70", "120"}},
        {"decimals", {{"", "", "0.1"}, {"", "", "0.2"}, {"", "", "", "0.3"}}, {"0.1", "0.3", "0"}},
        {"opening balance", {{"", "", "10", "", "500"}, {"", "", "", "20"}}, {"500", "480"}},
        {"thousands from the first row on",
         {{"", "", "1,000.00", "0"}, {"", "", "", "30"}, {"", "", "2000", ""}},
         {"1,000.00", "970.00", "2,970.00"}},
        {"thousands from a later row on",
         {{"", "", "5"}, {"", "", "1,234.50"}, {"", "", "", "0.5"}},
         {"5", "1,239.50", "1,239.00"}},
        {"empty and foreign cells count as 0",
         {{"", "", "abc", "", ""}, {"", "", "", ""}, {"", "", "-20", "n/a"}},
         {"0", "0", "-20"}},
        {"one row", {{"", "", "", "42.5"}}, {"-42.5"}},
        {"no rows", {}, {}},
    };
    for (const Case& c : cases) {
        OpenGrid("<sum_cols><para_info table_id='7' col1='3' col2='4' col3='5'/></sum_cols>", c.rows);
        Fire(9);
        EXPECT_EQ(Column(5), c.expected) << c.name;
        // A second run over its own output changes nothing.
        Fire(9);
        EXPECT_EQ(Column(5), c.expected) << c.name << ", run twice";
        EXPECT_TRUE(m_messages.isEmpty()) << c.name;
    }

    // Columns outside the grid read as empty, and a balance column outside
    // it is not written.
    OpenGrid("<sum_cols><para_info table_id='7' col1='3' col2='0' col3='9'/></sum_cols>", {{"", "", "4", "", "z"}});
    Fire(9);
    EXPECT_EQ(Column(5), QStringList{"z"});
}

TEST_P(CellActionsTest, RepeatedGroupValuesBlankedAndBanded)
{
    const GridRows rows = {{"A", "1"}, {"A", "2"}, {"B", "3"}, {"B", "4"}, {"B", "5"}, {"C", "6"}};
    OpenGrid("<del_cell_text><para_info table_id='7' col='1' col_from='1' col_to='1'/></del_cell_text>", rows);
    Fire(9);
    EXPECT_EQ(Column(1), (QStringList{"A", "", "B", "", "", "C"}));
    EXPECT_EQ(Column(2), (QStringList{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(Backgrounds(1), (QStringList{White, White, Band, Band, Band, White}));
    EXPECT_EQ(Colour(2, 1, Qt::ForegroundRole), "0,0,0");

    // The settings may come in para_info_where; the blanked range may reach
    // past the grid's last column.
    OpenGrid("<del_cell_text><para_info_where table_id='7' col='1' col_from='1' col_to='99'/></del_cell_text>", rows);
    Fire(9);
    EXPECT_EQ(Column(1), (QStringList{"A", "", "B", "", "", "C"}));
    EXPECT_EQ(Column(2), (QStringList{"1", "", "3", "", "", "6"}));

    // A group column outside the grid blanks nothing.
    OpenGrid("<del_cell_text><para_info table_id='7' col='0' col_from='1' col_to='5'/></del_cell_text>", rows);
    Fire(9);
    EXPECT_EQ(Column(1), (QStringList{"A", "A", "B", "B", "B", "C"}));

    // An empty grid, and one row.
    OpenGrid("<del_cell_text><para_info table_id='7' col='1' col_from='1' col_to='2'/></del_cell_text>", {});
    Fire(9);
    OpenGrid("<del_cell_text><para_info table_id='7' col='1' col_from='1' col_to='2'/></del_cell_text>", {{"A", "1"}});
    Fire(9);
    EXPECT_EQ(Column(1), QStringList{"A"});
    EXPECT_EQ(Backgrounds(), QStringList{White});
}

TEST_P(CellActionsTest, FillDown)
{
    const GridRows rows = {{"", "X", "1"}, {"", ""}, {"", "-", "2"}, {"", "Y"}, {"", "", "-"}};
    OpenGrid("<set_cell_text><para_info_where table_id='7' col='2;3;12;0' text='-'/></set_cell_text>", rows);
    Fire(9);
    EXPECT_EQ(Column(2), (QStringList{"X", "X", "X", "Y", "Y"}));
    EXPECT_EQ(Column(3), (QStringList{"1", "1", "2", "2", "2"}));

    // The first row is never changed, also when it is empty.
    OpenGrid("<set_cell_text><para_info table_id='7' col='2'/></set_cell_text>", {{"", ""}, {"", ""}, {"", "Z"}, {}});
    Fire(9);
    EXPECT_EQ(Column(2), (QStringList{"", "", "Z", "Z"}));

    OpenGrid("<set_cell_text><para_info table_id='7' col='2'/></set_cell_text>", {{"", ""}});
    Fire(9);
    EXPECT_EQ(Column(2), QStringList{""});
}

// A grid reference that names another control stops the event with the
// reference; one that names nothing is let pass.
TEST_P(CellActionsTest, ReferencesThatAreNoGrid)
{
    const char* const actions[] = {
        "<set_table_readonly table_id='%1' values='1'/>",
        "<set_row_color table_id='%1'/>",
        "<set_cell_color><para_info table_id='%1' text='x' text_col='1'/></set_cell_color>",
        "<sum_cols><para_info table_id='%1' col1='3' col2='4' col3='5'/></sum_cols>",
        "<del_cell_text><para_info table_id='%1' col='1' col_from='1' col_to='1'/></del_cell_text>",
        "<set_cell_text><para_info table_id='%1' col='2'/></set_cell_text>",
    };
    for (const char* action : actions) {
        m_messages.clear();
        OpenGrid(QString(action).arg("1") + "<set_table_readonly table_id='7' values='1'/>", {{"a", "b"}, {"c"}});
        Fire(9);
        EXPECT_EQ(m_messages, QStringList{"控件指向出错:\n1"}) << action;
        EXPECT_FALSE(Grid()->IsRowReadOnly(0)) << action << ": the list stopped";

        m_messages.clear();
        OpenGrid(QString(action).arg("") + "<set_table_readonly table_id='7' values='1'/>", {{"a"}});
        Fire(9);
        EXPECT_EQ(m_messages, QStringList{"控件指向出错:\n"}) << action << ": the form itself is no grid";

        m_messages.clear();
        OpenGrid(QString(action).arg("77") + "<set_table_readonly table_id='7' values='1'/>", {{"a"}});
        Fire(9);
        EXPECT_TRUE(m_messages.isEmpty()) << action;
        EXPECT_TRUE(Grid()->IsRowReadOnly(0)) << action << ": the list went on";
    }
}

// The colour rule is the grid's own, also for actions outside a control's
// event, such as the form's opening actions.
TEST_P(CellActionsTest, OpeningActionsFindTheGridsRule)
{
    OpenDescription(
        "<html id='0'><head title='t' pos='0,0,640,480'><ACTION><INIT>"
        "<set_row_color table_id='7'/>"
        "<sum_cols><para_info table_id='7' col1='3' col2='4' col3='5'/></sum_cols>"
        "</INIT></ACTION></head><body><dialog>"
        "<table id='7' pos='0,0,600,300'><PARA><table_info>"
        "<para_info row_color_bg='255,0,0' col='2' text='欠款'/></table_info><col_info>"
        "<col id='1' title='日期' width='80'/><col id='2' title='摘要' width='80'/>"
        "<col id='3' title='收入' width='80'/><col id='4' title='支出' width='80'/>"
        "<col id='5' title='余额' width='80'/></col_info></PARA></table>"
        "</dialog></body></html>");
    Fill({{"05-01", "欠款", "100", "0"}, {"05-01", "已付", "0", "40"}});
    const CXmlNodes init = CXmlNode(m_form->m_pDoc->GetInitAction()).GetChildren();
    ASSERT_EQ(init.GetCount(), 2);
    for (int i = 0; i < init.GetCount(); ++i)
        EXPECT_TRUE(m_form->RunAction(init[i], 0, "INIT"));
    EXPECT_EQ(Column(5), (QStringList{"100", "60"}));
    EXPECT_EQ(Backgrounds(), (QStringList{Red, Band}));
}

// The demo ledger: its opening step fills the grid and shapes it; the
// balance run again gives the same figures.
TEST_P(CellActionsTest, DemoLedger)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/44_cells.sql", failure))
        << failure.toStdString();
    OpenDemoForm("44_ledger.xml");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
    EXPECT_EQ(Column(1), (QStringList{"2026-05-01", "", "", "2026-05-02", "", "2026-05-03", "", "", "2026-05-04", ""}));
    EXPECT_EQ(Column(3), (QStringList{"", "销售", "采购", "费用", "费用", "退款", "销售", "销售", "退款", "其他"}));
    const QStringList balances = {"10,000.00", "13,200.00", "4,700.00",  "-1,300.00", "-1,750.00",
                                  "-2,050.00", "3,550.00",  "3,670.50", "3,410.50",  "3,422.80"};
    EXPECT_EQ(Column(6), balances);
    const QString refund = "255,228,225";
    EXPECT_EQ(Backgrounds(1), (QStringList{White, White, White, Band, Band, refund, White, White, refund, Band}));
    EXPECT_EQ(Colour(3, 5), "255,236,140");
    EXPECT_EQ(Colour(3, 5, Qt::ForegroundRole), "200,0,0");
    Fire(31);
    Fire(31);
    EXPECT_EQ(Column(6), balances);
}

} // namespace

TEMBRA_ACTION_KINDS(CellActionsTest);
