#include "web/CommandRunner.h"

#include <QElapsedTimer>

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

TEST(CommandRunnerTest, StatusTellsHowTheCommandEnded)
{
    CommandStatus status;
    EXPECT_EQ(RunCommandCapture("echo out; exit 3", -1, &status), "out\n");
    EXPECT_TRUE(status.bStarted);
    EXPECT_FALSE(status.bTimedOut);
    EXPECT_EQ(status.nExitCode, 3);
    RunCommandCapture("kill -9 $$", -1, &status);
    EXPECT_EQ(status.nExitCode, -1);
}

TEST(CommandRunnerTest, TimeOutStopsTheCommandAndWhatItStarted)
{
    // The background child keeps the output open; it has to go too.
    QElapsedTimer timer;
    timer.start();
    CommandStatus status;
    const QString output = RunCommandCapture("echo begun; sleep 30 & sleep 30", 300, &status);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_TRUE(status.bTimedOut);
    EXPECT_EQ(status.nExitCode, -1);
    EXPECT_EQ(output, "begun\n");
}

} // namespace
