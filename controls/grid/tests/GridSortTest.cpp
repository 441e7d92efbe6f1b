#include "grid/GridSort.h"
#include "grid/ListCtrlEx.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <numeric>

namespace
{
struct CompareCase
{
    int kind;
    const char16_t* a;
    const char16_t* b;
    int expected;
};

const CompareCase kCases[] = {
    {0, u"b", u"a", 0},
    // Numbers by value, from their leading numeric part.
    {1, u"1.2", u"1.7", -1},
    {1, u"10", u"9", 1},
    {1, u"abc", u"0", 0},
    {1, u"-3.5x", u"-3.4", -1},
    // Beyond the double range: infinity of its sign.
    {1, u"1e400", u"5", 1},
    {1, u"-1e400", u"-1e300", -1},
    {1, u"1e400", u"2e999", 0},
    {2, u"1,000e400", u"999,999", 1},
    // Amounts: thousands separators ignored; equal amounts are equal.
    {2, u"1,200.50", u"999", 1},
    {2, u"1,000", u"1000.00", 0},
    {2, u"5", u"5", 0},
    {2, u"-1,000", u"1", -1},
    // Text by UTF-16 code units.
    {3, u"B", u"a", -1},
    {3, u"abc", u"abc", 0},
    {3, u"张", u"李", CompareGridTexts(3, u"张"_qs, u"李"_qs)},
    {9, u"B", u"a", -1},
    // Integers only when both are written exactly as their numbers.
    {4, u"3", u"12", -1},
    {4, u"007", u"7", -1}, // text
    {4, u"12abc", u"3", -1}, // text
    {4, u"12", u"12abc", -1}, // text
    {4, u"0", u"-5", 1},  // zero: text
    {4, u"-5", u"3", -1},
    {4, u"9223372036854775807", u"-9223372036854775808", 1}, // no overflow
    {4, u"99999999999999999999", u"5", 1}, // beyond long: text
    {4, u"B", u"a", -1},
    // Text ignoring case.
    {5, u"B", u"a", 1},
    {5, u"abc", u"ABC", 0},
    {6, u"B", u"a", 1},
    {6, u"3", u"12", -1},
    {6, u"-9223372036854775808", u"9223372036854775807", -1},
    // Dates; texts that are no date sort before all dates and equal each other.
    {7, u"2024-01-02", u"2024-01-10", -1},
    {7, u"2024/1/10", u"2024-01-10 00:00:00", 0},
    {7, u"2024-01-10 08:00", u"2024-01-10", 1},
    {7, u"not a date", u"2024-01-10", -1},
    {7, u"2024-02-30", u"garbage", 0},
    {7, u"10:30", u"1999-01-01", -1},
};

TEST(GridSortTest, ComparesEachKindAsDescribed)
{
    for (const CompareCase& c : kCases) {
        const QString a = QString::fromUtf16(c.a);
        const QString b = QString::fromUtf16(c.b);
        EXPECT_EQ(CompareGridTexts(c.kind, a, b), c.expected) << c.kind << " " << a.toStdString() << " " << b.toStdString();
        EXPECT_EQ(CompareGridTexts(c.kind, b, a), -c.expected) << c.kind << " " << b.toStdString() << " " << a.toStdString();
    }
    EXPECT_EQ(CListCtrlEx::CompareAsAmounts(u"1,200.50"_qs, u"999"_qs), 1);
    EXPECT_EQ(CListCtrlEx::CompareAsIntegers(u"12abc"_qs, u"3"_qs), -1);
}

// Numbers, amounts, dates, integers with and without noise, mixed case, blanks.
QStringList RandomTexts(int count)
{
    QRandomGenerator random(20240101);
    const QStringList pieces = {u"0"_qs, u"7"_qs, u"007"_qs, u"12"_qs, u"12abc"_qs, u"-3"_qs, u"1,200.50"_qs,
                                u"999"_qs, u"1.2"_qs, u"abc"_qs, u"ABC"_qs, u" 5"_qs, u"2024-01-0"_qs, u"2024/3/"_qs,
                                u"10:3"_qs, u"x"_qs, u""_qs, u"9223372036854775807"_qs, u"-"_qs, u","_qs,
                                u"1e400"_qs, u"-1e999"_qs};
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        const int parts = int(random.bounded(3)) + 1;
        for (int p = 0; p < parts; ++p)
            text += pieces[int(random.bounded(pieces.size()))];
        if (random.bounded(4) == 0)
            text += QString::number(random.bounded(100));
        texts.append(text);
    }
    return texts;
}

TEST(GridSortTest, KindsOneTwoThreeFiveSevenAreStrictWeakOrders)
{
    const QStringList texts = RandomTexts(3000);
    QRandomGenerator random(7);
    for (int kind : {1, 2, 3, 5, 7}) {
        const auto cmp = [kind](const QString& a, const QString& b) { return CompareGridTexts(kind, a, b); };
        // Sorted with the comparator, every neighbour pair is in order and
        // equality runs are transitive: a sorted sequence checks the order
        // against every element at once.
        const std::vector<int> order =
            SortedRowOrder(int(texts.size()), [&](int row) -> const QString& { return texts[row]; }, kind, true);
        for (size_t i = 1; i < order.size(); ++i)
            ASSERT_LE(cmp(texts[order[i - 1]], texts[order[i]]), 0) << kind;
        for (int i = 0; i < 50000; ++i) {
            const QString& a = texts[int(random.bounded(texts.size()))];
            const QString& b = texts[int(random.bounded(texts.size()))];
            const QString& c = texts[int(random.bounded(texts.size()))];
            ASSERT_EQ(cmp(a, a), 0);
            ASSERT_EQ(cmp(a, b), -cmp(b, a));
            if (cmp(a, b) <= 0 && cmp(b, c) <= 0) {
                ASSERT_LE(cmp(a, c), 0) << kind << " " << a.toStdString() << " " << b.toStdString() << " "
                                        << c.toStdString();
            }
        }
    }
}

TEST(GridSortTest, IntegerKindsSortMixedTextsWithoutLosingARow)
{
    const QStringList texts = RandomTexts(100000);
    for (int kind : {4, 6}) {
        for (bool ascending : {true, false}) {
            std::vector<int> order =
                SortedRowOrder(int(texts.size()), [&](int row) -> const QString& { return texts[row]; }, kind, ascending);
            ASSERT_EQ(order.size(), size_t(texts.size()));
            std::sort(order.begin(), order.end());
            std::vector<int> all(order.size());
            std::iota(all.begin(), all.end(), 0);
            EXPECT_EQ(order, all) << kind;
        }
    }
}

TEST(GridSortTest, EqualRowsKeepTheirOrderInBothDirections)
{
    const QStringList texts = {u"5"_qs, u"1,000"_qs, u"5.00"_qs, u"1000"_qs, u"2"_qs};
    const auto textOf = [&](int row) -> const QString& { return texts[row]; };
    EXPECT_EQ(SortedRowOrder(5, textOf, 2, true), (std::vector<int>{4, 0, 2, 1, 3}));
    EXPECT_EQ(SortedRowOrder(5, textOf, 2, false), (std::vector<int>{1, 3, 0, 2, 4}));
    EXPECT_EQ(SortedRowOrder(5, textOf, 0, true), (std::vector<int>{0, 1, 2, 3, 4}));
}
} // namespace
