#include "text/NumberText.h"

#include <clocale>

#include <gtest/gtest.h>

namespace {

struct TextCase
{
    QString text;
    QString result;
};

} // namespace

TEST(NumberText, FormatTwoDecimalsReplacesNonEmptyTexts)
{
    const TextCase cases[] = {
        {"3", "3.00"},          {"3.14159", "3.14"}, {"  -2.5kg", "-2.50"}, {"abc", "0.00"},
        {"1e3", "1000.00"},     {"+.5", "0.50"},     {"2.675", "2.67"},     {"0.125", "0.12"},
        {"0.375", "0.38"},      {".", "0.00"},       {"1e", "1.00"},        {"1e-999", "0.00"},
    };
    for (const TextCase& c : cases) {
        QString text = c.text;
        EXPECT_TRUE(FormatTwoDecimals(text)) << c.text.toStdString();
        EXPECT_EQ(c.result, text) << c.text.toStdString();
    }
}

TEST(NumberText, FormatTwoDecimalsLeavesEmptyAndOverflowingTexts)
{
    for (const QString& original : {QString(), QString("1e999")}) {
        QString text = original;
        EXPECT_FALSE(FormatTwoDecimals(text));
        EXPECT_EQ(original, text);
    }
}

TEST(NumberText, IgnoresTheProcessLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(QString("1.50"), FormatFixedTwo(TextToDouble(u"1.5")));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, TrimNumberZeros)
{
    const TextCase cases[] = {
        {"10.500", "10.5"}, {"10.000", "10"}, {".000", "0"},   {"100", "100"},
        {"0.0", "0"},       {"1.", "1"},      {"abc", "abc"}, {"", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.result, TrimNumberZeros(c.text)) << c.text.toStdString();
}

TEST(NumberText, FormatThousandsGroupsIntegerDigits)
{
    const TextCase cases[] = {
        {"0", "0.00"},
        {"-0", "0.00"},
        {"-0.001", "0.00"},
        {"999.5", "999.50"},
        {"1000", "1,000.00"},
        {"123456", "123,456.00"},
        {"1234567.891", "1,234,567.89"},
        {"-1234.5", "-1,234.50"},
        {"-123", "-123.00"},
        {"-123456", "-123,456.00"},
        {"-1234567", "-1,234,567.00"},
        {"1234567890123456", "1,234,567,890,123,456.00"},
        {"x", "0.00"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.result, FormatThousands(c.text)) << c.text.toStdString();
}
