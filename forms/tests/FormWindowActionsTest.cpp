// The keywords the form window carries out itself, through real form windows
// built by the real builder and run by the event machinery on SQLite.
#include "ActionDispatcher.h"
#include "D_T1.h"
#include "Dialog_TextBox_Info.h"
#include "FileChooser.h"
#include "FormEventRunner.h"
#include "FormWindowActions.h"
#include "QvControls.h"
#include "db/DbSchema.h"
#include "db/tests/DbTestDatabase.h"
#include "grid/ListCtrlEx.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"
#include "TempFolder.h"
#include "widgets/FileEditCtrl.h"
#include "xml/XmlNode.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class FormWindowActionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = theApp();
        // Failed events write the log file there; test programs run side by
        // side must not share one.
        SetModuleFolderOverride(m_programFolder.path());
        m_previousSink = SetMessageSink([this](const QString& text) { m_messages << text; });
        m_database = std::make_unique<DbTestDatabase>(2);
        ASSERT_FALSE(m_database->ConnectText().isEmpty()) << m_database->Problem().toStdString();
        CDbConnection db;
        db.SetConnectString(m_database->ConnectText());
        ASSERT_TRUE(db.Connect());
        ASSERT_TRUE(db.ExecuteScript(DbSchemaScript(2)));
        db.Close();
        theApp().m_strConnectText = ScrambleText(m_database->ConnectText(), 1);
        theApp().m_strUserUid = "1";
        theApp().m_strUserId = "clerk";

        CActionDispatcher& dispatcher = CActionDispatcher::Instance();
        dispatcher.Clear();
        RegisterFormWindowActions();
        // Records what ran, in order: <query_to_head note='x'/> stands for any
        // handler of the action object.
        dispatcher.Register("query_to_head", [this](D_T1& form, const CXmlNode& action, int, const QString&) {
            m_ran << action.GetAttribute("note") + (form.Life() == FormLife::InEvent ? "(busy)" : "")
                         + QString("@%1").arg(form.m_actions.m_nPage);
            return true;
        });
        dispatcher.Register("check", [](D_T1& form, const CXmlNode&, int, const QString&) {
            form.m_actions.m_db.m_strError = "refused";
            return false;
        });
        QGuiApplication::clipboard()->setText("before");
    }

    void TearDown() override
    {
        for (const QPointer<D_T1>& form : m_forms)
            delete form.data();
        CActionDispatcher::Instance().Clear();
        SetMessageSink(m_previousSink);
        theApp() = m_saved;
        SetModuleFolderOverride(QString());
    }

    D_T1* Open(const QString& dialog, const QString& head = "<head title='t' pos='0,0,400,300'/>")
    {
        auto* form = new D_T1;
        m_forms << form;
        form->SetBuilder(std::make_unique<QvControls>());
        form->SetEvents(std::make_unique<CFormEventRunner>());
        form->m_strMenuUid = "7";
        const QString text = "<html id='0'>" + head + "<body><dialog>" + dialog
                             + "</dialog></body></html>";
        EXPECT_TRUE(form->LoadDescription(text));
        EXPECT_TRUE(form->Create());
        return form;
    }

    static QString Button(int id, const QString& click)
    {
        return QString("<button id='%1' pos='0,%2,80,24' value='b%1'><ACTION><CLICK>%3</CLICK></ACTION></button>")
            .arg(id)
            .arg(id * 30)
            .arg(click);
    }

    static QString Grid(int id)
    {
        return QString("<table id='%1' pos='100,0,200,100'><PARA><col_info><col id='1' name='名称' width='80'/>"
                       "<col id='2' name='数量' width='60'/></col_info></PARA></table>")
            .arg(id);
    }

    static CListCtrlEx* GridOf(D_T1* form, int id)
    {
        return qobject_cast<CListCtrlEx*>(form->GetDlgItem(id + 1024));
    }

    static void AddRow(CListCtrlEx* grid, const QString& key, const QString& name, const QString& count)
    {
        const int row = grid->InsertRow(grid->GetItemCount(), name);
        grid->SetItemText(row, 1, count);
        grid->SetRowData(row, nullptr, key, kRowUnchanged);
    }

    TempFolder m_programFolder; // the program folder while the test runs
    AppState m_saved;
    MessageSink m_previousSink;
    std::unique_ptr<DbTestDatabase> m_database;
    QList<QPointer<D_T1>> m_forms;
    QStringList m_messages;
    QStringList m_ran;
};

