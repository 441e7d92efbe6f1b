// Popup forms and the print keywords, through real form windows built by the
// real builder and run by the event machinery on SQLite; print jobs write PDF
// files, which pdftotext reads back.
#include "ActionDispatcher.h"
#include "AppPrinter.h"
#include "D_T1.h"
#include "DeliveryNote.h"
#include "ExternalTool.h"
#include "FormEventRunner.h"
#include "FormWindowActions.h"
#include "PrintFrame.h"
#include "PrintedText.h"
#include "QvControls.h"
#include "TempFolder.h"
#include "db/DbSchema.h"
#include "db/tests/DbTestDatabase.h"
#include "grid/ListCtrlEx.h"
#include "text/AppState.h"
#include "text/IniFile.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"
#include "web/LzwEncode.h"
#include "xml/XmlNode.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPageLayout>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString Office = QStringLiteral("Office Laser");

class PrintWindowActionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = theApp();
        SetModuleFolderOverride(m_folder.path());
        m_previousSink = SetMessageSink([this](const QString& text) { m_messages << text; });
        m_database = std::make_unique<DbTestDatabase>(2);
        ASSERT_FALSE(m_database->ConnectText().isEmpty()) << m_database->Problem().toStdString();
        m_db.SetConnectString(m_database->ConnectText());
        ASSERT_TRUE(m_db.Connect());
        ASSERT_TRUE(m_db.ExecuteScript(DbSchemaScript(2)));
        theApp().m_strConnectText = ScrambleText(m_database->ConnectText(), 1);
        theApp().m_strUserUid = "1";
        theApp().m_strUserId = "clerk";

        CActionDispatcher& dispatcher = CActionDispatcher::Instance();
        dispatcher.Clear();
        RegisterFormWindowActions();
        // Counts the runs of a button's list: <query_to_head note='x'/>.
        dispatcher.Register("query_to_head", [this](D_T1&, const CXmlNode& action, int, const QString&) {
            m_ran << action.GetAttribute("note");
            return true;
        });

        CAppPrinter& app = CAppPrinter::Instance();
        m_oldLookup = app.SetPrinterLookup([](const QString& name) { return name == Office; });
        m_oldDialog = app.SetPrinterDialog([this](QPrinter& printer, QWidget*) {
            ++m_dialogs;
            if (m_dialogChoice)
                m_dialogChoice(printer);
            return m_dialogAccepts;
        });
        app.SetOutputFile(Pdf());
    }

    void TearDown() override
    {
        // Popups go with their openers.
        QList<QPointer<QWidget>> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<D_T1*>(widget) || qobject_cast<CPrintFrame*>(widget))
                windows << widget;
        }
        for (const QPointer<QWidget>& window : windows)
            delete window.data();
        m_db.Close();
        CAppPrinter& app = CAppPrinter::Instance();
        app.SetOutputFile(QString());
        app.SetPrinterLookup(m_oldLookup);
        app.SetPrinterDialog(m_oldDialog);
        CActionDispatcher::Instance().Clear();
        SetMessageSink(m_previousSink);
        SetModuleFolderOverride(QString());
        theApp() = m_saved;
    }

    QString Pdf() const { return m_folder.file(QStringLiteral("job.pdf")); }

    D_T1* Open(const QString& dialog, const QString& popups = QString())
    {
        auto* form = new D_T1;
        form->SetBuilder(std::make_unique<QvControls>());
        form->SetEvents(std::make_unique<CFormEventRunner>());
        form->m_strMenuUid = "7";
        const QString text = "<html id='0'><head title='送货单' pos='0,0,600,400'/><body><dialog>" + dialog
                             + "</dialog>" + popups + "</body></html>";
        EXPECT_TRUE(form->LoadDescription(text));
        EXPECT_TRUE(form->Create());
        return form;
    }

    static QString Button(int id, const QString& click)
    {
        return QString("<button id='%1' pos='500,%2,90,24' value='b%1'><ACTION><CLICK>%3</CLICK></ACTION></button>")
            .arg(id)
            .arg(id * 26)
            .arg(click);
    }

    static QString Box(int id, const QString& value = QString())
    {
        return QString("<textbox id='%1' pos='0,%2,120,22' value='%3'/>").arg(id).arg(id * 24).arg(value);
    }

    // The controls the delivery note prints, its print button 9 and a
    // preview button 10.
    static QString DeliveryNoteForm()
    {
        return Box(1, "11") + Box(2, "DN-0042") + Box(3, "华东五金") + Box(4, "20260042") + Box(6, "12345.5")
               + "<button id='7' style='3' pos='0,200,80,20' value='已验收'/>"
               + "<button id='8' style='3' pos='0,224,80,20' value='未验收'/>"
               + "<table id='5' pos='130,0,360,300'><PARA><col_info><col id='1' title='名称' width='120'/>"
                 "<col id='2' title='数量' width='60'/><col id='3' title='金额' width='80'/></col_info></PARA></table>"
               + Button(9, "<query_to_head note='job'/>" + DeliveryNoteXml())
               + Button(10, "<print_pre target_ids='9'/>");
    }

    static CListCtrlEx* GridOf(D_T1* form, int id) { return qobject_cast<CListCtrlEx*>(form->GetDlgItem(id + 1024)); }

    static void AddRows(CListCtrlEx* grid, int count)
    {
        for (int i = 1; i <= count; ++i) {
            const int row = grid->InsertRow(grid->GetItemCount(), QStringLiteral("螺栓%1").arg(i));
            grid->SetItemText(row, 1, QString::number(i * 10));
            grid->SetItemText(row, 2, QString::number(i * 2.5, 'f', 2));
            grid->SetRowData(row, nullptr, QString::number(100 + i), kRowUnchanged);
        }
    }

    static QString Text(D_T1* form, int id) { return form->ControlText(id); }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    static QList<CPrintFrame*> Frames()
    {
        QList<CPrintFrame*> frames;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* frame = qobject_cast<CPrintFrame*>(widget))
                frames << frame;
        }
        return frames;
    }

    static QList<D_T1*> Popups(D_T1* opener) { return opener->findChildren<D_T1*>(QString(), Qt::FindDirectChildrenOnly); }

    QString Ini(const QString& section, const QString& key) const
    {
        return ReadIniString(QStringLiteral("cfg.ini"), section, key);
    }

    void AddMenuForm(int uid, const QByteArray& stored)
    {
        ASSERT_TRUE(m_db.ExecuteCommand(
            QStringLiteral("INSERT INTO c_menu_dh (uid_0, leaf_0, name_0, form_0) VALUES (?,1,?,?)"),
            {uid, QStringLiteral("项%1").arg(uid),
             stored.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(stored)}))
            << m_db.m_strErrorInfo.toStdString();
    }

    static QByteArray Stored(const QString& form)
    {
        return LzwEncode(QByteArray(reinterpret_cast<const char*>(form.utf16()), form.size() * 2), 12);
    }

    TempFolder m_folder;
    AppState m_saved;
    MessageSink m_previousSink;
    std::unique_ptr<DbTestDatabase> m_database;
    CDbConnection m_db;
    CAppPrinter::PrinterLookup m_oldLookup;
    CAppPrinter::PrinterDialog m_oldDialog;
    int m_dialogs = 0;
    bool m_dialogAccepts = true;
    std::function<void(QPrinter&)> m_dialogChoice;
    QStringList m_messages;
    QStringList m_ran;
};

