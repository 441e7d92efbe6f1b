#include "ProcessHelpers.h"
#include "Processes.h"
#include "TempFolder.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testhelp;
using updater::EndInstances;
using updater::InstancesOf;

namespace {

TEST(GetModuleFolder, IsTheFolderOfTheRunningProgram)
{
    const std::string folder = updater::GetModuleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder + "updater_processes_test", updater::ExecutablePathOf(::getpid()));
}

TEST(EndInstances, EndsEveryInstanceOfThatPathOnly)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    InstallFakeProgram(folder + "tembra");
    InstallFakeProgram(folder + "other/tembra");
    InstallFakeProgram(folder + "Tembra"); // Linux names differ by letter case
    ChildProcess other(folder + "other/tembra");
    ChildProcess otherCase(folder + "Tembra");
    ChildProcess first(folder + "tembra");
    ChildProcess second(folder + "tembra");
    ChildProcess third(folder + "tembra");
    WaitForStartedPids(folder, 4);

    EXPECT_EQ(InstancesOf(folder + "tembra").size(), 3u);
    EXPECT_TRUE(EndInstances(folder + "tembra"));

    for (ChildProcess* instance : {&first, &second, &third}) {
        const auto status = instance->WaitForExit();
        ASSERT_TRUE(status);
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
    }
    EXPECT_TRUE(other.IsRunning());
    EXPECT_TRUE(otherCase.IsRunning());
    EXPECT_TRUE(InstancesOf(folder + "tembra").empty());
    EXPECT_TRUE(EndInstances(folder + "tembra")); // none left to end
    EXPECT_TRUE(other.IsRunning());
    EXPECT_TRUE(otherCase.IsRunning());
}

TEST(EndInstances, EndsAProgramThatIgnoresTheRequestForcibly)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    InstallFakeProgram(folder + "tembra");
    ChildProcess target(folder + "tembra", {"ignore-term"});
    WaitForStartedPids(folder, 1); // SIGTERM is ignored from here on

    EXPECT_TRUE(EndInstances(folder + "tembra"));

    const auto status = target.WaitForExit();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
}

TEST(EndInstances, FindsAProgramWhoseFileWasReplaced)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    InstallFakeProgram(folder + "tembra");
    ChildProcess target(folder + "tembra");
    InstallFakeProgram(folder + "new", "new");
    ASSERT_EQ(std::rename((folder + "new").c_str(), (folder + "tembra").c_str()), 0);

    EXPECT_EQ(InstancesOf(folder + "tembra"), std::vector<pid_t>{target.Pid()});
    EXPECT_TRUE(EndInstances(folder + "tembra"));
    EXPECT_TRUE(target.WaitForExit());
}

TEST(EndInstances, NeverEndsTheCallerAndFindsNothingForAnEmptyPath)
{
    EXPECT_TRUE(InstancesOf(updater::ExecutablePathOf(::getpid())).empty());
    EXPECT_TRUE(EndInstances(updater::ExecutablePathOf(::getpid())));
    EXPECT_TRUE(InstancesOf("").empty());
}

} // namespace
