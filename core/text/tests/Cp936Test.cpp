#include "text/Cp936.h"

#include <gtest/gtest.h>

TEST(Cp936, ChineseRoundTripsAndMatchesKnownBytes)
{
    const QString text = QString::fromUtf8("中文 abc 出错!");
    const QByteArray bytes = ToCp936(text);
    EXPECT_EQ(QByteArray("\xD6\xD0\xCE\xC4 abc \xB3\xF6\xB4\xED!"), bytes);
    EXPECT_EQ(text, FromCp936(bytes));
}

TEST(Cp936, BadInputIsReplacedNotDropped)
{
    // A lone lead byte at the end and a character outside code page 936.
    EXPECT_EQ(QString::fromUtf8("a\uFFFD"), FromCp936(QByteArray("a\xD6")));
    // An emoji is two UTF-16 units outside the code page: one "?" each.
    EXPECT_EQ(QByteArray("a??b"), ToCp936(QString::fromUtf8("a\U0001F600b")));
    EXPECT_TRUE(FromCp936(QByteArray()).isEmpty());
}
