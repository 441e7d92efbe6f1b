// The control-state actions on a real form, their queries on the test
// database.
#include "text/SqlTexts.h"
#include "ActionFormTest.h"
#include "DemoDatabase.h"
#include "ActionTexts.h"
#include "grid/ListCtrlEx.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <functional>

namespace {

const char* const Controls =
    "<textbox id='1' pos='0,0,100,20' value=''/>"
    "<textbox id='2' pos='0,30,100,50' value='edit'/>"
    "<button id='3' style='3' pos='0,60,100,80' value='两态'/>"
    "<button id='4' style='6' pos='0,90,100,110' value='三态'/>"
    "<button id='5' style='1' pos='0,120,100,140' value='保存'/>"
    "<static id='6' pos='0,150,100,170' value='' hidden='1'/>"
    "<table id='7' pos='200,0,600,200'><PARA><col_info><col id='1' title='甲' width='60'/>"
    "<col id='2' title='乙' width='60'/><col id='3' title='丙' width='60'/></col_info></PARA></table>"
    "<button id='11' style='9' pos='0,180,100,200' value='单选'/>";

class ControlStateActionsTest : public ActionFormTest
{
protected:
    void SetUp() override
    {
        ActionFormTest::SetUp();
        Exec("CREATE TABLE flags (k INTEGER, a INTEGER, b INTEGER, name VARCHAR(20))");
        Exec("INSERT INTO flags VALUES(1, 1, 0, 'O''Brien')");
        Exec("INSERT INTO flags VALUES(2, 0, 1, 'Li')");
        Exec("INSERT INTO flags VALUES(3, 2, -1, 'Wang')");
    }

    // The form with the actions on button 9 and, after them, a marker that
    // shows whether the list went on: it ticks check box 3.
    void OpenWith(const QString& actions)
    {
        Open(QString(Controls) + "<button id='9' style='1' pos='0,210,80,230' value='go'><ACTION><CLICK>" + actions
             + "<set_btn_state target_ids='3' values='SELECT 1 FROM flags WHERE k=1'/>"
               "</CLICK></ACTION></button>");
    }

    bool ListWentOn() const { return Box(3)->isChecked(); }

