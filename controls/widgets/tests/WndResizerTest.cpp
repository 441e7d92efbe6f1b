#include "widgets/WndResizer.h"

#include <QApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// A dialog whose controls are known by ids, as a form knows its own.
class ResizerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog.resize(400, 300);
        dialog.show();
    }

    QWidget* Add(int id, const QRect& geometry)
    {
        auto* control = new QWidget(&dialog);
        control->setGeometry(geometry);
        controls.insert(id, control);
        return control;
    }

    void Hook()
    {
        ASSERT_TRUE(resizer.Hook(&dialog, [this](int id) { return controls.value(id); }));
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(at), dialog.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &e);
    }

    void Drag(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseMove, from, Qt::NoButton);
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    QWidget dialog;
    QHash<int, QWidget*> controls;
    CWndResizer resizer;
};

} // namespace

TEST_F(ResizerTest, AnchoredControlsFollowTheDialog)
{
    struct Case
    {
        const char* name;
        unsigned anchor;
        QRect before;
        QRect after; // dialog 400 x 300 -> 500 x 360
    } cases[] = {
        {"left and top (default)", 0x3, QRect(10, 10, 100, 50), QRect(10, 10, 100, 50)},
        {"all edges", 0xF, QRect(10, 10, 100, 50), QRect(10, 10, 200, 110)},
        {"right and bottom", 0xC, QRect(280, 230, 100, 50), QRect(380, 290, 100, 50)},
        {"right only, top added", 0x4, QRect(280, 230, 100, 50), QRect(380, 230, 100, 50)},
        {"centred both ways", 0x30, QRect(150, 125, 100, 50), QRect(200, 155, 100, 50)},
        {"left and right", 0x5, QRect(10, 10, 100, 50), QRect(10, 10, 200, 50)},
    };
    int id = 1000;
    for (const Case& c : cases)
        Add(++id, c.before);
    Hook();
    id = 1000;
    for (const Case& c : cases)
        ASSERT_TRUE(resizer.SetAnchor(++id, c.anchor)) << c.name;
    resizer.InvokeOnResized();
    dialog.resize(500, 360);
    id = 1000;
    for (const Case& c : cases)
        EXPECT_EQ(controls.value(++id)->geometry(), c.after) << c.name;
    // Back to the first size: every control where it began.
    dialog.resize(400, 300);
    id = 1000;
    for (const Case& c : cases)
        EXPECT_EQ(controls.value(++id)->geometry(), c.before) << c.name;
}

TEST_F(ResizerTest, SizeLimitsOfAnchoredPanels)
{
    Add(1, QRect(10, 10, 100, 50));
    Add(2, QRect(150, 125, 100, 50));
    Add(3, QRect(10, 200, 380, 20));
    Hook();
    resizer.SetAnchor(1, 0xF);
    resizer.SetAnchor(2, 0x30);
    resizer.SetAnchor(3, 0x5 | CWndResizer::ANCHOR_PRIORITY_RIGHT);
    // A centred panel keeps at least its minimum and at most its maximum.
    ASSERT_TRUE(resizer.FindPanelByName(QStringLiteral("2"))->SetMaxSize(QSize(60, 40)));
    ASSERT_TRUE(resizer.FindPanelByName(QStringLiteral("3"))->SetMaxSize(QSize(300, 20)));
    EXPECT_FALSE(resizer.FindPanelByName(QStringLiteral("1"))->SetMinSize(QSize(200000, 10)));
    resizer.InvokeOnResized();
    EXPECT_EQ(controls.value(2)->geometry(), QRect(170, 130, 60, 40));
    // With priority to the right, the left edge gives way to the maximum.
    EXPECT_EQ(controls.value(3)->geometry(), QRect(90, 200, 300, 20));
    dialog.resize(60, 40);
    EXPECT_EQ(controls.value(1)->geometry().size(), QSize(10, 10));
}

