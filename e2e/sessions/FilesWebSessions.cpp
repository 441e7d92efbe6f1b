// 文件与网页: 文档附件, 导出Excel, 网页与命令.
#include "E2eRun.h"
#include "SessionHelpers.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

using SessionCheck::ColoursIn;
using SessionCheck::Number;

// Prints the cells of the first sheet from its second row, a row a line,
// cells separated by tabs.
const QString kSheetRows = QStringLiteral(
    "import openpyxl, sys\n"
    "try:\n"
    "    ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
    "except Exception as e:\n"
    "    print('unreadable workbook: %s' % e)\n"
    "    sys.exit(0)\n"
    "for row in ws.iter_rows(min_row=2, values_only=True):\n"
    "    if any(c is not None for c in row):\n"
    "        print('\\t'.join('' if c is None else str(c) for c in row))\n");

// Prints, for each cell named after the workbook, its value, the kind of
// value and its number format, separated by tabs, a cell a line.
const QString kSheetCells = QStringLiteral(
    "import openpyxl, sys\n"
    "ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
    "for name in sys.argv[2:]:\n"
    "    c = ws[name]\n"
    "    print('%s\\t%s\\t%s' % (c.value, type(c.value).__name__, c.number_format))\n");

class FilesWebSessions : public DemoSession
{
protected:
    // Writes a file of the bytes into the program folder, chooses the grid's
    // first row and uploads the file through the file dialog (its path typed).
    void UploadThroughTheDialog(const FormWindow& form, int grid, int upload, const QString& name,
                                const QByteArray& bytes)
    {
        const QString path = Program().Folder() + name;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        form.ClickCell(grid, 0, 0);
        form.Click(upload);
        XDesktop::Pause(800);
        Desktop().Type(path);
        Desktop().Key(QStringLiteral("Return"));
    }
};

class ExcelExportSession : public FilesWebSessions
{
protected:
    static constexpr int Grid = 7, Export = 9, AmountColumn = 3;

    // 导出到Excel; the rows of the workbook handed to the desktop's opener,
    // each its cells.
    QList<QStringList> ExportedRows(const FormWindow& form)
    {
        const int opened = int(Program().OpenedFiles().size());
        form.Click(Export);
        ExpectNoMessage();
        if (!XDesktop::WaitUntil([&] { return Program().OpenedFiles().size() > opened; }, 10000)) {
            ADD_FAILURE() << "no workbook was handed to the desktop's opener";
            return {};
        }
        const QString opener = Program().OpenedFiles().last();
        m_workbook = QUrl(opener).isLocalFile() ? QUrl(opener).toLocalFile() : opener;
        EXPECT_TRUE(QFileInfo::exists(m_workbook)) << m_workbook;
        QList<QStringList> rows;
        for (const QString& line : Desktop()
                                       .Output(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), kSheetRows, m_workbook})
                                       .split(u'\n', Qt::SkipEmptyParts))
            rows << line.split(u'\t');
        return rows;
    }

    // Value, kind and number format of each named cell of the last workbook.
    QStringList Cells(const QStringList& names)
    {
        return Desktop()
            .Output(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), kSheetCells, m_workbook} + names)
            .split(u'\n', Qt::SkipEmptyParts);
    }

    QString m_workbook;

    void ExpectRows(const QList<QStringList>& exported, const QList<QStringList>& expected)
    {
        ASSERT_EQ(exported.size(), expected.size()) << (exported.isEmpty() ? QString() : exported.first().join(u' '));
        for (int i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(exported[i].value(0), expected[i].value(0)) << "row " << i + 2;
            for (int c = 1; c < 4; ++c)
                EXPECT_DOUBLE_EQ(Number(exported[i].value(c)), Number(expected[i].value(c)))
                    << "row " << i + 2 << " cell " << c + 1;
        }
    }
};

