#include "text/TextScramble.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QString RandomText(QRandomGenerator& random, int length)
{
    QString text(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        text[i] = QChar(static_cast<char16_t>(random.bounded(0x10000)));
    return text;
}

} // namespace

TEST(TextScramble, RoundTripsRandomTextsWithBothKeys)
{
    QRandomGenerator random(20240309);
    for (int key : {1, 8}) {
        for (int length = 0; length < 120; ++length) {
            const QString text = RandomText(random, length);
            const QString scrambled = ScrambleText(text, key);
            ASSERT_EQ(text.size(), scrambled.size());
            ASSERT_EQ(text, UnscrambleText(scrambled, key)) << "key " << key << " length " << length;
        }
    }
}

TEST(TextScramble, ShiftsByPositionAndLengthTerms)
{
    // Length 3: length term 3, position terms 0, 3, 6.
    EXPECT_EQ(QString("^bf"), ScrambleText("abc", 1));
    EXPECT_EQ(QString("abc"), UnscrambleText("^bf", 1));
    // Length 20: length term 0, so the first unit is unchanged; then +3, +6, +2.
    const QString twenty = QString(20, u'A');
    const QString scrambled = ScrambleText(twenty, 1);
    EXPECT_EQ(QString("ADGCFBEADGCFBEADGCFB"), scrambled);
}

TEST(TextScramble, WrapsAroundSixteenBits)
{
    // Unit 0 less the length term 1 wraps to 0xFFFF and comes back.
    const QString text(1, QChar(u'\0'));
    const QString scrambled = ScrambleText(text, 1);
    EXPECT_EQ(0xFFFF, scrambled[0].unicode());
    EXPECT_EQ(text, UnscrambleText(scrambled, 1));

    const QString top(2, QChar(char16_t(0xFFFF)));
    // Position 1 adds 3 - 2 = 1 to 0xFFFF.
    EXPECT_EQ(0, ScrambleText(top, 1)[1].unicode());
    EXPECT_EQ(top, UnscrambleText(ScrambleText(top, 1), 1));
}

TEST(TextScramble, NullUnitKeepsLengthAndContent)
{
    // "\x01" alone: 1 + 0 - 1 = 0, a null unit inside the result.
    const QString text = QString(QChar(u'\x01'));
    const QString scrambled = ScrambleText(text, 1);
    ASSERT_EQ(1, scrambled.size());
    EXPECT_EQ(0, scrambled[0].unicode());
    EXPECT_EQ(text, UnscrambleText(scrambled, 1));
}

TEST(TextScramble, ChineseAndKeysOneAndEightAgree)
{
    const QString text = QStringLiteral("服务器=数据库;UID=sa;PWD=密码'%[\"");
    EXPECT_EQ(ScrambleText(text, 1), ScrambleText(text, 8));
    EXPECT_EQ(text, UnscrambleText(ScrambleText(text, 1), 1));
    EXPECT_NE(text, ScrambleText(text, 1));
    EXPECT_TRUE(ScrambleText(QString(), 1).isEmpty());
}
