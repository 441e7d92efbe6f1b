#include "FileModes.h"

#include <QFile>

#include <sys/stat.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool ReadCapabilities(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capget, &header, data) == 0;
}

void WriteCapabilities(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    syscall(SYS_capset, &header, data);
}

} // namespace

BoundByFileModes::BoundByFileModes()
{
    __user_cap_data_struct data[2]{};
    if (!ReadCapabilities(data))
        return;
    m_savedEffective = data[0].effective;
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        data[0].effective &= ~(1u << cap);
    WriteCapabilities(data);
    m_changed = true;
}

BoundByFileModes::~BoundByFileModes()
{
    __user_cap_data_struct data[2]{};
    if (!m_changed || !ReadCapabilities(data))
        return;
    data[0].effective = m_savedEffective;
    WriteCapabilities(data);
}

ReadOnlyFolder::ReadOnlyFolder(const QString& path) : m_path(QFile::encodeName(path))
{
    ::chmod(m_path.constData(), 0555);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    ::chmod(m_path.constData(), 0755);
}