TEST_F(FormWindowActionsTest, SendClickRunsTheButtonOnceAfterTheEvent)
{
    D_T1* form = Open(Button(1, "<send_click target_ids='2'/><query_to_head note='first'/>")
                      + Button(2, "<query_to_head note='second'/>"));
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(m_ran, QStringList({"first(busy)@1"}));
    QTest::qWait(20);
    EXPECT_EQ(m_ran, QStringList({"first(busy)@1", "second(busy)@1"}));
}

TEST_F(FormWindowActionsTest, SendMessageRunsTheListNestedUnlessDisabled)
{
    D_T1* form = Open(Button(1, "<sendmessage target_ids='2' values='CLICK'/><query_to_head note='after'/>")
                      + Button(2, "<query_to_head note='nested'/>"));
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(m_ran, QStringList({"nested(busy)@1", "after(busy)@1"}));
    m_ran.clear();
    form->GetDlgItem(1026)->setEnabled(false);
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(m_ran, QStringList({"after(busy)@1"}));
}

TEST_F(FormWindowActionsTest, ClickPageMovesThePageForTheNestedQuery)
{
    // page: 1 first, 2 previous, 3 next, 4 last; no bound applies.
    const struct
    {
        int page;
        int before;
        int expected;
    } cases[] = {{1, 5, 1}, {2, 1, 0}, {3, 2, 3}, {4, 2, 9}, {7, 4, 4}};
    for (const auto& c : cases) {
        D_T1* form = Open(Button(1, QString("<click_page><para_info page='%1' button_id='2'/></click_page>").arg(c.page))
                          + Button(2, "<query_to_head note='q'/>"));
        form->m_actions.m_nPage = c.before;
        form->m_actions.m_nPageCount = 9;
        m_ran.clear();
        form->FireEvent(1025, "CLICK");
        EXPECT_EQ(m_ran, QStringList({QString("q(busy)@%1").arg(c.expected)})) << c.page;
        EXPECT_TRUE(form->m_actions.m_bResetPaging);
    }
}

TEST_F(FormWindowActionsTest, CopyContentFillsTheTemplateOrCopiesNothing)
{
    const QString boxes = "<textbox id='5' pos='0,200,80,20' value='甲'/><textbox id='6' pos='0,230,80,20' value='乙'/>";
    const struct
    {
        QString action;
        QString clipboard;
        bool failed;
    } cases[] = {
        {"<copycontent values='{{p1}}{{\\t}}{{p2}}{{\\n}}end'><para_info><p value='5'/><p value='6'/></para_info>"
         "</copycontent>",
         "甲\t乙\r\nend", false},
        {"<copycontent values='{{\\t}}{{\\n}}'><para_info><p value='5'/></para_info></copycontent>", "\t\r\n", false},
        {"<copycontent values='{{\\t}}{{\\n}}'><para_info/></copycontent>", "before", false},
        {"<copycontent values='x{{p1}}'><para_info><p value='99'/></para_info></copycontent>", "before", true},
    };
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->setText("before");
        m_messages.clear();
        D_T1* form = Open(boxes + Button(1, c.action));
        form->FireEvent(1025, "CLICK");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.clipboard) << c.action.toStdString();
        EXPECT_EQ(m_messages.size(), c.failed ? 1 : 0) << c.action.toStdString();
        if (c.failed && !m_messages.isEmpty()) {
            EXPECT_TRUE(m_messages.first().contains("控件指向出错:\n99")) << m_messages.first().toStdString();
        }
    }
}

TEST_F(FormWindowActionsTest, SetFocusSelectsTheWholeText)
{
    D_T1* form = Open("<textbox id='5' pos='0,200,80,20' value='abc'/>" + Button(1, "<set_focus target_ids='5'/>"));
    form->activateWindow();
    form->FireEvent(1025, "CLICK");
    auto* box = qobject_cast<QLineEdit*>(form->GetDlgItem(1029));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->selectedText(), "abc");
}

TEST_F(FormWindowActionsTest, DemoFormCopiesFocusesAndCloses)
{
    QFile file(QStringLiteral(TEMBRA_DEMO_FORMS) + "/24_events.xml");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    auto* form = new D_T1;
    QPointer<D_T1> guard = form;
    m_forms << form;
    form->SetBuilder(std::make_unique<QvControls>());
    form->SetEvents(std::make_unique<CFormEventRunner>());
    ASSERT_TRUE(form->LoadDescription(QString::fromUtf8(file.readAll())));
    ASSERT_TRUE(form->Create());
    form->FireEvent(1029, "CLICK");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "客户: 华北贸易\t电话: 010-5555\r\n");
    form->FireEvent(1032, "CLICK");
    QTest::qWait(20);
    EXPECT_TRUE(guard.isNull());
}

