#include "FileModes.h"
#include "ProcessHelpers.h"
#include "TempFolder.h"
#include "Updater.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/mount.h>
#include <thread>
#include <utility>

using namespace testhelp;
using updater::RunUpdater;

namespace {

const std::string kConfirmText = "软件需要升级，升级的作用是让软件更好用！";
const std::string kConfirmCaption = "软件更新确认";
const std::string kNotAProgram = "update文件夹中的新主程序不完整或不能在本机运行，没有升级，原主程序照常使用。";
const std::string kCopyFailedTail = "\n可以尝试手动复制update文件夹主程序覆盖根目录主程序。";

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
    bool StartProgram(const std::string& path) override
    {
        started.push_back(path);
        return true;
    }
    bool StartAndAwaitReady(const std::string& path, std::string& failure) override
    {
        awaited.push_back(path);
        if (startFailures.empty())
            return true;
        failure = startFailures.front();
        startFailures.pop_front();
        return failure.empty();
    }

    std::vector<std::pair<std::string, std::string>> questions;
    std::vector<std::string> messages;
    std::vector<std::string> started; // without waiting
    std::vector<std::string> awaited; // waiting for the program's word
    // Why the awaited starts fail in turn (empty: it starts); a start beyond
    // them succeeds.
    std::deque<std::string> startFailures;

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
    EXPECT_EQ(seams.awaited, std::vector<std::string>{target});
    EXPECT_TRUE(seams.started.empty());
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
    EXPECT_TRUE(seams.awaited.empty());
    EXPECT_TRUE(seams.messages.empty());
}

TEST_F(UpdaterRun, WithoutArgumentsOnlyStartsTheProgram)
{
    RecordingSeams seams(true);

    EXPECT_EQ(RunUpdater(0, folder, seams), -1);

    EXPECT_TRUE(seams.questions.empty());
    EXPECT_EQ(seams.started, std::vector<std::string>{target});
    EXPECT_TRUE(seams.awaited.empty());
    ExpectUntouched();
}

TEST_F(UpdaterRun, AnUnusableDownloadIsRefusedAndEndsAndStartsNothing)
{
    std::string otherMachine = newBytes;
    otherMachine[18] = static_cast<char>(otherMachine[18] ^ 0x40); // e_machine
    const struct
    {
        const char* kind;
        std::optional<std::string> bytes; // none: missing
        std::string message;
    } cases[] = {
        {"missing", std::nullopt, "升级出错: 找不到文件（错误号 2）" + kCopyFailedTail},
        {"empty", "", kNotAProgram},
        {"cut at half", newBytes.substr(0, newBytes.size() / 2), kNotAProgram},
        {"cut short at its end", newBytes.substr(0, newBytes.size() - 3 - 8), kNotAProgram}, // 8 bytes before the mark
        {"an error page", "<html><body>502 Bad Gateway</body></html>", kNotAProgram},
        {"a shell script", "#!/bin/sh\nrm -rf \"$HOME\"\n", kNotAProgram},
        {"a program for another machine", otherMachine, kNotAProgram},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        std::remove(source.c_str());
        if (c.bytes) {
            WriteFile(source, *c.bytes);
            std::filesystem::permissions(source, std::filesystem::perms::owner_all);
        }
        RecordingSeams seams(true);

        EXPECT_EQ(RunUpdater(1, folder, seams), 0);

        EXPECT_EQ(seams.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(seams.started.empty());
        EXPECT_TRUE(seams.awaited.empty());
        ExpectUntouched();
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename().string().find(".new-"), std::string::npos) << entry.path();
    }
}

TEST_F(UpdaterRun, EveryRunningInstanceIsEnded)
{
    std::vector<std::unique_ptr<ChildProcess>> more;
    for (int i = 0; i < 2; ++i)
        more.push_back(std::make_unique<ChildProcess>(target));
    WaitForStartedPids(folder, 3);
    RecordingSeams seams(true);

    EXPECT_EQ(RunUpdater(1, folder, seams), 0);

    EXPECT_TRUE(running->WaitForExit());
    for (const auto& instance : more)
        EXPECT_TRUE(instance->WaitForExit());
    EXPECT_EQ(ReadFile(target), newBytes);
    EXPECT_EQ(seams.awaited, std::vector<std::string>{target});
    EXPECT_TRUE(seams.messages.empty());
}

