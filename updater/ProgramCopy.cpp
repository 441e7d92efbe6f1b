#include "ProgramCopy.h"

#include "ProgramImage.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace updater {

namespace {

constexpr const char* kTemporarySuffix = ".new-XXXXXX";
constexpr const char* kOldSuffix = ".old";
constexpr mode_t kProgramMode = 0755;

// Writes all of `size` bytes, going on after short writes and interruptions.
bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies everything from `in` to `out`; returns the byte count or -1.
long long CopyAll(int in, int out)
{
    char buffer[64 * 1024];
    long long total = 0;
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            return total;
        if (!WriteAll(out, buffer, static_cast<size_t>(got)))
            return -1;
        total += got;
    }
}

} // namespace

ProgramCopy::ProgramCopy(std::string target) : m_target(std::move(target)), m_old(m_target + kOldSuffix) {}

ProgramCopy::~ProgramCopy()
{
    RemoveTemporary();
}

bool ProgramCopy::Stage(const std::string& source)
{
    RemoveTemporary();
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return Fail(errno);

    std::string name = m_target + kTemporarySuffix;
    const int out = ::mkostemp(name.data(), O_CLOEXEC);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return Fail(error);
    }
    m_temporary = name;

    const long long copied = CopyAll(in, out);
    int error = copied < 0 ? errno : 0;
    if (error == 0 && ::fchmod(out, kProgramMode) != 0)
        error = errno;
    if (error == 0 && ::fsync(out) != 0)
        error = errno;
    if (::close(out) != 0 && error == 0)
        error = errno;
    ::close(in);
    // The copy itself is checked: it is what will be put in place.
    if (error == 0 && !IsProgramFile(m_temporary))
        error = ENOEXEC;
    if (error != 0) {
        RemoveTemporary();
        return Fail(error);
    }
    m_error = 0;
    return true;
}

bool ProgramCopy::Commit()
{
    if (m_temporary.empty())
        return Fail(ENOENT);
    // A second name for the old file: the target is never missing.
    ::unlink(m_old.c_str());
    if (::link(m_target.c_str(), m_old.c_str()) != 0 && errno != ENOENT) {
        const int error = errno;
        RemoveTemporary();
        return Fail(error);
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int error = errno;
        RemoveTemporary();
        DropOld();
        return Fail(error);
    }
    m_temporary.clear();
    SyncFolder();
    m_error = 0;
    return true;
}

bool ProgramCopy::Restore()
{
    if (::rename(m_old.c_str(), m_target.c_str()) != 0)
        return Fail(errno);
    SyncFolder();
    return true;
}

void ProgramCopy::DropOld()
{
    ::unlink(m_old.c_str());
}

const std::string& ProgramCopy::OldPath() const
{
    return m_old;
}

int ProgramCopy::Error() const
{
    return m_error;
}

bool ProgramCopy::Fail(int error)
{
    m_error = error;
    return false;
}

// A rename is written to the disk with its folder. The rename has happened
// either way, so a failing sync changes nothing for the caller.
void ProgramCopy::SyncFolder() const
{
    const std::string folder = m_target.substr(0, m_target.rfind('/') + 1);
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void ProgramCopy::RemoveTemporary()
{
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

} // namespace updater
