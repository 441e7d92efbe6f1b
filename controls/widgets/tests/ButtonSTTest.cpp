#include "widgets/ButtonST.h"
#include "widgets/ShadeButtonST.h"
#include "widgets/WidgetImages.h"
#include "web/ShellOpen.h"

#include <QApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

// Draws a button in a chosen state into an image, as a paint would.
template <class Button>
class Probe : public Button
{
public:
    struct State
    {
        bool pressed = false, focused = false, hot = false, disabled = false;
    };

    QImage Paint(State state)
    {
        this->m_bIsPressed = state.pressed;
        this->m_bIsFocused = state.focused;
        this->m_bMouseOnButton = state.hot;
        this->m_bIsDisabled = state.disabled;
        QImage image(this->size(), QImage::Format_RGB32);
        image.fill(kUnder);
        QPainter dc(&image);
        this->DrawItem(dc, this->rect());
        return image;
    }

    static constexpr QRgb kUnder = 0xFF123456;
};

const COLORREF kSlots[6] = {MakeColorRef(200, 0, 0),   MakeColorRef(0, 0, 10), MakeColorRef(0, 200, 0),
                            MakeColorRef(0, 0, 20),    MakeColorRef(0, 0, 200), MakeColorRef(0, 0, 30)};

template <class Button>
void UseSlots(Button& button)
{
    for (int slot = 0; slot < 6; ++slot)
        ASSERT_EQ(button.SetColor(slot, kSlots[slot]), CButtonST::BTNST_OK);
}

QRgb Rgb(COLORREF colour)
{
    return ColorFromRef(colour).rgb();
}

} // namespace

TEST(ButtonST, BackgroundColourFollowsTheState)
{
    using State = Probe<CButtonST>::State;
    struct Case
    {
        const char* name;
        bool flat;
        State state;
        COLORREF background;
    } cases[] = {
        {"normal", true, {}, kSlots[2]},
        {"focused", true, {false, true, false, false}, kSlots[4]},
        {"hot", true, {false, false, true, false}, kSlots[0]},
        {"pressed", true, {true, false, false, false}, kSlots[0]},
        {"hot and focused", true, {false, true, true, false}, kSlots[0]},
        {"raised, focused", false, {false, true, false, false}, kSlots[4]},
    };
    for (const Case& c : cases) {
        Probe<CButtonST> button;
        button.resize(60, 24);
        UseSlots(button);
        button.SetFlat(c.flat);
        const QImage image = button.Paint(c.state);
        EXPECT_EQ(image.pixel(30, 12), Rgb(c.background)) << c.name;
    }
}

TEST(ButtonST, EdgesOfFlatAndRaisedButtons)
{
    using State = Probe<CButtonST>::State;
    const QRgb lit = GetSysColor(SysColor::BtnHighlight).rgb();
    const QRgb shadow = GetSysColor(SysColor::BtnShadow).rgb();
    const QRgb dark = GetSysColor(SysColor::DkShadow3D).rgb();
    struct Case
    {
        const char* name;
        bool flat;
        State state;
        QRgb topLeft, bottomRight;
    } cases[] = {
        // A flat button shows no border until the mouse is over it.
        {"flat, idle", true, {}, Rgb(kSlots[2]), Rgb(kSlots[2])},
        {"flat, hot", true, {false, false, true, false}, lit, shadow},
        {"flat, pressed", true, {true, false, false, false}, shadow, lit},
        {"raised, idle", false, {}, lit, dark},
        // The default or focused raised button gets a black frame outside.
        {"raised, focused", false, {false, true, false, false}, qRgb(0, 0, 0), qRgb(0, 0, 0)},
    };
    for (const Case& c : cases) {
        Probe<CButtonST> button;
        button.resize(60, 24);
        UseSlots(button);
        button.SetFlat(c.flat);
        const QImage image = button.Paint(c.state);
        EXPECT_EQ(image.pixel(0, 0), c.topLeft) << c.name;
        EXPECT_EQ(image.pixel(59, 23), c.bottomRight) << c.name;
    }
}

