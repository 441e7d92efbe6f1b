#include "ProcessHelpers.h"
#include "TempFolder.h"
#include "Updater.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

using namespace testhelp;
using updater::RunUpdater;

namespace {

const std::string kConfirmText = "软件需要升级，升级的作用是让软件更好用！";
const std::string kConfirmCaption = "软件更新确认";

// Answers the question as told and notes what the updater asks, shows and starts.
class RecordingSeams : public updater::UpdaterSeams
{
public:
    explicit RecordingSeams(bool answer) : m_answer(answer) {}

    bool Confirm(const std::string& text, const std::string& caption) override
    {
        questions.emplace_back(text, caption);
        return m_answer;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void StartProgram(const std::string& path) override { started.push_back(path); }

    std::vector<std::pair<std::string, std::string>> questions;
    std::vector<std::string> messages;
    std::vector<std::string> started;

private:
    bool m_answer;
};

// A program folder with a running main program and a downloaded new one.
class UpdaterRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = CanonicalFolder(temp);
        target = folder + "tembra";
        source = folder + "update/tembra";
        InstallFakeProgram(target, "old");
        InstallFakeProgram(source, "new");
        oldBytes = ReadFile(target);
        newBytes = ReadFile(source);
        running.emplace(target);
    }

    void ExpectUntouched()
    {
        EXPECT_TRUE(running->IsRunning());
        EXPECT_EQ(ReadFile(target), oldBytes);
    }

    TempFolder temp;
    std::string folder, target, source, oldBytes, newBytes;
    std::optional<ChildProcess> running;
};

TEST_F(UpdaterRun, YesEndsTheProgramReplacesItAndStartsTheNewOne)
{
    InstallFakeProgram(folder + "other/tembra");
    ChildProcess other(folder + "other/tembra");
    RecordingSeams seams(true);

    EXPECT_EQ(RunUpdater(1, folder, seams), 0);

    EXPECT_EQ(seams.questions, (decltype(seams.questions){{kConfirmText, kConfirmCaption}}));
    EXPECT_TRUE(running->WaitForExit());
    EXPECT_EQ(ReadFile(target), newBytes);
    EXPECT_EQ(seams.started, std::vector<std::string>{target});
    EXPECT_TRUE(seams.messages.empty());
    EXPECT_TRUE(FileExists(source)); // the main program removes the update folder
    EXPECT_TRUE(other.IsRunning());
}

TEST_F(UpdaterRun, NoTouchesNothing)
{
    RecordingSeams seams(false);

    EXPECT_EQ(RunUpdater(1, folder, seams), 0);

    EXPECT_EQ(seams.questions.size(), 1u);
    ExpectUntouched();
    EXPECT_EQ(ReadFile(source), newBytes);
    EXPECT_TRUE(seams.started.empty());
    EXPECT_TRUE(seams.messages.empty());
}

TEST_F(UpdaterRun, WithoutArgumentsOnlyStartsTheProgram)
{
    RecordingSeams seams(true);

    EXPECT_EQ(RunUpdater(0, folder, seams), -1);

    EXPECT_TRUE(seams.questions.empty());
    EXPECT_EQ(seams.started, std::vector<std::string>{target});
    ExpectUntouched();
}

TEST_F(UpdaterRun, AnUnusableDownloadShowsTheErrorNumberAndEndsAndStartsNothing)
{
    const std::pair<const char*, std::string> cases[] = {
        {"missing", "升级出错: 2 \n可以尝试手动复制update文件夹主程序覆盖根目录主程序。"},
        {"empty", "升级出错: 8 \n可以尝试手动复制update文件夹主程序覆盖根目录主程序。"},
    };
    for (const auto& [kind, message] : cases) {
        SCOPED_TRACE(kind);
        if (std::string(kind) == "missing")
            std::remove(source.c_str());
        else
            WriteFile(source, "");
        RecordingSeams seams(true);

        EXPECT_EQ(RunUpdater(1, folder, seams), 0);

        EXPECT_EQ(seams.messages, std::vector<std::string>{message});
        EXPECT_TRUE(seams.started.empty());
        ExpectUntouched();
    }
}

} // namespace
