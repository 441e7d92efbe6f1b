#include "Processes.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace updater {

namespace {

constexpr const char* kDeletedMark = " (deleted)";
constexpr auto kPollInterval = std::chrono::milliseconds(20);
// How long a process may take to end after SIGTERM, and after SIGKILL.
constexpr auto kTermGrace = std::chrono::seconds(3);
constexpr auto kKillGrace = std::chrono::seconds(2);

std::string ReadLink(const std::string& link)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer)
        return {};
    std::string path(buffer, static_cast<size_t>(length));
    const std::string mark = kDeletedMark;
    if (path.size() > mark.size() && path.compare(path.size() - mark.size(), mark.size(), mark) == 0)
        path.resize(path.size() - mark.size());
    return path;
}

// A process counts as gone once /proc no longer lists it or it is a zombie
// waiting for its parent: either way it runs no more.
bool IsGone(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    // The state follows the command name, which is in parentheses and may hold any character.
    const auto close = line.rfind(')');
    if (close == std::string::npos || close + 2 >= line.size())
        return true;
    const char state = line[close + 2];
    return state == 'Z' || state == 'X';
}

bool WaitUntilGone(pid_t pid, std::chrono::steady_clock::duration limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!IsGone(pid)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

// The first word of a process's command line, which /proc shows for every
// user's processes; empty when it cannot be read.
std::string FirstArgumentOf(pid_t pid)
{
    std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    std::string first;
    std::getline(cmdline, first, '\0');
    return first;
}

std::string FileNameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

// Whether a command's first word may start the program file `path`: the
// path itself, or a relative one ("./tembra", "tembra" from PATH) with its
// file name, whose folder cannot be told from outside.
bool NamesProgram(const std::string& command, const std::string& path)
{
    if (command.empty())
        return false;
    if (command.front() == '/')
        return command == path;
    return FileNameOf(command) == FileNameOf(path);
}

bool Runs(pid_t pid, const std::string& path)
{
    const std::string executable = ExecutablePathOf(pid);
    if (!executable.empty())
        return executable == path;
    return !IsGone(pid) && NamesProgram(FirstArgumentOf(pid), path);
}

} // namespace

bool EndProcess(pid_t pid)
{
    if (::kill(pid, SIGTERM) != 0)
        return errno == ESRCH;
    if (WaitUntilGone(pid, kTermGrace))
        return true;
    ::kill(pid, SIGKILL);
    return WaitUntilGone(pid, kKillGrace);
}

std::string GetModuleFolder()
{
    const std::string path = ReadLink("/proc/self/exe");
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExecutablePathOf(pid_t pid)
{
    return ReadLink("/proc/" + std::to_string(pid) + "/exe");
}

std::vector<pid_t> InstancesOf(const std::string& path)
{
    std::vector<pid_t> found;
    if (path.empty())
        return found;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return found;
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || pid == self)
            continue;
        if (Runs(static_cast<pid_t>(pid), path))
            found.push_back(static_cast<pid_t>(pid));
    }
    ::closedir(proc);
    return found;
}

bool EndInstances(const std::string& path)
{
    const std::vector<pid_t> instances = InstancesOf(path);
    for (const pid_t pid : instances) {
        // One known by its command alone (its executable cannot be read:
        // another user's) may not be ended either.
        if ((::kill(pid, 0) != 0 && errno == EPERM) || (ExecutablePathOf(pid).empty() && !IsGone(pid)))
            return false;
    }
    bool ended = true;
    for (const pid_t pid : instances)
        ended = EndProcess(pid) && ended;
    return ended && InstancesOf(path).empty();
}

} // namespace updater
