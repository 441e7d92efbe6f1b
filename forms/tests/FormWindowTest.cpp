#include "ControlNotifier.h"
#include "D_T1.h"
#include "FormTexts.h"
#include "text/MessageSink.h"
#include "PlainControlBuilder.h"
#include "QvFormAnimation.h"
#include "RecordingEvents.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Fired = QList<QPair<QString, int>>;

// Buttons 1..3 (3 disabled, hot keys F3 → 1, F4 → 3), edits 10 and 11,
// combo boxes 20 and 21, a grid 30.
const char* const Controls = R"(
  <body><dialog>
    <button id='1' pos='10,10,90,30' value='一'/>
    <button id='2' pos='100,10,180,30' value='二'/>
    <button id='3' pos='190,10,270,30' value='三' disabled='1'/>
    <textbox id='10' pos='10,40,200,60'/>
    <textbox id='11' pos='10,70,200,90'/>
    <droplist id='20' pos='10,100,200,120' value='甲;乙'/>
    <droplist id='21' pos='10,130,200,150' value='甲;乙'/>
    <table id='30' pos='10,160,300,300'/>
  </dialog></body>)";

QString FormText(const QString& head)
{
    return QStringLiteral("<html version='1.0' id='0'>%1%2</html>").arg(head, QString::fromUtf8(Controls));
}

const QString PlainHead = QStringLiteral(
    "<head title='单据' pos='0,0,400,320'><HOTKEY><para_info>"
    "<k id='3' value='1'/><k id='4' value='3'/><k id='6' value='99'/></para_info></HOTKEY></head>");

class FormWindow : public ::testing::Test
{
public: // the cases of the event table act through the fixture
    FormWindow()
    {
        m_previousSink = SetMessageSink([this](const QString& text) { messages << text; });
    }
    ~FormWindow() override
    {
        delete form.data();
        SetMessageSink(m_previousSink);
    }

    // Opens a modeless form with the recording event side; false when the
    // description is refused.
    bool Open(const QString& text, std::function<void(D_T1&)> prepare = {})
    {
        delete form.data();
        auto* window = new D_T1;
        form = window;
        window->SetBuilder(std::make_unique<CPlainControlBuilder>());
        window->SetEvents(std::make_unique<RecordingEvents>(record));
        if (prepare)
            prepare(*window);
        if (!window->LoadDescription(text) || !window->Create()) {
            delete window;
            return false;
        }
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }

    template <typename T>
    T* Control(int id) const
    {
        return qobject_cast<T*>(form->GetDlgItem(id + D_T1::ControlIdBase));
    }

    // A click or double click at a point of a control, into the window as
    // the window system gives it (the application makes the double click).
    void WindowClick(QWidget* control, QPoint point, bool twice)
    {
        const QPoint at = control->mapTo(form.data(), point);
        if (twice)
            QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }

    void Focus(QWidget* widget)
    {
        widget->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == widget; }));
    }

    QPointer<D_T1> form;
    RecordedEvents record;
    QStringList messages;

private:
    MessageSink m_previousSink;
};

} // namespace

TEST_F(FormWindow, AppliesTheHead)
{
    ASSERT_TRUE(Open(FormText("<head title='入库单' pos='10,20,410,320' style='2' bg='1'/>")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("入库单"));
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    const QRect expected = CentredFormRect({10, 20, 410, 320}, screen);
    // The position gives the whole window, frame included.
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->frameGeometry() == expected; }));
    EXPECT_EQ(form->frameGeometry(), expected);
    EXPECT_LT(form->width(), 400);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->palette().color(QPalette::Window), form->palette().color(QPalette::Button));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(record.opens, 1);
}

