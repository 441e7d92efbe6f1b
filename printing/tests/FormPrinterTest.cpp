#include "DeliveryNote.h"
#include "ExternalTool.h"
#include "FormPrinter.h"
#include "MapPrintSource.h"
#include "PrintedText.h"
#include "TempFolder.h"
#include "text/IniFile.h"
#include "text/ModuleFolder.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>

#include <iterator>

namespace
{

class FormPrinterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetModuleFolderOverride(m_folder.path());
        FillDeliveryNote(m_source);
    }
    void TearDown() override { SetModuleFolderOverride(QString()); }

    void Load(const QString& xml)
    {
        ASSERT_TRUE(m_doc.LoadXml(xml));
        m_printer.m_printElement = m_doc.GetRoot();
    }

    QList<QList<PrintedWord>> Print()
    {
        const QString path = m_folder.file(QStringLiteral("out.pdf"));
        PrintToPdf(m_printer, path);
        return ReadPdfWords(path);
    }

    TempFolder m_folder;
    MapPrintSource m_source;
    CXmlDocument m_doc;
    CFormPrinter m_printer{m_source};
};

} // namespace

TEST_F(FormPrinterTest, DeliveryNotePrintsItsTextsAndTablePageByPage)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    Load(DeliveryNoteXml());
    const auto pages = Print();
    ASSERT_EQ(pages.size(), 3);
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p + 1);
        const QString text = PageText(pages[p]);
        EXPECT_TRUE(text.contains(QStringLiteral("第 %1/3 页").arg(p + 1))) << text.toStdString();
        for (const QString& word : {QStringLiteral("送货单"), QStringLiteral("单号:DN-0042"),
                                    QStringLiteral("客户:华东五金"), QStringLiteral("品名"), QStringLiteral("数量"),
                                    QStringLiteral("合计:12,345.50"), QStringLiteral("已验收")})
            EXPECT_NE(FindWord(pages[p], word), nullptr) << word.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("未验收")));
    }
    // Rows 1-10, 11-20 and 21-23.
    EXPECT_NE(FindWord(pages[0], QStringLiteral("螺栓10")), nullptr);
    EXPECT_EQ(FindWord(pages[0], QStringLiteral("螺栓11")), nullptr);
    EXPECT_NE(FindWord(pages[1], QStringLiteral("螺栓20")), nullptr);
    EXPECT_NE(FindWord(pages[2], QStringLiteral("螺栓23")), nullptr);
    EXPECT_NE(FindWord(pages[2], QStringLiteral("57.50")), nullptr);
    EXPECT_EQ(FindWord(pages[2], QStringLiteral("螺栓20")), nullptr);

    // Below a table that prints 3 of its 10 rows everything moves up 7 rows.
    const PrintedWord* full = FindWord(pages[0], QStringLiteral("合计:12,345.50"));
    const PrintedWord* last = FindWord(pages[2], QStringLiteral("合计:12,345.50"));
    ASSERT_TRUE(full && last);
    EXPECT_NEAR(full->top - last->top, 7 * 80, 5);
    // Page offset 100: the total's box starts at 100 + 3 of inset.
    EXPECT_NEAR(full->left, 103, 5);
    EXPECT_NEAR(full->top + full->bottom, 2 * (100 + 1580), 20);
}

TEST_F(FormPrinterTest, MoneyGoesIntoBoxesFromTheRight)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    Load(DeliveryNoteXml());
    const auto pages = Print();
    ASSERT_FALSE(pages.isEmpty());
    // "¥1234550": the last character's box ends at 100 + 1500, each 60 wide.
    const QString expected = QStringLiteral("¥1234550");
    int found = 0;
    for (const PrintedWord& word : pages[0]) {
        if (word.text.size() != 1 || word.top < 1600 || word.bottom > 1760)
            continue;
        const int i = static_cast<int>(expected.indexOf(word.text));
        if (word.text == u"5" || word.text == u"0") // twice in the text: placed by position
            continue;
        ASSERT_GE(i, 0) << word.text.toStdString();
        const double centre = 1600 - (expected.size() - 1 - i) * 60 - 30;
        EXPECT_NEAR((word.left + word.right) / 2, centre, 8) << word.text.toStdString();
        ++found;
    }
    EXPECT_EQ(found, 5);
}

