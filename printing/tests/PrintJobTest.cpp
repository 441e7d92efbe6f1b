#include "AppPrinter.h"
#include "DeliveryNote.h"
#include "ExternalTool.h"
#include "FormPrinter.h"
#include "MapPrintSource.h"
#include "PrintActions.h"
#include "PrintFrame.h"
#include "PrintedText.h"
#include "TempFolder.h"
#include "text/IniFile.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QPageLayout>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace
{

const QString Office = QStringLiteral("Office Laser");
const QString LongName = QStringLiteral("Warehouse label printer number 2"); // 32 characters

class PrintJobTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetModuleFolderOverride(m_folder.path());
        FillDeliveryNote(m_source);
        ASSERT_TRUE(m_doc.LoadXml(DeliveryNoteXml()));
        m_oldLookup = CAppPrinter::Instance().SetPrinterLookup(
            [](const QString& name) { return name == Office || name == LongName; });
        m_oldDialog = CAppPrinter::Instance().SetPrinterDialog([this](QPrinter& printer, QWidget*) {
            ++m_dialogs;
            if (m_dialogChoice)
                m_dialogChoice(printer);
            return m_dialogAccepts;
        });
        m_oldSink = SetMessageSink([this](const QString& text) { m_messages << text; });
        CAppPrinter::Instance().SetOutputFile(m_folder.file(QStringLiteral("job.pdf")));
    }
    void TearDown() override
    {
        CAppPrinter::Instance().SetOutputFile(QString());
        CAppPrinter::Instance().SetPrinterLookup(m_oldLookup);
        CAppPrinter::Instance().SetPrinterDialog(m_oldDialog);
        SetMessageSink(m_oldSink);
        SetModuleFolderOverride(QString());
    }

    // Lets closed frames go.
    static void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString Ini(const QString& section, const QString& key) const
    {
        return ReadIniString(QStringLiteral("cfg.ini"), section, key);
    }

    TempFolder m_folder;
    MapPrintSource m_source;
    CXmlDocument m_doc;
    CFormPrinter m_printer{m_source};
    CAppPrinter::PrinterLookup m_oldLookup;
    CAppPrinter::PrinterDialog m_oldDialog;
    MessageSink m_oldSink;
    int m_dialogs = 0;
    bool m_dialogAccepts = true;
    std::function<void(QPrinter&)> m_dialogChoice;
    QStringList m_messages;
};

} // namespace

TEST_F(PrintJobTest, OffsetsAreStoredPerSection)
{
    QString left = QStringLiteral("x");
    QString top = QStringLiteral("x");
    PrintActions::PrintPosGet(QStringLiteral("B37_5"), left, top);
    EXPECT_EQ(left, QStringLiteral("0"));
    EXPECT_EQ(top, QStringLiteral("0"));

    PrintActions::PrintPosSetup(QStringLiteral("B37_5"), QStringLiteral("12"), QStringLiteral("-30"));
    PrintActions::PrintPosSetup(QStringLiteral("B_5"), QStringLiteral("7"), QString());
    EXPECT_EQ(Ini(QStringLiteral("B37_5"), QStringLiteral("POS_LEFT")), QStringLiteral("12"));
    EXPECT_EQ(Ini(QStringLiteral("B37_5"), QStringLiteral("POS_TOP")), QStringLiteral("-30"));
    PrintActions::PrintPosGet(QStringLiteral("B37_5"), left, top);
    EXPECT_EQ(left, QStringLiteral("12"));
    EXPECT_EQ(top, QStringLiteral("-30"));
    PrintActions::PrintPosGet(QStringLiteral("B_5"), left, top);
    EXPECT_EQ(left, QStringLiteral("7"));
    EXPECT_EQ(top, QStringLiteral("0"));
}

