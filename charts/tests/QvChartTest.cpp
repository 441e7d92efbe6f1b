#include "BoardFixture.h"
#include "ChartTexts.h"
#include "QvChart.h"
#include "text/MessageSink.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

using namespace BoardFixture;

namespace {

constexpr int RowHeight = 40;
constexpr int Header = 30;
constexpr int TimeCell = 40 + 200 + 80;  // left edge of the time-bar column

bool IsDark(QRgb pixel)
{
    return qGray(pixel) < 100;
}

bool IsBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60;
}

class BoardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = SetMessageSink([this](const QString& text) { m_messages.append(text); });
        m_board = std::make_unique<QvChart>();
        m_board->resize(1800, 400);
        BuildStandardHeader(*m_board);
        PrepareBody(*m_board);
        m_board->show();
    }
    void TearDown() override { SetMessageSink(m_previous); }

    // Row top of the n-th drawn row (1-based, the body root being row 0).
    static int RowTop(int n) { return Header + (n - 1) * RowHeight; }
    static int RowMid(int n) { return RowTop(n) + RowHeight / 2; }

    QImage Draw() { return m_board->RenderImage(); }

    std::unique_ptr<QvChart> m_board;
    MessageSink m_previous;
    QStringList m_messages;
};

TEST_F(BoardTest, TimeBarsLieOnTheTwentyFourHourScale)
{
    struct Case
    {
        QString value;
        int start;  // -1: no bar
        int end;
    };
    const Case cases[] = {
        {"720", 0, 720},           {"-60", 1379, 1439},   {"4800600", 480, 839},
        {"0", -1, -1},             {"5000", 0, 1439},     {"00", 0, 1439},
        {"abc", 0, 1439},          {"1440", 0, 1440},
    };
    for (const Case& c : cases)
        AddRow(*m_board, {}, {}, c.value, RowHeight, {"备注", c.value}, "255,0,0,255");
    const QImage image = Draw();

    int n = 1;
    for (const Case& c : cases) {
        const int y = RowMid(n++);
        SCOPED_TRACE(c.value.toStdString());
        if (c.start < 0) {
            EXPECT_FALSE(IsBlue(image.pixel(TimeCell + 5, y)));
            EXPECT_FALSE(IsBlue(image.pixel(TimeCell + 700, y)));
            continue;
        }
        EXPECT_TRUE(IsBlue(image.pixel(TimeCell + c.start + 1, y)));
        EXPECT_TRUE(IsBlue(image.pixel(TimeCell + c.end - 2, y)));
        if (c.start > 1) {
            EXPECT_FALSE(IsBlue(image.pixel(TimeCell + c.start - 2, y)));
        }
        if (c.end < 1437) {
            EXPECT_FALSE(IsBlue(image.pixel(TimeCell + c.end + 1, y)));
        }
        // The bar takes the middle half of the row.
        EXPECT_FALSE(IsBlue(image.pixel(TimeCell + c.start + 1, RowTop(n - 1) + 5)));
    }
}

TEST_F(BoardTest, AMalformedBarColourFallsBackWithoutAMessageAtEachRepaint)
{
    AddRow(*m_board, {}, {}, "坏", RowHeight, {"备注", "720"}, "1,2");
    AddRow(*m_board, {}, {}, "空", RowHeight, {"备注", "720"});
    const QImage image = Draw();
    Draw();
    EXPECT_TRUE(m_messages.isEmpty());
    for (const int row : {1, 2}) {
        const QRgb bar = image.pixel(TimeCell + 100, RowMid(row));
        EXPECT_EQ(qRed(bar), 255) << row;
        EXPECT_LT(qGreen(bar), 180) << row;
    }
}

TEST_F(BoardTest, FitTimeBarPlacesTheBarOnTheCell)
{
    struct Case
    {
        int value;
        QRectF expected;
    };
    const Case cases[] = {
        {0, {10, 0, 1439, 8}},         {720, {10, 0, 720, 8}},          {-60, {1389, 0, 60, 8}},
        {4800600, {490, 0, 359, 8}},   {5000, {10, 0, 1439, 8}},        {-2000, {10, 0, 1439, 8}},
        {14390000, {1449, 0, 1, 8}},   {1439, {10, 0, 1439, 8}},
    };
    for (const Case& c : cases) {
        QRectF bar(10, 0, 1439, 8);
        QvChart::FitTimeBar(bar, c.value);
        EXPECT_EQ(bar, c.expected) << c.value;
    }
}

