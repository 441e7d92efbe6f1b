// The spreadsheet export: a grid written into a copy of a template stored in
// the database, read back with an independent reader (Python's openpyxl).
#include "ActionFormTest.h"
#include "TempFolder.h"
#include "XlsxNumber.h"
#include "XlsxSheet.h"
#include "XlsxStyles.h"
#include "ZipArchive.h"
#include "grid/ListCtrlEx.h"
#include "text/ModuleFolder.h"
#include "web/ShellOpen.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QUrl>

namespace {

// A template with a styled header row, a styled empty cell where the export
// writes, a cell outside the written block, shared strings, and a second
// sheet. The export's sheet is called "Sheet1" here.
QByteArray MakeTemplate(const QString& firstSheetName = "Sheet1", bool withSheetData = true, bool withStyles = true)
{
    QMap<QString, QByteArray> parts{
        {"[Content_Types].xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/><Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/><Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/><Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>)"},
        {"_rels/.rels",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
        {"xl/workbook.xml",
         QString(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="其他" sheetId="2" r:id="rId2"/><sheet name="%1" sheetId="1" r:id="rId1"/></sheets></workbook>)")
             .arg(firstSheetName)
             .toUtf8()},
        {"xl/_rels/workbook.xml.rels",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/><Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/><Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>)"},
        {"xl/worksheets/sheet1.xml",
         withSheetData ? R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><dimension ref="A1:D5"/><cols><col min="1" max="1" width="20" customWidth="1"/></cols><sheetData>
  <row r="1" spans="1:3"><c r="A1" s="1" t="s"><v>0</v></c><c r="B1" s="1" t="s"><v>1</v></c><c r="C1" s="1" t="inlineStr"><is><t>备注</t></is></c></row>
  <row r="2"><c r="B2" s="2"/></row>
  <row r="5"><c r="D5"><v>99</v></c></row>
</sheetData><mergeCells count="1"><mergeCell ref="E1:F1"/></mergeCells></worksheet>)"
                       : R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"/>)"},
        {"xl/worksheets/sheet2.xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>keep</t></is></c><c r="B1" s="2"><v>1.5</v></c></row></sheetData></worksheet>)"},
        {"xl/sharedStrings.xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2" uniqueCount="2"><si><t>名称</t></si><si><t>数量</t></si></sst>)"},
        {"xl/styles.xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts count="1"><numFmt numFmtId="164" formatCode="#,##0.00"/></numFmts><fonts count="2"><font><sz val="11"/><name val="Calibri"/></font><font><b/><sz val="11"/><name val="Calibri"/></font></fonts><fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills><borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs><cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/><xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/><xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs><cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles></styleSheet>)"},
    };
    if (!withStyles) {
        parts.remove("xl/styles.xml");
        parts["xl/_rels/workbook.xml.rels"].replace("Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"", "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/other\" Target=\"other.xml\"");
        parts["[Content_Types].xml"].replace("<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>", "");
        for (const char* sheet : {"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml"})
            parts[sheet].replace(" s=\"1\"", "").replace(" s=\"2\"", "");
    }
    CZipArchive zip;
    EXPECT_TRUE(zip.Create());
    for (auto it = parts.constBegin(); it != parts.constEnd(); ++it)
        zip.Put(it.key(), it.value());
    QByteArray bytes;
    EXPECT_TRUE(zip.Save(bytes)) << zip.Error().toStdString();
    return bytes;
}

// Every cell of every sheet as openpyxl reads it: {"sheet!A1": [value, type,
// bold, number format]}, and the main content type; empty when python3 or
// openpyxl is missing (reason says which). Texts are read with the workbook
// escapes (_xHHHH_) undone, as a spreadsheet program shows them.
const char* const Reader = R"(
import json, re, sys, zipfile
try:
    import openpyxl
except ImportError:
    print(json.dumps({"missing": "openpyxl"})); sys.exit(0)
book = openpyxl.load_workbook(sys.argv[1])
def shown(value):
    if isinstance(value, str):
        return re.sub("_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), value)
    return value
cells = {}
for ws in book.worksheets:
    for row in ws.iter_rows():
        for c in row:
            if c.value is not None or c.style_id:
                cells[ws.title + "!" + c.coordinate] = [shown(c.value), type(c.value).__name__, bool(c.font.b), c.number_format]
types = zipfile.ZipFile(sys.argv[1]).read("[Content_Types].xml").decode()
print(json.dumps({"cells": cells, "sheets": book.sheetnames, "types": types}, ensure_ascii=False))
)";

QJsonObject ReadBack(const QString& path, QString& reason)
{
    // Debian's own Python is the one its python3-openpyxl belongs to.
    QProcess python;
    python.start(QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3", {"-c", Reader, path});
    if (!python.waitForStarted(10000)) {
        reason = "python3 is not installed";
        return {};
    }
    python.waitForFinished(60000);
    const QJsonObject result = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    if (result.isEmpty() && python.exitCode() == 0 && python.readAllStandardOutput().isEmpty())
        reason = "python3 gave no answer";
    if (result.contains("missing"))
        reason = "python3-openpyxl is not installed";
    else if (result.isEmpty())
        reason = "openpyxl could not read the workbook: " + QString::fromUtf8(python.readAllStandardError());
    return result;
}

std::string Json(const QJsonValue& value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}

class ExcelExportTest : public ActionFormTest
{
protected:
    void SetUp() override
    {
        ActionFormTest::SetUp();
        if (HasFatalFailure())
            return;
        SetModuleFolderOverride(m_program.path());
        SetShellOpenerForTests([this](const QUrl& url) {
            m_opened << url.toLocalFile();
            return true;
        });
        Exec("CREATE TABLE tpl (uid_0 " + KeyColumn() + ", file_name_0 VARCHAR(260), file_0 " + BlobType() + ")");
        StoreTemplate("报表模板.xltx", MakeTemplate());
    }

    void TearDown() override
    {
        SetShellOpenerForTests({});
        SetModuleFolderOverride(QString());
        ActionFormTest::TearDown();
    }

    void StoreTemplate(const QString& name, const QByteArray& bytes)
    {
        Exec("DELETE FROM tpl");
        ASSERT_TRUE(m_db.ExecuteCommand("INSERT INTO tpl (uid_0, file_name_0, file_0) VALUES (1, ?, ?)",
                                        {name, bytes}));
    }

    // A grid of three columns with the rows given, a box 5 holding the
    // template's uid, and button 9 exporting with the attributes given.
    void OpenExport(const QString& attributes, const QList<QStringList>& rows)
    {
        Open("<table id='7' pos='0,0,400,200'><PARA><col_info><col id='1' name='名称' width='80'/>"
             "<col id='2' name='数量' width='60'/><col id='3' name='备注' width='60'/></col_info></PARA></table>"
             "<textbox id='5' pos='0,210,100,230' value='1'/>"
             "<button id='9' pos='0,240,60,260' value='导出'><ACTION><CLICK><export_excel table_id='7' "
             + attributes
             + "><para_info target_id='5' select_table='tpl' file_field_name='file_name_0' img_field_name='file_0'/>"
               "</export_excel></CLICK></ACTION></button>");
        auto* grid = qobject_cast<CListCtrlEx*>(Control(7));
        for (int r = 0; r < rows.size(); ++r) {
            grid->InsertRow(r, rows[r].value(0));
            for (int c = 1; c < rows[r].size(); ++c)
                grid->SetItemText(r, c, rows[r][c]);
        }
        m_messages.clear();
        m_opened.clear();
    }

    // Exports with button 9 and reads the one workbook made back: its cells
    // as ReadBack gives them; none when the test failed or was skipped here
    // (no python3 or openpyxl), and the caller then returns.
    void ExportAndReadBack(QJsonObject& cells)
    {
        cells = {};
        Fire(9);
        if (m_opened.size() != 1) {
            ADD_FAILURE() << m_opened.size() << " workbooks opened; " << m_messages.join("\n").toStdString();
            return;
        }
        QString reason;
        const QJsonObject book = ReadBack(m_opened[0], reason);
        if (!reason.isEmpty() && !reason.contains("could not read"))
            GTEST_SKIP() << reason.toStdString();
        cells = book["cells"].toObject();
        if (cells.isEmpty())
            ADD_FAILURE() << reason.toStdString();
    }

    QStringList Workbooks() const
    {
        return QDir(m_program.path() + "temp").entryList(QDir::Files);
    }

    TempFolder m_program;
    QStringList m_opened;
};

TEST_P(ExcelExportTest, GridLandsInTheCopyWithTheTemplateKept)
{
    OpenExport("values='0,1,2'", {{"苹果", "12", "红"}, {"香蕉", "3.5", ""}, {"007", "-2", "a&b<c> \"q\""}});
    Fire(9);
    ASSERT_TRUE(m_messages.isEmpty()) << m_messages.join("\n").toStdString();
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_TRUE(m_opened[0].startsWith(m_program.path() + "temp/报表模板_"));
    EXPECT_TRUE(m_opened[0].endsWith(".xlsx"));
    EXPECT_TRUE(QFile::exists(m_program.path() + "xltx/报表模板.xltx"));

    QString reason;
    const QJsonObject book = ReadBack(m_opened[0], reason);
    if (!reason.isEmpty() && !reason.contains("could not read"))
        GTEST_SKIP() << reason.toStdString();
    ASSERT_TRUE(book.contains("types")) << reason.toStdString() << QJsonDocument(book).toJson().toStdString();
    const QString types = book["types"].toString();
    EXPECT_TRUE(types.contains("spreadsheetml.sheet.main+xml"));
    EXPECT_FALSE(types.contains("template"));
    EXPECT_EQ(book["sheets"].toVariant().toStringList(), (QStringList{"其他", "Sheet1"}));

    // [value, type, bold, number format] of every cell there is.
    const QJsonObject expected = QJsonDocument::fromJson(R"({
        "Sheet1!A1": ["名称", "str", true, "General"],
        "Sheet1!B1": ["数量", "str", true, "General"],
        "Sheet1!C1": ["备注", "str", true, "General"],
        "Sheet1!A2": ["苹果", "str", false, "General"],
        "Sheet1!B2": [12, "int", false, "0"],
        "Sheet1!C2": ["红", "str", false, "General"],
        "Sheet1!A3": ["香蕉", "str", false, "General"],
        "Sheet1!B3": [3.5, "float", false, "0.0"],
        "Sheet1!A4": ["007", "str", false, "General"],
        "Sheet1!B4": [-2, "int", false, "0"],
        "Sheet1!C4": ["a&b<c> \"q\"", "str", false, "General"],
        "Sheet1!D5": [99, "int", false, "General"],
        "其他!A1": ["keep", "str", false, "General"],
        "其他!B1": [1.5, "float", false, "#,##0.00"]
    })").object();
    const QJsonObject cells = book["cells"].toObject();
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(Json(cells[it.key()]), Json(it.value())) << it.key().toStdString();
    EXPECT_EQ(cells.keys(), expected.keys());
}

// A text that is not a plain decimal number stays the text the grid shows,
// character for character.
TEST_P(ExcelExportTest, CellsHoldTheShownTextsExactly)
{
    const QList<QStringList> rows = {
        {"007", "+123", "-0"},
        {"1e5", "12345678901234567890", " 7"},
        {"2024-01-02", "TRUE", "=SUM(A1)"},
        {"-0.00", "1,23", "12."},
        {QString("a") + QChar(1) + "b" + QChar(0x1F) + "c", "行一\r\n行二\r末", "_x0041_"},
        {"制表\t换行\n", "_x00e9__X0041__x12_", QString("😀") + QChar(0xFFFF) + "_"},
    };
    OpenExport("values='0,1,2'", rows);
    QJsonObject cells;
    ExportAndReadBack(cells);
    if (cells.isEmpty())
        return;
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < 3; ++c) {
            const QString name = "Sheet1!" + CXlsxSheet::CellName(r + 2, c + 1);
            const QJsonArray cell = cells[name].toArray();
            EXPECT_EQ(cell.at(0).toString(), rows[r][c]) << name.toStdString();
            EXPECT_EQ(cell.at(1).toString(), "str") << name.toStdString();
        }
    }
}