TEST_F(PrintWindowActionsTest, PrintPrintsTheFormsControlsAndGridPageByPage)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    D_T1* form = Open(DeliveryNoteForm());
    AddRows(GridOf(form, 5), 23);
    qobject_cast<QAbstractButton*>(form->GetDlgItem(7 + 1024))->setChecked(true);

    form->FireEvent(9 + 1024, "CLICK");
    Settle();
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_TRUE(Frames().isEmpty());
    EXPECT_EQ(form->m_printer.m_strPrintSection, QStringLiteral("B7_9"));

    const auto pages = ReadPdfWords(Pdf());
    ASSERT_EQ(pages.size(), 3);
    for (const QString& word : {QStringLiteral("送货单"), QStringLiteral("单号:DN-0042"), QStringLiteral("客户:华东五金"),
                                QStringLiteral("品名"), QStringLiteral("数量"), QStringLiteral("螺栓1"),
                                QStringLiteral("螺栓10"), QStringLiteral("已验收"), QStringLiteral("合计:12,345.50")})
        EXPECT_NE(FindWord(pages[0], word), nullptr) << word.toStdString() << " not in " << PageText(pages[0]).toStdString();
    EXPECT_EQ(FindWord(pages[0], QStringLiteral("未验收")), nullptr);
    EXPECT_EQ(FindWord(pages[0], QStringLiteral("螺栓11")), nullptr);
    EXPECT_NE(FindWord(pages[2], QStringLiteral("螺栓23")), nullptr);
    for (int p = 0; p < 3; ++p)
        EXPECT_TRUE(PageText(pages[p]).contains(QStringLiteral("第 %1/3 页").arg(p + 1)));
}

