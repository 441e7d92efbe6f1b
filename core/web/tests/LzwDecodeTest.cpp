#include "web/LzwDecode.h"
#include "web/LzwEncode.h"
#include "web/LzwTexts.h"

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

// A stored form declaring `length` bytes whose codes of width 25 are 97, 256,
// 257, ...: each code names the entry it defines, so string k is k + 1 bytes
// long and `codes` codes give codes * (codes + 1) / 2 bytes of "a".
QByteArray Bomb(qint32 length, int codes)
{
    constexpr int width = 25;
    QByteArray stored(5 + (qsizetype(codes) * width + 7) / 8 + 4, '\0');
    for (int i = 0; i < 4; ++i)
        stored[i] = static_cast<char>((static_cast<quint32>(length) >> (8 * i)) & 0xff);
    stored[4] = static_cast<char>(width);
    for (int k = 0; k < codes; ++k) {
        const quint64 code = k == 0 ? 97 : 255 + k;
        for (int bit = 0; bit < width; ++bit) {
            if (code >> bit & 1) {
                const qsizetype at = qsizetype(k) * width + bit;
                stored[5 + at / 8] = static_cast<char>(stored[5 + at / 8] | (1 << (at % 8)));
            }
        }
    }
    return stored;
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
        QString reason;
    } cases[] = {
        {"empty", QByteArray(), LzwTexts::TooShort},
        {"five bytes", Hex("0100000009"), LzwTexts::TooShort},
        {"negative length", Hex("ffffffff0961008601"), LzwTexts::BadLength.arg(-1)},
        {"width 26", Hex("040000001a61008601"), LzwTexts::BadWidth.arg(26)},
        {"width 0", Hex("0400000000610086"), LzwTexts::BadWidth.arg(0)},
        {"truncated codes", Hex("0400000009610086"), LzwTexts::Damaged},
        {"length beyond the limit", Hex("00ca9a3b0961008601"), LzwTexts::TooLong.arg(1000000000).arg(kMaxDecodedBytes)},
        {"length beyond the data", Hex("000000010961008601"), LzwTexts::Damaged},
        {"string past the length", Hex("020000000961000201"), LzwTexts::Damaged},
        {"undefined entry", Hex("0200000009610402"), LzwTexts::Damaged}, // 97, then 258 with no entry defined
    };
    for (const auto& c : cases) {
        QByteArray out = "stale";
        QString reason;
        EXPECT_FALSE(LzwDecode(QByteArrayView(c.stored), out, &reason)) << c.what;
        EXPECT_TRUE(out.isEmpty()) << c.what;
        EXPECT_EQ(reason, c.reason) << c.what;
    }
}

// A few tens of kilobytes of codes can declare and really give gigabytes;
// a declared length above the limit is refused before anything is
// allocated, and a form just under the limit still decodes.
TEST(LzwDecodeTest, DeclaredLengthAboveTheLimitIsRefused)
{
    const int codes = 16000; // up to 128 M bytes from 50 KB of codes
    QByteArray out;
    QString reason;
    EXPECT_FALSE(LzwDecode(QByteArrayView(Bomb(qint32(kMaxDecodedBytes + 2), codes)), out, &reason));
    EXPECT_EQ(reason, LzwTexts::TooLong.arg(kMaxDecodedBytes + 2).arg(kMaxDecodedBytes));
    EXPECT_FALSE(LzwDecode(QByteArrayView(Bomb(0x7fffffff, 70000)), out, &reason));
    EXPECT_EQ(reason, LzwTexts::TooLong.arg(0x7fffffff).arg(kMaxDecodedBytes));

    const int fitting = 11584; // 11584 * 11585 / 2 bytes, just under the limit
    const qint32 length = fitting * (fitting + 1) / 2;
    ASSERT_TRUE(LzwDecode(QByteArrayView(Bomb(length, fitting)), out));
    EXPECT_EQ(out.size(), length);
    EXPECT_EQ(out.count('a'), length);
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