TEST(ButtonST, ColourSlotOutOfRangeAnswersThreeAndChangesNothing)
{
    CButtonST button;
    COLORREF colour = 0;
    EXPECT_EQ(button.SetColor(6, 0x123456), CButtonST::BTNST_INVALIDINDEX);
    EXPECT_EQ(button.SetColor(-1, 0x123456), CButtonST::BTNST_INVALIDINDEX);
    EXPECT_EQ(button.GetColor(6, &colour), CButtonST::BTNST_INVALIDINDEX);
    EXPECT_EQ(button.SetColor(5, 0x800000), CButtonST::BTNST_OK);
    EXPECT_EQ(button.GetColor(5, &colour), CButtonST::BTNST_OK);
    EXPECT_EQ(colour, 0x800000u);
    EXPECT_EQ(button.GetColor(0, &colour), CButtonST::BTNST_OK);
    EXPECT_EQ(colour, RefFromColor(GetSysColor(SysColor::BtnFace)));
}

TEST(ButtonST, HotLookComesWithTheMouseAndGoesWithEveryWayOut)
{
    QWidget window;
    window.resize(200, 100);
    auto* button = new CButtonST(&window);
    button->setGeometry(10, 10, 80, 30);
    auto* other = new QPushButton(&window);
    other->setGeometry(100, 10, 80, 30);
    window.show();

    const auto enter = [&] {
        QEnterEvent in(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
        QApplication::sendEvent(button, &in);
    };
    enter();
    EXPECT_TRUE(button->IsHot());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->IsHot());

    enter();
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(button, &focusOut);
    EXPECT_FALSE(button->IsHot());

    enter();
    QEvent cancel(QEvent::UngrabMouse);
    QApplication::sendEvent(button, &cancel);
    EXPECT_FALSE(button->IsHot());

    enter();
    button->setEnabled(false);
    EXPECT_FALSE(button->IsHot());
    button->setEnabled(true);

    // A raised button never lights up.
    button->SetFlat(false);
    enter();
    EXPECT_FALSE(button->IsHot());
}