TEST_F(PrintWindowActionsTest, EmptyGridPrintsOnePageWithItsHeaders)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    D_T1* form = Open(DeliveryNoteForm());
    form->FireEvent(9 + 1024, "CLICK");
    Settle();
    const auto pages = ReadPdfWords(Pdf());
    ASSERT_EQ(pages.size(), 1);
    const QString page = PageText(pages[0]);
    EXPECT_NE(FindWord(pages[0], QStringLiteral("品名")), nullptr) << page.toStdString();
    EXPECT_NE(FindWord(pages[0], QStringLiteral("数量")), nullptr);
    EXPECT_TRUE(page.contains(QStringLiteral("第 1/1 页")));
}

TEST_F(PrintWindowActionsTest, PrintPreOpensThePreviewInsteadOfPrinting)
{
    D_T1* form = Open(DeliveryNoteForm());
    AddRows(GridOf(form, 5), 12);
    form->FireEvent(10 + 1024, "CLICK");
    Settle();
    EXPECT_EQ(m_ran, QStringList{"job"});
    EXPECT_FALSE(form->m_actions.m_bPreviewPrint);
    EXPECT_EQ(m_dialogs, 0);
    EXPECT_FALSE(QFile::exists(Pdf()));

    const QList<CPrintFrame*> frames = Frames();
    ASSERT_EQ(frames.size(), 1);
    QPointer<CPrintFrame> frame = frames.first();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("打印预览DN-0042"));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    ASSERT_TRUE(frame->View()->PreviewWidget());
    EXPECT_EQ(frame->View()->PreviewWidget()->pageCount(), 2);
    // The preview is a window of its own, and closing it leaves the form
    // and the other windows as they were.
    EXPECT_FALSE(frame->parentWidget());
    const QWidgetList before = QApplication::topLevelWidgets();
    frame->close();
    Settle();
    EXPECT_TRUE(frame.isNull());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before.size() - 1);
    EXPECT_FALSE(QFile::exists(Pdf()));
}

TEST_F(PrintWindowActionsTest, CancelledPrintDialogClearsTheCollectedValues)
{
    D_T1* form = Open(DeliveryNoteForm());
    form->m_printValues = {"11", "12", "13"};
    m_dialogAccepts = false;
    form->FireEvent(9 + 1024, "CLICK");
    Settle();
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_TRUE(form->m_printValues.isEmpty());
    EXPECT_EQ(m_ran, QStringList{"job"});
    EXPECT_EQ(Text(form, 1), QStringLiteral("11"));
    EXPECT_TRUE(Frames().isEmpty());
    EXPECT_FALSE(QFile::exists(Pdf()));
}

TEST_F(PrintWindowActionsTest, BatchPrintsOneJobPerCollectedValue)
{
    D_T1* form = Open(DeliveryNoteForm());
    form->m_printValues = {"11", "12", "13"};
    form->FireEvent(9 + 1024, "CLICK");
    for (int i = 0; i < 10 && !form->m_printValues.isEmpty(); ++i)
        QTest::qWait(20);
    Settle();
    EXPECT_EQ(m_ran, QStringList({"job", "job", "job"}));
    EXPECT_EQ(m_dialogs, 3);
    EXPECT_TRUE(form->m_printValues.isEmpty());
    EXPECT_EQ(Text(form, 1), QStringLiteral("13"));
}