TEST_F(BoardTest, ConnectorsAndExpandBoxesFollowTheTree)
{
    AddRow(*m_board, {}, "a", "甲", RowHeight);
    AddRow(*m_board, "a", "a1", "甲一", RowHeight);
    AddRow(*m_board, "a", "a2", "甲二", RowHeight);
    AddRow(*m_board, {}, "b", "乙", RowHeight);
    const QImage image = Draw();

    const int boxA = 40 + 15;   // tree line of a first-level row
    const int boxA1 = boxA + 15;
    // Dotted stub of a1 to the right of its tree line: some dots, some gaps.
    int dots = 0;
    for (int x = boxA1; x < boxA1 + 19; ++x)
        dots += IsDark(image.pixel(x, RowMid(2))) ? 1 : 0;
    EXPECT_GE(dots, 5);
    EXPECT_LE(dots, 12);
    // a2 connects up to a1 on a1's tree line; b connects up to a, past a's box.
    EXPECT_TRUE(IsDark(image.pixel(boxA1, RowMid(2) + 10)) || IsDark(image.pixel(boxA1, RowMid(2) + 11))
                || IsDark(image.pixel(boxA1, RowMid(2) + 12)));
    int column = 0;
    for (int y = RowMid(1) + 8; y < RowMid(4); ++y)
        column += IsDark(image.pixel(boxA, y)) ? 1 : 0;
    EXPECT_GT(column, 20);
    // Nothing above the first row's tree line.
    for (int y = Header + 1; y < RowMid(1) - 6; ++y)
        EXPECT_FALSE(IsDark(image.pixel(boxA, y))) << y;

    // a's expand box: an 11-pixel frame centred on its tree line with a minus.
    const int boxTop = RowTop(1) + (RowHeight - 11 + 1) / 2;
    EXPECT_EQ(qGray(image.pixel(boxA - 5, boxTop + 5)), 0x80);
    EXPECT_TRUE(IsDark(image.pixel(boxA, boxTop + 5)));
    EXPECT_FALSE(IsDark(image.pixel(boxA, boxTop + 3)));
    // b has no children and no box.
    EXPECT_NE(qGray(image.pixel(boxA - 5, RowTop(4) + (RowHeight - 10) / 2 + 5)), 0x80);

    // Collapsed, the box shows a plus and a1, a2 take no room.
    QTest::mouseClick(m_board->viewport(), Qt::LeftButton, {}, QPoint(boxA, RowMid(1)));
    const QImage collapsed = Draw();
    EXPECT_TRUE(IsDark(collapsed.pixel(boxA, boxTop + 3)));
    EXPECT_EQ(m_board->RowHeights(), (QList<int>{0, RowHeight, 0, 0, RowHeight}));
    EXPECT_EQ(m_board->BodyHeight(), 2 * RowHeight);
}

TEST_F(BoardTest, HeaderCellsAndColumnGridAreDrawn)
{
    BoardFixture::AddRow(*m_board, {}, {}, "行", RowHeight);
    const QImage image = Draw();
    EXPECT_EQ(image.pixel(5, 5), qRgb(0xF0, 0xF0, 0xF0));
    EXPECT_LT(qGray(image.pixel(0, 5)), 0xC0);            // cell border
    EXPECT_LT(qGray(image.pixel(240, 300)), 0xF8);        // column grid line down the body
    EXPECT_EQ(image.pixel(250, 300), qRgb(255, 255, 255));
    EXPECT_EQ(m_board->HeaderHeight(), Header);
    EXPECT_EQ(m_board->ColumnWidths(), (QList<int>{40, 200, 80, 1439}));
    EXPECT_EQ(m_board->TotalWidth(), 1759);
}

TEST(BoardEdgeTest, ASingleColumnDrawsTheHeaderButNoRows)
{
    QvChart board;
    board.resize(300, 200);
    BuildHeader(board, {{"唯一", 100, 30, 0, 0, {}}});
    PrepareBody(board);
    AddRow(board, {}, {}, "行", 40);
    const QImage image = board.RenderImage();
    EXPECT_EQ(image.pixel(50, 5), qRgb(0xF0, 0xF0, 0xF0));
    EXPECT_TRUE(board.RowHeights().isEmpty());
    EXPECT_EQ(image.pixel(20, 50), qRgb(255, 255, 255));
}

TEST_F(BoardTest, AZeroHeightRowTakesANumberButDrawsNothing)
{
    AddRow(*m_board, {}, "a", "甲", RowHeight);
    QvTree* hidden = AddRow(*m_board, {}, "h", "隐", 0);
    AddRow(*m_board, {}, "b", "乙", RowHeight);
    Draw();
    EXPECT_EQ(m_board->RowHeights(), (QList<int>{0, RowHeight, 0, RowHeight}));
    EXPECT_EQ(hidden->m_nMidY, RowTop(2));
}