TEST_F(FormWindowActionsTest, CloseIsCarriedOutAfterTheEvent)
{
    QPointer<D_T1> form = Open(Button(1, "<close/><query_to_head note='still'/>"));
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(m_ran, QStringList({"still(busy)@1"}));
    QTest::qWait(20);
    EXPECT_TRUE(form.isNull());
}

TEST_F(FormWindowActionsTest, ReturnSelectedHandsTheChoiceToTheOpener)
{
    // Not a picker: nothing happens and nothing closes.
    D_T1* plain = Open(Grid(3) + Button(1, "<return_selected table_id='3'/>"));
    AddRow(GridOf(plain, 3), "41", "钉", "2");
    GridOf(plain, 3)->SelectRow(0, true);
    plain->FireEvent(1025, "CLICK");
    EXPECT_TRUE(plain->isVisible());
    EXPECT_TRUE(m_messages.isEmpty());

    const struct
    {
        QString values;
        bool select;
        QString expected;
        bool closed;
    } cases[] = {{"0", true, "42", true}, {"2", true, "7", true}, {"0", false, "unchanged", false}};
    for (const auto& c : cases) {
        QString slot = "unchanged";
        D_T1* picker = Open(Grid(3) + Button(1, QString("<return_selected table_id='3' values='%1'/>").arg(c.values)));
        picker->setAttribute(Qt::WA_DeleteOnClose, false);
        picker->m_pReturnSlot = &slot;
        AddRow(GridOf(picker, 3), "41", "钉", "2");
        AddRow(GridOf(picker, 3), "42", "钳", "7");
        if (c.select)
            GridOf(picker, 3)->SelectRow(1, true);
        picker->FireEvent(1025, "CLICK");
        EXPECT_EQ(slot, c.expected) << c.values.toStdString();
        EXPECT_EQ(picker->isVisible(), !c.closed) << c.values.toStdString();
    }
}

TEST_F(FormWindowActionsTest, ResetDetailMarksRowsAndARollbackGivesThemBack)
{
    D_T1* form = Open(Grid(3) + Button(1, "<reset_detail target_ids='3' values='1'/>")
                      + Button(2, "<reset_detail target_ids='3' values='2'/>")
                      + Button(4, "<reset_detail target_ids='3' values='2'/><check/>")
                      + Button(5, "<reset_detail target_ids='3' values='1'/><check/>"));
    CListCtrlEx* grid = GridOf(form, 3);
    AddRow(grid, "41", "钉", "2");
    AddRow(grid, "42", "钳", "7");
    form->m_actions.m_deletedUids.Add(grid, "9");

    form->FireEvent(1028, "CLICK"); // fails after the reset: rolled back
    EXPECT_EQ(grid->GetRowKey(1)->nState, kRowUnchanged);
    form->FireEvent(1029, "CLICK"); // the keys come back with the states
    EXPECT_EQ(grid->GetRowKey(0)->strKey, "41");
    EXPECT_EQ(grid->GetRowKey(1)->strKey, "42");
    EXPECT_EQ(grid->GetRowKey(1)->nState, kRowUnchanged);

    form->FireEvent(1026, "CLICK");
    EXPECT_EQ(grid->GetRowKey(0)->strKey, "41");
    EXPECT_EQ(grid->GetRowKey(1)->nState, kRowMarked);

    form->FireEvent(1025, "CLICK");
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(grid->GetRowKey(row)->strKey, "0");
        EXPECT_EQ(grid->GetRowKey(row)->nState, kRowNew);
    }
    EXPECT_TRUE(form->m_actions.m_deletedUids.IsEmpty());
}