TEST(ButtonST, DoubleClickGivesTwoClicks)
{
    CButtonST button;
    button.resize(60, 24);
    button.show();
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    // As the desktop delivers it: press, release, double click, release.
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseDClick(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(ButtonST, CheckBoxTogglesAndDrawsPressedWhileChecked)
{
    Probe<CButtonST> button;
    button.resize(60, 24);
    UseSlots(button);
    button.PreSubclassWindow(CButtonST::CheckBoxStyleBit);
    ASSERT_TRUE(button.IsCheckBox());
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(button.GetCheck());
    const QImage checked = button.grab().toImage();
    EXPECT_EQ(checked.pixel(30, 12) & 0xFFFFFF, Rgb(kSlots[0]) & 0xFFFFFF);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.GetCheck());

    // SetCheck is for check boxes only.
    CButtonST plain;
    plain.SetCheck(true);
    EXPECT_FALSE(plain.GetCheck());
}

TEST(ButtonST, ClickOpensTheWebAddressThroughTheShell)
{
    QList<QUrl> opened;
    SetShellOpenerForTests([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    CButtonST button;
    button.resize(60, 24);
    button.show();
    button.SetURL(QStringLiteral("https://example.invalid/a?b=1"));
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.at(0).toString(), QStringLiteral("https://example.invalid/a?b=1"));

    // A check box only toggles.
    button.PreSubclassWindow(CButtonST::CheckBoxStyleBit);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(opened.size(), 1);
    SetShellOpenerForTests({});
}

TEST(ButtonST, AutoGreySecondIconShowsWhileIdleAndColourWhileHot)
{
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(qRgb(255, 0, 0));
    Probe<CButtonST> button;
    button.resize(40, 40);
    ASSERT_EQ(button.SetIcons(icon, CButtonST::BTNST_AUTO_GRAY), CButtonST::BTNST_OK);
    const QImage idle = button.Paint({});
    const QImage hot = button.Paint({false, false, true, false});
    EXPECT_EQ(hot.pixel(20, 20), qRgb(255, 0, 0));
    EXPECT_EQ(idle.pixel(20, 20), qRgb(76, 76, 76));

    ASSERT_EQ(button.SetIcons(icon, CButtonST::BTNST_AUTO_DARKER), CButtonST::BTNST_OK);
    EXPECT_EQ(button.Paint({}).pixel(20, 20), qRgb(192, 0, 0));
}

TEST(ButtonST, BitmapsLeaveTheirKeyColourOutAndEmbossWhenDisabled)
{
    Probe<CButtonST> button;
    button.resize(40, 40);
    UseSlots(button);
    ASSERT_EQ(button.SetBitmapIds(IDB_PAGE_NEXT, 0xF8F8F8, 0, 0), CButtonST::BTNST_OK);
    const QImage normal = button.Paint({});
    // The picture is centred (12..27); its corner is the key colour.
    EXPECT_EQ(normal.pixel(12, 12), Rgb(kSlots[2]));
    EXPECT_EQ(normal.pixel(12 + 6, 12 + 7), qRgb(0x1F, 0x5F, 0xBF));
    const QImage disabled = button.Paint({false, false, false, true});
    EXPECT_EQ(disabled.pixel(12 + 6, 12 + 7), GetSysColor(SysColor::BtnShadow).rgb());
    EXPECT_EQ(disabled.pixel(12, 12), Rgb(kSlots[2]));

    EXPECT_EQ(button.SetBitmapIds(12345, 0, 0, 0), CButtonST::BTNST_INVALIDRESOURCE);
    EXPECT_EQ(button.SetBitmapFile(QStringLiteral("/no/such/image.png"), 0xF8F8F8, 0),
              CButtonST::BTNST_INVALIDRESOURCE);
    EXPECT_EQ(button.Paint({}).pixel(20, 20), Rgb(kSlots[2]));
}

TEST(ButtonST, TransparentButtonShowsWhatIsUnderIt)
{
    Probe<CButtonST> button;
    button.resize(40, 20);
    UseSlots(button);
    button.SetTransparent(true);
    EXPECT_EQ(button.Paint({}).pixel(20, 10), Probe<CButtonST>::kUnder);
}

TEST(ShadeButtonST, FilledShapeDarkensUnderTheMouseWrappingBelowTwenty)
{
    Probe<CShadeButtonST> button;
    button.resize(80, 30);
    button.SetShadeKind(CShadeButtonST::ShadeKind::Filled);
    button.SetColor(CButtonST::BTNST_COLOR_BK_IN, MakeColorRef(10, 100, 200));
    EXPECT_EQ(button.Paint({}).pixel(40, 15), qRgb(10, 100, 200));
    // 10 - 20 wraps to 246.
    EXPECT_EQ(button.Paint({false, false, true, false}).pixel(40, 15), qRgb(246, 80, 180));
    // The rounded corner leaves what is below.
    EXPECT_EQ(button.Paint({}).pixel(0, 0), Probe<CShadeButtonST>::kUnder);
}

TEST(ShadeButtonST, OutlineKindIsLitOnlyUnderTheMouse)
{
    Probe<CShadeButtonST> button;
    button.resize(80, 30);
    EXPECT_EQ(button.Paint({}).pixel(40, 15), Probe<CShadeButtonST>::kUnder);
    EXPECT_EQ(button.Paint({false, false, true, false}).pixel(40, 15), qRgb(0xFA, 0xFA, 0xFA));
}

TEST(ButtonST, TooltipOnlyWhenActiveAndHandCursorWhenAsked)
{
    CButtonST button;
    button.resize(60, 24);
    button.show();
    const auto hover = [&] {
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&button, &help);
    };
    button.SetTooltipText(QStringLiteral("下一页"), false);
    hover();
    EXPECT_TRUE(QToolTip::text().isEmpty());
    button.SetTooltipText(QStringLiteral("下一页"), true);
    hover();
    EXPECT_EQ(QToolTip::text(), QStringLiteral("下一页"));
    QToolTip::hideText();

    EXPECT_NE(button.cursor().shape(), Qt::PointingHandCursor);
    button.SetBtnCursor(true);
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
    button.SetBtnCursor(false);
    EXPECT_NE(button.cursor().shape(), Qt::PointingHandCursor);
}
