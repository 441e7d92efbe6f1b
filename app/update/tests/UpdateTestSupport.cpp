#include "UpdateTestSupport.h"

#include <QDir>
#include <QFile>

#include <elf.h>

RecordingSeams::RecordingSeams(const QString& programFolder) : m_strProgramFolder(programFolder)
{
}

int RecordingSeams::StartUpdater(const QString& programFolder, const QString& updaterSwitch)
{
    started.append({programFolder, updaterSwitch});
    return 1;
}

bool RecordingSeams::AskYesNo(const QString& text, const QString& caption)
{
    questions.append(caption + "|" + text);
    return answer;
}

void RecordingSeams::RemoveUpdateFolder()
{
    ++updateFolderRemovals;
    if (!m_strProgramFolder.isEmpty())
        QDir(m_strProgramFolder + "update").removeRecursively();
}

QByteArray ProgramBytes(const QByteArray& mark)
{
    // The smallest whole program image of this machine's kind: the header of
    // the running test program, one loadable segment over the whole file and
    // no sections, so that any cut leaves the segment outside the file.
    QFile self(QStringLiteral("/proc/self/exe"));
    self.open(QIODevice::ReadOnly);
    Elf64_Ehdr header;
    self.read(reinterpret_cast<char*>(&header), sizeof header);
    header.e_phoff = sizeof header;
    header.e_phnum = 1;
    header.e_phentsize = sizeof(Elf64_Phdr);
    header.e_shoff = 0;
    header.e_shnum = 0;
    header.e_shstrndx = 0;
    Elf64_Phdr segment{};
    segment.p_type = PT_LOAD;
    segment.p_flags = PF_R | PF_X;
    segment.p_align = 4096;
    const QByteArray body = QByteArray(4096, '\x01') + mark;
    segment.p_filesz = segment.p_memsz = sizeof header + sizeof segment + body.size();
    return QByteArray(reinterpret_cast<const char*>(&header), sizeof header)
        + QByteArray(reinterpret_cast<const char*>(&segment), sizeof segment) + body;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf('/')));
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

ProgramFolder::ProgramFolder()
{
    installation.programFolder = temp.path();
    installation.programPath = temp.path() + "tembra";
    installation.runningVersion = "3.7.7.1";
    installation.dbType = "2";
    installation.appId = "0123456789abcdef0123456789abcdef0123";
    installation.menuVersion = "7";
    installation.company = "公司";
    installation.macAddress = "00-11-22-33-44-55";
    installation.hostName = "pc";
    installation.ipAddress = "10.0.0.5";
    WriteBytes(installation.programPath, runningBytes);
    WriteBytes(temp.path() + "up", updaterBytes);
}
