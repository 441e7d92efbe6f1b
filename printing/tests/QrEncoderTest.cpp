#include "ExternalTool.h"
#include "QrBitmap.h"
#include "QrEncoder.h"
#include "QrReedSolomon.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <vector>

namespace
{

std::unique_ptr<QrEncoder> Encoded(int level, int version, bool autoExtend, int mask, const QString& text)
{
    auto encoder = std::make_unique<QrEncoder>();
    EXPECT_TRUE(encoder->Encode(level, version, autoExtend, mask, text)) << text.left(40).toStdString();
    return encoder;
}

// The symbol scaled up without smoothing, as a scanner would see it printed.
QString SavedSymbol(const QrEncoder& encoder, const TempFolder& folder, const QString& name)
{
    const QImage image = MakeQrImage(encoder).convertToFormat(QImage::Format_Grayscale8);
    const QString path = folder.file(name + QStringLiteral(".png"));
    EXPECT_TRUE(image.scaled(image.size() * 4).save(path));
    return path;
}

const QString Digits = QStringLiteral("0123456789876543210");
const QString Latin = QStringLiteral("Delivery note DN-2026/0042, qty 12.5 kg");
const QString Chinese = QStringLiteral("送货单：北京市海淀区中关村大街一号");

} // namespace

TEST(QrEncoderTest, EverySymbolDecodesToItsText)
{
    SKIP_WITHOUT_TOOL("zbarimg");
    TempFolder folder;
    const int versions[] = {1, 2, 7, 10, 25, 40};
    // Versions 1 and 2 at level H hold no more than 7 bytes.
    const QString shortTexts[] = {QStringLiteral("12345678"), QStringLiteral("Tembra"), QStringLiteral("中文")};
    const QString texts[] = {Digits, Latin, Chinese};
    int caseNumber = 0;
    for (int level = QrEncoder::LevelL; level <= QrEncoder::LevelH; ++level) {
        for (int version : versions) {
            for (int t = 0; t < 3; ++t) {
                const QString& text = version <= 2 ? shortTexts[t] : texts[t];
                // Every mask, and the automatic choice, comes round in turn.
                const int mask = caseNumber % 9 - 1;
                ++caseNumber;
                SCOPED_TRACE(testing::Message() << "level " << level << " version " << version
                                                << " mask " << mask << " text " << text.toStdString());
                auto encoder = std::make_unique<QrEncoder>();
                ASSERT_TRUE(encoder->Encode(level, version, false, mask, text));
                EXPECT_EQ(encoder->Version(), version);
                EXPECT_EQ(encoder->Size(), 17 + 4 * version);
                if (mask >= 0) {
                    EXPECT_EQ(encoder->Mask(), mask);
                }
                const QString path = SavedSymbol(*encoder, folder, QString::number(caseNumber));
                EXPECT_EQ(DecodeSymbols(path), QStringList{text});
            }
        }
    }
}

TEST(QrEncoderTest, TextsThatFillVersion40DecodeAtEveryLevel)
{
    SKIP_WITHOUT_TOOL("zbarimg");
    TempFolder folder;
    // Byte-mode texts longer than version 39 holds at each level.
    const struct
    {
        int level;
        int length;
    } cases[] = {{QrEncoder::LevelL, 2900}, {QrEncoder::LevelM, 2300},
                 {QrEncoder::LevelQ, 1650}, {QrEncoder::LevelH, 1250}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        QString text;
        for (int i = 0; text.size() < c.length; ++i)
            text += QStringLiteral("line %1 of the packing list; ").arg(i);
        text.truncate(c.length);
        auto encoder = Encoded(c.level, 1, true, -1, text);
        EXPECT_EQ(encoder->Version(), 40);
        EXPECT_EQ(DecodeSymbols(SavedSymbol(*encoder, folder, QString::number(c.level))), QStringList{text});
    }
}