TEST_F(FormWindow, PickerBelowAControlLinesUpItsClientArea)
{
    ASSERT_TRUE(Open(FormText("<head title='t' pos='0,0,300,200'/>"), [](D_T1& f) {
        f.m_bBelow = true;
        f.m_nBelowLeft = 200;
        f.m_nBelowBottom = 150;
    }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->frameGeometry().size() == QSize(300, 200); }));
    EXPECT_EQ(form->frameGeometry().size(), QSize(300, 200));
    const int halfFrame = (form->frameGeometry().width() - form->width()) / 2;
    ASSERT_GT(halfFrame, 0);
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(200 - (halfFrame - 1), 149));
}

TEST_F(FormWindow, StyleOneOpensMaximisedOnWhite)
{
    ASSERT_TRUE(Open(FormText("<head title='t' pos='0' style='1'/>")));
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FormWindow, MissingHeadKeepsTheConstructionValues)
{
    ASSERT_TRUE(Open(FormText("")));
    EXPECT_EQ(form->windowTitle(), FormTexts::DefaultCaption);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FormWindow, PageFormIgnoresTitleAndPosition)
{
    ASSERT_TRUE(Open(FormText("<head title='页' pos='0,0,50,50' time_split='100' thread_id='1'/>"),
                     [](D_T1& f) { f.m_bPage = true; }));
    EXPECT_EQ(form->windowTitle(), FormTexts::DefaultCaption);
    EXPECT_NE(form->size(), QSize(50, 50));
    QTest::qWait(250);
    EXPECT_TRUE(record.fired.isEmpty());
}

TEST_F(FormWindow, MalformedPositionIsReportedAndSkipped)
{
    ASSERT_TRUE(Open(FormText("<head title='t' pos='0'/>")));
    const QSize keptSize = form->size();
    ASSERT_TRUE(Open(FormText("<head title='t' pos='1,2,3'/>")));
    EXPECT_EQ(messages, QStringList{QStringLiteral("矩形数据格式错误")});
    EXPECT_EQ(form->size(), keptSize);
    EXPECT_GT(keptSize.width(), 0);
}

TEST_F(FormWindow, RefusesDescriptionsThatAreNotForms)
{
    EXPECT_FALSE(Open("<html><head title='x'>"));
    EXPECT_FALSE(Open("<form id='0'/>"));
    EXPECT_EQ(messages, QStringList({FormTexts::NotXml, FormTexts::NoHtmlRoot}));
    D_T1 unloaded;
    EXPECT_FALSE(unloaded.Create());
    EXPECT_FALSE(unloaded.isVisible());
}

TEST_F(FormWindow, KeepsTheControlIdTable)
{
    ASSERT_TRUE(Open(FormText(PlainHead)));
    EXPECT_NE(Control<QPushButton>(1), nullptr);
    EXPECT_NE(Control<QLineEdit>(10), nullptr);
    EXPECT_NE(Control<QComboBox>(21), nullptr);
    EXPECT_NE(Control<QTableWidget>(30), nullptr);
    EXPECT_EQ(form->GetDlgItem(1), nullptr); // ids are description ids + 1024
    EXPECT_EQ(form->GetDlgCtrlID(Control<QComboBox>(21)->lineEdit()), 1045);
    EXPECT_EQ(form->GetDlgCtrlID(Control<QTableWidget>(30)->viewport()), 1054);
    EXPECT_EQ(form->GetDlgCtrlID(form), 0);
    EXPECT_EQ(Control<QPushButton>(1)->geometry(), QRect(10, 10, 80, 20));
    EXPECT_FALSE(Control<QPushButton>(3)->isEnabled());
}

