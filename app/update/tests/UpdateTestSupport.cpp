#include "UpdateTestSupport.h"

#include <QDir>
#include <QFile>

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
    QByteArray bytes("\x7f" "ELF", 4);
    bytes += QByteArray(4096, '\x01') + mark;
    return bytes;
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
