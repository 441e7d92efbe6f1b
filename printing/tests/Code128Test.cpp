#include "Code128.h"
#include "ExternalTool.h"
#include "PrintPainter.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace
{

// The widths of one symbol value as the pattern text holds them.
QStringList Values(const QString& pattern)
{
    QStringList values;
    for (qsizetype i = 0; i + 7 < pattern.size(); i += 6)
        values << pattern.mid(i, 6);
    return values;
}

// Bars drawn by the print painter at 0.1 mm a pixel, with a light margin.
QString SavedBars(const QString& pattern, const TempFolder& folder, const QString& name)
{
    QImage image(2400, 300, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PrintPainter printPainter(painter, image);
        printPainter.DrawBars(pattern, PrintPainter::PlainRect(100, 50, 2300, 250));
    }
    const QString path = folder.file(name + QStringLiteral(".png"));
    EXPECT_TRUE(image.save(path));
    return path;
}

} // namespace

TEST(Code128Test, EveryKindDecodesToItsText)
{
    SKIP_WITHOUT_TOOL("zbarimg");
    TempFolder folder;
    const struct
    {
        QString kind;
        QString text;
        QString decoded; // the text itself when empty
    } cases[] = {
        {QStringLiteral("128c"), QStringLiteral("12345678"), {}},
        {QStringLiteral("128c"), QStringLiteral("12345"), {}},
        {QStringLiteral("128c"), QStringLiteral("7"), {}},
        {QStringLiteral("128b"), QStringLiteral("Dn-2026/0042 x"), {}},
        {QStringLiteral("128b"), QStringLiteral("0123456789"), {}},
        // The ends of set B: blank, tilde and DEL.
        {QStringLiteral("128b"), QStringLiteral(" a~\x7f"), {}},
        {QStringLiteral("128a"), QStringLiteral("ORDER 42/A"), {}},
        // The end of set A: underscore.
        {QStringLiteral("128a"), QStringLiteral("A_^ Z"), {}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE((c.kind + u' ' + c.text).toStdString());
        QString error;
        const QString pattern = BuildCode128Pattern(c.text, c.kind, &error);
        ASSERT_FALSE(pattern.isEmpty()) << error.toStdString();
        EXPECT_EQ(DecodeSymbols(SavedBars(pattern, folder, QString::number(++n))),
                  QStringList{c.decoded.isEmpty() ? c.text : c.decoded});
    }
}

TEST(Code128Test, DigitPairsInSetCAndTheRestInSetB)
{
    const struct
    {
        QString kind;
        QString text;
        QStringList values; // start, data..., check
    } cases[] = {
        // 105 + 12 + 2*34 + 3*56 = 353 = 3*103 + 44
        {QStringLiteral("128c"), QStringLiteral("123456"), {"211232", "112232", "131123", "331121", "132131"}},
        // A lone last digit goes in set B: Code B (100), "5" (21).
        // 105 + 12 + 68 + 300 + 84 = 569 = 5*103 + 54
        {QStringLiteral("128c"), QStringLiteral("12345"),
         {"211232", "112232", "131123", "114131", "213212", "311123"}},
        // Start C, FNC1 (102), "01" (1): 105 + 102 + 2 = 209 = 2*103 + 3
        {QStringLiteral("128e"), QStringLiteral("01"), {"211232", "411131", "222122", "121223"}},
        // Start B, "A" (33): 104 + 33 = 137 = 103 + 34
        {QStringLiteral("128b"), QStringLiteral("A"), {"211214", "111323", "131123"}},
        // Start B, DEL (95): 104 + 95 = 199 = 103 + 96
        {QStringLiteral("128b"), QStringLiteral("\x7f"), {"211214", "114113", "114311"}},
        // Start A, "_" (63): 103 + 63 = 166 = 103 + 63
        {QStringLiteral("128a"), QStringLiteral("_"), {"211412", "111224", "111224"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.kind + u' ' + c.text).toStdString());
        const QString pattern = BuildCode128Pattern(c.text, c.kind);
        EXPECT_EQ(Values(pattern), c.values);
        EXPECT_TRUE(pattern.endsWith(u"2331112"));
    }
}

TEST(Code128Test, RefusesWhatTheSetCannotHold)
{
    const struct
    {
        QString kind;
        QString text;
        QString error;
    } cases[] = {
        {QStringLiteral("128b"), QStringLiteral("单号12"), QStringLiteral("条码不能编码字符“单”(第1个字符)")},
        {QStringLiteral("128a"), QStringLiteral("AB\t"), QStringLiteral("条码不能编码字符“\t”(第3个字符)")},
        {QStringLiteral("128b"), QStringLiteral("A\tB"), QStringLiteral("条码不能编码字符“\t”(第2个字符)")},
        // Set A has no lower case and nothing above the underscore.
        {QStringLiteral("128a"), QStringLiteral("ABae"), QStringLiteral("条码不能编码字符“a”(第3个字符)")},
        {QStringLiteral("128a"), QStringLiteral("A{"), QStringLiteral("条码不能编码字符“{”(第2个字符)")},
        {QStringLiteral("128a"), QStringLiteral("A\x7f"), QStringLiteral("条码不能编码字符“\x7f”(第2个字符)")},
        // U+0080 to U+008A would be function and start codes and the stop.
        {QStringLiteral("128b"), QStringLiteral("A\u0080"), QStringLiteral("条码不能编码字符“\u0080”(第2个字符)")},
        {QStringLiteral("128b"), QStringLiteral("\u0085"), QStringLiteral("条码不能编码字符“\u0085”(第1个字符)")},
        {QStringLiteral("128b"), QStringLiteral("12\u008a3"), QStringLiteral("条码不能编码字符“\u008a”(第3个字符)")},
        {QStringLiteral("128a"), QStringLiteral("\u0084"), QStringLiteral("条码不能编码字符“\u0084”(第1个字符)")},
        // Set C holds pairs of digits only, named by their first non-digit.
        {QStringLiteral("128c"), QStringLiteral("12-5"), QStringLiteral("条码不能编码字符“-”(第3个字符)")},
        {QStringLiteral("128c"), QStringLiteral("A1B2"), QStringLiteral("条码不能编码字符“A”(第1个字符)")},
        {QStringLiteral("128c"), QStringLiteral("1A23"), QStringLiteral("条码不能编码字符“A”(第2个字符)")},
        {QStringLiteral("128c"), QStringLiteral("12 34"), QStringLiteral("条码不能编码字符“ ”(第3个字符)")},
        {QStringLiteral("128c"), QStringLiteral("1234x"), QStringLiteral("条码不能编码字符“x”(第5个字符)")},
        {QStringLiteral("128c"), QStringLiteral("１２"), QStringLiteral("条码不能编码字符“１”(第1个字符)")},
        {QStringLiteral("128e"), QStringLiteral("01A"), QStringLiteral("条码不能编码字符“A”(第3个字符)")},
        {QStringLiteral("128x"), QStringLiteral("12"), QStringLiteral("条码类型错误: 128x")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QString error;
        EXPECT_TRUE(BuildCode128Pattern(c.text, c.kind, &error).isEmpty());
        EXPECT_EQ(error, c.error);
    }
    QString error = QStringLiteral("old");
    EXPECT_TRUE(BuildCode128Pattern(QString(), QStringLiteral("128b"), &error).isEmpty());
    EXPECT_TRUE(error.isEmpty());
}

TEST(Code128Test, BarsTakeWholeModulesOfTheRectangle)
{
    // Start B "A" check stop: 3 * 11 + 13 = 46 modules; 100 units give 2 each.
    const QString pattern = BuildCode128Pattern(QStringLiteral("A"), QStringLiteral("128b"));
    QImage image(120, 20, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        PrintPainter printPainter(painter, image);
        printPainter.DrawBars(pattern, PrintPainter::PlainRect(10, 5, 110, 15));
    }
    // Start B begins with a bar of 2 modules, then a space of 1.
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(13, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(14, 10), qRgb(255, 255, 255));
    // The symbol ends at 10 + 92; what is left of the rectangle stays untouched.
    EXPECT_EQ(image.pixel(101, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(102, 10), QColor(Qt::gray).rgb());
}
