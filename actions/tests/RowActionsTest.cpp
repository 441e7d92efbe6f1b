// Row operations, selections out of grids and trees, select into and the
// end-of-edit query, run through the events of real form windows.
#include "text/SqlTexts.h"
#include "ActionFormTest.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "DemoDatabase.h"
#include "grid/ListCtrlEx.h"
#include "grid/TreeHelpers.h"
#include "xml/XmlDocument.h"

#include <QCursor>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace {

// A grid with a row-number column and a grid whose first column holds data,
// a sum box, two edits and a tree.
const char* const Controls =
    "<textbox id='1' pos='0,0,100,20' value=''/>"
    "<textbox id='2' pos='0,30,100,50' value='2'/>"
    "<textbox id='3' pos='0,60,100,80' value='0'/>"
    "<table id='7' pos='120,0,520,160'><PARA><col_info><col id='1' title='序号' width='40'/>"
    "<col id='2' title='名称' width='80'/><col id='3' title='数量' width='60' sum='3'/></col_info></PARA></table>"
    "<table id='8' pos='120,170,520,330'><PARA><col_info><col id='1' title='编码' width='60'/>"
    "<col id='2' title='名称' width='80'/></col_info></PARA></table>"
    "<tree id='20' pos='0,340,200,470'/>";

struct GridRow {
    QString key;
    int state;
    QStringList texts;
};

class RowActionsTest : public ActionFormTest
{
protected:
    CFormActions& Actions() { return m_form->m_actions; }
    CListCtrlEx* Grid(int id) { return qobject_cast<CListCtrlEx*>(Control(id)); }
    QString Text(int id) { return qobject_cast<QLineEdit*>(Control(id))->text(); }

    // The form with button 9 running the given action list on CLICK.
    D_T1* OpenWithActions(const QString& actions, const QString& more = QString())
    {
        return Open(Controls + more + "<button id='9' pos='540,0,620,30' value='go'><ACTION><CLICK>" + actions
                    + "</CLICK></ACTION></button>");
    }

    static void Fill(CListCtrlEx* grid, const QList<GridRow>& rows)
    {
        grid->DeleteAllRows();
        for (const GridRow& spec : rows) {
            const int row = grid->InsertRow(grid->GetItemCount(), QString());
            grid->SetRowData(row, nullptr, spec.key, spec.state);
            for (int column = 0; column < spec.texts.size(); ++column)
                grid->SetItemText(row, column, spec.texts[column]);
        }
    }

    // Four rows 1 to 4 with keys 11 to 14 in the numbered grid.
    void FillNumbered()
    {
        Fill(Grid(7), {{"11", 0, {"1", "甲", "1"}},
                       {"12", 3, {"2", "乙", "2"}},
                       {"13", 1, {"3", "丙", "3"}},
                       {"14", 0, {"4", "丁", "4"}}});
    }

    static void Select(CListCtrlEx* grid, const QList<int>& rows)
    {
        grid->SelectRow(-1, false);
        for (int row : rows)
            grid->SelectRow(row, true);
    }

    static QString Keys(CListCtrlEx* grid)
    {
        QStringList keys;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            keys << grid->GetRowKey(row)->strKey;
        return keys.join(',');
    }

    static QString States(CListCtrlEx* grid)
    {
        QStringList states;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            states << QString::number(grid->GetRowKey(row)->nState);
        return states.join(',');
    }

    static QString Column(CListCtrlEx* grid, int column)
    {
        QStringList texts;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            texts << grid->GetItemText(row, column);
        return texts.join('|');
    }

    static QString Selected(CListCtrlEx* grid)
    {
        QStringList rows;
        for (int row : grid->GetSelectedRows())
            rows << QString::number(row);
        return rows.join(',');
    }
};

TEST_P(RowActionsTest, MovingRowsMovesEveryColumnAndMarksStoredRows)
{
    struct Case {
        const char* action;
        QList<int> selected;
        QString keys, names, amounts, states, selection;
    } cases[] = {
        // The first row cannot go up, the last not down, nothing selected
        // moves nothing.
        {"<uprow table_id='7'/>", {0}, "11,12,13,14", "甲|乙|丙|丁", "1|2|3|4", "0,3,1,0", "0"},
        {"<downrow table_id='7'/>", {3}, "11,12,13,14", "甲|乙|丙|丁", "1|2|3|4", "0,3,1,0", "3"},
        {"<downrow table_id='7'/>", {}, "11,12,13,14", "甲|乙|丙|丁", "1|2|3|4", "0,3,1,0", ""},
        // The numbering stays in order, the stored unchanged row becomes 2,
        // the edited and the new row keep their states.
        {"<downrow table_id='7'/>", {0}, "12,11,13,14", "乙|甲|丙|丁", "2|1|3|4", "3,2,1,0", "1"},
        {"<uprow table_id='7'/>", {3}, "11,12,14,13", "甲|乙|丁|丙", "1|2|4|3", "0,3,2,1", "2"},
        // Of two selected rows the first moves.
        {"<uprow table_id='7'/>", {1, 3}, "12,11,13,14", "乙|甲|丙|丁", "2|1|3|4", "3,2,1,0", "0,3"},
    };
    for (const Case& c : cases) {
        OpenWithActions(c.action);
        FillNumbered();
        Select(Grid(7), c.selected);
        Fire(9);
        const std::string label = std::string(c.action) + " on " + std::to_string(c.selected.value(0, -1));
        EXPECT_EQ(Keys(Grid(7)), c.keys) << label;
        EXPECT_EQ(Column(Grid(7), 0), "1|2|3|4") << label;
        EXPECT_EQ(Column(Grid(7), 1), c.names) << label;
        EXPECT_EQ(Column(Grid(7), 2), c.amounts) << label;
        EXPECT_EQ(States(Grid(7)), c.states) << label;
        EXPECT_EQ(Selected(Grid(7)), c.selection) << label;
        EXPECT_TRUE(m_messages.isEmpty()) << label;
    }
}

