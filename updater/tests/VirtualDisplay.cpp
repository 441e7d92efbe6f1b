#include "VirtualDisplay.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace testhelp {

namespace {

constexpr const char* kServer = "Xvfb";
constexpr const char* kKeyTool = "xdotool";

bool InstalledInPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

// Reads what the server writes on `fd` until a line ends, within the wait limit.
std::string ReadLine(int fd)
{
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return {};
        char bytes[32];
        const ssize_t count = ::read(fd, bytes, sizeof bytes);
        if (count <= 0)
            return {};
        line.append(bytes, static_cast<size_t>(count));
    }
    return line.substr(0, line.find('\n'));
}

} // namespace

std::string VirtualDisplay::MissingTools()
{
    std::string missing;
    for (const char* tool : {kServer, kKeyTool})
        if (!InstalledInPath(tool))
            missing += missing.empty() ? tool : std::string(" ") + tool;
    return missing;
}

VirtualDisplay::VirtualDisplay()
{
    // The server picks a free display number itself and writes it on the
    // descriptor once it accepts connections, so no number can clash with
    // another test run and no start-up delay has to be guessed.
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return;
    m_server = std::make_unique<ChildProcess>(
        kServer, std::vector<std::string>{"-displayfd", std::to_string(pipeEnds[1]), "-screen", "0",
                                          "1280x800x24", "-nolisten", "tcp"},
        EnvironmentWith({}));
    ::close(pipeEnds[1]);
    const std::string number = ReadLine(pipeEnds[0]);
    ::close(pipeEnds[0]);
    if (!number.empty())
        m_name = ":" + number;
}

VirtualDisplay::~VirtualDisplay()
{
    // Asked to end, the server removes its lock file and socket.
    if (m_server && m_server->Pid() > 0) {
        ::kill(m_server->Pid(), SIGTERM);
        m_server->WaitForExit();
    }
}

std::string VirtualDisplay::RunTool(const std::string& arguments, bool& succeeded) const
{
    // Bounded, as every wait of these tests: a window that never takes the
    // focus would otherwise hold xdotool's --sync forever.
    const std::string command =
        "DISPLAY=" + m_name + " timeout 10 " + kKeyTool + " " + arguments + " 2>/dev/null";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        succeeded = false;
        return output;
    }
    char bytes[256];
    while (const size_t count = std::fread(bytes, 1, sizeof bytes, pipe))
        output.append(bytes, count);
    succeeded = ::pclose(pipe) == 0;
    return output;
}

std::string VirtualDisplay::FindWindow(const std::string& title) const
{
    std::string window;
    WaitUntil([&] {
        bool found = false;
        const std::string output = RunTool("search --onlyvisible --name '^" + title + "$'", found);
        window = found ? output.substr(0, output.find('\n')) : std::string();
        return !window.empty();
    });
    return window;
}

bool VirtualDisplay::SendKeys(const std::string& window, const std::string& keys) const
{
    bool succeeded = false;
    RunTool("windowfocus --sync " + window + " key " + keys, succeeded);
    return succeeded;
}

} // namespace testhelp