// A plain decimal number becomes a number whose format shows the grid's
// text: the sum of a column is a sum, and the cell still reads as it did.
TEST_P(ExcelExportTest, PlainNumbersAreNumbersShownAsTheGridShowsThem)
{
    const struct {
        QString text;
        QJsonValue value;
        QString type;
        QString format;
    } cases[] = {
        {"12", 12, "int", "0"},
        {"-12.50", -12.5, "float", "0.00"},
        {"1,234.50", 1234.5, "float", "#,##0.00"},
        {"-1,000,000", -1000000, "int", "#,##0"},
        {"0", 0, "int", "0"},
        {"0.000120", 0.00012, "float", "0.000000"},
        {"123456789012345", 123456789012345.0, "int", "0"},
        {"0.12345678901234", 0.12345678901234, "float", "0.00000000000000"},
        {"1.50", 1.5, "float", "0.00"}, // a format used twice is one format
        // More digits than a spreadsheet keeps: a text.
        {"1234567890123456", "1234567890123456", "str", "General"},
        {"0.1234567890123456", "0.1234567890123456", "str", "General"},
    };
    QList<QStringList> rows;
    for (const auto& c : cases)
        rows.append({c.text});
    // Over the bold header row: a number keeps its cell's looks.
    OpenExport("values='0' target_ids='1,1'", rows);
    QJsonObject cells;
    ExportAndReadBack(cells);
    if (cells.isEmpty())
        return;
    for (int r = 0; r < int(std::size(cases)); ++r) {
        const auto& c = cases[r];
        const QString name = "Sheet1!A" + QString::number(r + 1);
        EXPECT_EQ(Json(cells[name]), Json(QJsonArray{c.value, c.type, r == 0, c.format})) << name.toStdString();
    }
    // The template's own formats are all still there.
    EXPECT_EQ(Json(cells["其他!B1"]), Json(QJsonArray{1.5, "float", false, "#,##0.00"}));
}

