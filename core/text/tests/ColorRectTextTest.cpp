#include "text/ColorRectText.h"
#include "text/MessageSink.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Records the messages shown while a test runs.
class ColorRectText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = SetMessageSink([this](const QString& text) { m_messages.append(text); });
    }
    void TearDown() override { SetMessageSink(m_previous); }

    QStringList m_messages;

private:
    MessageSink m_previous;
};

const QString rectError = QStringLiteral("矩形数据格式错误");
const QString rgbError = QStringLiteral("RGB颜色格式错误(x,y,z)");
const QString argbError = QStringLiteral("Color颜色格式错误(a,x,y,z)");

} // namespace

TEST_F(ColorRectText, RectangleOfFourParts)
{
    const RectLTRB rect = ParseRectText("10, 20,110,x");
    EXPECT_EQ(10, rect.left);
    EXPECT_EQ(20, rect.top);
    EXPECT_EQ(110, rect.right);
    EXPECT_EQ(0, rect.bottom);
    EXPECT_EQ(100, rect.width());
    EXPECT_EQ(-20, rect.height());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(ColorRectText, RectangleWithAnotherCountIsReportedAndZero)
{
    for (const QString text : {"", "1,2,3", "1,2,3,4,5"}) {
        m_messages.clear();
        const RectLTRB rect = ParseRectText(text);
        EXPECT_EQ(QStringList{rectError}, m_messages) << text.toStdString();
        EXPECT_EQ(0, rect.left | rect.top | rect.right | rect.bottom);
    }
}

TEST_F(ColorRectText, RgbTexts)
{
    const struct
    {
        QString text;
        quint32 colour;
        bool reported;
    } cases[] = {
        {"255,0,0", 0x0000FF, false},
        {"1,2,3", 0x030201, false},
        {"256,-1,511", 0xFFFF00, false}, // low 8 bits of each
        {"a,b,c", 0, false},
        {"", 255, true},
        {"1,2", 255, true},
        {"1,2,3,4", 255, true},
    };
    for (const auto& c : cases) {
        m_messages.clear();
        EXPECT_EQ(c.colour, ParseRgbText(c.text)) << c.text.toStdString();
        EXPECT_EQ(c.reported ? QStringList{rgbError} : QStringList(), m_messages);
    }
}

TEST_F(ColorRectText, ArgbTexts)
{
    const struct
    {
        QString text;
        quint32 colour;
        bool reported;
    } cases[] = {
        {"128,255,0,0", 0x80FF0000, false},
        {"255,0,0", 0xFFFF0000, false},
        {"0,1,2,3", 0x00010203, false},
        {"300,0,0,0", 0x2C000000, false},
        {"", 0xFF000000, false},
        {"1,2", 0xFF000000, true},
        {"1,2,3,4,5", 0xFF000000, true},
    };
    for (const auto& c : cases) {
        m_messages.clear();
        EXPECT_EQ(c.colour, ParseArgbText(c.text)) << c.text.toStdString();
        EXPECT_EQ(c.reported ? QStringList{argbError} : QStringList(), m_messages);
    }
}

TEST_F(ColorRectText, FormatRgbRoundTrips)
{
    EXPECT_EQ(QString("1,2,3"), FormatRgbText(0x030201));
    EXPECT_EQ(QString("255,255,255"), FormatRgbText(0xFFFFFFFF));
    EXPECT_EQ(0x563412u, ParseRgbText(FormatRgbText(0x563412)));
}