TEST_F(FormWindowActionsTest, MenuGreysDisabledItemsAndClicksTheChosenOneAfterTheEvent)
{
    D_T1* form = Open(Button(1, "<menu><i id='2' name='甲' color='5'/><i id='0'/><i id='3' name='乙' color='31'/>"
                                "<i id='2' name='丙' color='0'/><i id='2' name='丁' color='30'/></menu>"
                                "<query_to_head note='menu done'/>")
                      + Button(2, "<query_to_head note='two'/>") + Button(3, "<query_to_head note='three'/>"));
    form->GetDlgItem(1027)->setEnabled(false);
    QStringList shown;
    QTimer::singleShot(50, [&shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            shown << (action->isSeparator() ? "-"
                                            : action->text() + (action->isEnabled() ? "" : "(grey)")
                                                  + (action->icon().isNull() ? "" : "(dot)"));
        }
        menu->setActiveAction(menu->actions().first());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(shown, QStringList({"甲(dot)", "-", "乙(grey)", "丙", "丁(dot)"}));
    EXPECT_EQ(m_ran, QStringList({"menu done(busy)@1"}));
    QTest::qWait(20);
    EXPECT_EQ(m_ran, QStringList({"menu done(busy)@1", "two(busy)@1"}));
}

TEST_F(FormWindowActionsTest, SelectFileWritesThePathOrFailsOnCancel)
{
    D_T1* form = Open("<textbox id='5' pos='0,200,280,20' value=''/>"
                      + Button(1, "<select_file target_ids='5' values='pic'/><query_to_head note='after'/>"));
    for (const bool choose : {true, false}) {
        m_ran.clear();
        m_messages.clear();
        QStringList asked;
        SetFileToOpenChooserForTests([&asked, choose](const QString& title, const QString& filter) {
            asked << title << filter;
            return choose ? QCoreApplication::applicationFilePath() : QString();
        });
        form->FireEvent(1025, "CLICK");
        SetFileToOpenChooserForTests({});
        ASSERT_EQ(asked.size(), 2);
        EXPECT_EQ(asked[0], "打开文件");
        EXPECT_TRUE(asked[1].contains("Pic Files (*.jpeg *.jpg *.png *.bmp)")) << asked[1].toStdString();
        if (choose) {
            EXPECT_EQ(qobject_cast<QLineEdit*>(form->GetDlgItem(1029))->text(), QCoreApplication::applicationFilePath());
            EXPECT_EQ(m_ran, QStringList({"after(busy)@1"}));
        } else {
            // The list stops; a cancel has no text of its own to show.
            EXPECT_TRUE(m_ran.isEmpty());
            EXPECT_TRUE(m_messages.isEmpty());
        }
    }
}

TEST_F(FormWindowActionsTest, HtmlNodeTextAndListReadTheFilteredElements)
{
    const QString page = "<table><tr><td>a1</td><td><b>x</b></td><td>a2</td></tr><tr><td>b1</td></tr></table>"
                         "<p class=\"k\">keep</p>";
    D_T1* form = Open("<textbox id='5' pos='0,200,280,20'/><textbox id='6' pos='0,230,280,20'/>"
                      "<textbox id='7' pos='0,260,280,20'/><textbox id='8' pos='0,290,280,20'/>" + Grid(3)
                      + Button(1, "<get_html_node_text><para_info_where html_id='5' path_id='6' target_id='7' "
                                  "result_id='8'/></get_html_node_text>")
                      + Button(2, "<get_html_list><para_info_where html_id='5' path_id='6' table_id='3'/>"
                                  "</get_html_list>")
                      + Button(4, "<get_html_node_text><para_info_where html_id='99' path_id='6' target_id='7' "
                                  "result_id='8'/></get_html_node_text>"));
    auto text = [form](int id) { return qobject_cast<QLineEdit*>(form->GetDlgItem(id + 1024))->text(); };
    auto set = [form](int id, const QString& value) {
        qobject_cast<QLineEdit*>(form->GetDlgItem(id + 1024))->setText(value);
    };
    set(5, page);

    set(6, "p,class,k");
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(text(7), "keep");
    EXPECT_EQ(text(8), " 9 -  1  - Html Elements found");

    set(6, "p,class,none");
    form->FireEvent(1025, "CLICK");
    EXPECT_EQ(text(7), " 9 - Html Elements found");

    set(7, "kept");
    form->FireEvent(1028, "CLICK"); // no page control: nothing
    EXPECT_EQ(text(7), "kept");
    EXPECT_TRUE(m_messages.isEmpty());

    set(6, "tr\r\ntd");
    AddRow(GridOf(form, 3), "1", "old", "");
    form->FireEvent(1026, "CLICK");
    CListCtrlEx* grid = GridOf(form, 3);
    // The "tr" line makes empty rows; the "td" line has no row to fill.
    EXPECT_EQ(grid->GetItemCount(), 2);
    EXPECT_EQ(grid->GetItemText(0, 0), "");

    // No filter: every element in document order; a cell whose text is
    // markup is skipped, its inner element fills the cell instead.
    set(6, "");
    form->FireEvent(1026, "CLICK");
    ASSERT_EQ(grid->GetItemCount(), 2);
    EXPECT_EQ(QStringList({grid->GetItemText(0, 0), grid->GetItemText(0, 1)}), QStringList({"a1", "x"}));
    EXPECT_EQ(QStringList({grid->GetItemText(1, 0), grid->GetItemText(1, 1)}), QStringList({"b1", "keep"}));
}

TEST_F(FormWindowActionsTest, OtherFormsWaitWhileAnEventShowsAMessageBox)
{
    // The stand-in of an action that asks the user: a message box parented
    // to the form, which runs the application loop until it is answered.
    QStringList duringBox;
    CActionDispatcher::Instance().Register(
        "show_dialog", [this, &duringBox](D_T1& form, const CXmlNode&, int, const QString&) {
            QMessageBox box(QMessageBox::Question, "t", "sure?", QMessageBox::Ok | QMessageBox::Cancel, &form);
            box.setDefaultButton(QMessageBox::Ok);
            QTimer::singleShot(150, &box, [this, &box, &form, &duringBox] {
                // F1 clicks nothing behind the box; the window closing waits.
                QTest::keyClick(&box, Qt::Key_F1);
                form.close();
                duringBox = m_ran;
                QTest::keyClick(&box, Qt::Key_Return);
            });
            m_ran << QString(box.exec() == QMessageBox::Ok ? "ok" : "cancel");
            return true;
        });
    QPointer<D_T1> asking = Open(Button(1, "<show_dialog/><query_to_head note='after box'/>")
                                     + Button(2, "<query_to_head note='hot key'/>"),
                                 "<head title='a' pos='0,0,400,300'><HOTKEY><para_info><k id='1' value='2'/>"
                                 "</para_info></HOTKEY></head>");
    D_T1* ticking = Open(Button(3, "<query_to_head note='tick'/>"),
                         "<head title='b' pos='0,0,400,300' thread_id='3' time_split='30'/>");
    asking->FireEvent(1025, "CLICK");
    // Enter reached the box; the tick waited; the close was carried out at
    // the end of the event, not in the middle of it.
    EXPECT_TRUE(duringBox.isEmpty()) << duringBox.join(",").toStdString();
    EXPECT_EQ(m_ran.mid(0, 2), QStringList({"ok", "after box(busy)@1"}));
    QTest::qWait(60);
    EXPECT_TRUE(asking.isNull());
    EXPECT_TRUE(m_ran.contains("tick(busy)@1"));
    EXPECT_FALSE(m_ran.contains("hot key(busy)@1"));
    ticking->close();
}

// Runs work on the next modal window of type T once it shows.
template <typename T>
void WhenModal(QObject* context, std::function<void(T&)> work)
{
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, [poll, work] {
        T* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* candidate = qobject_cast<T*>(top);
            if (candidate && candidate->isVisible() && (!std::is_same_v<T, D_T1> || qobject_cast<D_T1*>(top)->m_bModal))
                window = candidate;
        }
        if (!window)
            return;
        poll->deleteLater();
        work(*window);
    });
    poll->start(20);
}

