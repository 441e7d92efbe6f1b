#include "ProcessHelpers.h"
#include "Processes.h"
#include "TempFolder.h"
#include "VirtualDisplay.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testhelp;

namespace {

const std::string kConfirmCaption = "软件更新确认";

// The environment of a session without any display.
std::vector<std::string> WithoutDisplay(const std::vector<std::string>& added = {})
{
    return EnvironmentWith({"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, added);
}

// A terminal whose typed input is given beforehand.
class Terminal
{
public:
    explicit Terminal(const std::string& typed)
    {
        m_controller = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_controller < 0 || ::grantpt(m_controller) != 0 || ::unlockpt(m_controller) != 0)
            return;
        m_path = ::ptsname(m_controller);
        // Held open so that what is typed waits for the reader.
        m_device = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
        if (::write(m_controller, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size()))
            m_path.clear();
    }
    ~Terminal()
    {
        if (m_device >= 0)
            ::close(m_device);
        if (m_controller >= 0)
            ::close(m_controller);
    }
    const std::string& Path() const { return m_path; }

private:
    int m_controller = -1;
    int m_device = -1;
    std::string m_path;
};

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
        source = folder + "update/tembra";
        InstallFakeProgram(target, "old");
        InstallFakeProgram(source, "new");
        oldBytes = ReadFile(target);
        newBytes = ReadFile(source);
        WriteFile(folder + "up", ReadFile(UP_PROGRAM_PATH));
        std::filesystem::permissions(folder + "up", std::filesystem::perms::owner_all);
    }

    std::unique_ptr<ChildProcess> StartUp(const std::vector<std::string>& arguments,
                                          const std::vector<std::string>& environment,
                                          const std::string& input = "/dev/null", const std::string& errors = {})
    {
        return std::make_unique<ChildProcess>(folder + "up", arguments, environment, input, errors);
    }

    // The exit code of `up` once it has ended.
    static int ExitCode(ChildProcess& up, std::chrono::seconds limit = std::chrono::seconds(10))
    {
        const auto status = up.WaitForExit(limit);
        if (!status || !WIFEXITED(*status))
            return -1000;
        return WEXITSTATUS(*status);
    }

    void StartRunningProgram()
    {
        running = std::make_unique<ChildProcess>(target);
        WaitForStartedPids(folder, 1);
    }

    // Checks that `pid` runs the target detached from this test's standard
    // streams, then ends and reaps it.
    void ExpectRunsTargetThenEnd(pid_t pid)
    {
        EXPECT_EQ(updater::ExecutablePathOf(pid), target);
        for (int stream = 0; stream < 3; ++stream)
            EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/fd/" + std::to_string(stream)),
                      "/dev/null")
                << "stream " << stream;
        EXPECT_TRUE(updater::EndInstances(target));
        EXPECT_TRUE(ReapEnded(pid));
    }

    void ExpectReplacedAndRestarted()
    {
        EXPECT_TRUE(running->WaitForExit());
        EXPECT_EQ(ReadFile(target), newBytes);
        const auto pids = WaitForStartedPids(folder, 2);
        ASSERT_EQ(pids.size(), 2u);
        EXPECT_EQ(pids[0], running->Pid());
        ExpectRunsTargetThenEnd(pids[1]);
    }

    void ExpectUntouched()
    {
        EXPECT_TRUE(running->IsRunning());
        EXPECT_EQ(ReadFile(target), oldBytes);
        EXPECT_EQ(ReadFile(folder + "started.log"), std::to_string(running->Pid()) + "\n");
    }

    TempFolder temp;
    std::string folder, target, source, oldBytes, newBytes;
    std::unique_ptr<ChildProcess> running;
};

TEST_F(UpProgram, WithoutArgumentsOnlyStartsTheProgram)
{
    EXPECT_EQ(ExitCode(*StartUp({}, WithoutDisplay())), 255); // -1

    const auto pids = WaitForStartedPids(folder, 1);
    ASSERT_EQ(pids.size(), 1u);
    ExpectRunsTargetThenEnd(pids[0]);
    EXPECT_EQ(ReadFile(target), oldBytes);
}

// Nobody can be asked: no consent, so nothing is ended or replaced.
TEST_F(UpProgram, WithNeitherDisplayNorTerminalTouchesNothing)
{
    const std::vector<std::pair<const char*, std::vector<std::string>>> sessions = {
        {"no display named", WithoutDisplay()},
        {"a display that cannot be reached", WithoutDisplay({"DISPLAY=:65000"})},
    };
    StartRunningProgram();
    for (const auto& [name, environment] : sessions) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ExitCode(*StartUp({"-d"}, environment)), 0);
        ExpectUntouched();
    }
}

TEST_F(UpProgram, WithoutADisplayAsksOnTheTerminal)
{
    const auto answerOnTerminal = [&](const std::string& typed) {
        Terminal terminal(typed);
        EXPECT_FALSE(terminal.Path().empty());
        EXPECT_EQ(ExitCode(*StartUp({"-d"}, WithoutDisplay(), terminal.Path())), 0);
    };
    StartRunningProgram();

    answerOnTerminal("n\n");
    ExpectUntouched();
    answerOnTerminal(" y\n");
    ExpectReplacedAndRestarted();
}

