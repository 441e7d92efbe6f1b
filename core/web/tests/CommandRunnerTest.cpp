#include "web/CommandRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandRunnerTest, CapturesOutputAndErrorWhole)
{
    EXPECT_EQ(RunCommandCapture("true"), "");
    EXPECT_EQ(RunCommandCapture("echo out; echo err 1>&2; exit 3"), "out\nerr\n");
    EXPECT_EQ(RunCommandCapture("head -c 100000 /dev/zero | tr '\\0' x"), QString(100000, 'x'));
}

TEST(CommandRunnerTest, ChineseOutputIsDecodedInOnePiece)
{
    // 5000 times the code page 936 bytes of U+4E2D; reads of the pipe split
    // somewhere, never a character.
    const QString output = RunCommandCapture(
        "i=0; while [ $i -lt 5000 ]; do printf '\\326\\320'; i=$((i+1)); done; printf x");
    EXPECT_EQ(output, QString(5000, QChar(0x4E2D)) + "x");
}

TEST(CommandRunnerTest, CommandsThatReadInputGetItsEnd)
{
    EXPECT_EQ(RunCommandCapture("cat"), "");
    EXPECT_EQ(RunCommandCapture("read x; echo \"got:$x\""), "got:\n");
}

} // namespace