TEST_F(FormWindowActionsTest, TextDetailDialogKeepsLineBreaksAndMarksOnlyChangedCells)
{
    D_T1* form = Open("<editbutton id='5' pos='0,200,200,22' value=''/>" + Grid(3));
    auto* box = qobject_cast<CFileEditCtrl*>(form->GetDlgItem(1029));
    ASSERT_TRUE(box);
    CListCtrlEx* grid = GridOf(form, 3);
    AddRow(grid, "41", "钉", "2");
    const struct
    {
        QString before;
        QString typed; // empty: accepted unchanged
        QString after;
        bool inCell;
        int state;
    } cases[] = {
        {"a\nb", "", "a\nb", false, kRowUnchanged},
        {"a\r\nb", "", "a\nb", false, kRowUnchanged},
        {"a", "", "a", true, kRowUnchanged},
        {"a", "x\ny", "x\ny", true, kRowChanged},
    };
    for (const auto& c : cases) {
        box->setText(c.before);
        grid->GetRowKey(0)->nState = kRowUnchanged;
        box->m_pOwnerGrid = c.inCell ? grid : nullptr;
        box->m_nOwnerRow = 0;
        box->m_nOwnerColumn = 1;
        grid->SetItemText(0, 1, c.before);
        int lines = 0;
        WhenModal<Dialog_TextBox_Info>(form, [&lines, &c](Dialog_TextBox_Info& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "文本详情");
            lines = dialog.Edit()->blockCount();
            if (!c.typed.isEmpty())
                dialog.Edit()->setPlainText(c.typed);
            dialog.findChild<QPushButton*>()->click();
        });
        box->Browse();
        EXPECT_EQ(lines, c.before.count('\n') + 1) << c.before.toStdString();
        // QLineEdit keeps no line breaks: compare what the cell holds.
        if (c.inCell) {
            EXPECT_EQ(grid->GetItemText(0, 1), c.after);
            EXPECT_EQ(grid->GetRowKey(0)->nState, c.state) << c.typed.toStdString();
        }
    }
}