TEST_F(BoardTest, RowsAndColumnsResizeByDragging)
{
    AddRow(*m_board, {}, "a", "甲", RowHeight);
    AddRow(*m_board, {}, "b", "乙", RowHeight);
    Draw();
    QWidget* view = m_board->viewport();

    // Column 1's right border (x 240) dragged to 300.
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(241, 10));
    QTest::mouseMove(view, QPoint(300, 10));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(300, 10));
    Draw();
    EXPECT_EQ(m_board->ColumnWidths(), (QList<int>{40, 260, 80, 1439}));

    // Dragged far left it stops at the column's own left edge.
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(380, 10));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(0, 10));
    Draw();
    EXPECT_EQ(m_board->ColumnWidths(), (QList<int>{40, 260, 0, 1439}));

    // Row a's bottom border dragged 15 pixels down; row b follows.
    const int edge = RowTop(1) + RowHeight;
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, edge + 1));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(100, edge + 15));
    Draw();
    EXPECT_EQ(m_board->RowHeights(), (QList<int>{0, RowHeight + 15, RowHeight}));
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, edge + 15));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(100, 0));
    Draw();
    EXPECT_EQ(m_board->RowHeights(), (QList<int>{0, 0, RowHeight}));
    EXPECT_EQ(m_board->FindNode("a")->m_nSavedHeight, 0);
}

TEST_F(BoardTest, ColumnDragWhileScrolledSideways)
{
    AddRow(*m_board, {}, "a", "甲", RowHeight);
    m_board->resize(600, 400);
    Draw();
    QCoreApplication::processEvents();
    m_board->horizontalScrollBar()->setValue(100);
    ASSERT_EQ(m_board->ScrollX(), 100);
    Draw();
    // On screen column 2's right border is at 320 - 100.
    QTest::mousePress(m_board->viewport(), Qt::LeftButton, {}, QPoint(220, 10));
    QTest::mouseRelease(m_board->viewport(), Qt::LeftButton, {}, QPoint(250, 10));
    Draw();
    EXPECT_EQ(m_board->ColumnWidths(), (QList<int>{40, 200, 110, 1439}));
}

TEST_F(BoardTest, ClickSelectsAndDoubleClickToggles)
{
    AddRow(*m_board, {}, "a", "甲", RowHeight);
    AddRow(*m_board, "a", "a1", "甲一", RowHeight);
    Draw();
    QTest::mouseClick(m_board->viewport(), Qt::LeftButton, {}, QPoint(400, RowMid(2)));
    EXPECT_EQ(m_board->SelectedNode(), m_board->FindNode("a1"));
    const QImage image = Draw();
    EXPECT_EQ(image.pixel(500, RowMid(2)), qRgb(0xF0, 0xF0, 0xF0));

    QTest::mouseDClick(m_board->viewport(), Qt::LeftButton, {}, QPoint(400, RowMid(1)));
    Draw();
    EXPECT_FALSE(m_board->FindNode("a")->m_bExpanded);
    EXPECT_EQ(m_board->RowHeights(), (QList<int>{0, RowHeight, 0}));

    // Clearing leaves no selected row behind.
    m_board->ClearTree();
    EXPECT_EQ(m_board->SelectedNode(), nullptr);
    EXPECT_EQ(m_board->NodeCount(), 0);
    Draw();
    EXPECT_TRUE(m_board->RowHeights() == QList<int>{0});
}

TEST(BoardButtonTest, RightClickPressesTheColumnsButton)
{
    QWidget form;
    auto* board = new QvChart(&form);
    board->resize(600, 300);
    BuildHeader(*board, {{"序号", 40, 30, 0, 3, {}},
                         {"名称", 200, 30, 0, 0, {}},
                         {"组", 160, 15, 0, 7, {{"甲", 80, 15, 0, 0, {}}, {"乙", 80, 15, 0, 8, {}}}}});
    PrepareBody(*board);
    AddRow(*board, {}, "a", "甲", 40);
    auto* b3 = new QPushButton(&form);
    auto* b7 = new QPushButton(&form);
    auto* b8 = new QPushButton(&form);
    b8->setEnabled(false);
    QHash<int, QWidget*> controls{{1024 + 3, b3}, {1024 + 7, b7}, {1024 + 8, b8}};
    board->SetControlFinder([&controls](int id) { return controls.value(id); });
    QStringList pressed;
    for (auto [name, button] : {std::pair{"3", b3}, {"7", b7}, {"8", b8}})
        QObject::connect(button, &QPushButton::clicked, [&pressed, name = QString(name)] { pressed << name; });
    form.show();
    board->RenderImage();

    struct Case
    {
        int x;
        int y;
        QStringList expected;
    };
    const Case cases[] = {
        {20, 50, {"3"}},   // row-number column
        {100, 50, {}},     // tree column, no button
        {280, 50, {"7"}},  // sub-column inheriting the group's button
        {380, 50, {}},     // its own button, disabled
        {500, 50, {"3"}},  // right of every column: column 0
        {280, 10, {}},     // in the header
        {280, 200, {}},    // below the rows
    };
    for (const Case& c : cases) {
        pressed.clear();
        QTest::mousePress(board->viewport(), Qt::RightButton, {}, QPoint(c.x, c.y));
        EXPECT_EQ(pressed, c.expected) << c.x << "," << c.y;
    }
    EXPECT_EQ(board->SelectedNode(), board->FindNode("a"));
}

