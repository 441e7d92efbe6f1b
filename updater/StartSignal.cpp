#include "StartSignal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace updater {

namespace {

int& Descriptor()
{
    static int descriptor = -1;
    return descriptor;
}

} // namespace

void TakeStartSignal()
{
    const char* value = std::getenv(kStartSignalVariable);
    if (!value)
        return;
    const std::string text = value;
    ::unsetenv(kStartSignalVariable);
    // Only the number `up` hands over, and only a socket: a variable left
    // over from elsewhere must not make the program write into a file.
    if (text != std::to_string(kStartSignalDescriptor))
        return;
    struct stat status;
    if (::fstat(kStartSignalDescriptor, &status) != 0 || !S_ISSOCK(status.st_mode))
        return;
    ::fcntl(kStartSignalDescriptor, F_SETFD, FD_CLOEXEC);
    Descriptor() = kStartSignalDescriptor;
}

void SendStartSignal()
{
    int& descriptor = Descriptor();
    if (descriptor < 0)
        return;
    // An `up` that is gone no longer reads: no SIGPIPE for that.
    const char word = 1;
    while (::send(descriptor, &word, 1, MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
    ::close(descriptor);
    descriptor = -1;
}

} // namespace updater