TEST_F(FormWindow, FindsTheFirstControlOfAnIdAndKeepsCreationOrder)
{
    ASSERT_TRUE(Open(QStringLiteral("<html id='0'><body><dialog>"
                                    "<button id='5' pos='0,0,50,20' value='先'/>"
                                    "<textbox id='5' pos='0,30,50,50'/>"
                                    "<table id='7' pos='0,60,100,120'/>"
                                    "<table id='6' pos='0,130,100,190'/>"
                                    "</dialog></body></html>")));
    EXPECT_NE(qobject_cast<QPushButton*>(form->GetDlgItem(1029)), nullptr);
    EXPECT_EQ(form->GetControlKind(1029), QStringLiteral("button"));
    EXPECT_EQ(form->GetControlKind(1100), QString());
    QList<int> order;
    for (const D_T1::Control& control : form->GetControls())
        order.append(control.windowId);
    EXPECT_EQ(order, QList<int>({1029, 1029, 1031, 1030}));
    const QList<QWidget*> tables = form->GetControlsOfKind(QStringLiteral("table"));
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables[0], form->GetDlgItem(1031));
    EXPECT_EQ(form->GetControls()[1].element.GetName(), QStringLiteral("textbox"));
    // The second control of the id still reports as its own kind.
    QLineEdit* second = qobject_cast<QLineEdit*>(form->GetControls()[1].widget.data());
    ASSERT_NE(second, nullptr);
    QTest::keyClicks(second, "a");
    EXPECT_EQ(record.fired, Fired({{"EN_CHANGE", 1029}}));
}

TEST_F(FormWindow, EmptyDropListFillsItselfBeforeItOpens)
{
    ASSERT_TRUE(Open(QStringLiteral("<html id='0'><head pos='0,0,300,200'/><body><dialog>"
                                    "<droplist id='22' pos='10,10,200,30'/></dialog></body></html>")));
    auto* list = Control<QComboBox>(22);
    ASSERT_NE(list, nullptr);
    record.onFire = [list](D_T1&, int id, const QString& event) {
        if (id == 1046 && event == FormEvent::Click && list->count() == 0)
            list->addItems({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"), QStringLiteral("丁")});
    };
    list->showPopup();
    ASSERT_FALSE(record.fired.isEmpty());
    EXPECT_EQ(record.fired.first(), qMakePair(QStringLiteral("CLICK"), 1046));
    QWidget* popup = list->view()->window();
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }));
    EXPECT_GE(list->view()->height(), 4 * list->view()->sizeHintForRow(0));
    list->hidePopup();
}

TEST_F(FormWindow, GridThatSetsItsModelLaterKeepsReportingRows)
{
    ASSERT_TRUE(Open(FormText(PlainHead)));
    auto* view = new QTableView(form);
    ControlNotifier::HookItemView(*form, 1100, view);
    form->AddControl(76, QStringLiteral("table"), view);
    view->setModel(new QStandardItemModel(2, 2, view));
    QCoreApplication::processEvents();
    view->setCurrentIndex(view->model()->index(1, 0));
    auto* other = new QStandardItemModel(3, 2, view);
    view->setModel(other);
    QCoreApplication::processEvents();
    view->setCurrentIndex(other->index(2, 1));
    EXPECT_EQ(record.fired, Fired({{"EN_CHANGE", 1100}, {"EN_CHANGE", 1100}}));
}

TEST_F(FormWindow, SubFormsShareTheMakingAndPagesAreRegistered)
{
    ASSERT_TRUE(Open(FormText(PlainHead)));
    D_T1* page = form->NewSubForm(form, true);
    EXPECT_EQ(page->m_pOpener, form.data());
    EXPECT_TRUE(page->m_bPage);
    EXPECT_FALSE(page->isWindow());
    EXPECT_NE(page->GetBuilder(), nullptr);
    form->AddPage(1090, page);
    EXPECT_EQ(form->GetPage(1090, 1), page);
    EXPECT_EQ(form->GetPage(1090, 2), nullptr);
    EXPECT_EQ(form->GetPage(1090, 0), nullptr);
    ASSERT_TRUE(page->LoadDescription(FormText("<head title='页'/>")));
    ASSERT_TRUE(page->Create());
    QTest::mouseClick(page->GetDlgItem(1026), Qt::LeftButton);
    EXPECT_EQ(record.fired, Fired({{"CLICK", 1026}}));
    EXPECT_EQ(page->windowTitle(), FormTexts::DefaultCaption);
    delete page;
    EXPECT_EQ(form->GetPage(1090, 1), nullptr);
}