// 导出Excel: the grid goes into a copy of the stored template from row 2,
// and the copy is handed to the desktop's opener; a click on the 金额 header
// sorts the grid by amount (as numbers), a second click turns the order, and
// the export follows the grid.
TEST_F(ExcelExportSession, GridIntoTheTemplateCopyInTheGridsOrder)
{
    std::optional<FormWindow> form = Open(QStringLiteral("导出Excel"));
    ASSERT_TRUE(form);
    const QString sales = QStringLiteral("SELECT product_0, qty_0, price_0, amount_0 FROM demo_sales");
    QList<QStringList> expected = Db().Rows(sales + QStringLiteral(" ORDER BY uid_0"));

    Step(QStringLiteral("导出到Excel"));
    ExpectRows(ExportedRows(*form), expected);
    // The first row's product stays a text; its quantity and price are
    // numbers, shown as the grid showed them.
    EXPECT_EQ(Cells({QStringLiteral("A2"), QStringLiteral("B2"), QStringLiteral("C2")}),
              (QStringList{expected[0][0] + QStringLiteral("\tstr\tGeneral"), QStringLiteral("12\tint\t0"),
                           QStringLiteral("12.5\tfloat\t0.0")}));

    const auto byAmount = [](const QStringList& a, const QStringList& b) {
        return Number(a.value(3)) < Number(b.value(3));
    };
    Step(QStringLiteral("click the 金额 header, 导出到Excel"));
    Desktop().Click(form->HeaderPoint(Grid, AmountColumn));
    std::stable_sort(expected.begin(), expected.end(), byAmount);
    ExpectRows(ExportedRows(*form), expected);

    Step(QStringLiteral("click the 金额 header again, 导出到Excel"));
    Desktop().Click(form->HeaderPoint(Grid, AmountColumn));
    std::reverse(expected.begin(), expected.end());
    const QList<QStringList> descending = ExportedRows(*form);
    ASSERT_EQ(descending.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_DOUBLE_EQ(Number(descending[i].value(3)), Number(expected[i].value(3))) << "row " << i + 2;
}

// 文档附件: 上传附件 through the file dialog stores the file in the record; a
// file over 2 MB is refused; 打开附件 writes it out and opens it; 显示图片 and
// 看图片文件 show pictures; 打开文件 opens a typed path.
TEST_F(FilesWebSessions, Documents_UploadOpenAndPictures)
{
    constexpr int Grid = 7, Picture = 40, Upload = 20, OpenAttachment = 21, ShowPicture = 22, Path = 30;
    constexpr int OpenFile = 23, ShowPictureFile = 24;
    std::optional<FormWindow> form = Open(QStringLiteral("文档附件"));
    ASSERT_TRUE(form);
    const QString uid = Db().Value(QStringLiteral("SELECT uid_0 FROM demo_doc ORDER BY uid_0"));

    Step(QStringLiteral("上传附件 on the first row, the file typed into the file dialog"));
    UploadThroughTheDialog(*form, Grid, Upload, QStringLiteral("upload-e2e.txt"), "e2e upload\n");
    ExpectNoMessage();
    EXPECT_EQ(Db().Value(QStringLiteral("SELECT file_name_0 FROM demo_doc WHERE uid_0=%1").arg(uid)),
              QStringLiteral("upload-e2e.txt"));

    Step(QStringLiteral("上传附件 of a file over 2 MB is refused"));
    UploadThroughTheDialog(*form, Grid, Upload, QStringLiteral("large.bin"), QByteArray(3 * 1024 * 1024, 'x'));
    ExpectMessage();
    EXPECT_EQ(Db().Value(QStringLiteral("SELECT file_name_0 FROM demo_doc WHERE uid_0=%1").arg(uid)),
              QStringLiteral("upload-e2e.txt"));

    Step(QStringLiteral("打开附件 writes the attachment into temp and opens it"));
    const int opened = int(Program().OpenedFiles().size());
    form->ClickCell(Grid, 0, 0);
    form->Click(OpenAttachment);
    ExpectNoMessage();
    ASSERT_TRUE(XDesktop::WaitUntil([&] { return Program().OpenedFiles().size() > opened; }, 5000));
    QFile written(Program().Folder() + QStringLiteral("temp/upload-e2e.txt"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << qPrintable(Program().OpenedFiles().join(u' '));
    EXPECT_EQ(written.readAll(), QByteArray("e2e upload\n"));

    Step(QStringLiteral("显示图片 shows the record's picture"));
    const QImage blank = Desktop().Grab().copy(form->ControlScreenRect(Picture));
    form->ClickCell(Grid, 0, 0);
    form->Click(ShowPicture);
    ExpectNoMessage();
    const QImage shown = Desktop().Grab().copy(form->ControlScreenRect(Picture));
    EXPECT_NE(shown, blank);

    Step(QStringLiteral("看图片文件 shows a picture file typed into the path"));
    const QString png = Program().Folder() + QStringLiteral("picture.png");
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 30));
    ASSERT_TRUE(picture.save(png));
    form->Fill(Path, png);
    form->Click(ShowPictureFile);
    ExpectNoMessage();
    EXPECT_GT(SessionCheck::PixelsOf(Desktop().Grab().copy(form->ControlScreenRect(Picture)), QColor(200, 30, 30)), 100);

    Step(QStringLiteral("打开文件 opens the typed path"));
    const int before = int(Program().OpenedFiles().size());
    form->Click(OpenFile);
    ExpectNoMessage();
    ASSERT_TRUE(XDesktop::WaitUntil([&] { return Program().OpenedFiles().size() > before; }, 5000));
    EXPECT_TRUE(Program().OpenedFiles().last().endsWith(QStringLiteral("picture.png")));
}

// 网页与命令: money words, URL coding both ways, a command on a typed folder
// (one quoted argument) and the date.
TEST_F(FilesWebSessions, WebAndCommands_TextsAndCommands)
{
    constexpr int Amount = 3, ToWords = 24, Words = 4, Text = 5, Encode = 26, Encoded = 6, Decode = 27;
    constexpr int Decoded = 7, Folder = 8, List = 29, Date = 30, Output = 9;
    std::optional<FormWindow> form = Open(QStringLiteral("网页与命令"));
    ASSERT_TRUE(form);

    Step(QStringLiteral("转大写 of 1,234.56"));
    form->Fill(Amount, QStringLiteral("1,234.56"));
    form->Click(ToWords);
    ExpectNoMessage();
    EXPECT_TRUE(form->Read(Words).startsWith(QStringLiteral("壹仟贰佰叁拾肆元伍角陆分"))) << qPrintable(form->Read(Words));

    Step(QStringLiteral("URL编码 then URL解码 gives the text back"));
    form->Fill(Text, QStringLiteral("中文 a&b"));
    form->Click(Encode);
    const QString encoded = form->Read(Encoded);
    EXPECT_TRUE(encoded.startsWith(QStringLiteral("%E4%B8%AD%E6%96%87"), Qt::CaseInsensitive)) << qPrintable(encoded);
    form->Click(Decode);
    EXPECT_EQ(form->Read(Decoded), QStringLiteral("中文 a&b"));

    Step(QStringLiteral("列出目录 of a folder whose name holds a blank and a quote"));
    const QString folder = Program().Folder() + QStringLiteral("a b'c");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile marker(folder + QStringLiteral("/marker-e2e.txt"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    form->Fill(Folder, folder);
    form->Click(List);
    ExpectNoMessage();
    EXPECT_TRUE(form->Read(Output).contains(QStringLiteral("marker-e2e.txt")));

    Step(QStringLiteral("当前日期 as a Chinese reader writes it: 2026-03-09 14:05:30"));
    form->Click(Date);
    ExpectNoMessage();
    const QString now = form->Read(Output).trimmed();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$")).match(now).hasMatch())
        << qPrintable(now);
    EXPECT_TRUE(now.startsWith(QString::number(QDate::currentDate().year()))) << qPrintable(now);
}

} // namespace
