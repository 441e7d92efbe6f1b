// 图表与打印: 送货单打印 (print to PDF, preview, offsets, the contacts popup),
// 客户联系人, 销售图表, 排班看板, 动画窗体.
#include "E2eRun.h"
#include "E2eTexts.h"
#include "SessionHelpers.h"

#include <QFile>
#include <QFileInfo>

namespace {

using SessionCheck::ColoursIn;

class ChartPrintSessions : public DemoSession
{
protected:
    // Waits for a file the program writes and that has stopped growing.
    static bool WaitForFile(const QString& path, int timeoutMs = 15000)
    {
        qint64 size = -1;
        return XDesktop::WaitUntil(
            [&] {
                const qint64 now = QFileInfo(path).size();
                const bool stable = now > 0 && now == size;
                size = now;
                return stable;
            },
            timeoutMs, 300);
    }
};

// 送货单打印: 打 印 through the printer dialog into a PDF of two pages.
TEST_F(ChartPrintSessions, DeliveryNote_PrintToPdf)
{
    constexpr int Print = 30;
    std::optional<FormWindow> form = Open(QStringLiteral("送货单打印"));
    ASSERT_TRUE(form);
    const QString pdf = Program().Folder() + E2eText::PrintedFile;
    QFile::remove(pdf);

    Step(QStringLiteral("打 印, then Print in the printer dialog (to a PDF file)"));
    form->Click(Print);
    ASSERT_FALSE(Desktop().WaitForWindow(E2eText::PrinterDialog).isEmpty()) << "no printer dialog";
    XDesktop::Pause(300);
    Desktop().Key(QStringLiteral("Return")); // its default button: Print
    ASSERT_TRUE(WaitForFile(pdf)) << "no PDF was printed";

    Step(QStringLiteral("the PDF's text"));
    const QString text = Desktop().Output(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    const QString compact = QString(text).remove(u' ');
    for (const QString& expected :
         {QStringLiteral("送货单"), QStringLiteral("单号：DN-20260042"), QStringLiteral("客户：华东五金有限公司"),
          QStringLiteral("订单号20260042"), QStringLiteral("合计：3,181.40"), QStringLiteral("备注：货到请当面清点"),
          QStringLiteral("第1/2页"), QStringLiteral("第2/2页"), QStringLiteral("硅酮胶"), QStringLiteral("六角螺栓")})
        EXPECT_TRUE(compact.contains(expected)) << qPrintable(expected);
    EXPECT_EQ(text.count(u'\f'), 2) << "not two pages";
    for (const QStringList& item : Db().Rows(QStringLiteral(
             "SELECT name_0 FROM d_delivery_item WHERE note_no_0='DN-20260042' ORDER BY uid_0")))
        EXPECT_TRUE(compact.contains(item.value(0))) << qPrintable(item.value(0));
}

// 送货单打印: 打印预览 shows the pages with a QR code of the note number and a
// bar code of the order number.
TEST_F(ChartPrintSessions, DeliveryNote_PreviewShowsTheCodes)
{
    constexpr int Preview = 31;
    std::optional<FormWindow> form = Open(QStringLiteral("送货单打印"));
    ASSERT_TRUE(form);
    Step(QStringLiteral("打印预览"));
    form->Click(Preview);
    const QString preview = Desktop().WaitForWindow(E2eText::PreviewWindow);
    ASSERT_FALSE(preview.isEmpty()) << "no print preview";
    XDesktop::Pause(500);
    const QString shot = Program().Folder() + QStringLiteral("preview.png");
    ASSERT_TRUE(Desktop().Screenshot(shot));
    const QString codes = Desktop().Output(QStringLiteral("zbarimg"), {QStringLiteral("-q"), shot});
    EXPECT_TRUE(codes.contains(QStringLiteral("QR-Code:DN-20260042"))) << qPrintable(codes);
    EXPECT_TRUE(codes.contains(QStringLiteral("CODE-128:20260042"))) << qPrintable(codes);
    Step(QStringLiteral("关闭 the preview"));
    Desktop().Click(Desktop().Geometry(preview).topLeft() + QPoint(E2eText::PreviewCloseX, E2eText::PreviewCloseY));
    EXPECT_TRUE(Desktop().WaitForNoWindow(E2eText::PreviewWindow));
}

// 送货单打印: 保存偏移 keeps the offsets for the next opening.
TEST_F(ChartPrintSessions, DeliveryNote_OffsetsKept)
{
    constexpr int Left = 40, Top = 41, SaveOffsets = 34;
    std::optional<FormWindow> form = Open(QStringLiteral("送货单打印"));
    ASSERT_TRUE(form);
    Step(QStringLiteral("type the offsets 12 and 7, 保存偏移"));
    form->Fill(Left, QStringLiteral("12"));
    form->Fill(Top, QStringLiteral("7"));
    form->Click(SaveOffsets);
    Program().DismissMessages();
    Step(QStringLiteral("open the entry again: the offsets are read back"));
    std::optional<FormWindow> again = Open(QStringLiteral("送货单打印"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Read(Left), QStringLiteral("12"));
    EXPECT_EQ(again->Read(Top), QStringLiteral("7"));
}

// 送货单打印: 客户联系人 opens the contacts of the note's customer as a popup.
TEST_F(ChartPrintSessions, DeliveryNote_ContactsPopup)
{
    constexpr int Contacts = 33, ContactGrid = 3, Close = 4, PopupCustomer = 2;
    constexpr int ContactsEntry = 65;
    std::optional<FormWindow> form = Open(QStringLiteral("送货单打印"));
    ASSERT_TRUE(form);
    Step(QStringLiteral("客户联系人"));
    const QStringList before = Program().FormWindows(ContactsEntry);
    form->Click(Contacts);
    std::optional<FormWindow> popup = Program().WaitForForm(QStringLiteral("客户联系人"), ContactsEntry, before);
    ASSERT_TRUE(popup) << qPrintable(Program().Problem());
    const int contacts = Db().Count(
        QStringLiteral("SELECT COUNT(*) FROM d_customer_contact WHERE customer_0='华东五金有限公司'"));
    EXPECT_GT(contacts, 0);
    EXPECT_EQ(popup->FilledRows(ContactGrid, 1), contacts);
    EXPECT_EQ(popup->Read(PopupCustomer), QStringLiteral("华东五金有限公司"));
    Step(QStringLiteral("the note cannot be used while its popup is open"));
    form->Click(Contacts);
    EXPECT_EQ(Program().FormWindows(ContactsEntry).size(), before.size() + 1) << "a second popup opened";
    Step(QStringLiteral("关 闭 the popup"));
    popup->Click(Close);
    EXPECT_TRUE(XDesktop::WaitUntil([&] { return !popup->IsShown(); }, 3000));
}

// The entry 客户联系人 on its own: a form that lists contacts.
TEST_F(ChartPrintSessions, CustomerContacts_EntryShowsContacts)
{
    std::optional<FormWindow> form = Open(QStringLiteral("客户联系人"));
    ASSERT_TRUE(form);
    EXPECT_GT(form->FilledRows(3, 1), 0) << "the entry opens an empty form";
}

// 销售图表: each chart button draws its chart in the picture; a file name in
// 保存到 saves the chart as a BMP picture.
TEST_F(ChartPrintSessions, SalesChart_ButtonsDrawChartsAndSave)
{
    constexpr int Picture = 11, SaveTo = 5;
    constexpr int Buttons[] = {20, 21, 22};
    std::optional<FormWindow> form = Open(QStringLiteral("销售图表"));
    ASSERT_TRUE(form);
    QList<QImage> charts;
    for (const int button : Buttons) {
        Step(QStringLiteral("chart button %1").arg(button));
        form->Click(button);
        ExpectNoMessage();
        charts << Desktop().Grab().copy(form->ControlScreenRect(Picture));
        EXPECT_GT(ColoursIn(charts.last()), 3) << "nothing drawn";
    }
    EXPECT_NE(charts[0], charts[1]);
    EXPECT_NE(charts[1], charts[2]);

    Step(QStringLiteral("保存到 a file, 柱状图"));
    const QString bmp = Program().Folder() + QStringLiteral("chart.bmp");
    form->Fill(SaveTo, bmp);
    form->Click(Buttons[0]);
    ExpectNoMessage();
    ASSERT_TRUE(WaitForFile(bmp)) << "the chart was not saved";
    QFile file(bmp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), QByteArray("BM"));
}

// 排班看板 (the board, and a post filter) and 动画窗体 (it moves).
TEST_F(ChartPrintSessions, ShiftBoardAndAnimation_Drawn)
{
    constexpr int Board = 1, Post = 3, Refresh = 4;
    std::optional<FormWindow> board = Open(QStringLiteral("排班看板"));
    ASSERT_TRUE(board);
    Step(QStringLiteral("the board is drawn"));
    const QImage whole = Desktop().Grab().copy(board->ControlScreenRect(Board));
    EXPECT_GT(ColoursIn(whole), 8);
    Step(QStringLiteral("岗位筛选 with a post, 刷 新"));
    const QString post = Db().Value(QStringLiteral("SELECT post_0 FROM d_shift_node WHERE post_0<>'' ORDER BY uid_0"));
    board->Fill(Post, post);
    board->Click(Refresh);
    ExpectNoMessage();
    EXPECT_NE(Desktop().Grab().copy(board->ControlScreenRect(Board)), whole) << "the filter changed nothing";

    std::optional<FormWindow> animation = Open(QStringLiteral("动画窗体"));
    ASSERT_TRUE(animation);
    Step(QStringLiteral("two moments of the animation differ"));
    const QImage one = Desktop().Grab().copy(animation->Geometry());
    XDesktop::Pause(700);
    const QImage two = Desktop().Grab().copy(animation->Geometry());
    EXPECT_NE(one, two) << "the animation does not move";
}

} // namespace
