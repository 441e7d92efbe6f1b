#include "web/CommandRunner.h"

#include "TempFolder.h"
#include "web/CommandProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// How a command run by RunCommandCapture ended.
struct CommandStatus
{
    bool bStarted = false;
    bool bTimedOut = false; // stopped, with everything it had started, after the time-out
    int nExitCode = -1;     // the exit status of a command that ended by itself, else -1
};

// Runs the command as the cmd action does and gives everything it wrote;
// one still running after timeoutMs (-1: no limit) is stopped.
QString RunCommandCapture(const QString& command, int timeoutMs = -1, CommandStatus* status = nullptr)
{
    CommandStatus outcome;
    CCommandProcess process;
    if (process.Start(command)) {
        outcome.bStarted = true;
        if (!process.WaitForEnd(timeoutMs)) {
            outcome.bTimedOut = true;
            process.Stop();
        }
        outcome.nExitCode = process.ExitCode();
    }
    if (status)
        *status = outcome;
    return outcome.bStarted ? process.Output() : QString();
}

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

// Each value, put in outside quotes, inside '...' and inside "...", at the
// top level and inside command substitutions (whose text the shell reads
// again as a command), reaches the command as exactly the text it was.
TEST(CommandRunnerTest, FilledValuesStayOnePieceOfText)
{
    const QString hostile[] = {"plain", "", "a b", "it's; rm -rf /tmp/x", "\"$HOME\" `id` $(id)", "back\\slash\\",
                               "line\nbreak", "中文 '引号'", "x; echo pwned; echo ", "\")\"; echo pwned; (\"", "*"};
    const struct {
        QString form;
        bool framed; // the value stands between "x" and "y"
    } forms[] = {
        {"printf '%s|' {{v}}", false},
        {"printf '%s|' 'x{{v}}y'", true},
        {"printf '%s|' \"x{{v}}y\"", true},
        {"printf '%s|' \"$(printf '%s' {{v}})\"", false},
        {"printf '%s|' \"$(printf '%s' \"x{{v}}y\")\"", true},
        {"printf '%s|' \"$(printf '%s' 'x{{v}}y')\"", true},
        {"printf '%s|' \"$(printf '%s' \"$(printf '%s' {{v}})\")\"", false},
        {"printf '%s|' \"$( (printf '%s' {{v}}) )\"", false},
        {"printf '%s|' \"`printf '%s' {{v}}`\"", false},
        {"printf '%s|' \"`printf '%s' 'x{{v}}y'`\"", true},
        {"v=`printf '%s' {{v}}`; printf '%s|' \"$v\"", false},
        {"printf '%s|' \"${unset_tembra_name:-x{{v}}y}\"", true},
    };
    for (const QString& value : hostile) {
        for (const auto& form : forms) {
            const QString command = FillShellValues(form.form, {{"{{v}}", value}});
            const QString expected = form.framed ? "x" + value + "y|" : value + "|";
            CommandStatus status;
            EXPECT_EQ(RunCommandCapture(command, 5000, &status), expected) << command.toStdString();
            EXPECT_EQ(status.nExitCode, 0) << command.toStdString();
        }
    }
    // A value holding a token is not filled again.
    EXPECT_EQ(RunCommandCapture(FillShellValues("printf '%s|' {{a}} {{b}}", {{"{{a}}", "{{b}}"}, {"{{b}}", "x"}})),
              "{{b}}|x|");
}

// What the busy window and the messages show: the template with the values
// as they are, in the same one pass (a value holding a token stays as it is).
TEST(CommandRunnerTest, ShownCommandHoldsTheValuesAsTyped)
{
    EXPECT_EQ(ShowShellValues("ls -la {{p1}}", {{"{{p1}}", "/tmp/it's here"}}), "ls -la /tmp/it's here");
    EXPECT_EQ(ShowShellValues("echo {{a}} '{{b}}'", {{"{{a}}", "{{b}}"}, {"{{b}}", "x"}}), "echo {{b}} 'x'");
    EXPECT_EQ(ShowShellValues("date", {}), "date");
}

// Hostile values in every place a template can put a token, run in an empty
// folder: no command of theirs runs, so no file appears.
TEST(CommandRunnerTest, NoValueRunsAsACommand)
{
    const QString hostile[] = {
        "x; touch pwned1; echo ", "$(touch pwned2)", "`touch pwned3`", "'; touch pwned4; '", "\"; touch pwned5; \"",
        "\\\"; touch pwned6 #", "x\ntouch pwned7\n", "x)\"; touch pwned8; echo \"$(", "x`; touch pwned9; echo `",
        "x\nEOF\ntouch pwned10\n",
    };
    const QString templates[] = {
        "echo {{v}}", "echo '{{v}}'", "echo \"{{v}}\"",
        "echo \"$(echo {{v}})\"", "echo $(echo {{v}})", "echo \"$(echo \"{{v}}\")\"", "echo \"$(echo '{{v}}')\"",
        "echo $(echo $(echo {{v}}))", "echo \"$(echo \"$(echo {{v}})\")\"",
        "echo \"`echo {{v}}`\"", "echo `echo {{v}}`", "echo `echo \"{{v}}\"`", "echo \"`echo '{{v}}'`\"",
        "echo \"${x:-{{v}}}\"", "echo ${x:-{{v}}}", "echo $((1+{{v}}))", ": # {{v}}",
        "cat <<EOF\n{{v}}\nEOF", "echo \"$(cat <<EOF\n{{v}}\nEOF\n)\"",
    };
    TempFolder folder;
    for (const QString& value : hostile) {
        for (const QString& form : templates) {
            const QString command = FillShellValues(form, {{"{{v}}", value}});
            RunCommandCapture("cd '" + folder.path() + "' || exit\n" + command, 5000);
            EXPECT_TRUE(QDir(folder.path()).isEmpty()) << command.toStdString();
            for (const QString& made : QDir(folder.path()).entryList(QDir::Files))
                QFile::remove(folder.path() + made);
        }
    }
}

} // namespace