// Whatever the new program does and whatever stands in the way, `up` leaves a
// working program behind: the new one running, or the old one, still running
// or put back and started again, and it says why when it is not the new one.
TEST_F(UpProgram, LeavesAWorkingProgramInEveryCase)
{
    constexpr unsigned kRoot = 0;
    constexpr unsigned kNobody = 65534;
    enum class Outcome { Replaced, Restored, Untouched };
    const std::string restored = "。已恢复并启动原主程序。";
    const struct
    {
        const char* name;
        std::string download; // the marker of a new program, or bytes that are none
        bool downloadIsProgram;
        bool upAsAnotherUser;
        unsigned folderOwner;
        bool runningAsRelativeCommand; // "./tembra" from the program folder
        Outcome outcome;
        std::string message; // what up says, on standard error
    } cases[] = {
        {"a slow but good start", "slow", true, false, kRoot, false, Outcome::Replaced, ""},
        {"a late failure", "late", true, false, kRoot, false, Outcome::Restored,
         "新主程序无法启动：打开登录窗口之前就退出了（退出码 1）" + restored},
        {"exit 0 at once", "exit0", true, false, kRoot, false, Outcome::Restored,
         "新主程序无法启动：打开登录窗口之前就退出了（退出码 0）" + restored},
        {"a hang", "hang", true, false, kRoot, false, Outcome::Restored,
         "新主程序无法启动：30秒内没有打开登录窗口" + restored},
        {"a crash", "crash", true, false, kRoot, false, Outcome::Restored,
         "新主程序无法启动：打开登录窗口之前异常终止（信号 6）" + restored},
        {"a refused file", "<html><body>502 Bad Gateway</body></html>", false, false, kRoot, false,
         Outcome::Untouched, "update文件夹中的新主程序不完整或不能在本机运行，没有升级，原主程序照常使用。"},
        {"a read-only folder", "new", true, true, kRoot, false, Outcome::Untouched,
         "升级出错: 没有读写权限，程序文件夹可能是只读的（错误号 13）\n"
         "可以尝试手动复制update文件夹主程序覆盖根目录主程序。"},
        {"another user's copy", "new", true, true, kNobody, false, Outcome::Untouched,
         "有正在运行的主程序无法结束（可能是其他用户打开的），没有升级。请关闭所有正在运行的主程序后再试。"},
        {"another user's copy started as ./tembra", "new", true, true, kNobody, true, Outcome::Untouched,
         "有正在运行的主程序无法结束（可能是其他用户打开的），没有升级。请关闭所有正在运行的主程序后再试。"},
    };
    TempFolder errorsFolder;
    const std::string errors = CanonicalFolder(errorsFolder) + "up.txt";
    namespace fs = std::filesystem;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The folder as SetUp left it, with this case's download, readable
        // (not writable) by other users.
        ASSERT_TRUE(updater::EndInstances(target));
        fs::remove(folder + "started.log");
        InstallFakeProgram(target, "old");
        if (c.downloadIsProgram)
            InstallFakeProgram(source, c.download);
        else
            WriteFile(source, c.download);
        for (const std::string& path : {folder, folder + "update/", folder + "up", target, source}) {
            ASSERT_EQ(::chmod(path.c_str(), 0755), 0) << path;
            ASSERT_EQ(::chown(path.c_str(), c.folderOwner, c.folderOwner), 0) << path;
        }
        const std::string downloaded = ReadFile(source);

        running = c.runningAsRelativeCommand
            ? std::make_unique<ChildProcess>("sh", std::vector<std::string>{"-c", "cd '" + folder + "' && exec ./tembra"})
            : std::make_unique<ChildProcess>(target);
        ASSERT_EQ(WaitForStartedPids(folder, 1).size(), 1u);
        Terminal terminal("y\n");
        ASSERT_FALSE(terminal.Path().empty());
        ASSERT_EQ(::chmod(terminal.Path().c_str(), 0666), 0);
        const std::vector<std::string> asAnotherUser = {"--reuid=65534", "--regid=65534", "--clear-groups"};
        std::vector<std::string> arguments = c.upAsAnotherUser ? asAnotherUser : std::vector<std::string>{};
        arguments.insert(arguments.end(), {folder + "up", "-d"});
        ChildProcess up(c.upAsAnotherUser ? "setpriv" : folder + "up",
                        c.upAsAnotherUser ? arguments : std::vector<std::string>{"-d"}, WithoutDisplay(),
                        terminal.Path(), errors);

        const auto status = up.WaitForExit(std::chrono::seconds(90));
        ASSERT_TRUE(status && WIFEXITED(*status));
        EXPECT_EQ(WEXITSTATUS(*status), 0);
        std::string said = ReadFile(errors);
        if (!said.empty() && said.back() == '\n')
            said.pop_back();
        EXPECT_EQ(said, c.message);

        // One program runs from the program file, which is a whole program.
        std::vector<pid_t> instances;
        EXPECT_TRUE(WaitUntil([&] {
            instances = updater::InstancesOf(target);
            return instances.size() == 1 && (c.outcome == Outcome::Untouched) == (instances[0] == running->Pid());
        })) << instances.size() << " instances";
        EXPECT_EQ(ReadFile(target), c.outcome == Outcome::Replaced ? downloaded : oldBytes);
        EXPECT_FALSE(fs::exists(target + ".old"));
        EXPECT_EQ(ReadFile(source), downloaded);
        if (c.outcome != Outcome::Untouched) {
            EXPECT_TRUE(running->WaitForExit());
        }
        for (const pid_t pid : instances) {
            EXPECT_EQ(updater::ExecutablePathOf(pid), target);
            EXPECT_TRUE(updater::EndInstances(target));
            if (pid != running->Pid()) {
                EXPECT_TRUE(ReapEnded(pid));
            }
        }
        running.reset();
    }
}