TEST_F(FormWindowActionsTest, PickerResultGoesIntoTheBoxAndTheCell)
{
    const QString picker = "<popup><html id='9'><head title='选择' pos='0,0,300,200'/><body><dialog>" + Grid(3)
                           + Button(1, "<return_selected table_id='3' values='1'/>")
                           + "</dialog></body></html></popup>";
    D_T1* form = Open("<editbutton id='5' pos='0,200,200,22' value='' popup='9'/>" + Grid(4)
                      + "</dialog>" + picker + "<dialog>");
    auto* box = qobject_cast<CFileEditCtrl*>(form->GetDlgItem(1029));
    ASSERT_TRUE(box);
    CListCtrlEx* grid = GridOf(form, 4);
    AddRow(grid, "41", "钉", "2");
    for (const bool inCell : {false, true}) {
        box->m_pOwnerGrid = inCell ? grid : nullptr;
        box->m_nOwnerRow = 0;
        box->m_nOwnerColumn = 1;
        QString input;
        WhenModal<D_T1>(form, [&input](D_T1& picker) {
            input = picker.m_strInput;
            CListCtrlEx* list = GridOf(&picker, 3);
            AddRow(list, "7", "扳手", "1");
            list->SelectRow(0, true);
            picker.FireEvent(1025, "CLICK");
            if (picker.isVisible())
                picker.reject(); // the choice did not end it: the test fails, not hangs
        });
        box->Browse();
        EXPECT_EQ(box->text(), "扳手");
        if (inCell) {
            EXPECT_EQ(input, "41");
            EXPECT_EQ(grid->GetItemText(0, 1), "扳手");
            EXPECT_EQ(grid->GetRowKey(0)->nState, kRowChanged);
        }
    }
    // A cancelled picker leaves the box as it was.
    box->setText("kept");
    WhenModal<D_T1>(form, [](D_T1& picker) { picker.reject(); });
    box->Browse();
    EXPECT_EQ(box->text(), "kept");
}

// Clicks a control through its window, as the window system delivers a click.
void ClickThroughWindow(QWidget* control)
{
    QWidget* window = control->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, control->mapTo(window, control->rect().center()));
    QCoreApplication::processEvents();
}

TEST_F(FormWindowActionsTest, APickerIsModalAndItsOpenerWaitsForIt)
{
    const QString picker = "<popup><html id='9'><head title='选择' pos='0,0,300,200'/><body><dialog>"
                           "</dialog></body></html></popup>";
    QPointer<D_T1> form = Open("<editbutton id='5' pos='0,10,200,32' value='' popup='9'/>"
                               "<textbox id='6' pos='220,10,320,34'/></dialog>" + picker + "<dialog>");
    auto* box = qobject_cast<CFileEditCtrl*>(form->GetDlgItem(1029));
    QWidget* other = form->GetDlgItem(1030);
    ASSERT_TRUE(box && other);
    bool openerStayed = false;
    WhenModal<D_T1>(form, [&](D_T1& picker) {
        EXPECT_EQ(QApplication::activeModalWidget(), &picker);
        // A click into the opener reaches none of its controls.
        ClickThroughWindow(other);
        EXPECT_NE(QApplication::focusWidget(), other);
        // A close asked for meanwhile (a timer's action, say) waits.
        form->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        openerStayed = form && form->isVisible() && picker.isVisible();
        picker.reject();
    });
    box->Browse();
    EXPECT_TRUE(openerStayed);
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(form.isNull() || !form->isVisible());
}

} // namespace