TEST_F(FormPrinterTest, PrintedPageCarriesReadableCodes)
{
    SKIP_WITHOUT_TOOL("pdftoppm");
    SKIP_WITHOUT_TOOL("zbarimg");
    Load(DeliveryNoteXml());
    const QString pdf = m_folder.file(QStringLiteral("note.pdf"));
    PrintToPdf(m_printer, pdf);
    bool ok = false;
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-f"),
                                         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                         QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf,
                                         m_folder.file(QStringLiteral("page"))},
            &ok);
    ASSERT_TRUE(ok);
    const QString png = m_folder.file(QStringLiteral("page.png"));
    QStringList symbols = DecodeSymbols(png);
    symbols.sort();
    EXPECT_EQ(symbols, (QStringList{QStringLiteral("20260042"), QStringLiteral("DN-0042")}));
    // Kept for a look by eye when asked for.
    const QByteArray keep = qgetenv("TEMBRA_KEEP_PRINTED_PAGE");
    if (!keep.isEmpty()) {
        QFile::remove(QString::fromLocal8Bit(keep));
        QFile::copy(png, QString::fromLocal8Bit(keep));
    }
}

TEST_F(FormPrinterTest, PageCountComesFromTheFirstTableWithRowsPerPage)
{
    const struct
    {
        const char* tables;
        int rows;
        int pages;
    } cases[] = {
        {R"(<table_print value="5"><col_info_print count_in_page="10"/></table_print>)", 23, 3},
        {R"(<table_print value="5"><col_info_print count_in_page="10"/></table_print>)", 20, 2},
        // An empty grid still prints its headers on one page.
        {R"(<table_print value="5"><col_info_print count_in_page="10"/></table_print>)", 0, 1},
        {R"(<table_print value="5"><col_info_print count_in_page="0"/></table_print>
            <table_print value="5"><col_info_print count_in_page="4"/></table_print>)", 9, 3},
        {R"(<text pos="0,0,100,100"/>)", 23, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tables);
        m_source.tables[5].rows = QList<QStringList>(c.rows, QStringList{QStringLiteral("x")});
        Load(QStringLiteral("<print><print_para>%1</print_para></print>").arg(QString::fromUtf8(c.tables)));
        EXPECT_EQ(m_printer.OnPrintBegin(), c.pages);
        EXPECT_EQ(m_printer.m_nPrintPageCount, c.pages);
    }
}

TEST_F(FormPrinterTest, EmptyGridPrintsOnePageWithItsHeaders)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    m_source.tables[5].rows.clear();
    Load(DeliveryNoteXml());
    const auto pages = Print();
    ASSERT_EQ(pages.size(), 1);
    EXPECT_NE(FindWord(pages[0], QStringLiteral("品名")), nullptr);
    EXPECT_NE(FindWord(pages[0], QStringLiteral("数量")), nullptr);
    EXPECT_TRUE(PageText(pages[0]).contains(QStringLiteral("第 1/1 页")));
}

TEST_F(FormPrinterTest, OffsetsComeFromTheDescriptionControlsAndSettings)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    m_source.texts[5] = QStringLiteral("200");
    m_source.texts[6] = QStringLiteral("300");
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("B37_5"), QStringLiteral("POS_LEFT"), QStringLiteral("50"));
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("B37_5"), QStringLiteral("POS_TOP"), QStringLiteral("-20"));
    const struct
    {
        QString left, top, section;
        double x, y; // where the word's box starts
    } cases[] = {
        {QStringLiteral("100"), QStringLiteral("40"), QString(), 100, 40},
        {QStringLiteral("0:5"), QStringLiteral("0:6"), QString(), 200, 300},
        // The prefix on one side only: both read as plain numbers.
        {QStringLiteral("0:5"), QStringLiteral("20"), QString(), 0, 20},
        {QStringLiteral("100"), QStringLiteral("40"), QStringLiteral("B37_5"), 150, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.left + u' ' + c.top + u' ' + c.section).toStdString());
        Load(QStringLiteral(R"(<print><print_para left="%1" top="%2">
            <t pos="500,500,1500,600" value="位置" format="32"/></print_para></print>)")
                 .arg(c.left, c.top));
        m_printer.m_strPrintSection = c.section;
        const auto pages = Print();
        ASSERT_EQ(pages.size(), 1);
        const PrintedWord* word = FindWord(pages[0], QStringLiteral("位置"));
        ASSERT_NE(word, nullptr);
        EXPECT_NEAR(word->left, 500 + c.x + 3, 4);
        EXPECT_NEAR(word->top, 500 + c.y + 2, 12);
    }
}

