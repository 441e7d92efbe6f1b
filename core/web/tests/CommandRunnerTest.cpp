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

// Each value, put in outside quotes, inside '...' and inside "...", reaches
// the command as exactly the text it was.
TEST(CommandRunnerTest, FilledValuesStayOnePieceOfText)
{
    const QString hostile[] = {"plain", "", "a b", "it's; rm -rf /tmp/x", "\"$HOME\" `id` $(id)", "back\\slash\\",
                               "line\nbreak", "中文 '引号'"};
    for (const QString& value : hostile) {
        for (const QString form : {"printf '%s|' {{v}}", "printf '%s|' 'x{{v}}y'", "printf '%s|' \"x{{v}}y\""}) {
            const QString command = FillShellValues(form, {{"{{v}}", value}});
            const QString expected = form.contains("x{{v}}y") ? "x" + value + "y|" : value + "|";
            CommandStatus status;
            EXPECT_EQ(RunCommandCapture(command, 5000, &status), expected) << command.toStdString();
            EXPECT_EQ(status.nExitCode, 0) << command.toStdString();
        }
    }
    // A value holding a token is not filled again.
    EXPECT_EQ(FillShellValues("echo {{a}} {{b}}", {{"{{a}}", "{{b}}"}, {"{{b}}", "x"}}), "echo '{{b}}' 'x'");
}

} // namespace