TEST_F(PrintJobTest, ApplicationPrinterKeepsNamePaperAndOrientation)
{
    CAppPrinter& app = CAppPrinter::Instance();
    app.SelectPrinterByName(Office, QStringLiteral("9"), QStringLiteral("2"));
    QString name, size, orientation;
    ASSERT_TRUE(app.GetPrinterSettings(name, size, orientation));
    EXPECT_EQ(name, Office);
    EXPECT_EQ(size, QStringLiteral("9"));
    EXPECT_EQ(orientation, QStringLiteral("2"));
    QPrinter printer;
    app.ApplyTo(printer);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    // Selecting what was read selects the same; a printer no longer
    // installed changes nothing.
    app.SelectPrinterByName(name, size, orientation);
    app.SelectPrinterByName(QStringLiteral("Gone"), QStringLiteral("8"), QStringLiteral("1"));
    QString again[3];
    ASSERT_TRUE(app.GetPrinterSettings(again[0], again[1], again[2]));
    EXPECT_EQ(again[0], Office);
    EXPECT_EQ(again[1], QStringLiteral("9"));
    EXPECT_EQ(again[2], QStringLiteral("2"));

    app.SelectPrinterByName(Office, QStringLiteral("A4"), QStringLiteral("1"));
    ASSERT_TRUE(app.GetPrinterSettings(name, size, orientation));
    EXPECT_EQ(size, QStringLiteral("0"));
    EXPECT_EQ(orientation, QStringLiteral("1"));
}

TEST_F(PrintJobTest, SetupStoresTheChoiceForEachTargetButton)
{
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("B37_2"), QStringLiteral("PNAME"), Office);
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("B37_2"), QStringLiteral("PSIZE"), QStringLiteral("9"));
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("B37_2"), QStringLiteral("PORIE"), QStringLiteral("1"));
    m_dialogChoice = [](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Landscape);
    };
    EXPECT_EQ(PrintActions::PrintSetup(QStringLiteral("37"), 2, QStringLiteral("3;7")), QStringLiteral("B37_2"));
    EXPECT_EQ(m_dialogs, 1);
    for (const QString& section : {QStringLiteral("B37_3"), QStringLiteral("B37_7")}) {
        SCOPED_TRACE(section.toStdString());
        EXPECT_EQ(Ini(section, QStringLiteral("PNAME")), Office);
        EXPECT_EQ(Ini(section, QStringLiteral("PSIZE")), QStringLiteral("11")); // A5
        EXPECT_EQ(Ini(section, QStringLiteral("PORIE")), QStringLiteral("2"));
    }
    EXPECT_TRUE(Ini(QStringLiteral("B37_0"), QStringLiteral("PNAME")).isEmpty());
    EXPECT_TRUE(m_messages.isEmpty());

    // A long printer name is stored all the same, with a warning.
    CAppPrinter::Instance().SelectPrinterByName(LongName, QStringLiteral("9"), QStringLiteral("1"));
    PrintActions::PrintSetup(QString(), 4, QStringLiteral("5"));
    EXPECT_EQ(Ini(QStringLiteral("B_5"), QStringLiteral("PNAME")), LongName);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral(
                              "打印机名字符数不能超过30个，如果打印不正常，请修改打印机名后,重新选择设置")});
}

TEST_F(PrintJobTest, DirectJobPrintsEveryPageAndGoesOnWithTheBatch)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    CAppPrinter::Instance().SelectPrinterByName(Office, QStringLiteral("9"), QStringLiteral("1"));
    m_printer.m_arrPrintValues = {QStringLiteral("11"), QStringLiteral("12")};
    ASSERT_TRUE(m_doc.LoadXml(DeliveryNoteXml().replace(QStringLiteral("name_id="), QStringLiteral("is_direct=\"1\" name_id="))));
    QPointer<CPrintFrame> frame =
        PrintActions::Print(m_printer, m_source, *m_doc.GetRoot(), QStringLiteral("37"), 9, false);
    EXPECT_EQ(m_dialogs, 0);
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("DN-0042"));
    EXPECT_EQ(m_printer.m_strPrintSection, QStringLiteral("B37_9"));
    Settle();
    EXPECT_TRUE(frame.isNull());

    const auto pages = ReadPdfWords(m_folder.file(QStringLiteral("job.pdf")));
    ASSERT_EQ(pages.size(), 3);
    for (int p = 0; p < 3; ++p)
        EXPECT_TRUE(PageText(pages[p]).contains(QStringLiteral("第 %1/3 页").arg(p + 1)));
    EXPECT_EQ(m_printer.m_arrPrintValues, QStringList{QStringLiteral("12")});
    EXPECT_EQ(m_source.texts.value(1), QStringLiteral("12"));
    EXPECT_EQ(m_source.clicks, QList<int>{9});
}