// A first column that holds data, not row numbers, moves with its row.
TEST_P(RowActionsTest, MovingRowsMovesTheFirstColumnOfData)
{
    OpenWithActions("<downrow table_id='8'/>");
    CListCtrlEx* grid = Grid(8);
    Fill(grid, {{"5", 0, {"A01", "螺丝"}}, {"6", 0, {"B02", "螺母"}}});
    grid->SetCellColors(0, 1, 0x0000FF, 0);
    Select(grid, {0});
    Fire(9);
    EXPECT_EQ(Keys(grid), "6,5");
    EXPECT_EQ(Column(grid, 0), "B02|A01");
    EXPECT_EQ(Column(grid, 1), "螺母|螺丝");
    // The cell's colour goes with its value; the stripes stay in place.
    EXPECT_TRUE(grid->GetRowKey(1)->FindCell(1));
    EXPECT_EQ(grid->GetRowKey(0)->clrBack, 0xFFFFFFu);
    EXPECT_EQ(grid->GetRowKey(1)->clrBack, 0xF0E6DCu);
    EXPECT_EQ(States(grid), "2,2");
}

TEST_P(RowActionsTest, AddingRows)
{
    struct Case {
        QString settings;
        QList<int> selected;
        QString keys, numbers, states;
    } cases[] = {
        // Above the selected row, the rows below renumbered and marked.
        {"which_row='0' rownum='1'", {2}, "11,12,,13,14", "1|2|3|4|5", "0,3,1,1,2"},
        {"rownum='1'", {}, "11,12,13,14,", "1|2|3|4|5", "0,3,1,0,1"},
        {"which_row='-1' rownum='1'", {2}, ",11,12,13,14", "1|2|3|4|5", "1,2,3,1,2"},
        {"which_row='1' rownum='1'", {0}, "11,12,13,14,", "1|2|3|4|5", "0,3,1,0,1"},
        // Without row numbers the new row asks for its first cell.
        {"which_row='0'", {1}, "11,,12,13,14", "1|请输入...|2|3|4", "0,1,3,1,0"},
    };
    for (const Case& c : cases) {
        OpenWithActions("<addrow><para_info table_id='7' " + c.settings + "/></addrow>");
        FillNumbered();
        Select(Grid(7), c.selected);
        Fire(9);
        EXPECT_EQ(Keys(Grid(7)), c.keys) << c.settings.toStdString();
        EXPECT_EQ(Column(Grid(7), 0), c.numbers) << c.settings.toStdString();
        EXPECT_EQ(States(Grid(7)), c.states) << c.settings.toStdString();
        EXPECT_TRUE(m_messages.isEmpty()) << c.settings.toStdString();
    }
}

TEST_P(RowActionsTest, AddingARowOpensTheFirstCellsEditor)
{
    Open(QString(Controls)
             .replace("<col id='1' title='序号' width='40'/>", "<col id='1' title='序号' width='40' hidden_wnd='1'/>")
         + "<button id='9' pos='540,0,620,30' value='go'><ACTION><CLICK><addrow><para_info table_id='7'/></addrow>"
           "</CLICK></ACTION></button>");
    Fire(9);
    CListCtrlEx* grid = Grid(7);
    ASSERT_EQ(grid->GetItemCount(), 1);
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->GetCurrentRow(), 0);
    EXPECT_EQ(grid->GetCurrentColumn(), 0);
    EXPECT_EQ(grid->GetItemText(0, 0), "请输入...");
    EXPECT_EQ(States(grid), "1");
}