TEST_F(FormWindow, RootIdMinusOneBuildsNoControls)
{
    ASSERT_TRUE(Open(QStringLiteral("<html id='-1'>%1</html>").arg(QString::fromUtf8(Controls))));
    EXPECT_EQ(form->GetDlgItem(1025), nullptr);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FormWindow, TurnsNotificationsIntoEvents)
{
    struct Case
    {
        const char* name;
        std::function<void(FormWindow&)> act;
        Fired expected;
    };
    const auto viewportOf = [](FormWindow& t) { return t.Control<QTableWidget>(30)->viewport(); };
    const Case cases[] = {
        {"button click", [](FormWindow& t) { QTest::mouseClick(t.Control<QPushButton>(2), Qt::LeftButton); },
         {{"CLICK", 1026}}},
        {"button double click",
         [](FormWindow& t) { QTest::mouseDClick(t.Control<QPushButton>(2), Qt::LeftButton); },
         {{"DCLICK", 1026}}},
        {"button double click as the window system reports it",
         [](FormWindow& t) { t.WindowClick(t.Control<QPushButton>(2), {5, 5}, true); },
         {{"CLICK", 1026}, {"DCLICK", 1026}}},
        {"grid double click as the window system reports it",
         [&](FormWindow& t) { t.WindowClick(viewportOf(t), {5, 5}, true); },
         {{"EN_CHANGE", 1054}, {"CLICK", 1054}, {"DCLICK", 1054}}},
        {"grid click selects the row, then clicks",
         [&](FormWindow& t) { QTest::mouseClick(viewportOf(t), Qt::LeftButton, {}, {5, 5}); },
         {{"EN_CHANGE", 1054}, {"CLICK", 1054}}},
        {"grid right click",
         [&](FormWindow& t) { QTest::mouseClick(viewportOf(t), Qt::RightButton, {}, {5, 5}); },
         {{"EN_CHANGE", 1054}, {"RCLICK", 1054}}},
        {"grid double click",
         [&](FormWindow& t) { QTest::mouseDClick(viewportOf(t), Qt::LeftButton, {}, {5, 5}); },
         {{"DCLICK", 1054}, {"EN_CHANGE", 1054}}},
        {"grid row selected",
         [](FormWindow& t) {
             t.Control<QTableWidget>(30)->setCurrentCell(1, 1);
             t.Control<QTableWidget>(30)->setCurrentCell(1, 0); // same row: no new change
             t.Control<QTableWidget>(30)->setCurrentCell(0, 0);
         },
         {{"EN_CHANGE", 1054}, {"EN_CHANGE", 1054}}},
        {"text change on every length",
         [](FormWindow& t) { QTest::keyClicks(t.Control<QLineEdit>(10), "ab"); },
         {{"EN_CHANGE", 1034}, {"EN_CHANGE", 1034}}},
        {"text change at length three only",
         [](FormWindow& t) {
             t.record.changeLength.insert(1035, 3);
             QTest::keyClicks(t.Control<QLineEdit>(11), "abcd");
         },
         {{"EN_CHANGE", 1035}}},
        {"edit loses the focus",
         [](FormWindow& t) {
             t.Focus(t.Control<QLineEdit>(10));
             t.Focus(t.Control<QLineEdit>(11));
         },
         {{"EN_KILLFOCUS", 1034}}},
        {"combo box 20 loses the focus",
         [](FormWindow& t) {
             t.Focus(t.Control<QComboBox>(20));
             t.Focus(t.Control<QLineEdit>(11));
         },
         {{"EN_KILLFOCUS", 1044}}},
        {"combo box 21 loses the focus and takes its entry",
         [](FormWindow& t) {
             t.Focus(t.Control<QComboBox>(21));
             t.Control<QComboBox>(21)->setEditText(QStringLiteral("乙"));
             t.Focus(t.Control<QLineEdit>(11));
             EXPECT_EQ(t.Control<QComboBox>(21)->currentIndex(), 1);
         },
         {{"EN_CHANGE", 1045}, {"EN_KILLFOCUS", 1045}}},
        {"combo box typed into and chosen from",
         [](FormWindow& t) {
             QComboBox* combo = t.Control<QComboBox>(21);
             QTest::keyClicks(combo->lineEdit(), "x");
             combo->activated(0);
         },
         {{"DCLICK", 1045}, {"EN_CHANGE", 1045}}},
        {"combo box drops down",
         [](FormWindow& t) {
             t.Control<QComboBox>(20)->showPopup();
             t.Control<QComboBox>(20)->hidePopup();
         },
         {{"CLICK", 1044}}},
        {"enter with an action",
         [](FormWindow& t) {
             t.record.enterIds.insert(1034);
             t.Focus(t.Control<QLineEdit>(10));
             QTest::keyClick(t.Control<QLineEdit>(10), Qt::Key_Return);
             EXPECT_EQ(QApplication::focusWidget(), t.Control<QLineEdit>(10));
         },
         {{"ENTER", 1034}}},
        {"enter without an action moves on like tab",
         [](FormWindow& t) {
             t.Focus(t.Control<QLineEdit>(10));
             QTest::keyClick(t.Control<QLineEdit>(10), Qt::Key_Return);
             EXPECT_EQ(QApplication::focusWidget(), t.Control<QLineEdit>(11));
         },
         {{"EN_KILLFOCUS", 1034}}},
        {"ctrl enter stays enter",
         [](FormWindow& t) {
             t.record.enterIds.insert(1034);
             t.Focus(t.Control<QLineEdit>(10));
             QTest::keyClick(t.Control<QLineEdit>(10), Qt::Key_Return, Qt::ControlModifier);
             EXPECT_EQ(QApplication::focusWidget(), t.Control<QLineEdit>(10));
         },
         {}},
        {"hot key clicks its enabled control",
         [](FormWindow& t) {
             t.Focus(t.Control<QPushButton>(2));
             QTest::keyClick(t.Control<QPushButton>(2), Qt::Key_F3);
             EXPECT_EQ(QApplication::focusWidget(), t.Control<QPushButton>(1));
         },
         {{"CLICK", 1025}}},
        {"hot key of a disabled or missing control clicks nothing",
         [](FormWindow& t) {
             t.Focus(t.Control<QPushButton>(2));
             QTest::keyClick(t.Control<QPushButton>(2), Qt::Key_F4);
             QTest::keyClick(t.Control<QPushButton>(2), Qt::Key_F6);
             QTest::keyClick(t.Control<QPushButton>(2), Qt::Key_F9);
             EXPECT_EQ(QApplication::focusWidget(), t.Control<QPushButton>(2));
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Open(FormText(PlainHead)));
        Control<QTableWidget>(30)->setRowCount(2);
        Control<QTableWidget>(30)->setColumnCount(2);
        record = RecordedEvents();
        c.act(*this);
        EXPECT_EQ(record.fired, c.expected);
    }
}

TEST_F(FormWindow, EscapeNeverCloses)
{
    ASSERT_TRUE(Open(FormText(PlainHead)));
    Focus(Control<QLineEdit>(10));
    QTest::keyClick(Control<QLineEdit>(10), Qt::Key_Escape);
    QTest::keyClick(form, Qt::Key_Escape);
    QCoreApplication::processEvents();
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FormWindow, TimerClicksItsControl)
{
    ASSERT_TRUE(Open(FormText("<head title='t' pos='0' thread_id='2' time_split='20'/>")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return record.fired.size() >= 2; }));
    EXPECT_EQ(record.fired.first(), qMakePair(QStringLiteral("CLICK"), 1026));
}

