#include "ProcessHelpers.h"
#include "ProgramCopy.h"
#include "TempFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace testhelp;
using updater::ProgramCopy;

namespace {

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(ProgramCopy, ReplacesTheTargetByAnExecutableCopyAndKeepsTheOldOneUntilDropped)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    WriteFile(folder + "tembra", "old program");
    InstallFakeProgram(folder + "new", "new");
    const std::string newBytes = ReadFile(folder + "new");

    ProgramCopy copy(folder + "tembra");
    ASSERT_TRUE(copy.Stage(folder + "new"));
    EXPECT_EQ(ReadFile(folder + "tembra"), "old program"); // untouched until the commit
    ASSERT_TRUE(copy.Commit());

    EXPECT_EQ(ReadFile(folder + "tembra"), newBytes);
    const auto perms = std::filesystem::status(folder + "tembra").permissions();
    EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
    EXPECT_EQ(ReadFile(folder + "tembra.old"), "old program");
    copy.DropOld();
    EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"tembra", "new"}));
}

// A staged copy that is never committed is removed with the object; a
// committed one can be taken back: either way the old program is in place
// and nothing else is left.
TEST(ProgramCopy, UncommittedOrRestoredCopiesLeaveTheOldProgram)
{
    for (const bool commitAndRestore : {false, true}) {
        SCOPED_TRACE(commitAndRestore ? "restored" : "uncommitted");
        TempFolder temp;
        const std::string folder = CanonicalFolder(temp);
        WriteFile(folder + "tembra", "old program");
        InstallFakeProgram(folder + "new", "new");
        {
            ProgramCopy copy(folder + "tembra");
            ASSERT_TRUE(copy.Stage(folder + "new"));
            if (commitAndRestore) {
                ASSERT_TRUE(copy.Commit());
                EXPECT_TRUE(copy.Restore());
            }
        }
        EXPECT_EQ(ReadFile(folder + "tembra"), "old program");
        EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"tembra", "new"}));
    }
}

struct FailureCase
{
    const char* name;
    const char* source;  // relative to the folder
    const char* target;  // relative to the folder
    int error;
};

class ProgramCopyFailure : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(ProgramCopyFailure, ReportsTheErrorAndKeepsTheTarget)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    InstallFakeProgram(folder + "tembra", "old");
    const std::string oldBytes = ReadFile(folder + "tembra");
    WriteFile(folder + "empty", "");
    WriteFile(folder + "script", "#!/bin/sh\necho\n");
    std::filesystem::create_directory(folder + "folder");
    const auto before = FilesIn(folder);

    ProgramCopy copy(folder + GetParam().target);
    EXPECT_FALSE(copy.Stage(folder + GetParam().source) && copy.Commit());
    EXPECT_EQ(copy.Error(), GetParam().error);
    EXPECT_EQ(ReadFile(folder + "tembra"), oldBytes);
    EXPECT_EQ(FilesIn(folder), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramCopyFailure,
    ::testing::Values(
        FailureCase{"MissingSource", "update/tembra", "tembra", ENOENT},
        FailureCase{"EmptySource", "empty", "tembra", ENOEXEC},
        FailureCase{"SourceIsNoProgram", "script", "tembra", ENOEXEC},
        FailureCase{"SourceIsAFolder", "folder", "tembra", EISDIR},
        FailureCase{"TargetFolderMissing", "tembra", "gone/tembra", ENOENT},
        // Keeping the old target beside it (a hard link) is refused first.
        FailureCase{"TargetIsAFolder", "tembra", "folder", EPERM}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
