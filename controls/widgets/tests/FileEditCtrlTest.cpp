#include "widgets/FileEditCtrl.h"
#include "widgets/WidgetImages.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FileEditCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(300, 100);
        box = new CFileEditCtrl(&window);
        box->setGeometry(10, 10, 200, 21);
        box->SetBrowseHandler([this](CFileEditCtrl& which) {
            EXPECT_EQ(&which, box);
            ++browsed;
        });
        window.show();
        box->setFocus();
    }

    QPoint OnButton() const { return box->ButtonRect().center(); }

    QWidget window;
    CFileEditCtrl* box = nullptr;
    int browsed = 0;
};

} // namespace

TEST_F(FileEditCtrlTest, DefaultButtonIsOnePointTwoTimesTheHeightAtTheRightEnd)
{
    EXPECT_EQ(box->ButtonRect().width(), 25);
    EXPECT_LE(box->ButtonRect().right(), box->width() - 1);
    EXPECT_GT(box->ButtonRect().left(), box->width() / 2);
    EXPECT_EQ(box->textMargins().right(), 25);

    box->SetButtonSide(CFileEditCtrl::ButtonLeft);
    EXPECT_LT(box->ButtonRect().right(), box->width() / 2);
    EXPECT_EQ(box->textMargins().left(), 25);
    EXPECT_EQ(box->textMargins().right(), 0);
}

TEST_F(FileEditCtrlTest, WidthZeroLeavesNoButton)
{
    EXPECT_EQ(box->SetButtonWidth(0), -1);
    EXPECT_TRUE(box->ButtonRect().isEmpty());
    EXPECT_EQ(box->textMargins(), QMargins());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 5, 10));
    EXPECT_EQ(browsed, 0);
    EXPECT_EQ(box->SetButtonWidth(30), 0);
    EXPECT_EQ(box->ButtonRect().width(), 30);
}

TEST_F(FileEditCtrlTest, FunctionKeyCtrlFullStopAndButtonClickEachBrowseOnce)
{
    struct Case
    {
        const char* name;
        std::function<void()> act;
        int browses;
    } cases[] = {
        {"F2", [&] { QTest::keyClick(box, Qt::Key_F2); }, 1},
        {"Ctrl + full stop", [&] { QTest::keyClick(box, Qt::Key_Period, Qt::ControlModifier); }, 1},
        {"Ctrl + full stop on the pad",
         [&] { QTest::keyClick(box, Qt::Key_Period, Qt::ControlModifier | Qt::KeypadModifier); }, 1},
        {"click on the button", [&] { QTest::mouseClick(box, Qt::LeftButton, {}, OnButton()); }, 1},
        {"plain full stop", [&] { QTest::keyClick(box, Qt::Key_Period); }, 0},
        {"typing", [&] { QTest::keyClicks(box, QStringLiteral("abc")); }, 0},
        {"click on the text", [&] { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(10, 10)); }, 0},
    };
    for (const Case& c : cases) {
        browsed = 0;
        c.act();
        EXPECT_EQ(browsed, c.browses) << c.name;
    }
    // The full stop and letters were typed; the browse keys typed nothing.
    EXPECT_EQ(box->text(), QStringLiteral(".abc"));
}

TEST_F(FileEditCtrlTest, PressOnTheButtonReleasedOutsideDoesNotBrowse)
{
    QTest::mousePress(box, Qt::LeftButton, {}, OnButton());
    EXPECT_EQ(box->ButtonState(), CFileEditCtrl::StatePressed);
    QMouseEvent away(QEvent::MouseMove, QPointF(20, 10), box->mapToGlobal(QPointF(20, 10)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &away);
    EXPECT_EQ(box->ButtonState(), CFileEditCtrl::StateNormal);
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(browsed, 0);

    QTest::mousePress(box, Qt::LeftButton, {}, OnButton());
    QTest::mouseRelease(box, Qt::LeftButton, {}, OnButton());
    EXPECT_EQ(browsed, 1);
}

TEST_F(FileEditCtrlTest, DisabledBoxDrawsItsButtonEmbossedAndIgnoresPresses)
{
    box->SetButtonImage(LoadWidgetImage(IDI_BROWSE), CPJAImage::ImageIcon, CPJAImage::NoTransparentColor);
    const QRect button = box->ButtonRect();
    const QImage enabled = box->grab().toImage().copy(button);
    box->setEnabled(false);
    const QImage disabled = box->grab().toImage().copy(button);
    const QRgb shadow = GetSysColor(SysColor::BtnShadow).rgb();
    int dark = 0, shaded = 0;
    for (int y = 0; y < button.height(); ++y)
        for (int x = 0; x < button.width(); ++x) {
            dark += (enabled.pixel(x, y) & 0xFFFFFF) == 0x2D2D2D;
            shaded += disabled.pixel(x, y) == shadow;
        }
    EXPECT_GT(dark, 0);
    EXPECT_GT(shaded, 0);
    EXPECT_EQ(enabled.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);

    QTest::mouseClick(box, Qt::LeftButton, {}, OnButton());
    EXPECT_EQ(browsed, 0);
    EXPECT_EQ(box->ButtonState(), CFileEditCtrl::StateNormal);
}

TEST_F(FileEditCtrlTest, ColourZeroMeansNotSet)
{
    const QColor base = QPalette().color(QPalette::Base);
    box->SetBackgroundColor(MakeColorRef(255, 255, 200));
    box->SetTextColor(MakeColorRef(0, 0, 128));
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 255, 200));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0, 0, 128));
    box->SetBackgroundColor(0);
    EXPECT_EQ(box->palette().color(QPalette::Base), base);
}

TEST_F(FileEditCtrlTest, EveryChangeOfTheTextMarksTheBoxChanged)
{
    box->m_bChanged = false;
    box->setText(QStringLiteral("x"));
    EXPECT_TRUE(box->m_bChanged);
    box->m_bChanged = false;
    QTest::keyClick(box, Qt::Key_A);
    EXPECT_TRUE(box->m_bChanged);
}
