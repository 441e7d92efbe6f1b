#include "text/MoneyWords.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

struct MoneyCase
{
    double amount;
    const char16_t* words;
};

QString Str(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

TEST(MoneyWords, FormatsAmountsInCapitalWords)
{
    const MoneyCase cases[] = {
        {0, u"零元整"},
        {10, u"壹拾元整"},
        {100, u"壹佰元整"},
        {0.5, u"伍角"},
        {1.05, u"壹元零伍分"},
        {1001, u"壹仟零壹元整"},
        {10010, u"壹万零壹拾元整"},
        {10000, u"壹万元整"},
        {100000000, u"壹亿元整"},
        {100000001, u"壹亿零壹元整"},
        {1010101.01, u"壹佰零壹万零壹佰零壹元零壹分"},
        {20.3, u"贰拾元零叁角"},
        // Rounded to cents first; 0.125 is exact in binary and rounds to even.
        {0.125, u"壹角贰分"},
        {0.004, u"零元整"},
        // 13 integer digits: 16 characters, still words.
        {9999999999999.99, u"玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        {1234567890123.45, u"壹万贰仟叁佰肆拾伍亿陆仟柒佰捌拾玖万零壹佰贰拾叁元肆角伍分"},
        // 14 integer digits: 17 characters, too long.
        {12345678901234.0, u"出错!"},
        {1e20, u"出错!"},
    };
    for (const MoneyCase& c : cases)
        EXPECT_EQ(Str(c.words), FormatMoneyChinese(c.amount)) << c.amount;
}

TEST(MoneyWords, RejectsNegativeAndNonFiniteAmounts)
{
    EXPECT_EQ(QStringLiteral("出错!"), FormatMoneyChinese(-5));
    EXPECT_EQ(QStringLiteral("出错!"), FormatMoneyChinese(-0.01));
    EXPECT_EQ(QStringLiteral("出错!"), FormatMoneyChinese(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(QStringLiteral("出错!"), FormatMoneyChinese(std::nan("")));
    // Amounts that round to zero are zero, whatever their sign.
    EXPECT_EQ(QStringLiteral("零元整"), FormatMoneyChinese(-0.0));
    EXPECT_EQ(QStringLiteral("零元整"), FormatMoneyChinese(-0.001));
}

TEST(MoneyWords, RecursiveStepIgnoresPositionsOutsideTheText)
{
    QString words = QStringLiteral("x");
    AppendChineseMoneyDigit(QStringLiteral("1.00"), 4, 4, words);
    AppendChineseMoneyDigit(QStringLiteral("1.00"), 4, -1, words);
    AppendChineseMoneyDigit(QStringLiteral("1"), 20, 0, words);
    EXPECT_TRUE(words.startsWith(u'x'));
}

TEST(MoneyWords, CapitalDigitsForChequeDates)
{
    const struct
    {
        const char16_t* text;
        const char16_t* capital;
    } cases[] = {
        {u"05", u"零伍"},   {u"10", u"零壹拾"},   {u"15", u"壹拾伍"}, {u"20", u"零贰拾"},
        {u"25", u"贰拾伍"}, {u"2024", u"贰零贰肆"}, {u"1", u"壹"},     {u"99", u"玖拾玖"},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Str(c.capital), ToChineseCapitalDigits(Str(c.text))) << Str(c.text).toStdString();
}