    QCheckBox* Box(int id) const { return qobject_cast<QCheckBox*>(Control(id)); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
    CListCtrlEx* Grid() const { return qobject_cast<CListCtrlEx*>(Control(7)); }
};

// Value i of the flat result (row after row) goes to target i.
TEST_P(ControlStateActionsTest, ValuesPairWithTargetsRowAfterRow)
{
    OpenWith("<show target_ids='1;2;5;6' values='SELECT a, b FROM flags WHERE k&lt;3 ORDER BY k'/>");
    Control(5)->hide();
    Fire(9);
    EXPECT_FALSE(Control(1)->isHidden());
    EXPECT_TRUE(Control(2)->isHidden());
    EXPECT_TRUE(Control(5)->isHidden());
    EXPECT_FALSE(Control(6)->isHidden());
    EXPECT_TRUE(ListWentOn());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_P(ControlStateActionsTest, ValuesAppliedByKeyword)
{
    struct Case {
        const char* action;
        std::function<bool()> check;
    } cases[] = {
        // 1 shows, 0 and -1 hide.
        {"<show target_ids='1;2;5' values='SELECT 1, 0, -1'/>",
         [this] { return !Control(1)->isHidden() && Control(2)->isHidden() && Control(5)->isHidden(); }},
        // Any value but 0 enables; an edit is read-only exactly while disabled.
        {"<able target_ids='2;5' values='SELECT 0, -1'/>",
         [this] {
             return !Edit(2)->isEnabled() && Edit(2)->isReadOnly() && Control(5)->isEnabled();
         }},
        {"<able target_ids='2' values='SELECT 0'/><able target_ids='2' values='SELECT 1'/>",
         [this] { return Edit(2)->isEnabled() && !Edit(2)->isReadOnly(); }},
        // 2 is the third state of a three-state box.
        {"<set_btn_state target_ids='4' values='SELECT 2'/>",
         [this] { return Box(4)->checkState() == Qt::PartiallyChecked; }},
        {"<set_btn_state target_ids='4;11' values='SELECT 1, 1'/><set_btn_state target_ids='4;11' values='SELECT 0, 0'/>",
         [this] {
             return Box(4)->checkState() == Qt::Unchecked
                    && !qobject_cast<QRadioButton*>(Control(11))->isChecked();
         }},
        // A target that names nothing is skipped with its value.
        {"<able target_ids='77;5' values='SELECT 1, 0'/>", [this] { return !Control(5)->isEnabled(); }},
        // No row: nothing changes, the list goes on.
        {"<show target_ids='1' values='SELECT a FROM flags WHERE k=99'/>",
         [this] { return !Control(1)->isHidden(); }},
    };
    for (const Case& c : cases) {
        OpenWith(c.action);
        Fire(9);
        EXPECT_TRUE(c.check()) << c.action;
        EXPECT_TRUE(ListWentOn()) << c.action;
        EXPECT_TRUE(m_messages.isEmpty()) << c.action << ": " << m_messages.join('|').toStdString();
    }
}

TEST_P(ControlStateActionsTest, ButtonsWithoutRightStayDisabled)
{
    OpenWith("<able target_ids='5;2' values='SELECT 1, 1'/>");
    m_form->m_strNoRightIds = ";5;";
    Control(5)->setEnabled(false);
    Edit(2)->setEnabled(false);
    Fire(9);
    EXPECT_FALSE(Control(5)->isEnabled());
    EXPECT_TRUE(Edit(2)->isEnabled());
}

// Failures stop the list: a count that differs (with its message box),
// a query that fails (with the database's text), a reference that is no
// grid, a missing selection or target list (silently).
TEST_P(ControlStateActionsTest, FailuresStopTheList)
{
    struct Case {
        const char* action;
        QString message; // empty: none
    } cases[] = {
        {"<show target_ids='1;2;' values='SELECT a, b FROM flags WHERE k=1'/>", ActionTexts::CountMismatch},
        {"<able target_ids='1;2' values='SELECT a, b, name FROM flags WHERE k=1'/>", ActionTexts::CountMismatch},
        {"<lock_col table_id='7' target_ids='1;2;3' values='SELECT a, b FROM flags ORDER BY k'/>",
         ActionTexts::CountMismatch},
        {"<show target_ids='1' values='SELECT nothing FROM no_such_table'/>", "数据异常!\n"},
        {"<show target_ids='1' values=''/>", "数据异常!\n"},
        {"<show table_id='2' target_ids='1' values='SELECT 0'/>", "控件指向出错:\n2"},
        {"<lock_col table_id='2' target_ids='1' values='SELECT 1'/>", "控件指向出错:\n2"},
        {"<lock_col table_id='77' target_ids='1' values='SELECT 1'/>", "控件指向出错:\n77"},
        {"<lock_col target_ids='1' values='SELECT 1'/>", ""},
        {"<show table_id='7' target_ids='1' values='SELECT 0'/>", ""},
        {"<show values='SELECT 0'/>", ""},
    };
    for (const Case& c : cases) {
        m_messages.clear();
        OpenWith(c.action);
        Fire(9);
        EXPECT_FALSE(ListWentOn()) << c.action;
        EXPECT_FALSE(Control(1)->isHidden()) << c.action;
        EXPECT_EQ(m_messages, c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.action;
    }
}

TEST_P(ControlStateActionsTest, ParametersGoInEscaped)
{
    const QString one = "SELECT CASE WHEN COUNT(*)=1 THEN 1 ELSE 0 END FROM flags WHERE 1=1";
    struct Case {
        QString text; // of box 1
        QString action;
        bool shown;
        QString message;
    } cases[] = {
        // A where fragment only while its control holds a value; an
        // apostrophe stands doubled.
        {"O'Brien",
         "<show target_ids='5' values=\"" + one
             + "{{p1}}\"><para_info_where><w value='1' where=\" AND name='{{self}}'\"/></para_info_where></show>",
         true, ""},
        {"",
         "<show target_ids='5' values=\"" + one
             + "{{p1}}\"><para_info_where><w value='1' where=\" AND name='{{self}}'\"/></para_info_where></show>",
         false, ""},
        // para_info values are escaped too, and must be numbers outside quotes.
        {"O'Brien", "<show target_ids='5' values=\"" + one + " AND name='{{p1}}'\"><para_info><p value='1'/></para_info></show>",
         true, ""},
        {"1", "<show target_ids='5' values=\"" + one + " AND k={{p1}}\"><para_info><p value='1'/></para_info></show>",
         true, ""},
        {"1 OR 1=1", "<show target_ids='5' values=\"" + one + " AND k={{p1}}\"><para_info><p value='1'/></para_info></show>",
         true, SqlTexts::NotANumber.arg("1 OR 1=1", "{{p1}}")},
        {"1", "<show target_ids='5' values=\"" + one + " AND k={{p1}}\"><para_info><p value='77'/></para_info></show>",
         true, "控件指向出错:\n77"},
    };
    for (const Case& c : cases) {
        m_messages.clear();
        OpenWith(c.action);
        Edit(1)->setText(c.text);
        Fire(9);
        EXPECT_EQ(!Control(5)->isHidden(), c.shown) << c.action.toStdString();
        EXPECT_EQ(m_messages, c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.action.toStdString();
    }
}

TEST_P(ControlStateActionsTest, SelectedRowKey)
{
    OpenWith("<set_btn_state table_id='7' target_ids='4' values='SELECT a FROM flags WHERE k={{id?uid}}'/>");
    CListCtrlEx* grid = Grid();
    for (const QString key : {"1", "3", "2"}) {
        const int row = grid->InsertRow(grid->GetItemCount(), key);
        grid->SetRowData(row, nullptr, key, 0);
    }
    grid->SelectRow(1, true);
    Fire(9);
    EXPECT_EQ(Box(4)->checkState(), Qt::PartiallyChecked);
    grid->SelectRow(-1, false);
    grid->SelectRow(2, true);
    Fire(9);
    EXPECT_EQ(Box(4)->checkState(), Qt::Unchecked);

    // A key that is no number never reaches the SQL.
    grid->SetRowData(2, nullptr, "2 OR 1=1", 0);
    Fire(9);
    EXPECT_EQ(m_messages, QStringList{SqlTexts::NotANumber.arg("2 OR 1=1", "{{id?uid}}")});
}

TEST_P(ControlStateActionsTest, LockedColumns)
{
    OpenWith("<lock_col table_id='7' target_ids='2;3;9;0' values='SELECT 1, 0, 1, 1'/>");
    CListCtrlEx* grid = Grid();
    Fire(9);
    EXPECT_TRUE(ListWentOn());
    EXPECT_TRUE(grid->horizontalHeader()->isSectionHidden(1));
    EXPECT_TRUE(grid->IsColumnReadOnly(1));
    EXPECT_FALSE(grid->horizontalHeader()->isSectionHidden(2));
    EXPECT_FALSE(grid->IsColumnReadOnly(2));
    EXPECT_EQ(grid->GetLockedColumns(), ",2,");
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Fixed);

    // Again: nothing added. A 0 never unlocks.
    Fire(9);
    EXPECT_EQ(grid->GetLockedColumns(), ",2,");
    OpenWith("<lock_col table_id='7' target_ids='3' values='SELECT 1'/>"
             "<lock_col table_id='7' target_ids='1;3' values='SELECT 1, 0'/>");
    Fire(9);
    EXPECT_EQ(Grid()->GetLockedColumns(), ",3,,1,");
    EXPECT_TRUE(Grid()->horizontalHeader()->isSectionHidden(2));
}

TEST_P(ControlStateActionsTest, CheckStateIntoAnotherControl)
{
    struct Case {
        const char* action;
        Qt::CheckState state;
        QString label; // what label 6 shows; empty: left hidden
    } cases[] = {
        {"<get_btn_state target_ids='4' values='6'/>", Qt::Checked, "1"},
        {"<get_btn_state target_ids='4' values='6'/>", Qt::PartiallyChecked, "2"},
        {"<get_btn_state target_ids='4' values='6'/>", Qt::Unchecked, "0"},
        {"<get_btn_state target_ids='1' values='6'/>", Qt::Checked, "0"},
        {"<get_btn_state target_ids='77' values='6'/>", Qt::Checked, ""},
        {"<get_btn_state target_ids='4' values='77'/>", Qt::Checked, ""},
    };
    for (const Case& c : cases) {
        OpenWith(c.action);
        Box(4)->setCheckState(c.state);
        Fire(9);
        auto* label = qobject_cast<QLabel*>(Control(6));
        EXPECT_EQ(label->isHidden(), c.label.isEmpty()) << c.action;
        EXPECT_EQ(label->text(), c.label) << c.action;
        EXPECT_TRUE(ListWentOn()) << c.action;
        EXPECT_TRUE(m_messages.isEmpty()) << c.action;
    }
}

// The demo form: a role's query hides and locks a column, enables the
// buttons and shows the note; a product row sets the check boxes.
TEST_P(ControlStateActionsTest, DemoControlStates)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/44_cells.sql", failure))
        << failure.toStdString();
    OpenDemoForm("45_control_states.xml");
    CListCtrlEx* grid = Grid();
    ASSERT_EQ(grid->GetItemCount(), 4);
    auto* role = qobject_cast<QComboBox*>(Control(2));
    role->setCurrentIndex(role->findText("店员"));
    Fire(3);
    EXPECT_TRUE(grid->horizontalHeader()->isSectionHidden(2));
    EXPECT_EQ(grid->GetLockedColumns(), ",3,");
    EXPECT_FALSE(Control(11)->isEnabled());
    EXPECT_TRUE(Control(14)->isHidden());
    role->setCurrentIndex(role->findText("经理"));
    Fire(3);
    EXPECT_TRUE(grid->horizontalHeader()->isSectionHidden(2));
    EXPECT_TRUE(Control(11)->isEnabled());
    EXPECT_TRUE(Control(12)->isEnabled());
    EXPECT_FALSE(Control(13)->isHidden());
    EXPECT_FALSE(Control(14)->isHidden());

    grid->SelectRow(2, true);
    Fire(7);
    EXPECT_EQ(Box(21)->checkState(), Qt::Checked);
    EXPECT_EQ(Box(22)->checkState(), Qt::PartiallyChecked);
    Fire(23);
    EXPECT_FALSE(Control(24)->isHidden());
    EXPECT_EQ(qobject_cast<QLabel*>(Control(24))->text(), "1");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
}

} // namespace

TEMBRA_ACTION_KINDS(ControlStateActionsTest);
