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
                                          const std::string& input = "/dev/null")
    {
        return std::make_unique<ChildProcess>(folder + "up", arguments, environment, input);
    }

    // The exit code of `up` once it has ended.
    static int ExitCode(ChildProcess& up)
    {
        const auto status = up.WaitForExit();
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

// A new program that crashes at start is replaced by the old one, which is
// started again.
TEST_F(UpProgram, ANewProgramThatCrashesAtStartIsReplacedByTheOldOne)
{
    InstallFakeProgram(source, "crash");
    StartRunningProgram();
    Terminal terminal("y\n");
    ASSERT_FALSE(terminal.Path().empty());

    EXPECT_EQ(ExitCode(*StartUp({"-d"}, WithoutDisplay(), terminal.Path())), 0);

    EXPECT_TRUE(running->WaitForExit());
    EXPECT_EQ(ReadFile(target), oldBytes);
    EXPECT_FALSE(std::filesystem::exists(target + ".old"));
    const auto pids = WaitForStartedPids(folder, 2);
    ASSERT_EQ(pids.size(), 2u);
    ExpectRunsTargetThenEnd(pids[1]);
}

// Another user's instance cannot be ended: `up`, run as an ordinary user,
// leaves the program file and that instance as they are and starts nothing.
TEST_F(UpProgram, AnInstanceThatMayNotBeEndedStopsTheUpdate)
{
    constexpr unsigned kNobody = 65534;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        ASSERT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0) << entry.path();
    ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
    StartRunningProgram(); // as this test's user, root here
    Terminal terminal("y\n");
    ASSERT_FALSE(terminal.Path().empty());
    ASSERT_EQ(::chmod(terminal.Path().c_str(), 0666), 0);

    ChildProcess up("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", folder + "up", "-d"},
                    WithoutDisplay(), terminal.Path());

    EXPECT_EQ(ExitCode(up), 0);
    ExpectUntouched();
    EXPECT_EQ(ReadFile(source), newBytes);
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