TEST(BoardScrollTest, TenThousandRowsScrollByWheelAndBar)
{
    QvChart board;
    board.resize(800, 400);
    BuildStandardHeader(board);
    PrepareBody(board);
    for (int i = 0; i < 10000; ++i)
        AddRow(board, {}, QString::number(i), QStringLiteral("行%1").arg(i), 20, {"备注", "600"});
    board.show();
    board.RenderImage();
    QCoreApplication::processEvents();
    ASSERT_TRUE(board.verticalScrollBar()->isVisible());
    EXPECT_EQ(board.BodyHeight(), 200000);
    const int page = board.viewport()->height();
    EXPECT_EQ(board.verticalScrollBar()->maximum(), 30 + 200000 - page + 1);

    const auto wheel = [&board](int delta) {
        QWheelEvent event(QPointF(100, 100), board.mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(board.viewport(), &event);
    };
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(board.ScrollY(), 60);
    wheel(120);
    EXPECT_EQ(board.ScrollY(), 30);

    board.verticalScrollBar()->setValue(100000);
    EXPECT_EQ(board.ScrollY(), 100000);
    board.RenderImage();
    // The row of key k lies at 30 + k * 20 - 100000.
    QTest::mouseClick(board.viewport(), Qt::LeftButton, {}, QPoint(300, 45));
    ASSERT_NE(board.SelectedNode(), nullptr);
    EXPECT_EQ(board.SelectedNode()->m_strKey.toStdString(), "5000");

    board.verticalScrollBar()->setValue(board.verticalScrollBar()->maximum());
    board.RenderImage();
    QTest::mouseClick(board.viewport(), Qt::LeftButton, {}, QPoint(300, page - 12));
    ASSERT_NE(board.SelectedNode(), nullptr);
    EXPECT_EQ(board.SelectedNode()->m_strKey.toStdString(), "9999");
}

TEST_F(BoardTest, WheelOverAFittingBoardChangesNothing)
{
    AddRow(*m_board, {}, "a", "甲", RowHeight);
    Draw();
    QWheelEvent event(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_board->viewport(), &event);
    EXPECT_EQ(m_board->ScrollY(), 0);
    EXPECT_EQ(m_board->ScrollX(), 0);
}

TEST_F(BoardTest, ReleasingOverTheScrollBarsShowsTheNonClientTextAndEndsTheDrag)
{
    for (int i = 0; i < 30; ++i)
        AddRow(*m_board, {}, {}, "行", RowHeight);
    Draw();
    QCoreApplication::processEvents();
    ASSERT_TRUE(m_board->verticalScrollBar()->isVisible());
    QWidget* view = m_board->viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() + 3, 100));
    EXPECT_EQ(m_messages, QStringList{ChartTexts::NonClientRelease});

    // The first row's bottom border dragged 20 down and let go over the bar.
    const int edge = RowTop(1) + RowHeight;
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, edge + 1));
    QTest::mouseMove(view, QPoint(100, edge + 20));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() + 3, edge + 20));
    EXPECT_EQ(m_messages.size(), 2);
    // No drag line follows the mouse any more.
    QTest::mouseMove(view, QPoint(500, RowMid(5)));
    const QImage image = Draw();
    EXPECT_FALSE(IsDark(image.pixel(1000, RowMid(5))));
    EXPECT_EQ(m_board->RowHeights().mid(0, 3), (QList<int>{0, RowHeight + 20, RowHeight}));
}

} // namespace

namespace {

TEST(BoardDepthTest, RowsNestedFiftyThousandDeepDrawToggleAndClear)
{
    QvChart board;
    board.resize(800, 400);
    BuildStandardHeader(board);
    PrepareBody(board);
    QString parent;
    for (int i = 0; i < 50000; ++i) {
        const QString key = QString::number(i);
        AddRow(board, parent, key, key, 20);
        parent = key;
    }
    board.show();
    board.RenderImage();
    EXPECT_EQ(board.BodyHeight(), 50000 * 20);
    QTest::mouseDClick(board.viewport(), Qt::LeftButton, {}, QPoint(300, 40));
    board.RenderImage();
    EXPECT_EQ(board.BodyHeight(), 20);
    board.ClearTree();
    EXPECT_EQ(board.NodeCount(), 0);
}

} // namespace
