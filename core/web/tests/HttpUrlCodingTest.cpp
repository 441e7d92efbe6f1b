#include "text/Cp936.h"
#include "web/UrlCoding.h"

#include <gtest/gtest.h>

namespace {

TEST(HttpUrlCodingTest, EncodeWritesEveryByteInLowerCaseHex)
{
    EXPECT_EQ(UrlEncode("a b"), "%61%20%62");
    EXPECT_EQ(UrlEncode("\n"), "%0a");
    EXPECT_EQ(UrlEncode(QStringLiteral("中")), "%e4%b8%ad");
    EXPECT_EQ(UrlEncode(""), "");
}

TEST(HttpUrlCodingTest, DecodeTurnsTripletsIntoUtf8Bytes)
{
    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {"%E4%B8%AD", QStringLiteral("中")},
        {"%e4%b8%ad%20x", QStringLiteral("中 x")},
        {"a+b", "a+b"},
        {"50%", "50%"},
        {"%4", "%4"},
        {"%4g%41", "%4gA"},
        {"%%41", "%A"},
        {QStringLiteral("中文%21"), QStringLiteral("中文!")}, // uncoded text stays whole
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexDecodeUtf8(c.in), c.out) << c.in.toStdString();
    const QString round = QStringLiteral("混合 text\n¥€");
    EXPECT_EQ(HexDecodeUtf8(UrlEncode(round)), round);
}

TEST(HttpUrlCodingTest, ByteConversions)
{
    const QString text = QStringLiteral("编码");
    EXPECT_EQ(WideToUtf8(text), QByteArray("\xe7\xbc\x96\xe7\xa0\x81"));
    EXPECT_EQ(Utf8ToString(WideToUtf8(text)), text);
    QString converted = "old";
    Gb2312ToString(ToCp936(text), converted);
    EXPECT_EQ(converted, text);
}

} // namespace
