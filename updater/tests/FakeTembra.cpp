// A stand-in for the main program in the updater's tests. It notes its process
// id in "started.log" of its own folder, then idles for at most a minute so
// that a forgotten one never lingers. With the argument "ignore-term" it
// ignores SIGTERM, like a program that does not end when asked. A copy whose
// file ends in "crash" aborts at once, before noting anything, like a
// program that cannot start.
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "ignore-term") == 0)
        std::signal(SIGTERM, SIG_IGN);

    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return 1;
    std::string folder(path, static_cast<size_t>(length));
    {
        std::ifstream self(folder, std::ios::binary | std::ios::ate);
        const std::string mark = "crash";
        std::string tail(mark.size(), '\0');
        self.seekg(-static_cast<std::streamoff>(mark.size()), std::ios::end);
        if (self.read(tail.data(), static_cast<std::streamsize>(tail.size())) && tail == mark)
            std::abort();
    }
    folder.resize(folder.rfind('/') + 1);
    {
        std::ofstream log(folder + "started.log", std::ios::app);
        log << ::getpid() << '\n';
    }

    for (int i = 0; i < 600; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return 0;
}