TEST_F(FormWindow, PutsTheInputTextIntoItsControl)
{
    ASSERT_TRUE(Open(FormText("<head title='t' pos='0' in_id='10'><in_id>1</in_id></head>"),
                     [](D_T1& f) { f.m_strInput = QStringLiteral("入"); }));
    EXPECT_EQ(Control<QLineEdit>(10)->text(), QStringLiteral("入"));
    ASSERT_TRUE(Open(FormText("<head title='t' pos='0' in_id='10'><in_id>0</in_id></head>"),
                     [](D_T1& f) { f.m_strInput = QStringLiteral("入"); }));
    EXPECT_TRUE(Control<QLineEdit>(10)->text().isEmpty());
}

TEST_F(FormWindow, ReRunsTheOpenStepOnRequest)
{
    ASSERT_TRUE(Open(FormText(PlainHead)));
    QCoreApplication::postEvent(form, new QEvent(D_T1::ReinitEvent));
    ASSERT_TRUE(QTest::qWaitFor([&] { return record.opens == 2; }));
    EXPECT_EQ(D_T1::MsgReinitForm, 3028);
}

TEST_F(FormWindow, ClosingEndsTimerAndWindow)
{
    ASSERT_TRUE(Open(FormText("<head title='t' pos='0' thread_id='2' time_split='20'/>")));
    form->close();
    const int firedAtClose = record.fired.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.isNull(); }));
    QTest::qWait(60);
    EXPECT_EQ(record.fired.size(), firedAtClose);
}

