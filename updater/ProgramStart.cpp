#include "ProgramStart.h"

#include "MessageText.h"
#include "Processes.h"
#include "StartSignal.h"
#include "UpdaterTexts.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace updater {

namespace {

constexpr const char* kNullDevice = "/dev/null";
constexpr auto kPollSlice = std::chrono::milliseconds(100);

// This process's environment without a start signal of its own, and with the
// one handed over when there is one.
std::vector<std::string> ProgramEnvironment(bool withSignal)
{
    const std::string prefix = std::string(kStartSignalVariable) + '=';
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, prefix.c_str(), prefix.size()) != 0)
            environment.emplace_back(*entry);
    }
    if (withSignal)
        environment.push_back(prefix + std::to_string(kStartSignalDescriptor));
    return environment;
}

// Starts `path` detached; `signal`, when not -1, goes to the program as the
// start signal's descriptor. The process id, or 0 with the error number.
pid_t Spawn(const std::string& path, int signal, int& error)
{
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t files;
    error = ::posix_spawnattr_init(&attributes);
    if (error != 0)
        return 0;
    error = ::posix_spawn_file_actions_init(&files);
    if (error != 0) {
        ::posix_spawnattr_destroy(&attributes);
        return 0;
    }
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    ::posix_spawn_file_actions_addopen(&files, STDIN_FILENO, kNullDevice, O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, kNullDevice, O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&files, STDERR_FILENO, kNullDevice, O_WRONLY, 0);
    if (signal >= 0)
        ::posix_spawn_file_actions_adddup2(&files, signal, kStartSignalDescriptor);

    std::vector<std::string> environment = ProgramEnvironment(signal >= 0);
    std::vector<char*> environmentPointers;
    for (std::string& entry : environment)
        environmentPointers.push_back(entry.data());
    environmentPointers.push_back(nullptr);
    char* const arguments[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    error = ::posix_spawn(&pid, path.c_str(), &files, &attributes, arguments, environmentPointers.data());
    ::posix_spawn_file_actions_destroy(&files);
    ::posix_spawnattr_destroy(&attributes);
    return error == 0 ? pid : 0;
}

std::string EndedFailure(int status)
{
    if (WIFSIGNALED(status))
        return FormatText(kKilledFormat, WTERMSIG(status));
    return FormatText(kEndedFormat, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

// Whether the word came; false at once when the other end closed without it.
bool ReadWord(int socket, bool& closed)
{
    char word = 0;
    ssize_t got = 0;
    do {
        got = ::recv(socket, &word, 1, MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    closed = got == 0;
    return got == 1;
}

} // namespace

bool StartDetached(const std::string& path)
{
    int error = 0;
    return Spawn(path, -1, error) > 0;
}

bool StartAndAwaitReady(const std::string& path, std::chrono::milliseconds limit, std::string& failure)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        failure = FormatText(kNotRunFormat, CauseOf(errno).c_str(), errno);
        return false;
    }
    // The program's end is handed over above the standard streams, so that
    // its copy as the signal's descriptor is never the same descriptor.
    const int programEnd = ::fcntl(ends[1], F_DUPFD_CLOEXEC, kStartSignalDescriptor + 1);
    ::close(ends[1]);
    int error = programEnd < 0 ? errno : 0;
    const pid_t pid = programEnd < 0 ? 0 : Spawn(path, programEnd, error);
    if (programEnd >= 0)
        ::close(programEnd);
    if (pid == 0) {
        ::close(ends[0]);
        failure = FormatText(kNotRunFormat, CauseOf(error).c_str(), error);
        return false;
    }

    // The word counts before the end: a program that said it started and
    // ended at once has started.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool closed = false;
    for (;;) {
        if (!closed) {
            pollfd ready{ends[0], POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            ::poll(&ready, 1, static_cast<int>(std::clamp(left, std::chrono::milliseconds(0), kPollSlice).count()));
            if (ReadWord(ends[0], closed)) {
                ::close(ends[0]);
                return true;
            }
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            ::close(ends[0]);
            failure = EndedFailure(status);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
    }
    ::close(ends[0]);
    EndProcess(pid);
    ::waitpid(pid, nullptr, 0);
    failure = FormatText(kSilentFormat, static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(limit).count()));
    return false;
}

} // namespace updater