TEST_P(RowActionsTest, TheNewRowsEditorTakesTheTypedKeys)
{
    // Keys and clicks as the keyboard and mouse give them: keys to the
    // widget with the focus, clicks to the window under the pointer.
    const auto press = [](Qt::Key key, const QString& text = QString()) {
        QTest::sendKeyEvent(QTest::Click, static_cast<QWidget*>(nullptr), key, text, Qt::NoModifier);
        QCoreApplication::processEvents();
    };
    const auto buttonCentre = [](D_T1& form) {
        QWidget* button = form.GetDlgItem(9 + D_T1::ControlIdBase);
        return button->mapTo(&form, button->rect().center());
    };
    const struct
    {
        const char* name;
        std::function<void(D_T1& form)> addRow;
    } ways[] = {
        {"hot key", [&press](D_T1&) { press(Qt::Key_F2); }},
        {"click on the button",
         [&buttonCentre](D_T1& form) {
             QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, buttonCentre(form));
             QCoreApplication::processEvents();
         }},
        {"double click on the button",
         [&buttonCentre](D_T1& form) {
             QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, buttonCentre(form));
             QCoreApplication::processEvents();
         }},
        {"space on the button",
         [&press](D_T1& form) {
             form.GetDlgItem(9 + D_T1::ControlIdBase)->setFocus();
             press(Qt::Key_Space, " ");
         }},
    };
    // The first column's editor given before the table, or after it.
    const QString grid = "<table id='7' pos='120,0,520,160'><PARA><col_info>"
                         "<col id='1' title='编码' width='60' hidden_wnd='1'/><col id='2' title='名称' width='80' hidden_wnd='2'/>"
                         "</col_info></PARA></table>";
    const QString editors = "<textbox id='1' pos='0,0,100,20' hidden='1' value=''/>"
                            "<textbox id='2' pos='0,30,100,50' hidden='1' value=''/>";
    const QString button = "<button id='9' pos='540,0,620,30' value='go'><ACTION><CLICK><addrow><para_info table_id='7'/>"
                           "</addrow></CLICK></ACTION></button><textbox id='3' pos='0,60,100,80' value=''/>";
    for (const QString& dialog : {editors + grid + button, grid + button + editors}) {
        for (const auto& way : ways) {
            SCOPED_TRACE(way.name);
            SCOPED_TRACE(dialog.startsWith("<table") ? "editors after the table" : "editors before the table");
            OpenDescription("<html id='0'><head title='t' pos='0,0,640,480'><HOTKEY><para_info><k id='2' value='9'/>"
                            "</para_info></HOTKEY></head><body><dialog>"
                            + dialog + "</dialog></body></html>");
            m_form->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(m_form));
            Control(3)->setFocus();
            way.addRow(*m_form);
            CListCtrlEx* table = Grid(7);
            ASSERT_EQ(table->GetItemCount(), 1);
            EXPECT_TRUE(table->IsEditing()) << "the new row's first cell opened no editor";
            // The first cell, Tab, the second cell, Return: as in any edit.
            for (const QChar ch : QStringLiteral("A01"))
                press(Qt::Key(ch.unicode()), QString(ch));
            press(Qt::Key_Tab);
            for (const QChar ch : QStringLiteral("bolt"))
                press(Qt::Key(ch.unicode()), QString(ch));
            press(Qt::Key_Return);
            EXPECT_EQ(table->GetItemText(0, 0), "A01");
            EXPECT_EQ(table->GetItemText(0, 1), "bolt");
            EXPECT_EQ(States(table), "1");
        }
    }
}

TEST_P(RowActionsTest, DeletingRowsListsTheStoredKeys)
{
    OpenWithActions("<delrow><para_info table_id='7' rownum='1'/></delrow>");
    CListCtrlEx* grid = Grid(7);
    Fill(grid, {{"5", 0, {"1", "甲", "1.5"}},
                {"17", 3, {"2", "乙", "2"}},
                {"23", 1, {"3", "丙", "4"}},
                {"31", 0, {"4", "丁", "8"}}});
    Actions().m_strListedUids = "5,17,23,31";
    // The stored row 17 and the new row 23 (its key left no trace).
    Select(grid, {1, 2});
    Fire(9);
    EXPECT_EQ(Keys(grid), "5,31");
    EXPECT_EQ(Column(grid, 0), "1|2");
    EXPECT_EQ(States(grid), "0,2");
    EXPECT_EQ(Actions().m_deletedUids.Joined(grid), "17");
    EXPECT_EQ(Actions().m_strListedUids, "5,23,31");
    EXPECT_EQ(Text(3), "9.5");

    Select(grid, {0});
    Fire(9);
    EXPECT_EQ(Actions().m_deletedUids.Joined(grid), "17,5");
    EXPECT_EQ(Actions().m_strListedUids, "23,31");
    EXPECT_EQ(Text(3), "8");

    // Nothing selected: nothing happens.
    Select(grid, {});
    Fire(9);
    EXPECT_EQ(Keys(grid), "31");
    EXPECT_TRUE(m_messages.isEmpty());

    // Rows spread over the grid go together, each key with its own row.
    FillNumbered();
    Actions().m_strListedUids = "11,12,13,14";
    Select(grid, {0, 2, 3});
    Fire(9);
    EXPECT_EQ(Keys(grid), "12");
    EXPECT_EQ(Column(grid, 1), "乙");
    EXPECT_EQ(Column(grid, 0), "1");
    EXPECT_EQ(Actions().m_strListedUids, "12,13") << "the new row 13 leaves no trace";
    EXPECT_EQ(Actions().m_deletedUids.Joined(grid), "17,5,11,14");
}

