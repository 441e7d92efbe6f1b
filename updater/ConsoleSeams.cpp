#include "ConsoleSeams.h"

#include "UpdaterTexts.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <iostream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace updater {

namespace {

constexpr const char* kNullDevice = "/dev/null";
// A program that crashes at start (a damaged file, a missing library) does so
// well within this time.
constexpr auto kStartWait = std::chrono::seconds(2);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

// Whether the child still runs after kStartWait or has ended successfully.
bool StillRunsOrSucceeded(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + kStartWait;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0 && errno != EINTR)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

} // namespace

bool ConsoleSeams::Confirm(const std::string& text, const std::string& caption)
{
    if (!::isatty(STDIN_FILENO))
        return false;
    std::cout << caption << '\n' << text << kConsoleAnswerHint << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    const auto first = answer.find_first_not_of(" \t");
    return first != std::string::npos && (answer[first] == 'y' || answer[first] == 'Y');
}

void ConsoleSeams::ShowMessage(const std::string& text)
{
    std::cerr << text << std::endl;
}

bool ConsoleSeams::StartProgram(const std::string& path)
{
    posix_spawnattr_t attributes;
    if (::posix_spawnattr_init(&attributes) != 0)
        return false;
    posix_spawn_file_actions_t files;
    if (::posix_spawn_file_actions_init(&files) != 0) {
        ::posix_spawnattr_destroy(&attributes);
        return false;
    }
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    ::posix_spawn_file_actions_addopen(&files, STDIN_FILENO, kNullDevice, O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, kNullDevice, O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&files, STDERR_FILENO, kNullDevice, O_WRONLY, 0);
    char* const arguments[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, path.c_str(), &files, &attributes, arguments, environ);
    ::posix_spawn_file_actions_destroy(&files);
    ::posix_spawnattr_destroy(&attributes);
    return error == 0 && StillRunsOrSucceeded(pid);
}

} // namespace updater
