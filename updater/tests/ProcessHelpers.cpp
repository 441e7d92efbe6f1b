#include "ProcessHelpers.h"

#include "TempFolder.h"

#include <QFileInfo>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace testhelp {

std::string CanonicalFolder(const TempFolder& folder)
{
    return QFileInfo(folder.path()).canonicalFilePath().toStdString() + "/";
}

void InstallFakeProgram(const std::string& path, const std::string& marker)
{
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(path).parent_path());
    WriteFile(path, ReadFile(FAKE_TEMBRA_PATH) + marker);
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

std::uintmax_t FakeProgramSize()
{
    return std::filesystem::file_size(FAKE_TEMBRA_PATH);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

std::vector<pid_t> WaitForStartedPids(const std::string& folder, size_t count)
{
    std::vector<pid_t> pids;
    WaitUntil([&] {
        pids.clear();
        std::istringstream lines(ReadFile(folder + "started.log"));
        pid_t pid = 0;
        while (lines >> pid)
            pids.push_back(pid);
        return pids.size() >= count;
    });
    return pids;
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& removed,
                                         const std::vector<std::string>& added)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable(*entry);
        const std::string name = variable.substr(0, variable.find('='));
        if (std::find(removed.begin(), removed.end(), name) == removed.end())
            environment.push_back(variable);
    }
    environment.insert(environment.end(), added.begin(), added.end());
    return environment;
}

namespace {

std::vector<char*> PointersTo(const std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (const auto& text : texts)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess(const std::string& path, const std::vector<std::string>& arguments,
                           const std::optional<std::vector<std::string>>& environment,
                           const std::string& input, const std::string& errors)
{
    std::vector<std::string> commandLine{path};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    auto argv = PointersTo(commandLine);
    auto envp = environment ? PointersTo(*environment) : std::vector<char*>{};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    if (!errors.empty())
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int error = posix_spawnp(&m_pid, path.c_str(), &actions, nullptr, argv.data(),
                                  environment ? envp.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        m_pid = 0;
        ADD_FAILURE() << "cannot start " << path << ": " << error;
    }
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0 && !m_status) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
}

bool ChildProcess::IsRunning()
{
    if (m_pid <= 0 || m_status)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
        return true;
    m_status = status;
    return false;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::steady_clock::duration limit)
{
    WaitUntil([&] { return !IsRunning(); }, limit);
    return m_status;
}

bool ReapEnded(pid_t pid)
{
    return WaitUntil([&] {
        int status = 0;
        return ::waitpid(pid, &status, WNOHANG) == pid;
    });
}

void BecomeSubreaper()
{
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
}

} // namespace testhelp
