#include "web/LzwDecode.h"
#include "web/LzwEncode.h"

#include <QRandomGenerator>
#include <QString>
#include <gtest/gtest.h>

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

bool Decodes(const QByteArray& stored, QByteArray& out)
{
    return LzwDecode(QByteArrayView(stored), out);
}

// A description-like text whose strings repeat with variations, long enough
// to fill the dictionary of the width several times over.
QByteArray DescriptionText(int rows)
{
    QString text = QStringLiteral("<form name=\"入库单\">");
    QRandomGenerator random(42);
    for (int row = 0; row < rows; ++row) {
        text += QStringLiteral("<ctl id=\"%1\" pos=\"%2,%3,%4,%5\" text=\"字段%6\"/>\n")
                    .arg(row).arg(random.bounded(800)).arg(random.bounded(600))
                    .arg(random.bounded(90)).arg(random.bounded(40)).arg(random.bounded(1000));
    }
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

TEST(LzwDecodeTest, WorkedExample)
{
    QByteArray out;
    ASSERT_TRUE(Decodes(Hex("040000000961008601"), out));
    EXPECT_EQ(out, "aaaa");
    EXPECT_EQ(*(out.constData() + out.size()), '\0');
}

TEST(LzwDecodeTest, ShortLengths)
{
    QByteArray out = "x";
    ASSERT_TRUE(Decodes(Hex("000000000961"), out));
    EXPECT_TRUE(out.isEmpty());
    ASSERT_TRUE(Decodes(Hex("01000000096100"), out));
    EXPECT_EQ(out, "a");
    ASSERT_TRUE(Decodes(Hex("010000000961"), out)); // the first code needs no more bytes
    EXPECT_EQ(out, "a");
    for (const QByteArray& text : {QByteArray("abc"), QByteArray("abcab"), QByteArray("aaaaaaa")}) {
        ASSERT_TRUE(Decodes(LzwEncode(text, 9), out)) << text.constData();
        EXPECT_EQ(out, text);
    }
}

TEST(LzwDecodeTest, RoundTripsAcrossDictionaryResets)
{
    const QByteArray text = DescriptionText(3000); // some 250 KB of UTF-16
    for (int width : {8, 9, 10, 12, 16}) {
        SCOPED_TRACE(width);
        const QByteArray stored = LzwEncode(text, width);
        if (width == 9 || width == 12) {
            ASSERT_GT(stored.size() * 8 / width, 4 * ((1 << width) - 256)); // several resets
        }
        QByteArray out;
        ASSERT_TRUE(Decodes(stored, out));
        EXPECT_EQ(out, text);
    }
    QByteArray noise(70000, '\0');
    QRandomGenerator random(7);
    for (char& c : noise)
        c = static_cast<char>(random.bounded(256));
    QByteArray out;
    ASSERT_TRUE(Decodes(LzwEncode(noise, 9), out));
    EXPECT_EQ(out, noise);
}

TEST(LzwDecodeTest, DamagedFormsAreRejected)
{
    const struct
    {
        const char* what;
        QByteArray stored;
    } cases[] = {
        {"empty", QByteArray()},
        {"five bytes", Hex("0100000009")},
        {"negative length", Hex("ffffffff0961008601")},
        {"width 26", Hex("040000001a61008601")},
        {"width 0", Hex("0400000000610086")},
        {"truncated codes", Hex("0400000009610086")},
        {"length beyond the data", Hex("00ca9a3b0961008601")},
        {"string past the length", Hex("020000000961000201")},
        {"undefined entry", Hex("0200000009610402")}, // 97, then 258 with no entry defined
    };
    for (const auto& c : cases) {
        QByteArray out = "stale";
        EXPECT_FALSE(Decodes(c.stored, out)) << c.what;
        EXPECT_TRUE(out.isEmpty()) << c.what;
    }
}

TEST(LzwDecodeTest, EveryTruncationOfAValidFormIsRejected)
{
    const QByteArray text = DescriptionText(20);
    const QByteArray stored = LzwEncode(text, 12);
    for (qsizetype size = 0; size < stored.size(); ++size) {
        QByteArray out;
        EXPECT_FALSE(Decodes(stored.left(size), out)) << size;
    }
}

} // namespace