TEST_F(ResizerTest, SplitterDragMovesBothPanesAndResizingKeepsTheRatio)
{
    Add(1, QRect(10, 10, 180, 280));
    Add(2, QRect(196, 10, 194, 280));
    Hook();
    ASSERT_TRUE(resizer.CreateSplitContainer(QStringLiteral("split"), 1, 2));
    resizer.SetPanelAnchor(QStringLiteral("split"), 0xF);
    ASSERT_TRUE(resizer.SetShowSplitterGrip(QStringLiteral("split"), true));
    resizer.InvokeOnResized();
    EXPECT_EQ(controls.value(1)->geometry(), QRect(10, 10, 180, 280));
    EXPECT_EQ(controls.value(2)->geometry(), QRect(196, 10, 194, 280));

    // Grab the bar 2 pixels into it and move the pointer 60 to the left.
    Drag(QPoint(192, 100), QPoint(132, 120));
    EXPECT_EQ(controls.value(1)->geometry(), QRect(10, 10, 120, 280));
    EXPECT_EQ(controls.value(2)->geometry(), QRect(136, 10, 254, 280));

    // The first pane had 120 of the container's 380; now it has 240 of 760.
    dialog.resize(780, 300);
    EXPECT_EQ(controls.value(1)->geometry(), QRect(10, 10, 240, 280));
    EXPECT_EQ(controls.value(2)->geometry().left(), 10 + 240 + 6);
    EXPECT_EQ(controls.value(2)->geometry().right(), 769);
}

TEST_F(ResizerTest, CentredPanelInsideASplitPaneKeepsItsMaximumWidth)
{
    Add(1, QRect(10, 10, 100, 280));
    Add(2, QRect(120, 10, 270, 280));
    Add(3, QRect(200, 100, 100, 30));
    Hook();
    ASSERT_TRUE(resizer.CreateSplitContainer(QStringLiteral("split"), 1, 2));
    resizer.SetPanelAnchor(QStringLiteral("split"), 0xF);
    CWndResizer::CPanel* panel = resizer.FindOrCreateUIPanel(3);
    ASSERT_TRUE(panel->SetAnchor(0x30));
    ASSERT_TRUE(panel->SetMaxSize(QSize(60, 20)));
    ASSERT_TRUE(resizer.FindPanelByName(QStringLiteral("2"))->AddChild(panel));
    resizer.InvokeOnResized();
    // Centred at its maximum in the pane 120..390, 10..290.
    EXPECT_EQ(controls.value(3)->geometry(), QRect(225, 140, 60, 20));
    dialog.resize(600, 300);
    const QRect pane = controls.value(2)->geometry();
    EXPECT_EQ(controls.value(3)->geometry(),
              QRect(pane.left() + (pane.width() - 60) / 2, pane.top() + (pane.height() - 20) / 2, 60, 20));
}

TEST_F(ResizerTest, PanesKeepTheirMinimumWhenTheDialogShrinks)
{
    Add(1, QRect(10, 10, 180, 100));
    Add(2, QRect(10, 120, 180, 170));
    Hook();
    ASSERT_TRUE(resizer.CreateSplitContainer(QStringLiteral("rows"), 1, 2));
    resizer.SetPanelAnchor(QStringLiteral("rows"), 0xF);
    resizer.InvokeOnResized();
    // Drag the bar far down: the second pane keeps its 10 pixels.
    Drag(QPoint(100, 115), QPoint(100, 1000));
    EXPECT_EQ(controls.value(2)->geometry().height(), 10);
    EXPECT_EQ(controls.value(2)->geometry().bottom(), 289);
    EXPECT_EQ(controls.value(1)->geometry().bottom() + 1 + 10, controls.value(2)->geometry().top());
    // Shrink: the first pane gives way, the second keeps its minimum.
    dialog.resize(400, 100);
    EXPECT_EQ(controls.value(2)->geometry().height(), 10);
    EXPECT_GE(controls.value(1)->geometry().height(), 10);
}

TEST_F(ResizerTest, SplitContainersRefuseWhatCannotBeSplit)
{
    Add(1, QRect(10, 10, 100, 100));
    Add(2, QRect(50, 50, 100, 100));  // overlaps 1
    Add(3, QRect(110, 110, 50, 50));  // touches 1 diagonally
    Add(4, QRect(200, 10, 100, 100)); // right of 1
    Add(5, QRect(320, 10, 50, 50));
    Hook();
    EXPECT_FALSE(resizer.CreateSplitContainer(QStringLiteral("a"), 1, 2));
    EXPECT_FALSE(resizer.CreateSplitContainer(QStringLiteral("b"), 1, 3));
    EXPECT_FALSE(resizer.CreateSplitContainer(QStringLiteral("c"), 1, 1));
    EXPECT_FALSE(resizer.CreateSplitContainer(QStringLiteral("d"), 1, 99));
    EXPECT_TRUE(resizer.CreateSplitContainer(QStringLiteral("e"), 1, 4));
    // Already split, or a name that exists.
    EXPECT_FALSE(resizer.CreateSplitContainer(QStringLiteral("f"), 4, 5));
    EXPECT_FALSE(resizer.CreateSplitContainer(QStringLiteral("E"), 2, 5));
    EXPECT_FALSE(resizer.SetShowSplitterGrip(QStringLiteral("1"), true));
    // The pane refuses other anchors: the control keeps filling it.
    EXPECT_FALSE(resizer.SetAnchor(1, 0x3));
    EXPECT_FALSE(resizer.SetAnchor(99, 0x3));
    // The grip, the panels of 2, 3 and 5, and the split "e".
    EXPECT_EQ(resizer.Root().m_children.size(), 5u);
}