// A template without a styles part has no room for number formats: its
// cells get the texts, as they are.
TEST_P(ExcelExportTest, WithoutStylesNumbersStayTexts)
{
    StoreTemplate("无样式.xltx", MakeTemplate("Sheet1", true, false));
    OpenExport("values='0,1'", {{"12", "-3.50"}});
    QJsonObject cells;
    ExportAndReadBack(cells);
    if (cells.isEmpty())
        return;
    EXPECT_EQ(Json(cells["Sheet1!A2"].toArray()[0]), Json("12"));
    EXPECT_EQ(Json(cells["Sheet1!B2"].toArray()[0]), Json("-3.50"));
}

TEST_P(ExcelExportTest, StartCellAndColumnOrderAreTheActionsChoice)
{
    OpenExport("values='2,0' target_ids='5,3'", {{"a", "1", "x"}, {"b", "2", "y"}});
    QJsonObject cells;
    ExportAndReadBack(cells);
    if (cells.isEmpty())
        return;
    EXPECT_EQ(cells["Sheet1!C5"].toArray()[0], "x");
    EXPECT_EQ(cells["Sheet1!D5"].toArray()[0], "a");  // over the template's 99
    EXPECT_EQ(cells["Sheet1!C6"].toArray()[0], "y");
    EXPECT_EQ(cells["Sheet1!D6"].toArray()[0], "b");
    EXPECT_EQ(cells["Sheet1!A2"].toArray().size(), 0);

    // Two exports make two workbooks.
    Fire(9);
    EXPECT_EQ(Workbooks().size(), 2);
}