// Each way a form ends: the close waits while the form's event runs, the
// form is closed for good after it, and its deletion (from the application
// loop) is the last thing that touches it.
TEST_F(FormWindow, EveryWayOfClosingEndsInOneDeletion)
{
    const struct {
        const char* name;
        std::function<void(D_T1&)> close;
        bool inEvent; // asked for while an event of the form runs
    } ways[] = {
        {"window closed", [](D_T1& f) { f.close(); }, false},
        {"ended with a result", [](D_T1& f) { f.done(QDialog::Accepted); }, false},
        {"window closed during an event", [](D_T1& f) { f.close(); }, true},
        {"ended during an event", [](D_T1& f) { f.reject(); }, true},
        {"requested by the event", [](D_T1& f) { f.RequestClose(); }, true},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(Open(FormText(PlainHead)));
        EXPECT_EQ(form->Life(), FormLife::Open);
        QList<FormLife> during;
        record.onFire = [&](D_T1& f, int, const QString&) {
            if (way.inEvent)
                way.close(f);
            during << f.Life();
            EXPECT_TRUE(f.isVisible());
        };
        form->FireEvent(1025, "CLICK");
        EXPECT_EQ(during, QList<FormLife>({FormLife::InEvent}));
        if (!way.inEvent)
            way.close(*form);
        ASSERT_FALSE(form.isNull()); // deleted from the application loop only
        EXPECT_EQ(form->Life(), FormLife::Closed);
        EXPECT_FALSE(form->isVisible());
        // A closed form runs no event again.
        form->FireEvent(1025, "CLICK");
        EXPECT_EQ(during.size(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(form.isNull());
        record.onFire = nullptr;
    }
}

TEST_F(FormWindow, RightClickOnTheBodyBringsTheMainWindowForward)
{
    QWidget mainWindow;
    mainWindow.resize(120, 300);
    mainWindow.showMinimized();
    D_T1::SetMainWindow(&mainWindow);
    ASSERT_TRUE(Open(FormText(PlainHead)));
    QTest::mouseClick(form, Qt::RightButton, {}, QPoint(380, 5));
    EXPECT_FALSE(mainWindow.isMinimized());
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &mainWindow; }));
    D_T1::SetMainWindow(nullptr);
}