TEST_F(PrintWindowActionsTest, PrintOffsetsAreKeptPerFormAndButton)
{
    D_T1* form = Open(Box(11, "37") + Box(12, "5") + Box(13) + Box(14)
                      + Button(20, "<print_pos_setup><para_info d_uid_id='11' button_id='12' left_id='13' top_id='14'/></print_pos_setup>")
                      + Button(21, "<print_pos_get><para_info d_uid_id='11' button_id='12' left_id='13' top_id='14'/></print_pos_get>")
                      + Button(22, "<print_pos_get/>"));
    // Nothing stored yet reads 0.
    form->FireEvent(21 + 1024, "CLICK");
    EXPECT_EQ(Text(form, 13), QStringLiteral("0"));
    EXPECT_EQ(Text(form, 14), QStringLiteral("0"));

    form->SetControlTextById(13, "12");
    form->SetControlTextById(14, "-30");
    form->FireEvent(20 + 1024, "CLICK");
    EXPECT_EQ(Ini("B37_5", "POS_LEFT"), QStringLiteral("12"));
    EXPECT_EQ(Ini("B37_5", "POS_TOP"), QStringLiteral("-30"));

    form->SetControlTextById(13, "x");
    form->SetControlTextById(14, "y");
    form->FireEvent(22 + 1024, "CLICK"); // no para_info: nothing happens
    EXPECT_EQ(Text(form, 13), QStringLiteral("x"));
    form->FireEvent(21 + 1024, "CLICK");
    EXPECT_EQ(Text(form, 13), QStringLiteral("12"));
    EXPECT_EQ(Text(form, 14), QStringLiteral("-30"));

    // The stored offsets move what the button prints.
    SKIP_WITHOUT_TOOL("pdftotext");
    D_T1* note = Open(DeliveryNoteForm());
    note->FireEvent(9 + 1024, "CLICK");
    Settle();
    const auto before = ReadPdfWords(Pdf());
    ASSERT_EQ(before.size(), 1);
    const PrintedWord* title = FindWord(before[0], QStringLiteral("送货单"));
    ASSERT_TRUE(title);
    const double left = title->left;
    const double top = title->top;
    WriteIniString("cfg.ini", "B7_9", "POS_LEFT", "100");
    WriteIniString("cfg.ini", "B7_9", "POS_TOP", "50");
    note->FireEvent(9 + 1024, "CLICK");
    Settle();
    const auto after = ReadPdfWords(Pdf());
    ASSERT_EQ(after.size(), 1);
    title = FindWord(after[0], QStringLiteral("送货单"));
    ASSERT_TRUE(title);
    EXPECT_NEAR(title->left - left, 100, 5);
    EXPECT_NEAR(title->top - top, 50, 5);
}

TEST_F(PrintWindowActionsTest, PrintSetupStoresThePrinterForItsTargetsAndPrintUsesIt)
{
    D_T1* form = Open(DeliveryNoteForm() + Button(20, "<print_setup target_ids='9;21'/>"));
    CAppPrinter::Instance().SelectPrinterByName(Office, "9", "1");
    m_dialogChoice = [](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Landscape);
    };
    form->FireEvent(20 + 1024, "CLICK");
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_EQ(form->m_printer.m_strPrintSection, QStringLiteral("B7_20"));
    for (const QString section : {"B7_9", "B7_21"}) {
        SCOPED_TRACE(section.toStdString());
        EXPECT_EQ(Ini(section, "PNAME"), Office);
        EXPECT_EQ(Ini(section, "PSIZE"), QStringLiteral("11"));
        EXPECT_EQ(Ini(section, "PORIE"), QStringLiteral("2"));
    }
    EXPECT_TRUE(Ini("B7_20", "PNAME").isEmpty());

    // Printing with button 9 starts from the printer stored for it.
    CAppPrinter::Instance().SelectPrinterByName(Office, "9", "1");
    m_dialogChoice = [](QPrinter& printer) {
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    };
    form->FireEvent(9 + 1024, "CLICK");
    Settle();
    EXPECT_EQ(m_dialogs, 2);
}

class ShowDialogTest : public PrintWindowActionsTest
{
protected:
    // Popup 12 shows the opener's control 3 through "0:3" when its button 2
    // is clicked, and has controls 1, 4 and 5.
    static QString Popup12()
    {
        return "<popup><html id='12'><head title='明细' pos='0,0,300,200'/><body><dialog>" + Box(1) + Box(4) + Box(5)
               + Button(2, "<copycontent values='{{p1}}'><para_info><p value='0:3'/></para_info></copycontent>")
               + "</dialog></body></html></popup>";
    }
    static QString Grid()
    {
        return "<table id='6' pos='130,0,300,200'><PARA><col_info><col id='1' title='编号' width='60'/>"
               "<col id='2' title='名称' width='80'/><col id='3' title='代码' width='80'/></col_info></PARA></table>";
    }
    D_T1* OpenWith(const QString& para)
    {
        return Open(Box(3, "opener-text") + Grid() + Button(9, "<show_dialog><para_info " + para + "/></show_dialog>"),
                    Popup12());
    }
    static void SelectRow(D_T1* form, const QString& key, const QStringList& cells)
    {
        CListCtrlEx* grid = GridOf(form, 6);
        const int row = grid->InsertRow(grid->GetItemCount(), cells.value(0));
        for (int c = 1; c < cells.size(); ++c)
            grid->SetItemText(row, c, cells[c]);
        grid->SetRowData(row, nullptr, key, kRowUnchanged);
        grid->SelectRow(row, true);
    }
};