// The real main program says that it started once its login window shows,
// and `up` keeps it.
TEST_F(UpProgram, TheMainProgramSaysItStartedOnceItsLoginShows)
{
    WriteFile(source, ReadFile(TEMBRA_PROGRAM_PATH));
    std::filesystem::permissions(source, std::filesystem::perms::owner_all);
    StartRunningProgram();
    Terminal terminal("y\n");
    ASSERT_FALSE(terminal.Path().empty());
    TempFolder errorsFolder;
    const std::string errors = CanonicalFolder(errorsFolder) + "up.txt";

    auto up = StartUp({"-d"}, WithoutDisplay({"QT_QPA_PLATFORM=offscreen"}), terminal.Path(), errors);

    EXPECT_EQ(ExitCode(*up, std::chrono::seconds(60)), 0);
    EXPECT_EQ(ReadFile(errors), "");
    EXPECT_TRUE(running->WaitForExit());
    EXPECT_TRUE(ReadFile(target) == ReadFile(source));
    const auto instances = updater::InstancesOf(target);
    ASSERT_EQ(instances.size(), 1u);
    EXPECT_NE(instances[0], running->Pid());
    EXPECT_TRUE(updater::EndInstances(target));
    EXPECT_TRUE(ReapEnded(instances[0]));
}

// The question and the failure message as real windows on an X server,
// answered with keys as a user would.
class UpProgramOnADisplay : public UpProgram
{
protected:
    void SetUp() override
    {
        const std::string missing = VirtualDisplay::MissingTools();
        if (!missing.empty())
            GTEST_SKIP() << "not installed: " << missing;
        UpProgram::SetUp();
        display = std::make_unique<VirtualDisplay>();
        ASSERT_FALSE(display->Name().empty()) << "the X server did not start";
        StartRunningProgram();
    }

    std::unique_ptr<ChildProcess> StartUpOnDisplay()
    {
        return StartUp({"-d"}, WithoutDisplay({"DISPLAY=" + display->Name()}));
    }

    // Waits for the window titled `title` and answers it with `keys`.
    void Answer(const std::string& title, const std::string& keys)
    {
        const std::string window = display->FindWindow(title);
        ASSERT_FALSE(window.empty()) << "no window titled " << title;
        EXPECT_TRUE(display->SendKeys(window, keys));
    }

    std::unique_ptr<VirtualDisplay> display;
};

TEST_F(UpProgramOnADisplay, YesReplacesAndRestartsTheProgram)
{
    auto up = StartUpOnDisplay();
    Answer(kConfirmCaption, "alt+y");

    EXPECT_EQ(ExitCode(*up), 0);
    ExpectReplacedAndRestarted();
}

TEST_F(UpProgramOnADisplay, NoLeavesEverythingAsItWas)
{
    auto up = StartUpOnDisplay();
    // The question waits for its answer while the program keeps running.
    EXPECT_FALSE(display->FindWindow(kConfirmCaption).empty());
    EXPECT_TRUE(up->IsRunning());
    ExpectUntouched();

    Answer(kConfirmCaption, "alt+n");

    EXPECT_EQ(ExitCode(*up), 0);
    ExpectUntouched();
    EXPECT_EQ(ReadFile(source), newBytes);
}

TEST_F(UpProgramOnADisplay, AFailedCopyIsShownInAWindowAndStartsNothing)
{
    std::filesystem::remove(source);
    auto up = StartUpOnDisplay();
    Answer(kConfirmCaption, "alt+y");

    // up waits until the message is closed.
    const std::string message = display->FindWindow("错误");
    ASSERT_FALSE(message.empty());
    EXPECT_TRUE(up->IsRunning());
    EXPECT_TRUE(display->SendKeys(message, "Return"));

    EXPECT_EQ(ExitCode(*up), 0);
    ExpectUntouched();
}

} // namespace