TEST_F(PrintJobTest, DirectFlagMayComeFromAControl)
{
    const struct
    {
        QString text;
        int dialogs;
    } cases[] = {{QString(), 1}, {QStringLiteral("0"), 1}, {QStringLiteral("1"), 0}, {QStringLiteral("是"), 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        m_dialogs = 0;
        m_source.texts[12] = c.text;
        ASSERT_TRUE(m_doc.LoadXml(DeliveryNoteXml().replace(QStringLiteral("name_id="), QStringLiteral("is_direct=\"12\" name_id="))));
        PrintActions::Print(m_printer, m_source, *m_doc.GetRoot(), QStringLiteral("37"), 9, false);
        Settle();
        EXPECT_EQ(m_dialogs, c.dialogs);
    }
}

TEST_F(PrintJobTest, CancelledPrinterDialogEndsTheJobAndItsBatch)
{
    m_dialogAccepts = false;
    m_printer.m_arrPrintValues = {QStringLiteral("11"), QStringLiteral("12")};
    QPointer<CPrintFrame> frame =
        PrintActions::Print(m_printer, m_source, *m_doc.GetRoot(), QStringLiteral("37"), 9, false);
    EXPECT_EQ(m_dialogs, 1);
    Settle();
    EXPECT_TRUE(frame.isNull());
    EXPECT_TRUE(m_printer.m_arrPrintValues.isEmpty());
    EXPECT_TRUE(m_source.clicks.isEmpty());
    EXPECT_FALSE(QFile::exists(m_folder.file(QStringLiteral("job.pdf"))));
}

TEST_F(PrintJobTest, PreviewShowsThePagesMaximisedAndEndsWithoutABatchStep)
{
    m_printer.m_arrPrintValues = {QStringLiteral("11"), QStringLiteral("12")};
    QPointer<CPrintFrame> frame =
        PrintActions::Print(m_printer, m_source, *m_doc.GetRoot(), QStringLiteral("37"), 9, true);
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("打印预览DN-0042"));
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    ASSERT_NE(frame->View()->PreviewWidget(), nullptr);
    frame->View()->PreviewWidget()->updatePreview();
    EXPECT_EQ(frame->View()->PreviewWidget()->pageCount(), 3);
    EXPECT_EQ(m_dialogs, 0);

    frame->close();
    Settle();
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(m_printer.m_arrPrintValues.size(), 2);
    EXPECT_TRUE(m_source.clicks.isEmpty());
    EXPECT_FALSE(QFile::exists(m_folder.file(QStringLiteral("job.pdf"))));
}

TEST_F(PrintJobTest, RefusedBarCodeIsReportedAfterTheJob)
{
    m_source.texts[4] = QStringLiteral("订单-42");
    ASSERT_TRUE(m_doc.LoadXml(DeliveryNoteXml().replace(QStringLiteral("name_id="), QStringLiteral("is_direct=\"1\" name_id="))));
    PrintActions::Print(m_printer, m_source, *m_doc.GetRoot(), QStringLiteral("37"), 9, false);
    Settle();
    // Three pages, one message.
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("条码不能编码字符“订”(第1个字符)")});
}