TEST_F(FormPrinterTest, FontsHoldForTheirOwnItemOnly)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    // A large item, one shrunk to fit its narrow box, then two on the default.
    Load(QStringLiteral(R"(<print><print_para>
        <a pos="0,0,2000,300" value="大字" font="100,宋体" format="32"/>
        <b pos="0,300,250,500" value="很长的一行文字" format="37"/>
        <c pos="0,500,2000,700" value="默认" format="32"/>
        <d pos="0,700,2000,900" value="同样" format="32"/>
        </print_para></print>)"));
    const auto pages = Print();
    ASSERT_EQ(pages.size(), 1);
    const PrintedWord* large = FindWord(pages[0], QStringLiteral("大字"));
    const PrintedWord* shrunk = FindWord(pages[0], QStringLiteral("很长的一行文字"));
    const PrintedWord* plain = FindWord(pages[0], QStringLiteral("默认"));
    const PrintedWord* same = FindWord(pages[0], QStringLiteral("同样"));
    ASSERT_TRUE(large && shrunk && plain && same);
    const double height = plain->bottom - plain->top;
    EXPECT_GT(large->bottom - large->top, 2 * height);
    EXPECT_LT(shrunk->bottom - shrunk->top, height);
    EXPECT_LE(shrunk->right - shrunk->left, 250);
    EXPECT_NEAR(same->bottom - same->top, height, 0.5);
}

TEST_F(FormPrinterTest, DefaultFontTakesExactlyASizeAndAFace)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    const struct
    {
        QString fontDefault;
        bool larger;
    } cases[] = {{QStringLiteral("72,宋体"), true}, {QStringLiteral("72"), false}, {QStringLiteral("72,宋体,10"), false}};
    double plainHeight = 0;
    Load(QStringLiteral(R"(<print><print_para><t pos="0,0,2000,300" value="字号" format="32"/></print_para></print>)"));
    auto pages = Print();
    ASSERT_EQ(pages.size(), 1);
    ASSERT_NE(FindWord(pages[0], QStringLiteral("字号")), nullptr);
    plainHeight = FindWord(pages[0], QStringLiteral("字号"))->bottom - FindWord(pages[0], QStringLiteral("字号"))->top;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fontDefault.toStdString());
        Load(QStringLiteral(R"(<print><print_para font_default="%1"><t pos="0,0,2000,300" value="字号" format="32"/></print_para></print>)")
                 .arg(c.fontDefault));
        pages = Print();
        const PrintedWord* word = FindWord(pages.value(0), QStringLiteral("字号"));
        ASSERT_NE(word, nullptr);
        if (c.larger)
            EXPECT_NEAR(word->bottom - word->top, 2 * plainHeight, plainHeight * 0.1);
        else
            EXPECT_NEAR(word->bottom - word->top, plainHeight, 0.5);
    }
}

// Every bar code on the page reads back as its text; a text its set cannot
// hold prints no bars at all and is reported once the job is done.
TEST_F(FormPrinterTest, BarCodesReadAsTheirTextsOrAreRefusedNotDrawn)
{
    SKIP_WITHOUT_TOOL("zbarimg");
    const struct
    {
        QString kind;
        QString text;
        QString refusal; // empty: printed
    } cases[] = {
        {QStringLiteral("128a"), QStringLiteral("ORDER-42"), {}},
        {QStringLiteral("128a"), QStringLiteral("Order"), QStringLiteral("条码不能编码字符“r”(第2个字符)")},
        {QStringLiteral("128b"), QStringLiteral("Dn-42 x~"), {}},
        {QStringLiteral("128b"), QStringLiteral("A\u0086B"), QStringLiteral("条码不能编码字符“\u0086”(第2个字符)")},
        {QStringLiteral("128b"), QStringLiteral("华东"), QStringLiteral("条码不能编码字符“华”(第1个字符)")},
        {QStringLiteral("128c"), QStringLiteral("20260042"), {}},
        {QStringLiteral("128c"), QStringLiteral("A1B2"), QStringLiteral("条码不能编码字符“A”(第1个字符)")},
    };
    constexpr int Pitch = 300; // 0.1 mm: a symbol 20 mm high every 30 mm
    QString items;
    QStringList printed;
    QStringList refusals;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        m_source.texts[100 + i] = cases[i].text;
        items += QStringLiteral(R"(<b pos="100,%1,2300,%2" wnd="%3" wnd_type="%4"/>)")
                     .arg(i * Pitch + 50)
                     .arg(i * Pitch + 250)
                     .arg(100 + i)
                     .arg(cases[i].kind);
        if (cases[i].refusal.isEmpty())
            printed << cases[i].text;
        else
            refusals << cases[i].refusal;
    }
    Load(QStringLiteral("<print><print_para>%1</print_para></print>").arg(items));
    QImage image(2400, int(std::size(cases)) * Pitch, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000); // 0.1 mm a pixel
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_EQ(m_printer.OnPrintBegin(), 1);
    m_printer.OnPrintPage(painter, image, 1);
    painter.end();

    for (int i = 0; i < int(std::size(cases)); ++i) {
        if (cases[i].refusal.isEmpty())
            continue;
        int dark = 0;
        for (int y = i * Pitch; y < (i + 1) * Pitch; ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        EXPECT_EQ(dark, 0) << cases[i].text.toStdString();
    }
    const QString path = m_folder.file(QStringLiteral("bars.png"));
    ASSERT_TRUE(image.save(path));
    QStringList decoded = DecodeSymbols(path);
    decoded.sort();
    printed.sort();
    EXPECT_EQ(decoded, printed);
    EXPECT_EQ(m_printer.TakeErrors(), refusals);
    EXPECT_TRUE(m_printer.TakeErrors().isEmpty());
}

