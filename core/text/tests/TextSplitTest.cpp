#include "text/TextSplit.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct SplitCase
{
    QString text;
    QString separator;
    QStringList pieces;
};

} // namespace

TEST(TextSplit, SplitStringAndSplitToListGiveEveryPiece)
{
    const SplitCase cases[] = {
        {"a,,b,", ",", {"a", "", "b", ""}},
        {"a--b", "--", {"a", "b"}},
        {"", ",", {""}},
        {",", ",", {"", ""}},
        {" a , b ", ",", {" a ", " b "}},
        {"甲、乙、丙", "、", {"甲", "乙", "丙"}},
        {"a---b", "--", {"a", "-b"}},
        // An empty separator cannot match for ever: the whole text is one piece.
        {"abc", "", {"abc"}},
    };
    for (const SplitCase& c : cases) {
        QStringList array;
        SplitString(c.text, c.separator, array);
        EXPECT_EQ(c.pieces, array) << c.text.toStdString() << " at " << c.separator.toStdString();
        QStringList list;
        SplitToList(c.text, c.separator, list);
        EXPECT_EQ(c.pieces, list);
    }
}

TEST(TextSplit, SplitAtCharMovesOneCharacterPastAHit)
{
    const SplitCase cases[] = {
        {"a--b", "--", {"a", "-b"}},
        {"a,,b,", ",", {"a", "", "b", ""}},
        {"a---b", "--", {"a", "", "-b"}},
        {"", ",", {""}},
        {"abc", "", {"abc"}},
    };
    for (const SplitCase& c : cases) {
        QStringList array;
        SplitAtChar(c.text, c.separator, array);
        EXPECT_EQ(c.pieces, array) << c.text.toStdString() << " at " << c.separator.toStdString();
    }
}

TEST(TextSplit, OutputsAreAppendedNotCleared)
{
    QStringList array{"kept"};
    SplitString("x;y", ";", array);
    EXPECT_EQ(QStringList({"kept", "x", "y"}), array);
    QList<int> numbers{7};
    SplitToInts("1;2", ";", numbers);
    EXPECT_EQ(QList<int>({7, 1, 2}), numbers);
}

TEST(TextSplit, SplitToIntsConvertsLikeAtoi)
{
    QList<int> numbers;
    SplitToInts("1,x,3, -4,+5,6abc,,--7, \t8", ",", numbers);
    EXPECT_EQ(QList<int>({1, 0, 3, -4, 5, 6, 0, 0, 8}), numbers);
    QList<int> single;
    SplitToInts("12", "", single);
    EXPECT_EQ(QList<int>({12}), single);
}

TEST(TextSplit, TextToIntClampsToTheIntRange)
{
    EXPECT_EQ(INT_MAX, TextToInt(u"99999999999999999999"));
    EXPECT_EQ(INT_MIN, TextToInt(u"-99999999999999999999"));
    EXPECT_EQ(INT_MIN, TextToInt(u"-2147483648"));
    EXPECT_EQ(INT_MAX, TextToInt(u"2147483647"));
    EXPECT_EQ(0, TextToInt(u""));
    EXPECT_EQ(0, TextToInt(u"+"));
}