// The keys become SQL text of the delete statement.
TEST_P(RowActionsTest, DeletingARowWhoseKeyIsNoIntegerDeletesNothing)
{
    OpenWithActions("<delrow><para_info table_id='8'/></delrow>");
    CListCtrlEx* grid = Grid(8);
    Fill(grid, {{"4", 0, {"A", "a"}}, {"1) OR (1=1", 0, {"B", "b"}}, {"", 0, {"C", "c"}}});
    Select(grid, {0, 1});
    Fire(9);
    EXPECT_EQ(grid->GetItemCount(), 3);
    EXPECT_EQ(Actions().m_deletedUids.Joined(grid), "");
    EXPECT_EQ(m_messages, QStringList{"所选行的键值“1) OR (1=1”不是整数，不能删除。"});

    // A row filled without keys leaves no key.
    Select(grid, {0, 2});
    Fire(9);
    EXPECT_EQ(Keys(grid), "1) OR (1=1");
    EXPECT_EQ(Actions().m_deletedUids.Joined(grid), "4");
}

TEST_P(RowActionsTest, ReferencesToOtherControlsFail)
{
    struct Case {
        QString action;
        QString error;
    } cases[] = {
        {"<uprow table_id='1'/>", "控件指向出错:\n1"},
        {"<downrow/>", "控件指向出错:\n0"},
        {"<downrow table_id='99'/>", "控件指向出错:\n99"},
        {"<addrow><para_info table_id='20'/></addrow>", "控件指向出错:\n20"},
        {"<delrow><para_info table_id='2'/></delrow>", "控件指向出错:\n2"},
        {"<select_item><para_info tree_id='7'/></select_item>", "控件指向出错:\n7"},
        {"<get_id_from_tree><para_info tree_id='20' target_id='99'/></get_id_from_tree>", "控件指向出错:\n99"},
        {"<get_name_from_tree><para_info tree_id='1' target_id='2'/></get_name_from_tree>", "控件指向出错:\n1"},
        {"<get_ids_from_tree><para_info tree_id='8' target_id='1'/></get_ids_from_tree>", "控件指向出错:\n8"},
        {"<get_ids_from_list><para_info table_id='20' target_id='1'/></get_ids_from_list>", "控件指向出错:\n20"},
        {"<select_into><para_info from_table_id='1' to_table_id='7'/></select_into>", "控件指向出错:\n1"},
    };
    for (const Case& c : cases) {
        OpenWithActions(c.action);
        FillNumbered();
        Select(Grid(7), {1});
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(m_messages, QStringList{c.error}) << c.action.toStdString();
        EXPECT_EQ(Keys(Grid(7)), "11,12,13,14") << c.action.toStdString();
    }
}

// A failed event puts the row states back as they were before it.
TEST_P(RowActionsTest, AFailedEventRestoresTheRowStates)
{
    for (const QString action : {"<downrow table_id='7'/>", "<addrow><para_info table_id='7' rownum='1'/></addrow>",
                                  "<delrow><para_info table_id='7' rownum='1'/></delrow>"}) {
        OpenWithActions(action + "<uprow table_id='1'/>");
        FillNumbered();
        Select(Grid(7), {0});
        Fire(9);
        ASSERT_EQ(m_messages.value(0), "控件指向出错:\n1");
        m_messages.clear();
        CListCtrlEx* grid = Grid(7);
        for (int row = 0; row < grid->GetItemCount(); ++row) {
            const ItemData* item = grid->GetRowKey(row);
            const int before = item->strKey == "12" ? 3 : item->strKey == "13" || item->strKey.isEmpty() ? 1 : 0;
            EXPECT_EQ(item->nState, before) << action.toStdString() << " row key " << item->strKey.toStdString();
        }
    }
}

TEST_P(RowActionsTest, TickedIdsOfTreesAndGrids)
{
    OpenWithActions("<get_ids_from_tree><para_info tree_id='20' target_id='1'/></get_ids_from_tree>"
                    "<get_ids_from_list><para_info table_id='7' target_id='2'/></get_ids_from_list>");
    auto* tree = qobject_cast<QTreeWidget*>(Control(20));
    CFormActions::FillTreeFromValues({"0", "甲", "3", "0", "乙", "5", "0", "丙", "8"}, tree, ",3,8,");
    FillNumbered();
    Grid(7)->SetCheck(1, true);
    Grid(7)->SetCheck(3, true);
    Fire(9);
    EXPECT_EQ(Text(1), "3,8");
    EXPECT_EQ(Text(2), "12,14");

    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        (*it)->setCheckState(0, Qt::Unchecked);
    Grid(7)->SetCheck(1, false);
    Grid(7)->SetCheck(3, false);
    Fire(9);
    EXPECT_EQ(Text(1), "");
    EXPECT_EQ(Text(2), "");
}