// An installation whose program is named "Tembra" (start-up accepts it) is
// updated in place: no second program beside it, the old one not left running.
TEST_F(UpdaterRun, AProgramNamedTembraIsUpdatedInPlace)
{
    running.reset();
    std::remove(target.c_str());
    const std::string capital = folder + "Tembra";
    InstallFakeProgram(capital, "old");
    ChildProcess instance(capital);
    RecordingSeams seams(true);

    EXPECT_EQ(RunUpdater(1, folder, seams), 0);

    EXPECT_TRUE(instance.WaitForExit());
    EXPECT_EQ(ReadFile(capital), newBytes);
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(seams.awaited, std::vector<std::string>{capital});

    RecordingSeams plain(true);
    EXPECT_EQ(RunUpdater(0, folder, plain), -1);
    EXPECT_EQ(plain.started, std::vector<std::string>{capital});
}

// The old program is kept beside the new one until the new one has said
// that it started; then it is put back, started and the reason said.
TEST_F(UpdaterRun, ANewProgramThatDoesNotStartIsReplacedByTheOldOne)
{
    RecordingSeams seams(true);
    seams.startFailures = {"原因"};

    EXPECT_EQ(RunUpdater(1, folder, seams), 0);

    EXPECT_TRUE(running->WaitForExit());
    EXPECT_EQ(ReadFile(target), oldBytes);
    EXPECT_EQ(seams.awaited, std::vector<std::string>{target});
    EXPECT_EQ(seams.started, std::vector<std::string>{target});
    EXPECT_EQ(seams.messages, std::vector<std::string>{"新主程序无法启动：原因。已恢复并启动原主程序。"});
    EXPECT_FALSE(FileExists(target + ".old"));

    // Once the new one starts, the old one is not kept.
    InstallFakeProgram(source, "newer");
    RecordingSeams again(true);
    EXPECT_EQ(RunUpdater(1, folder, again), 0);
    EXPECT_EQ(ReadFile(target), ReadFile(source));
    EXPECT_FALSE(FileExists(target + ".old"));
}

// A folder that cannot be written is said with its cause and number; the
// running program and its file stay as they were, nothing is left behind.
TEST_F(UpdaterRun, AFolderThatCannotBeWrittenIsSaidWithItsCause)
{
    RecordingSeams seams(true);
    {
        // As a user whom the folder's modes bind (the tests run as root).
        ReadOnlyFolder readOnly(QString::fromStdString(folder));
        std::thread([&] {
            const BoundByFileModes bound;
            EXPECT_EQ(RunUpdater(1, folder, seams), 0);
        }).join();
    }
    EXPECT_EQ(seams.messages,
              std::vector<std::string>{"升级出错: 没有读写权限，程序文件夹可能是只读的（错误号 13）" + kCopyFailedTail});
    EXPECT_TRUE(seams.awaited.empty());
    ExpectUntouched();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find(".new-"), std::string::npos) << entry.path();
}

// A program folder on a full disk: a small file system of its own.
class UpdaterOnAFullDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = CanonicalFolder(temp) + "disk/";
        std::filesystem::create_directory(folder);
        const auto programSize = FakeProgramSize();
        // Room for the program, its download and the log, not for a third copy.
        const std::string options = "size=" + std::to_string((programSize * 5 / 2 / 4096 + 1) * 4096);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
            GTEST_SKIP() << "no file system can be mounted here: " << std::strerror(errno);
        mounted = true;
        target = folder + "tembra";
        InstallFakeProgram(target, "old");
        InstallFakeProgram(folder + "update/tembra", "new");
        oldBytes = ReadFile(target);
        running.emplace(target);
        WaitForStartedPids(folder, 1);
    }
    void TearDown() override
    {
        running.reset();
        if (mounted)
            ::umount2(folder.c_str(), MNT_DETACH);
    }

    TempFolder temp;
    std::string folder, target, oldBytes;
    bool mounted = false;
    std::optional<ChildProcess> running;
};

TEST_F(UpdaterOnAFullDisk, IsSaidWithItsCause)
{
    RecordingSeams seams(true);

    EXPECT_EQ(RunUpdater(1, folder, seams), 0);

    EXPECT_EQ(seams.messages, std::vector<std::string>{"升级出错: 磁盘空间不足（错误号 28）" + kCopyFailedTail});
    EXPECT_TRUE(seams.awaited.empty());
    EXPECT_TRUE(running->IsRunning());
    EXPECT_EQ(ReadFile(target), oldBytes);
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find(".new-"), std::string::npos) << entry.path();
}

} // namespace
