#include "ProcessHelpers.h"
#include "Processes.h"
#include "TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace testhelp;

namespace {

// The real `up` program, copied into a program folder beside a fake main
// program. The programs it starts outlive it; as a subreaper this test
// becomes their parent and reaps them after ending them.
class UpProgram : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { BecomeSubreaper(); }

    void SetUp() override
    {
        folder = CanonicalFolder(temp);
        target = folder + "tembra";
        InstallFakeProgram(target, "old");
        InstallFakeProgram(folder + "update/tembra", "new");
        WriteFile(folder + "up", ReadFile(UP_PROGRAM_PATH));
        std::filesystem::permissions(folder + "up", std::filesystem::perms::owner_all);
    }

    // Runs `up` with its standard input from /dev/null; returns its exit code.
    int RunUp(const std::vector<std::string>& arguments)
    {
        ChildProcess up(folder + "up", arguments);
        const auto status = up.WaitForExit();
        if (!status || !WIFEXITED(*status))
            return -1000;
        return WEXITSTATUS(*status);
    }

    // Checks that `pid` runs the target, then ends and reaps it.
    void ExpectRunsTargetThenEnd(pid_t pid)
    {
        EXPECT_EQ(updater::ExecutablePathOf(pid), target);
        EXPECT_TRUE(updater::KillProcessByPath(target));
        EXPECT_TRUE(ReapEnded(pid));
    }

    TempFolder temp;
    std::string folder, target;
};

TEST_F(UpProgram, WithoutArgumentsOnlyStartsTheProgram)
{
    const std::string oldBytes = ReadFile(target);

    EXPECT_EQ(RunUp({}), 255); // -1

    const auto pids = WaitForStartedPids(folder, 1);
    ASSERT_EQ(pids.size(), 1u);
    ExpectRunsTargetThenEnd(pids[0]);
    EXPECT_EQ(ReadFile(target), oldBytes);
}

TEST_F(UpProgram, StartedWithoutATerminalUpdatesTheRunningProgram)
{
    const std::string newBytes = ReadFile(folder + "update/tembra");
    ChildProcess running(target);
    WaitForStartedPids(folder, 1);

    EXPECT_EQ(RunUp({"-d"}), 0);

    EXPECT_TRUE(running.WaitForExit());
    EXPECT_EQ(ReadFile(target), newBytes);
    const auto pids = WaitForStartedPids(folder, 2);
    ASSERT_EQ(pids.size(), 2u);
    EXPECT_EQ(pids[0], running.Pid());
    ExpectRunsTargetThenEnd(pids[1]);
}

} // namespace