TEST_P(RowActionsTest, TreeItemsUnderTheMouseOrSelected)
{
    const QString dialog = "<button id='10' pos='540,40,620,70' value='id'><ACTION><CLICK>"
                           "<get_id_from_tree><para_info tree_id='20' target_id='1'/></get_id_from_tree>"
                           "<get_name_from_tree><para_info tree_id='20' target_id='2'/></get_name_from_tree>"
                           "</CLICK></ACTION></button>";
    D_T1* form = OpenWithActions("<select_item><para_info tree_id='20'/></select_item>", dialog);
    auto* tree = qobject_cast<QTreeWidget*>(Control(20));
    CFormActions::FillTreeFromValues({"0", "根", "3", "0", "另'一", "9"}, tree, QString());
    QTreeWidgetItem* other = tree->topLevelItem(1);
    ASSERT_TRUE(other);

    // Under the mouse: selected by select_item, read by the getters.
    QCursor::setPos(tree->viewport()->mapToGlobal(tree->visualItemRect(other).center()));
    Fire(9);
    EXPECT_EQ(tree->currentItem(), other);
    tree->setCurrentItem(tree->topLevelItem(0));
    Fire(10);
    EXPECT_EQ(tree->currentItem(), other);
    EXPECT_EQ(Text(1), "9");
    EXPECT_EQ(Text(2), "另'一");

    // Nothing under the mouse: the getters stop the list without a text.
    QCursor::setPos(tree->viewport()->mapToGlobal(QPoint(5, tree->viewport()->height() - 2)));
    qobject_cast<QLineEdit*>(Control(1))->setText("x");
    Fire(9);
    Fire(10);
    EXPECT_EQ(tree->currentItem(), other);
    EXPECT_EQ(Text(1), "x");
    EXPECT_TRUE(m_messages.isEmpty());

    // In the tree's selection change the selected item counts; with none
    // the name is empty and the id stops the list quietly.
    const QString change = "EN_CHANGE";
    tree->setCurrentItem(tree->topLevelItem(0));
    auto run = [&](const QString& xml) {
        CXmlDocument document;
        EXPECT_TRUE(document.LoadXml(xml));
        return form->RunAction(*document.GetRoot(), 20 + D_T1::ControlIdBase, change);
    };
    EXPECT_TRUE(run("<get_id_from_tree><para_info tree_id='20' target_id='1'/></get_id_from_tree>"));
    EXPECT_EQ(Text(1), "3");
    tree->setCurrentItem(nullptr);
    EXPECT_TRUE(run("<get_name_from_tree><para_info tree_id='20' target_id='2'/></get_name_from_tree>"));
    EXPECT_EQ(Text(2), "");
    EXPECT_FALSE(run("<get_id_from_tree><para_info tree_id='20' target_id='1'/></get_id_from_tree>"));
    EXPECT_EQ(Text(1), "3");
}

class SelectIntoTest : public RowActionsTest
{
protected:
    void SetUp() override
    {
        RowActionsTest::SetUp();
        Exec("CREATE TABLE goods (uid_0 " + KeyColumn() + ", code_0 VARCHAR(20), name_0 VARCHAR(60), price_0 VARCHAR(20))");
        Exec("INSERT INTO goods(uid_0,code_0,name_0,price_0) VALUES(1,'A01','螺丝','0.5')");
        Exec("INSERT INTO goods(uid_0,code_0,name_0,price_0) VALUES(2,'B02','O''Brien\"); DROP TABLE goods; --','12')");
        Exec("INSERT INTO goods(uid_0,code_0,name_0,price_0) VALUES(3,'C03','垫片','3')");
    }

    // The picker grid 8 with the goods, the order grid 7 with one row.
    void OpenPicker(const QString& settings, const QString& select, const QString& placements)
    {
        OpenWithActions("<select_into><para_info from_table_id='8' " + settings + " select=\"" + select
                        + "\"><para_in><p value='0'/><p value='2'/></para_in><para_out>" + placements
                        + "</para_out></para_info></select_into>");
        Fill(Grid(8), {{"1", 0, {"A01", "螺丝"}},
                       {"2", 0, {"B02", "O'Brien\"); DROP TABLE goods; --"}},
                       {"3", 0, {"C03", "垫片"}}});
        Fill(Grid(7), {{"7", 0, {"1", "旧", "1"}}});
    }
};