TEST(QrEncoderTest, DigitsMakeOneNumericSegmentInVersion1M)
{
    auto encoder = Encoded(QrEncoder::LevelM, 1, true, 0, QStringLiteral("12345678"));
    EXPECT_EQ(encoder->Version(), 1);
    EXPECT_EQ(encoder->Size(), 21);
    ASSERT_EQ(encoder->SegmentCount(), 1);
    EXPECT_EQ(encoder->SegmentMode(0), QrEncoder::ModeNumeric);
    EXPECT_EQ(encoder->SegmentLength(0), 8);
    EXPECT_EQ(MakeQrBitmap(QStringLiteral("12345678")).size(), QSize(29, 29));
}

TEST(QrEncoderTest, SegmentsAreChosenByTheirCost)
{
    const struct
    {
        QString text;
        std::vector<std::pair<QrEncoder::Mode, int>> segments;
    } cases[] = {
        {QStringLiteral("HELLO WORLD"), {{QrEncoder::ModeAlphanumeric, 11}}},
        // Chinese characters are three UTF-8 bytes each.
        {QStringLiteral("中文"), {{QrEncoder::ModeByte, 6}}},
        // A short run of digits or capitals costs less inside the bytes.
        {QStringLiteral("a1b"), {{QrEncoder::ModeByte, 3}}},
        {QStringLiteral("abcDEFghi"), {{QrEncoder::ModeByte, 9}}},
        {QStringLiteral("AB12CD"), {{QrEncoder::ModeAlphanumeric, 6}}},
        // A long one pays for its own header.
        {QStringLiteral("no.12345678901234567890x"),
         {{QrEncoder::ModeByte, 3}, {QrEncoder::ModeNumeric, 20}, {QrEncoder::ModeByte, 1}}},
        {QStringLiteral("ORDER 000123456789012345"),
         {{QrEncoder::ModeAlphanumeric, 6}, {QrEncoder::ModeNumeric, 18}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        auto encoder = Encoded(QrEncoder::LevelM, 1, true, 0, c.text);
        ASSERT_EQ(encoder->SegmentCount(), static_cast<int>(c.segments.size()));
        for (int i = 0; i < encoder->SegmentCount(); ++i) {
            EXPECT_EQ(encoder->SegmentMode(i), c.segments[i].first);
            EXPECT_EQ(encoder->SegmentLength(i), c.segments[i].second);
        }
    }
}

TEST(QrEncoderTest, GrowsToTheSmallestVersionThatHoldsTheText)
{
    const QString text = QString(100, u'x');
    auto encoder = Encoded(QrEncoder::LevelM, 1, true, 0, text);
    // 100 bytes: 106 fit into 6-M, 84 into 5-M.
    EXPECT_EQ(encoder->Version(), 6);
    EXPECT_FALSE(encoder->Encode(QrEncoder::LevelM, 5, false, 0, text));
    EXPECT_TRUE(encoder->Encode(QrEncoder::LevelM, 6, false, 0, text));
    // A larger requested version is kept.
    EXPECT_TRUE(encoder->Encode(QrEncoder::LevelM, 12, false, 0, text));
    EXPECT_EQ(encoder->Version(), 12);
}

TEST(QrEncoderTest, RefusesWhatNoSymbolHolds)
{
    auto encoder = std::make_unique<QrEncoder>();
    EXPECT_TRUE(encoder->Encode(QrEncoder::LevelL, 1, true, 0, QString(7089, u'7')));
    EXPECT_EQ(encoder->Version(), 40);
    EXPECT_FALSE(encoder->Encode(QrEncoder::LevelL, 1, true, 0, QString(7090, u'7')));
    EXPECT_TRUE(encoder->Encode(QrEncoder::LevelL, 1, true, 0, QString(2953, u'x')));
    EXPECT_FALSE(encoder->Encode(QrEncoder::LevelL, 1, true, 0, QString(2954, u'x')));
    EXPECT_FALSE(encoder->Encode(QrEncoder::LevelH, 1, true, 0, QString(1274, u'x')));
    EXPECT_EQ(encoder->Version(), 0);

    EXPECT_FALSE(encoder->Encode(QrEncoder::LevelM, 1, true, 0, QString()));
    EXPECT_FALSE(encoder->Encode(4, 1, true, 0, QStringLiteral("1")));
    EXPECT_FALSE(encoder->Encode(QrEncoder::LevelM, 0, true, 0, QStringLiteral("1")));
    EXPECT_FALSE(encoder->Encode(QrEncoder::LevelM, 41, true, 0, QStringLiteral("1")));
    EXPECT_FALSE(encoder->Encode(QrEncoder::LevelM, 1, true, 8, QStringLiteral("1")));
    EXPECT_TRUE(MakeQrBitmap(QString()).isNull());
}

TEST(QrEncoderTest, AutomaticMaskIsTheFirstOfLowestPenalty)
{
    const QString texts[] = {QStringLiteral("12345678"), Latin, Chinese, QString(300, u'A')};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.left(20).toStdString());
        auto chosen = Encoded(QrEncoder::LevelQ, 1, true, -1, text);
        auto fixed = std::make_unique<QrEncoder>();
        for (int mask = 0; mask < 8; ++mask) {
            ASSERT_TRUE(fixed->Encode(QrEncoder::LevelQ, 1, true, mask, text));
            if (mask < chosen->Mask())
                EXPECT_GT(fixed->Penalty(), chosen->Penalty()) << mask;
            else
                EXPECT_GE(fixed->Penalty(), chosen->Penalty()) << mask;
        }
    }
}