// Whatever is wrong with the template or its record, the user reads why and
// no workbook is written.
TEST_P(ExcelExportTest, BadTemplatesWriteNothing)
{
    QByteArray damaged = MakeTemplate();
    damaged.truncate(damaged.size() / 2);
    QByteArray flipped = MakeTemplate();
    flipped[flipped.size() / 3] = char(flipped[flipped.size() / 3] ^ 0x55);
    const struct {
        QByteArray bytes;
        QString message;
    } cases[] = {
        {MakeTemplate("数据"), "中没有名为 sheet1 的工作表"},
        {damaged, "已损坏或不是 Excel 工作簿"},
        {flipped, "已损坏"},
        {"not a zip at all", "已损坏或不是 Excel 工作簿"},
        {MakeTemplate("SHEET1", false), "sheet1 已损坏"},
    };
    for (const auto& c : cases) {
        StoreTemplate("t.xltx", c.bytes);
        OpenExport("values='0'", {{"a"}});
        Fire(9);
        ASSERT_EQ(m_messages.size(), 1) << c.message.toStdString();
        EXPECT_TRUE(m_messages[0].contains(c.message)) << m_messages[0].toStdString();
        EXPECT_TRUE(m_opened.isEmpty());
        EXPECT_TRUE(Workbooks().isEmpty());
    }
    // No record of that uid; a uid that is no number.
    OpenExport("values='0'", {{"a"}});
    CFormActions::SetTextAndRefresh(Control(5), "42");
    Fire(9);
    EXPECT_EQ(m_messages, QStringList{"找不到导出模板的记录（uid 42）！"});
    CFormActions::SetTextAndRefresh(Control(5), "1 OR 1=1");
    m_messages.clear();
    Fire(9);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains("不是数字"));
    // A start cell that is no cell.
    StoreTemplate("t.xltx", MakeTemplate());
    OpenExport("values='0' target_ids='0,1'", {{"a"}});
    Fire(9);
    EXPECT_EQ(m_messages, QStringList{"导出的起始单元格“0,1”无效，应为“行,列”（从 1 起）。"});
    // No rows: the list stops quietly.
    OpenExport("values='0'", {});
    Fire(9);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_TRUE(Workbooks().isEmpty());
}

