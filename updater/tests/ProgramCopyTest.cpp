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

TEST(ProgramCopy, ReplacesTheTargetByAnExecutableCopyAndLeavesNothingElse)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    WriteFile(folder + "tembra", "old program");
    WriteFile(folder + "new", "new program");

    ProgramCopy copy(folder + "tembra");
    ASSERT_TRUE(copy.Stage(folder + "new"));
    EXPECT_EQ(ReadFile(folder + "tembra"), "old program"); // untouched until the commit
    ASSERT_TRUE(copy.Commit());

    EXPECT_EQ(ReadFile(folder + "tembra"), "new program");
    const auto perms = std::filesystem::status(folder + "tembra").permissions();
    EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
    EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"tembra", "new"}));
}

TEST(ProgramCopy, AnUncommittedCopyIsRemovedAndTheTargetKept)
{
    TempFolder temp;
    const std::string folder = CanonicalFolder(temp);
    WriteFile(folder + "tembra", "old program");
    WriteFile(folder + "new", "new program");
    {
        ProgramCopy copy(folder + "tembra");
        ASSERT_TRUE(copy.Stage(folder + "new"));
    }
    EXPECT_EQ(ReadFile(folder + "tembra"), "old program");
    EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"tembra", "new"}));
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
    WriteFile(folder + "tembra", "old program");
    WriteFile(folder + "empty", "");
    std::filesystem::create_directory(folder + "folder");
    const auto before = FilesIn(folder);

    ProgramCopy copy(folder + GetParam().target);
    EXPECT_FALSE(copy.Stage(folder + GetParam().source) && copy.Commit());
    EXPECT_EQ(copy.Error(), GetParam().error);
    EXPECT_EQ(ReadFile(folder + "tembra"), "old program");
    EXPECT_EQ(FilesIn(folder), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramCopyFailure,
    ::testing::Values(
        FailureCase{"MissingSource", "update/tembra", "tembra", ENOENT},
        FailureCase{"EmptySource", "empty", "tembra", ENOEXEC},
        FailureCase{"SourceIsAFolder", "folder", "tembra", EISDIR},
        FailureCase{"TargetFolderMissing", "tembra", "gone/tembra", ENOENT},
        FailureCase{"TargetIsAFolder", "tembra", "folder", EISDIR}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
