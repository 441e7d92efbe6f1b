#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <sys/types.h>
#include <vector>

class TempFolder;

// Helpers for tests that run real processes. Every wait is bounded.
namespace testhelp {

constexpr auto kWaitLimit = std::chrono::seconds(10);
constexpr auto kPoll = std::chrono::milliseconds(20);

// Polls `condition` until it holds or `limit` has passed; whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::steady_clock::duration limit = kWaitLimit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

// The folder of a temporary folder with symbolic links resolved, ending in "/",
// as /proc shows the programs started from it.
std::string CanonicalFolder(const TempFolder& folder);

// Copies the fake main program to `path` (creating its folder), executable,
// with `marker` appended so that copies can be told apart by their bytes.
void InstallFakeProgram(const std::string& path, const std::string& marker = {});

// The size of the fake main program without a marker.
std::uintmax_t FakeProgramSize();

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The process ids noted in "started.log" of `folder` by fake programs, once
// there are at least `count` of them (or what there is after the wait limit).
std::vector<pid_t> WaitForStartedPids(const std::string& folder, size_t count);

// This process's environment without the variables named in `removed` and
// with `added` ("NAME=value") appended.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& removed,
                                         const std::vector<std::string>& added = {});

// A program started by a test, ended and reaped with the object at the latest.
class ChildProcess
{
public:
    // A `path` without a slash is looked for in PATH. Standard input comes
    // from `input`; standard error goes to the file `errors` when one is
    // named; the environment is this process's unless one is given.
    explicit ChildProcess(const std::string& path, const std::vector<std::string>& arguments = {},
                          const std::optional<std::vector<std::string>>& environment = {},
                          const std::string& input = "/dev/null", const std::string& errors = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    bool IsRunning();
    // The wait status once the process has ended, or nothing after `limit`.
    std::optional<int> WaitForExit(std::chrono::steady_clock::duration limit = kWaitLimit);

private:
    pid_t m_pid = 0;
    std::optional<int> m_status;
};

// Reaps a process that became this process's child as an orphan (see
// BecomeSubreaper) once it has ended; false when it did not end in time.
bool ReapEnded(pid_t pid);

// Makes orphaned descendants this process's children, so that programs started
// by a program under test can be reaped here.
void BecomeSubreaper();

} // namespace testhelp