TEST_F(ShowDialogTest, OpensThePopupOfTheDescriptionParentedToItsOpener)
{
    D_T1* form = OpenWith("html_id='12:4:5' table_id='6' col_id='-1' to_wnd_id='1' type='tt'");
    SelectRow(form, "42", {"1", "螺栓", "B-7"});
    form->FireEvent(9 + 1024, "CLICK");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    Settle();
    const QList<D_T1*> popups = Popups(form);
    ASSERT_EQ(popups.size(), 1);
    D_T1* popup = popups.first();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_TRUE(popup->isWindow());
    EXPECT_EQ(popup->parentWidget(), form);
    EXPECT_EQ(popup->m_pOpener, form);
    EXPECT_EQ(popup->windowTitle(), QStringLiteral("明细"));
    EXPECT_EQ(popup->m_strFormId, QStringLiteral("12"));
    EXPECT_TRUE(popup->m_strMenuUid.isEmpty());
    EXPECT_EQ(popup->m_strType, QStringLiteral("tt"));
    EXPECT_EQ(popup->m_strInput, QStringLiteral("42")); // the key: the column goes to control 1
    EXPECT_EQ(Text(popup, 1), QStringLiteral("B-7"));   // -1: the last column
    EXPECT_FALSE(popup->GetDlgItem(4 + 1024)->isEnabled());
    EXPECT_TRUE(popup->GetDlgItem(5 + 1024)->isHidden());

    // A two-part reference of the popup names the opener's control.
    QGuiApplication::clipboard()->setText("before");
    popup->FireEvent(2 + 1024, "CLICK");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("opener-text"));
}

TEST_F(ShowDialogTest, APopupIsModalForItsOpenerWhichWaitsForIt)
{
    QPointer<D_T1> form = OpenWith("html_id='12'");
    auto* other = new QLineEdit(form);
    other->setGeometry(10, 300, 100, 24);
    other->show();
    form->FireEvent(9 + 1024, "CLICK");
    Settle();
    ASSERT_EQ(Popups(form).size(), 1);
    QPointer<D_T1> popup = Popups(form).first();
    EXPECT_EQ(QGuiApplication::modalWindow(), popup->windowHandle());
    const auto clickThroughWindow = [](QWidget* control) {
        QWidget* window = control->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, control->mapTo(window, control->rect().center()));
        QCoreApplication::processEvents();
    };
    // The opener takes no click.
    clickThroughWindow(other);
    EXPECT_NE(QApplication::focusWidget(), other);
    // The opener closes only after its popup.
    form->close();
    Settle();
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Life(), FormLife::Closing);
    EXPECT_TRUE(popup->isVisible());
    popup->reject();
    Settle();
    EXPECT_TRUE(form.isNull() || !form->isVisible());
}

TEST_F(ShowDialogTest, InputComesFromKeyColumnOrControlInThatOrder)
{
    const struct
    {
        QString para;
        QString input;
    } cases[] = {
        {"html_id='12' table_id='6'", "42"},
        {"html_id='12' table_id='6' col_id='2'", "螺栓"},
        {"html_id='12' table_id='6' col_id='2' from_wnd_id='3'", "opener-text"},
        {"html_id='12' from_wnd_id='3'", "opener-text"},
        {"html_id='12'", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.para.toStdString());
        D_T1* form = OpenWith(c.para);
        SelectRow(form, "42", {"1", "螺栓", "B-7"});
        form->FireEvent(9 + 1024, "CLICK");
        Settle();
        const QList<D_T1*> popups = Popups(form);
        ASSERT_EQ(popups.size(), 1);
        EXPECT_EQ(popups.first()->m_strInput, c.input);
        EXPECT_TRUE(popups.first()->m_strDisabledIds.isEmpty());
        delete form;
    }
}