// The key of the source row, a cell and a control go into the query; each
// selected row gives one new row at the end, marked new.
TEST_P(SelectIntoTest, SelectedRowsBecomeNewRows)
{
    const QString select = "SELECT '{{row_num}}', name_0, price_0, uid_0 FROM goods "
                           "WHERE uid_0={{c1}} AND name_0='{{c2}}' AND '{{p2}}'='2'";
    OpenPicker("to_table_id='7'", select, "<p value='1'/><p value='2'/><p value='3'/><p value='0'/>");
    Select(Grid(8), {0, 1, 2});
    Fire(9);
    ASSERT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    CListCtrlEx* grid = Grid(7);
    EXPECT_EQ(Keys(grid), "7,1,2,3");
    EXPECT_EQ(Column(grid, 0), "1|2|3|4");
    EXPECT_EQ(Column(grid, 1), "旧|螺丝|O'Brien\"); DROP TABLE goods; --|垫片");
    EXPECT_EQ(Column(grid, 2), "1|0.5|12|3");
    EXPECT_EQ(States(grid), "0,1,1,1");
    EXPECT_EQ(Text(3), "16.5");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM goods"), "3");
}

TEST_P(SelectIntoTest, WhatTheQueryGivesIsPlacedByTheOutputList)
{
    struct Case {
        QString select, placements;
        QString key, names, amounts;
    } cases[] = {
        // The key placed first stays.
        {"SELECT uid_0, name_0, price_0 FROM goods WHERE uid_0={{c1}}", "<p value='0'/><p value='2'/><p value='3'/>",
         "3", "旧|垫片", "1|3"},
        // Values past the output list and further rows are not used;
        // a negative place takes a value and drops it.
        {"SELECT name_0, price_0 FROM goods WHERE uid_0<={{c1}} ORDER BY uid_0", "<p value='-1'/><p value='2'/>",
         "", "旧|0.5", "1|"},
        // A query without rows still gives a row.
        {"SELECT name_0 FROM goods WHERE uid_0=0 AND {{c1}}>0", "<p value='2'/>", "", "旧|", "1|"},
    };
    for (const Case& c : cases) {
        OpenPicker("to_table_id='7'", c.select, c.placements);
        Select(Grid(8), {2});
        Fire(9);
        EXPECT_TRUE(m_messages.isEmpty()) << c.select.toStdString();
        CListCtrlEx* grid = Grid(7);
        EXPECT_EQ(grid->GetItemCount(), 2) << c.select.toStdString();
        EXPECT_EQ(grid->GetRowKey(1)->strKey, c.key) << c.select.toStdString();
        EXPECT_EQ(Column(grid, 1), c.names) << c.select.toStdString();
        EXPECT_EQ(Column(grid, 2), c.amounts) << c.select.toStdString();
        EXPECT_EQ(States(grid), "0,1");
    }
}

// Nothing is added when the rows cannot all be looked up.
TEST_P(SelectIntoTest, FailuresAddNothing)
{
    const QString lookUp = "SELECT name_0 FROM goods WHERE uid_0={{c1}}";
    struct Case {
        QString settings, select;
        QList<int> selected;
        QString message;
    } cases[] = {
        {"to_table_id='7'", lookUp, {}, "请选择记录！"},
        {"to_table_id='99'", lookUp, {0}, "控件指向出错:\n99"},
        {"to_table_id='1'", lookUp, {0}, "控件指向出错:\n1"},
        {"to_table_id='7'", "SELECT name_0 FROM no_such_table WHERE uid_0={{c1}}", {0, 1}, "数据异常!\n"},
        {"to_table_id='7'", lookUp, {0, 2}, SqlTexts::NotANumber.arg("3 OR 1=1", "{{c1}}")},
    };
    for (const Case& c : cases) {
        OpenPicker(c.settings, c.select, "<p value='2'/>");
        Grid(8)->GetRowKey(2)->strKey = "3 OR 1=1";
        Select(Grid(8), c.selected);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(m_messages, QStringList{c.message}) << c.select.toStdString();
        EXPECT_EQ(Keys(Grid(7)), "7") << c.select.toStdString();
    }
}

class EndEditTest : public RowActionsTest
{
protected:
    void SetUp() override
    {
        RowActionsTest::SetUp();
        Exec("CREATE TABLE goods (uid_0 " + KeyColumn() + ", code_0 VARCHAR(20), name_0 VARCHAR(60), price_0 VARCHAR(20))");
        // Numbered 1 and 2 by the database.
        Exec("INSERT INTO goods(code_0,name_0,price_0) VALUES('A01','螺丝','0.5')");
        Exec("INSERT INTO goods(code_0,name_0,price_0) VALUES('O''1','撇号','7')");
        Open(EndEditControls);
        Fill(Grid(40), {{"9", 0, {"", "旧", "1", ""}}, {"", 1, {"", "", "", ""}}});
    }