TEST(XlsxSheetTest, CellNamesAndNumbers)
{
    EXPECT_EQ(CXlsxSheet::CellName(1, 1), "A1");
    EXPECT_EQ(CXlsxSheet::CellName(10, 26), "Z10");
    EXPECT_EQ(CXlsxSheet::CellName(3, 27), "AA3");
    EXPECT_EQ(CXlsxSheet::CellName(1048576, 16384), "XFD1048576");
    int row = 0, column = 0;
    EXPECT_TRUE(CXlsxSheet::ParseCellName(u"XFD1048576", row, column));
    EXPECT_EQ(column, 16384);
    for (const char* bad : {"A0", "1", "A", "a1", "XFE1", "A1048577", "A-1", "A1x"})
        EXPECT_FALSE(CXlsxSheet::ParseCellName(QString(bad), row, column)) << bad;
}

TEST(XlsxSheetTest, CellTextsInXml)
{
    const struct {
        QString text;
        QString xml;
    } cases[] = {
        {"-12.50", "-12.50"},
        {"a<b>&\"c\"", "a&lt;b&gt;&amp;&quot;c&quot;"},
        {"\t\n", "\t\n"},
        {"\r", "_x000D_"},
        {QString(QChar(0)) + QChar(0x1B) + QChar(0xFFFE), "_x0000__x001B__xFFFE_"},
        {"_x0041_", "_x005F_x0041_"},
        {"_xbeef__x12_", "_x005F_xbeef__x12_"},
        {"_X0041_ _x00G1_ _x0041", "_x005F_X0041_ _x00G1_ _x0041"},
        {QString(QChar(0xD800)) + "a", "_xD800_a"},
        {"😀中", "😀中"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CXlsxSheet::CellXmlText(c.text), c.xml) << c.text.toStdString();
}

TEST(XlsxNumberTest, PlainDecimalsAndTheFormatsThatShowThem)
{
    const struct {
        QString text;
        QString value; // empty: no number, the text stays a text
        QString format;
    } cases[] = {
        {"12", "12", "0"},
        {"-12.50", "-12.50", "0.00"},
        {"0.5", "0.5", "0.0"},
        {"1,234", "1234", "#,##0"},
        {"-12,345,678.125", "-12345678.125", "#,##0.000"},
        {"0", "0", "0"},
        {"0.00", "0.00", "0.00"},
        {"999999999999999", "999999999999999", "0"},
        {"0.000000000000000000000000000001", "0.000000000000000000000000000001",
         "0.000000000000000000000000000000"},
        // Not plain, or not shown as it stands.
        {"007", "", ""}, {"-0", "", ""}, {"-0.000", "", ""}, {"+123", "", ""}, {"1e5", "", ""},
        {"2024-01-02", "", ""}, {" 12", "", ""}, {"12 ", "", ""}, {"12\n", "", ""}, {"TRUE", "", ""},
        {"=SUM(A1)", "", ""}, {"12.", "", ""}, {".5", "", ""}, {"1,23", "", ""}, {"1234,567", "", ""},
        {"0,123", "", ""}, {"1,234,56", "", ""}, {"--1", "", ""}, {"", "", ""}, {"１２", "", ""},
        {"12345678901234567890", "", ""}, {"1000000000000000", "", ""},
        {"0.0000000000000000000000000000001", "", ""},
    };
    for (const auto& c : cases) {
        const std::optional<XlsxNumber> number = XlsxNumber::FromText(c.text);
        EXPECT_EQ(number ? number->value : QString(), c.value) << c.text.toStdString();
        EXPECT_EQ(number ? number->format : QString(), c.format) << c.text.toStdString();
    }
}

// Number formats and cell formats are added after the template's own,
// which stay as they were; the counts follow.
TEST(XlsxStylesTest, AddedFormatsFollowTheTemplatesOwn)
{
    const QByteArray own = R"(<?xml version="1.0"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts count="1"><numFmt numFmtId="170" formatCode="0.000"/></numFmts><fonts count="1"><font/></fonts><cellXfs count='3'><xf numFmtId="0" fontId="0"/><xf numFmtId="170" fontId="1" applyNumberFormat='0'><alignment horizontal="center"/></xf><xf fontId="0"></xf></cellXfs><cellStyles count="1"/></styleSheet>)";
    CXlsxStyles styles;
    ASSERT_TRUE(styles.Load(own)) << styles.Error().toStdString();
    EXPECT_FALSE(styles.Changed());
    EXPECT_EQ(styles.NumberStyle("1", "0.00"), "3");
    EXPECT_EQ(styles.NumberStyle("1", "0.00"), "3");
    EXPECT_EQ(styles.NumberStyle("", "0.000"), "4");     // the template's own 170
    EXPECT_EQ(styles.NumberStyle("9", "0.0000"), "5");   // no such cell format: the first
    EXPECT_EQ(styles.NumberStyle("2", "#,##0.0"), "6");
    EXPECT_EQ(QString::fromUtf8(styles.Save()), QString(R"(<?xml version="1.0"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts count="3"><numFmt numFmtId="170" formatCode="0.000"/><numFmt numFmtId="171" formatCode="0.0000"/><numFmt numFmtId="172" formatCode="#,##0.0"/></numFmts><fonts count="1"><font/></fonts><cellXfs count="7"><xf numFmtId="0" fontId="0"/><xf numFmtId="170" fontId="1" applyNumberFormat='0'><alignment horizontal="center"/></xf><xf fontId="0"></xf><xf numFmtId="2" applyNumberFormat="1" fontId="1"><alignment horizontal="center"/></xf><xf numFmtId="170" applyNumberFormat="1" fontId="0"/><xf numFmtId="171" applyNumberFormat="1" fontId="0"/><xf numFmtId="172" applyNumberFormat="1" fontId="0"></xf></cellXfs><cellStyles count="1"/></styleSheet>)"));

    // Without number formats of their own, in a prefixed styleSheet, or
    // with an empty list of them.
    const struct {
        QByteArray own;
        QString saved;
    } cases[] = {
        {R"(<x:styleSheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:cellXfs count="1"><x:xf/></x:cellXfs></x:styleSheet>)",
         R"(<x:styleSheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:numFmts count="1"><x:numFmt numFmtId="164" formatCode="0.0"/></x:numFmts><x:cellXfs count="2"><x:xf/><x:xf numFmtId="164" applyNumberFormat="1"/></x:cellXfs></x:styleSheet>)"},
        {R"(<styleSheet><numFmts count="0"/><cellXfs><xf/></cellXfs></styleSheet>)",
         R"(<styleSheet><numFmts count="1"><numFmt numFmtId="164" formatCode="0.0"/></numFmts><cellXfs count="2"><xf/><xf numFmtId="164" applyNumberFormat="1"/></cellXfs></styleSheet>)"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(styles.Load(c.own)) << styles.Error().toStdString();
        EXPECT_EQ(styles.NumberStyle("0", "0.0"), "1");
        EXPECT_EQ(styles.Save().toStdString(), c.saved.toStdString());
        CXlsxStyles again;
        EXPECT_TRUE(again.Load(styles.Save()));
    }
    // Nothing to add formats to.
    for (const QByteArray bad : {"<styleSheet/>", "<styleSheet><cellXfs/></styleSheet>", "<workbook/>", "<styleSheet>"})
        EXPECT_FALSE(styles.Load(bad)) << bad.constData();
}

TEMBRA_ACTION_KINDS(ExcelExportTest);

} // namespace
