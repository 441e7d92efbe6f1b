// A stand-in for the main program in the updater's tests. It notes its process
// id in "started.log" of its own folder, tells `up` that it started (the start
// signal), then idles for at most a minute so that a forgotten one never
// lingers. With the argument "ignore-term" it ignores SIGTERM, like a program
// that does not end when asked. The marker at the end of its own file (the
// tests append one) makes it start otherwise:
//   "crash"  aborts at once, before noting anything;
//   "exit0"  notes itself and ends at once with exit code 0;
//   "late"   notes itself and ends with exit code 1 after 3 seconds, like a
//            program that fails while opening its database after a slow start;
//   "hang"   notes itself and never says it started, ignoring SIGTERM;
//   "slow"   says it started only after 3 seconds.
#include "StartSignal.h"

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

std::string MarkerOf(const std::string& path)
{
    std::ifstream self(path, std::ios::binary | std::ios::ate);
    for (const std::string marker : {"crash", "exit0", "late", "hang", "slow"}) {
        std::string tail(marker.size(), '\0');
        self.clear();
        self.seekg(-static_cast<std::streamoff>(marker.size()), std::ios::end);
        if (self.read(tail.data(), static_cast<std::streamsize>(tail.size())) && tail == marker)
            return marker;
    }
    return {};
}

void Sleep(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

int main(int argc, char** argv)
{
    updater::TakeStartSignal();
    if (argc > 1 && std::strcmp(argv[1], "ignore-term") == 0)
        std::signal(SIGTERM, SIG_IGN);

    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return 1;
    std::string folder(path, static_cast<size_t>(length));
    const std::string marker = MarkerOf(folder);
    if (marker == "crash")
        std::abort();
    folder.resize(folder.rfind('/') + 1);
    {
        std::ofstream log(folder + "started.log", std::ios::app);
        log << ::getpid() << '\n';
    }

    if (marker == "exit0")
        return 0;
    if (marker == "late") {
        Sleep(3000);
        return 1;
    }
    if (marker == "hang")
        std::signal(SIGTERM, SIG_IGN);
    else if (marker == "slow")
        Sleep(3000);
    if (marker != "hang")
        updater::SendStartSignal();

    for (int i = 0; i < 600; ++i)
        Sleep(100);
    return 0;
}