TEST_F(ResizerTest, ScrolledDialogLaysOutOverTheWholeRangeShiftedByThePosition)
{
    Add(1, QRect(10, 10, 100, 50));
    Add(2, QRect(480, 10, 100, 50));
    QScrollBar bar(Qt::Horizontal);
    bar.setRange(0, 200);
    resizer.SetLayoutAreaSource([&] { return QRect(-bar.value(), 0, 600, dialog.height()); });
    Hook();
    resizer.WatchScrollBar(&bar);
    resizer.SetAnchor(1, 0x3);
    resizer.SetAnchor(2, 0xC);
    resizer.InvokeOnResized();
    EXPECT_EQ(controls.value(2)->geometry(), QRect(480, 10, 100, 50));
    bar.setValue(150);
    EXPECT_EQ(controls.value(1)->geometry(), QRect(-140, 10, 100, 50));
    EXPECT_EQ(controls.value(2)->geometry(), QRect(330, 10, 100, 50));
}

TEST_F(ResizerTest, SizeGripIsDrawnInTheCornerOnlyWhenAsked)
{
    dialog.setStyleSheet(QString());
    Hook();
    resizer.SetShowResizeGrip(true);
    resizer.InvokeOnResized();
    const QImage with = dialog.grab().toImage();
    resizer.SetShowResizeGrip(false);
    const QImage without = dialog.grab().toImage();
    const CWndResizer::CRect grip = resizer.FindPanelByName(QStringLiteral("_RESIZEGRIP"))->m_rect;
    EXPECT_EQ(grip.right, 400);
    EXPECT_EQ(grip.bottom, 300);
    QRect changed;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_TRUE(QRect(grip.left, grip.top, grip.Width(), grip.Height()).contains(changed));
}

TEST_F(ResizerTest, PanelAnchorDefaultsAndDescription)
{
    Add(7, QRect(10, 20, 30, 40));
    Hook();
    ASSERT_TRUE(resizer.SetAnchor(7, CWndResizer::ANCHOR_RIGHT));
    CWndResizer::CPanel* panel = resizer.FindPanelByName(QStringLiteral("7"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->m_nAnchor, CWndResizer::ANCHOR_RIGHT | CWndResizer::ANCHOR_TOP);
    EXPECT_EQ(panel->GetHookedWnd(), &dialog);
    EXPECT_EQ(panel->ToString(),
              QStringLiteral("Name(7), Type(CUIPanel), Anchor(6), Size(w:30, h:40), Area(l:10, t:20, r:40, b:60), "
                             "MinSize(w:10, h:10), MaxSize(w:100000, h:100000), Parent(_root), ChildrenCount(0)"));
    EXPECT_EQ(resizer.FindPanelByName(QString()), nullptr);
}

TEST(WndResizer, OperationsBeforeHookFindNothing)
{
    CWndResizer resizer;
    resizer.SetShowResizeGrip(true);
    EXPECT_FALSE(resizer.SetAnchor(1, 0xF));
    EXPECT_FALSE(resizer.CreateSplitContainer(QStringLiteral("x"), 1, 2));
    EXPECT_TRUE(resizer.InvokeOnResized());
    EXPECT_EQ(resizer.FindPanelByName(QStringLiteral("_resizeGrip")), nullptr);
}

TEST(WndResizer, DialogGoingAwayFirstUnhooks)
{
    CWndResizer resizer;
    auto* dialog = new QWidget;
    auto* control = new QWidget(dialog);
    control->setGeometry(1, 1, 10, 10);
    resizer.Hook(dialog, [&](int id) { return id == 1 ? control : nullptr; });
    resizer.SetAnchor(1, 0xF);
    delete dialog;
    EXPECT_EQ(resizer.GetHookedWnd(), nullptr);
    EXPECT_TRUE(resizer.Root().m_children.empty());
}