// Format bits around the finders, read back in the order they were written.
TEST(QrEncoderTest, FormatAndVersionInformationAreWrittenTwice)
{
    auto encoder = Encoded(QrEncoder::LevelM, 7, false, 0, QStringLiteral("1"));
    const int size = encoder->Size();
    int first = 0;
    int second = 0;
    for (int i = 0; i <= 5; ++i)
        first |= encoder->IsDark(8, i) << i;
    first |= encoder->IsDark(8, 7) << 6 | encoder->IsDark(8, 8) << 7 | encoder->IsDark(7, 8) << 8;
    for (int i = 9; i < 15; ++i)
        first |= encoder->IsDark(14 - i, 8) << i;
    for (int i = 0; i < 8; ++i)
        second |= encoder->IsDark(size - 1 - i, 8) << i;
    for (int i = 8; i < 15; ++i)
        second |= encoder->IsDark(8, size - 15 + i) << i;
    // Level M (00) with mask 0 has no check bits: only the fixed XOR pattern.
    EXPECT_EQ(first, 0x5412);
    EXPECT_EQ(second, 0x5412);
    EXPECT_TRUE(encoder->IsDark(8, size - 8));

    int bottomLeft = 0;
    int topRight = 0;
    for (int i = 0; i < 18; ++i) {
        bottomLeft |= encoder->IsDark(i / 3, size - 11 + i % 3) << i;
        topRight |= encoder->IsDark(size - 11 + i % 3, i / 3) << i;
    }
    EXPECT_EQ(bottomLeft, 0x07C94);
    EXPECT_EQ(topRight, 0x07C94);
}

// A codeword block with its error correction is a multiple of the generator:
// it vanishes at every generator root.
TEST(QrEncoderTest, ErrorCorrectionMakesEveryRootAZero)
{
    auto multiply = [](int a, int b) {
        int product = 0;
        for (; b; b >>= 1, a = (a << 1) ^ ((a & 0x80) ? 0x11D : 0)) {
            if (b & 1)
                product ^= a;
        }
        return product & 0xFF;
    };
    for (int degree : {7, 10, 13, 17, 22, 26, 28, 30}) {
        SCOPED_TRACE(degree);
        std::vector<uint8_t> block(50 + degree);
        for (int i = 0; i < 50; ++i)
            block[i] = static_cast<uint8_t>(i * 37 + degree);
        QrReedSolomon::ComputeRemainder(block.data(), 50, degree, block.data() + 50);
        int root = 1;
        for (int r = 0; r < degree; ++r) {
            int value = 0;
            for (uint8_t codeword : block)
                value = multiply(value, root) ^ codeword;
            EXPECT_EQ(value, 0) << "root " << r;
            root = multiply(root, 2);
        }
    }
}
