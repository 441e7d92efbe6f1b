#include "widgets/HeaderCtrlQv.h"
#include "widgets/QvButton.h"
#include "widgets/QvStatic.h"
#include "widgets/QvTabCtrl.h"

#include <QDialog>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QRect InkBounds(const QImage& image, QRgb background, const QRect& within)
{
    QRect bounds;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

TEST(QvButton, LightGreenRoundedShapeWithBlackOutline)
{
    QWidget window;
    window.resize(120, 60);
    auto* button = new CQvButton(&window);
    button->setGeometry(20, 20, 80, 24);
    window.show();
    const QImage image = button->grab().toImage();
    EXPECT_EQ(image.pixel(40, 12) & 0xFFFFFF, qRgb(190, 255, 180) & 0xFFFFFF);
    EXPECT_EQ(image.pixel(40, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(0, 12) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(79, 12) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(40, 23) & 0xFFFFFF, 0u);

    // The cut-off corners belong to what lies below.
    EXPECT_FALSE(button->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(button->mask().contains(QPoint(79, 23)));
    EXPECT_TRUE(button->mask().contains(QPoint(5, 12)));
    EXPECT_EQ(window.childAt(20, 20), nullptr);
    EXPECT_EQ(window.childAt(60, 32), button);
}

TEST(QvButton, CaptionMovesDownRightWhileHeld)
{
    QWidget window;
    window.resize(120, 60);
    auto* button = new CQvButton(&window);
    button->setGeometry(0, 0, 80, 24);
    button->setText(QStringLiteral("ABC"));
    window.show();
    const QRect inside(3, 3, 74, 18);
    const QRgb fill = qRgb(190, 255, 180);
    const QRect idle = InkBounds(button->grab().toImage(), fill, inside);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(40, 12));
    EXPECT_TRUE(button->IsPressed());
    const QRect held = InkBounds(button->grab().toImage(), fill, inside);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(40, 12));
    EXPECT_FALSE(button->IsPressed());
    ASSERT_FALSE(idle.isEmpty());
    EXPECT_EQ(held, idle.translated(1, 1));
}

TEST(QvStatic, CarriesItsTextColour)
{
    CQvStatic text;
    EXPECT_EQ(text.GetTextColor(), 0u);
    text.SetTextColor(MakeColorRef(255, 0, 0));
    EXPECT_EQ(text.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(text.autoFillBackground());
}

TEST(HeaderCtrlQv, IsAHorizontalHeader)
{
    CHeaderCtrlQv header;
    EXPECT_EQ(header.orientation(), Qt::Horizontal);
}

class QvTabCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(400, 300);
        tabs = new CQvTabCtrl(&window);
        tabs->setGeometry(10, 10, 300, 200);
        for (int i = 0; i < 3; ++i) {
            // Pages are form windows: dialogs that become child windows.
            pages[i] = i == 1 ? new QDialog : new QWidget;
            tabs->AddPage(pages[i], QStringLiteral("页%1").arg(i + 1), 100 + i);
        }
        tabs->SetPageCreator([this](QWidget* page, int index) { created.append({page, index}); });
        tabs->CreatePages();
        window.show();
    }

    QWidget window;
    CQvTabCtrl* tabs = nullptr;
    QWidget* pages[3] = {};
    QList<QPair<QWidget*, int>> created;
};

TEST_F(QvTabCtrlTest, CreatesPagesAsChildrenAndShowsTheFirst)
{
    ASSERT_EQ(created.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(created.at(i).first, pages[i]);
        EXPECT_EQ(created.at(i).second, i);
        EXPECT_EQ(pages[i]->parentWidget(), tabs);
        EXPECT_FALSE(pages[i]->isWindow());
        EXPECT_EQ(tabs->GetPageId(i), unsigned(100 + i));
    }
    EXPECT_EQ(tabs->GetTabBar()->count(), 3);
    EXPECT_EQ(tabs->GetTabBar()->tabText(1), QStringLiteral("页2"));
    EXPECT_TRUE(pages[0]->isVisible());
    EXPECT_FALSE(pages[1]->isVisible());
    EXPECT_FALSE(pages[2]->isVisible());
}

TEST_F(QvTabCtrlTest, SwitchesOnEveryChangeOfTheSelectedTab)
{
    // By mouse.
    const QRect third = tabs->GetTabBar()->tabRect(2);
    QTest::mouseClick(tabs->GetTabBar(), Qt::LeftButton, {}, third.center());
    EXPECT_FALSE(pages[0]->isVisible());
    EXPECT_TRUE(pages[2]->isVisible());
    EXPECT_EQ(tabs->GetCurrentPage(), 2);
    QTest::mouseClick(tabs->GetTabBar(), Qt::LeftButton, {}, third.center());
    EXPECT_TRUE(pages[2]->isVisible());
    EXPECT_EQ(tabs->GetCurrentPage(), 2);

    // By keyboard: the page follows the tab, not only clicks.
    tabs->GetTabBar()->setFocus();
    QTest::keyClick(tabs->GetTabBar(), Qt::Key_Left);
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_TRUE(pages[1]->isVisible());
    EXPECT_FALSE(pages[2]->isVisible());
}

TEST_F(QvTabCtrlTest, PagesFillTheAreaBelowTheTabRowAndFollowResizing)
{
    const int tabBottom = tabs->GetTabBar()->geometry().bottom();
    for (QWidget* page : pages) {
        EXPECT_GT(page->geometry().top(), tabBottom);
        EXPECT_EQ(page->geometry(), pages[0]->geometry());
    }
    const QRect before = pages[0]->geometry();
    tabs->resize(360, 260);
    for (QWidget* page : pages)
        EXPECT_EQ(page->geometry(), before.adjusted(0, 0, 60, 60));
    EXPECT_LE(pages[0]->geometry().right(), tabs->width() - 1);
    EXPECT_LE(pages[0]->geometry().bottom(), tabs->height() - 1);
}