TEST_F(FormWindow, RequestedCloseEndsTheFormAndClicksTheOpenersButton)
{
    RecordedEvents openerRecord;
    D_T1 opener;
    opener.SetEvents(std::make_unique<RecordingEvents>(openerRecord));
    ASSERT_TRUE(opener.LoadDescription(FormText(PlainHead)));
    ASSERT_TRUE(opener.Create());
    opener.setAttribute(Qt::WA_DeleteOnClose, false); // owned by this test

    ASSERT_TRUE(Open(FormText("<head title='t' pos='0' parent_btn='2'/>"),
                     [&](D_T1& f) { f.m_pOpener = &opener; }));
    record.onFire = [](D_T1& f, int id, const QString&) {
        if (id == 1025)
            f.RequestClose();
    };
    form->RequestClose(); // outside an event: nothing is asked
    QTest::mouseClick(Control<QPushButton>(2), Qt::LeftButton);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(openerRecord.fired.isEmpty());

    QTest::mouseClick(Control<QPushButton>(1), Qt::LeftButton);
    EXPECT_EQ(openerRecord.fired, Fired({{"CLICK", 1026}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.isNull(); }));
}

TEST_F(FormWindow, WheelScrollsFiveLines)
{
    ASSERT_TRUE(Open(FormText("<head title='t' pos='0,0,400,300' scroll='2000'/>")));
    const int top = Control<QPushButton>(1)->y();
    QWheelEvent down(QPointF(50, 50), form->mapToGlobal(QPointF(50, 50)), {}, {0, -360},
                     Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(form, &down);
    EXPECT_EQ(Control<QPushButton>(1)->y(), top - 5 * 20);
    QScrollBar* bar = form->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->value(), 5);
    EXPECT_EQ(bar->maximum(), 2000 / 20 - form->height() / 20 + 1);
}

TEST_F(FormWindow, WheelScrollsVerticallyByWholeNotches)
{
    const struct {
        QList<QPoint> deltas;
        int lines;
    } cases[] = {
        {{{0, -120}, {-120, 0}}, 5},                        // a horizontal notch leaves it
        {{{0, -120}, {120, 0}}, 5},
        {{{0, -40}, {0, -40}}, 0},                          // touchpad steps short of a notch
        {{{0, -40}, {0, -40}, {0, -40}}, 5},
        {{{0, -60}, {0, -60}, {0, -60}, {0, -60}}, 10},
        {{{-30, -120}}, 5},                                 // a diagonal move scrolls by its vertical part
        {{{0, -120}, {0, 40}, {0, 40}, {0, 40}}, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Open(FormText("<head title='t' pos='0,0,400,300' scroll='2000'/>")));
        const int top = Control<QPushButton>(1)->y();
        for (const QPoint& delta : c.deltas) {
            QWheelEvent wheel(QPointF(50, 50), form->mapToGlobal(QPointF(50, 50)), {}, delta, Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(form, &wheel);
        }
        EXPECT_EQ(Control<QPushButton>(1)->y(), top - c.lines * 20) << c.deltas.size() << " steps, first "
                                                                     << c.deltas.first().x() << ","
                                                                     << c.deltas.first().y();
    }
}

TEST_F(FormWindow, DrawMethodOneAnimatesUntilTheFormCloses)
{
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(Open(FormText("<head title='动画' pos='0,0,400,320' draw_method='1'/>")));
        QPointer<QvFormAnimation> animation = form->findChild<QvFormAnimation*>();
        ASSERT_FALSE(animation.isNull());
        EXPECT_TRUE(animation->IsRunning());
        if (i == 0) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !animation->Frame().isNull(); }));
        }
        // Closed at once, mid-frame or not: the worker is over before the
        // form and its overlay go.
        form->close();
        EXPECT_TRUE(animation.isNull() || !animation->IsRunning());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(form.isNull());
        EXPECT_TRUE(animation.isNull());
    }
    ASSERT_TRUE(Open(FormText(PlainHead)));
    EXPECT_EQ(form->findChild<QvFormAnimation*>(), nullptr);
}