TEST_F(FormPrinterTest, BatchPrintsOneJobPerKeyAndNoneAfterAPreview)
{
    Load(DeliveryNoteXml());
    m_printer.m_arrPrintValues = {QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13")};
    m_printer.OnPrintEnd(true);
    EXPECT_TRUE(m_source.clicks.isEmpty());
    EXPECT_EQ(m_printer.m_arrPrintValues.size(), 3);

    m_printer.OnPrintEnd(false);
    EXPECT_EQ(m_source.texts.value(1), QStringLiteral("12"));
    m_printer.OnPrintEnd(false);
    EXPECT_EQ(m_source.texts.value(1), QStringLiteral("13"));
    m_printer.OnPrintEnd(false);
    EXPECT_EQ(m_source.clicks, (QList<int>{9, 9}));
    EXPECT_TRUE(m_printer.m_arrPrintValues.isEmpty());

    m_printer.m_arrPrintValues = {QStringLiteral("21"), QStringLiteral("22")};
    m_printer.OnPrintCancelled();
    EXPECT_TRUE(m_printer.m_arrPrintValues.isEmpty());
}

TEST_F(FormPrinterTest, TableCellsPrintOnlyWhatTheyHave)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    const QString table = QStringLiteral(R"(<print><print_para>
        <table_print value="5" pos="0,0,0,1000" format="%1">
          <head_info_print row_height="80">
            <c row_id="1" row_height="80" title="品名"/>
            <c row_id="1" row_height="80" id="9"/>
            <c row_id="1" row_height="80" id="2"/>
          </head_info_print>
          <col_info_print count_in_page="30" row_height="60">
            <c width="900" col_id="1"/>
            <c width="400" col_id="2"/>
            <c width="0" col_id="3"/>
          </col_info_print>
        </table_print></print_para></print>)");
    const struct
    {
        QString format;
        bool headers;
    } cases[] = {{QStringLiteral("0"), true}, {QStringLiteral("1"), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format.toStdString());
        Load(table.arg(c.format));
        const auto pages = Print();
        ASSERT_EQ(pages.size(), 1);
        const QString text = PageText(pages[0]);
        // Header 9 is beyond the grid's three columns; header 2 has no width.
        EXPECT_EQ(text.contains(QStringLiteral("品名")), c.headers);
        EXPECT_FALSE(text.contains(QStringLiteral("数量")));
        EXPECT_NE(FindWord(pages[0], QStringLiteral("螺栓23")), nullptr);
        EXPECT_NE(FindWord(pages[0], QStringLiteral("230")), nullptr);
        EXPECT_EQ(FindWord(pages[0], QStringLiteral("57.50")), nullptr);
        EXPECT_TRUE(text.contains(QStringLiteral("第 1/1 页")));
    }
}

TEST_F(FormPrinterTest, WordBrokenTextShrinksIntoItsBox)
{
    SKIP_WITHOUT_TOOL("pdftotext");
    // 2064: broken into lines where needed; 60 characters into 40 x 12 mm.
    const QString address = QStringLiteral("北京市海淀区中关村大街一号院二号楼三单元四层五零六室收货人张三电话一三八零零一三八零零零转分机八八八八");
    Load(QStringLiteral(R"(<print><print_para><a pos="0,0,400,120" value="%1" format="2064"/></print_para></print>)")
             .arg(address));
    const auto pages = Print();
    ASSERT_EQ(pages.size(), 1);
    ASSERT_FALSE(pages[0].isEmpty());
    QString printed;
    for (const PrintedWord& word : pages[0]) {
        printed += word.text;
        EXPECT_GE(word.left, -1);
        EXPECT_LE(word.right, 401);
        EXPECT_GE(word.top, -1);
        EXPECT_LE(word.bottom, 121);
    }
    EXPECT_EQ(printed, address);
}