    // Code, name, price and count, each with an editor; the code looks up
    // name and price, the name runs a failing query, the price one with
    // more values than targets, the count looks up by uid.
    static constexpr const char* EndEditControls =
             "<textbox id='2' pos='0,0,60,20' value='2'/><textbox id='3' pos='0,30,60,50' value=''/>"
             "<textbox id='41' pos='0,60,60,80'/><textbox id='42' pos='0,60,60,80'/>"
             "<textbox id='43' pos='0,60,60,80'/><textbox id='44' pos='0,60,60,80'/>"
             "<table id='40' pos='80,0,560,200'><PARA><col_info>"
             "<col id='1' title='编码' width='60' hidden_wnd='41'><ENDEDIT>"
             "<q values=\"SELECT name_0, price_0 FROM goods WHERE code_0='{{c1}}' AND '{{p2}}'='2'\" target_ids='2;3'>"
             "<para_info><p value='1'/><p value='2'/></para_info></q></ENDEDIT></col>"
             "<col id='2' title='名称' width='80' hidden_wnd='42'><ENDEDIT>"
             "<q values='SELECT x FROM no_such_table' target_ids='3'/></ENDEDIT></col>"
             "<col id='3' title='单价' width='60' sum='3' hidden_wnd='43'><ENDEDIT>"
             "<q values=\"SELECT name_0{{para_in}} FROM goods WHERE code_0='A01'\"/></ENDEDIT></col>"
             "<col id='4' title='数量' width='60' hidden_wnd='44'><ENDEDIT>"
             "<q values='SELECT price_0 FROM goods WHERE uid_0={{c1}}' target_ids='3'>"
             "<para_info><p value='4'/></para_info></q></ENDEDIT></col>"
             "</col_info></PARA></table>";

    // Types the text into the cell's editor and ends the edit with Enter.
    void Edit(int row, int column, const QString& text)
    {
        CListCtrlEx* grid = Grid(40);
        ASSERT_TRUE(grid->BeginEdit(row, column));
        QWidget* editor = Control(41 + column);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        grid->EndEdit(false);
    }
};