TEST_F(ShowDialogTest, OpensAStoredFormOfAMenuEntry)
{
    AddMenuForm(37, Stored("<html version='1.0' id='0'><head title='三十七' pos='0,0,300,200'/><body><dialog>" + Box(3) + Box(4) + Box(5)
                           + "</dialog></body></html>"));
    D_T1* form = OpenWith("html_id='0:37:3;4:5'");
    form->FireEvent(9 + 1024, "CLICK");
    Settle();
    QList<D_T1*> popups = Popups(form);
    ASSERT_EQ(popups.size(), 1);
    D_T1* popup = popups.first();
    EXPECT_EQ(popup->windowTitle(), QStringLiteral("三十七"));
    EXPECT_EQ(popup->m_strMenuUid, QStringLiteral("37"));
    EXPECT_EQ(popup->m_strFormId, QStringLiteral("0"));
    EXPECT_FALSE(popup->GetDlgItem(3 + 1024)->isEnabled());
    EXPECT_FALSE(popup->GetDlgItem(4 + 1024)->isEnabled());
    EXPECT_TRUE(popup->GetDlgItem(5 + 1024)->isHidden());

    // An entry that is not there opens the empty form.
    D_T1* other = OpenWith("html_id='0:38'");
    other->FireEvent(9 + 1024, "CLICK");
    Settle();
    popups = Popups(other);
    ASSERT_EQ(popups.size(), 1);
    EXPECT_TRUE(popups.first()->GetControls().isEmpty());
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

TEST_F(ShowDialogTest, PopupNamedByAQueryOverTheSelectedRow)
{
    ASSERT_TRUE(m_db.ExecuteScript("CREATE TABLE t_kind (code_0 text, popup_0 text);"
                                   "INSERT INTO t_kind VALUES ('O''Neil', '12:4');"));
    D_T1* form = OpenWith("html_id=\"SELECT popup_0 FROM t_kind WHERE code_0='{{popup?id}}'\" table_id='6' popup_col_id='3'");
    SelectRow(form, "42", {"1", "x", "O'Neil"});
    form->FireEvent(9 + 1024, "CLICK");
    Settle();
    const QList<D_T1*> popups = Popups(form);
    ASSERT_EQ(popups.size(), 1);
    EXPECT_FALSE(popups.first()->GetDlgItem(4 + 1024)->isEnabled());
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

TEST_F(ShowDialogTest, WhatCannotBeOpenedStopsTheEventWithAClearText)
{
    AddMenuForm(40, QByteArray());
    AddMenuForm(41, QByteArray("\x05\x00\x00\x00\x09garbage", 12));
    AddMenuForm(42, Stored("<html><head>"));
    AddMenuForm(43, Stored("<form id='0'/>"));
    ASSERT_TRUE(m_db.ExecuteScript("CREATE TABLE t_kind (code_0 text, popup_0 text);"));
    const struct
    {
        QString para;
        QString message;
    } cases[] = {
        {"html_id='99'", "表单中没有编号为“99”的弹出窗体，无法打开"},
        {"html_id=''", "表单中没有编号为“”的弹出窗体，无法打开"},
        {"html_id='0:40'", "菜单40没有保存表单，无法打开"},
        {"html_id='0:41'", "菜单41的表单数据已损坏，无法打开"},
        {"html_id='0:42'", "表单数据格式错误，无法打开表单"},
        {"html_id='0:43'", "表单数据缺少html根元素，无法打开表单"},
        // No selected row, and a query that finds nothing: the event stops
        // without a text of its own.
        {"html_id='12' table_id='6'", ""},
        {"html_id=\"SELECT popup_0 FROM t_kind WHERE code_0='{{popup?id}}'\" table_id='6' popup_col_id='1'", ""},
        {"html_id=\"SELECT popup_0 FROM t_kind WHERE code_0={{popup?id}}\" table_id='6' popup_col_id='2'",
         "“x”不是数字，不能填入SQL语句的{{popup?id}}处。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.para.toStdString());
        m_messages.clear();
        m_ran.clear();
        D_T1* form = Open(Box(3) + Grid() + Button(9, "<show_dialog><para_info " + c.para + "/></show_dialog><query_to_head note='after'/>"),
                          Popup12());
        if (c.para.contains("popup_col_id"))
            SelectRow(form, "42", {"1", "x", "y"});
        form->FireEvent(9 + 1024, "CLICK");
        Settle();
        EXPECT_TRUE(Popups(form).isEmpty());
        EXPECT_TRUE(m_ran.isEmpty());
        EXPECT_EQ(m_messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        delete form;
    }
}

} // namespace
