#include "ProcessHelpers.h"
#include "Processes.h"
#include "TempFolder.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testhelp;
using updater::KillProcessByPath;

namespace {

TEST(GetModuleFolder, IsTheFolderOfTheRunningProgram)
{
    const std::string folder = updater::GetModuleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder + "updater_processes_test", updater::ExecutablePathOf(::getpid()));
}

TEST(KillProcessByPath, EndsTheProgramWithThatPathOnly)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    InstallFakeProgram(folder + "tembra");
    InstallFakeProgram(folder + "other/tembra");
    InstallFakeProgram(folder + "Tembra"); // Linux names differ by letter case
    ChildProcess other(folder + "other/tembra");
    ChildProcess otherCase(folder + "Tembra");
    ChildProcess target(folder + "tembra");

    EXPECT_TRUE(KillProcessByPath(folder + "tembra"));

    const auto status = target.WaitForExit();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
    EXPECT_TRUE(other.IsRunning());
    EXPECT_TRUE(otherCase.IsRunning());
    EXPECT_FALSE(KillProcessByPath(folder + "tembra")); // none left
    EXPECT_TRUE(other.IsRunning());
    EXPECT_TRUE(otherCase.IsRunning());
}

TEST(KillProcessByPath, EndsAProgramThatIgnoresTheRequestForcibly)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    InstallFakeProgram(folder + "tembra");
    ChildProcess target(folder + "tembra", {"ignore-term"});
    WaitForStartedPids(folder, 1); // SIGTERM is ignored from here on

    EXPECT_TRUE(KillProcessByPath(folder + "tembra"));

    const auto status = target.WaitForExit();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
}

TEST(KillProcessByPath, FindsAProgramWhoseFileWasReplaced)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    InstallFakeProgram(folder + "tembra");
    ChildProcess target(folder + "tembra");
    InstallFakeProgram(folder + "new", "new");
    ASSERT_EQ(std::rename((folder + "new").c_str(), (folder + "tembra").c_str()), 0);

    EXPECT_TRUE(KillProcessByPath(folder + "tembra"));
    EXPECT_TRUE(target.WaitForExit());
}

TEST(KillProcessByPath, NeverEndsTheCallerAndFindsNothingForAnEmptyPath)
{
    EXPECT_FALSE(KillProcessByPath(updater::ExecutablePathOf(::getpid())));
    EXPECT_FALSE(KillProcessByPath(""));
}

} // namespace