TEST_P(EndEditTest, TheQueryFillsTheRowsOtherCells)
{
    struct Case {
        QString code, name, price;
    } cases[] = {
        {"A01", "螺丝", "0.5"},
        {"O'1", "撇号", "7"},
        // Nothing found empties the cells.
        {"ZZZ", "", ""},
        {"A01' OR '1'='1", "", ""},
    };
    CListCtrlEx* grid = Grid(40);
    for (const Case& c : cases) {
        Edit(1, 0, c.code);
        EXPECT_EQ(grid->GetItemText(1, 0), c.code);
        EXPECT_EQ(grid->GetItemText(1, 1), c.name) << c.code.toStdString();
        EXPECT_EQ(grid->GetItemText(1, 2), c.price) << c.code.toStdString();
        // The sums follow.
        EXPECT_EQ(Text(3), c.price.isEmpty() ? "1" : QString::number(1 + c.price.toDouble())) << c.code.toStdString();
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    Edit(0, 0, "A01");
    EXPECT_EQ(grid->GetItemText(0, 1), "螺丝");
    EXPECT_EQ(States(grid), "3,1");
}

// An edit that an action ends (a row added while a cell is being typed
// into) runs its query inside the event and leaves the event's connection
// open for the actions after it.
TEST_P(EndEditTest, AnEditEndedByAnActionRunsInsideTheEvent)
{
    Open(QString(EndEditControls)
         + "<button id='9' pos='600,0,680,30' value='go'><ACTION><CLICK>"
           "<addrow><para_info table_id='40'/></addrow>"
           "<run_sql><para_info run_sql=\"INSERT INTO goods(code_0,name_0,price_0) VALUES('Z1','新','1')\"/></run_sql>"
           "</CLICK></ACTION></button>");
    CListCtrlEx* grid = Grid(40);
    Fill(grid, {{"", 1, {"", "", "", ""}}});
    ASSERT_TRUE(grid->BeginEdit(0, 0));
    QTest::keyClicks(Control(41), "A01");
    Fire(9);
    EXPECT_EQ(m_messages, QStringList{"操作成功"});
    EXPECT_EQ(grid->GetItemCount(), 2);
    EXPECT_EQ(grid->GetItemText(0, 1), "螺丝");
    EXPECT_EQ(Value("SELECT name_0 FROM goods WHERE code_0='Z1'"), "新");
}

// An empty ENDEDIT list is a list whose actions all succeed: the column sums
// follow the edit.
TEST_P(EndEditTest, AnEmptyListStillRunsTheSums)
{
    Open("<textbox id='3' pos='0,30,60,50' value=''/><textbox id='41' pos='0,60,60,80'/>"
         "<table id='40' pos='80,0,560,200'><PARA><col_info>"
         "<col id='1' title='数量' width='60' sum='3' hidden_wnd='41'><ENDEDIT/></col>"
         "</col_info></PARA></table>");
    CListCtrlEx* grid = Grid(40);
    Fill(grid, {{"", 1, {"2"}}, {"", 1, {"5"}}});
    ASSERT_TRUE(grid->BeginEdit(1, 0));
    QTest::keyClicks(Control(41), "8");
    QTest::keyClick(Control(41), Qt::Key_Return);
    grid->EndEdit(false);
    EXPECT_EQ(grid->GetItemText(1, 0), "8");
    EXPECT_EQ(Text(3), "10");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

TEST_P(EndEditTest, AFailingQueryIsReported)
{
    CListCtrlEx* grid = Grid(40);
    struct Case {
        int column;
        QString text;
        QStringList messages;
        QString price;
    } cases[] = {
        {1, "Nut", {"数据处理不完整，请联系管理员!\n数据异常!\n"}, "1"},
        {2, "5", {"参数和值数量不匹配!", "数据处理不完整，请联系管理员!"}, "5"},
        {3, "1 OR 1=1", {"数据处理不完整，请联系管理员!\n" + SqlTexts::NotANumber.arg("1 OR 1=1", "{{c1}}")}, "5"},
    };
    for (const Case& c : cases) {
        m_messages.clear();
        Edit(0, c.column, c.text);
        EXPECT_EQ(m_messages, c.messages) << c.text.toStdString();
        EXPECT_EQ(grid->GetItemText(0, c.column), c.text);
        EXPECT_EQ(grid->GetItemText(0, 2), c.price) << "only the edited cell changed";
    }
    // A count that is a uid looks the price up.
    m_messages.clear();
    Edit(0, 3, "2");
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(grid->GetItemText(0, 2), "7");
}

// The demo's goods picker and detail form, worked as a user works them.
class RowDemoTest : public RowActionsTest
{
protected:
    void SetUp() override
    {
        RowActionsTest::SetUp();
        QString failure;
        ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/42_goods_picker.sql", failure))
            << failure.toStdString();
    }

    // Types into the cell's editor (the form control editorId) and ends the
    // edit with Enter.
    void Type(CListCtrlEx* grid, int row, int column, int editorId, const QString& text)
    {
        ASSERT_TRUE(grid->BeginEdit(row, column));
        QTest::keyClicks(Control(editorId), text);
        QTest::keyClick(Control(editorId), Qt::Key_Return);
        grid->EndEdit(false);
    }
};

TEST_P(RowDemoTest, GoodsArePickedMovedAndDeleted)
{
    OpenDemoForm("42_goods_picker.xml");
    ASSERT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    CListCtrlEx* goods = Grid(7);
    CListCtrlEx* picked = Grid(8);
    EXPECT_EQ(goods->GetItemCount(), 7);

    // A category of the tree filters the goods and names itself.
    auto* tree = qobject_cast<QTreeWidget*>(Control(3));
    tree->setCurrentItem(FindTreeItemByData(tree, tree->topLevelItem(0), 2));
    EXPECT_EQ(Column(goods, 0), "A01|A02|A03");
    EXPECT_EQ(GetControlText(Control(6)), "螺栓螺母");

    Select(goods, {0, 2});
    Fire(10);
    EXPECT_EQ(Column(picked, 0), "1|2");
    EXPECT_EQ(Column(picked, 1), "A01|A03");
    EXPECT_EQ(Column(picked, 5), "1|1");
    EXPECT_EQ(Keys(picked), "1,3");
    EXPECT_EQ(States(picked), "1,1");
    EXPECT_EQ(Text(15), "2");

    Select(picked, {1});
    Fire(11);
    EXPECT_EQ(Column(picked, 0), "1|2");
    EXPECT_EQ(Column(picked, 1), "A03|A01");
    EXPECT_EQ(Selected(picked), "0");
    Fire(13);
    EXPECT_EQ(Column(picked, 0), "1");
    EXPECT_EQ(Column(picked, 1), "A01");
    EXPECT_EQ(Text(15), "1");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

TEST_P(RowDemoTest, AGoodsCodeFillsItsLine)
{
    OpenDemoForm("43_detail_lookup.xml");
    ASSERT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    CListCtrlEx* lines = Grid(7);
    ASSERT_EQ(lines->GetItemCount(), 1);

    Type(lines, 0, 1, 20, "A01");
    Type(lines, 0, 6, 21, "4");
    EXPECT_EQ(Column(lines, 2), "六角螺栓");
    EXPECT_EQ(Column(lines, 3), "M8×40");
    EXPECT_EQ(Column(lines, 4), "盒");
    EXPECT_DOUBLE_EQ(lines->GetItemText(0, 5).toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(lines->GetItemText(0, 7).toDouble(), 50);
    EXPECT_EQ(Text(32), "4");
    EXPECT_EQ(Text(31), "50");

    // A code that names no goods empties the line's goods and amount.
    Fire(10);
    ASSERT_EQ(lines->GetItemCount(), 2);
    Type(lines, 1, 6, 21, "2");
    Type(lines, 1, 1, 20, "Z'9");
    EXPECT_EQ(Column(lines, 0), "1|2");
    EXPECT_EQ(Column(lines, 2), "六角螺栓|");
    EXPECT_EQ(lines->GetItemText(1, 7), "");
    EXPECT_EQ(Text(32), "6");
    EXPECT_EQ(Text(31), "50");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

} // namespace

TEMBRA_ACTION_KINDS(RowActionsTest);
TEMBRA_ACTION_KINDS(SelectIntoTest);
TEMBRA_ACTION_KINDS(EndEditTest);
TEMBRA_ACTION_KINDS(RowDemoTest);
