#include "web/CommandProcess.h"

#include "text/Cp936.h"

#include <QStringDecoder>

#include <csignal>
#include <unistd.h>

CCommandProcess::CCommandProcess(QObject* parent)
    : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(&m_process, &QProcess::finished, this, &CCommandProcess::Ended);
}

CCommandProcess::~CCommandProcess()
{
    Stop();
}

bool CCommandProcess::Start(const QString& command)
{
    m_output.clear();
    m_process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    if (!m_process.waitForStarted(-1))
        return false;
    // A command that reads its input gets the end of it at once.
    m_process.closeWriteChannel();
    return true;
}

bool CCommandProcess::IsRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

bool CCommandProcess::WaitForEnd(int timeoutMs)
{
    return !IsRunning() || m_process.waitForFinished(timeoutMs);
}

void CCommandProcess::Stop()
{
    if (!IsRunning())
        return;
    ::kill(-static_cast<pid_t>(m_process.processId()), SIGKILL);
    m_process.waitForFinished(-1);
}

QString CCommandProcess::Output()
{
    m_output += m_process.readAll();
    // Programs here write UTF-8; output that is not UTF-8 comes from
    // programs that write the code page of the Windows original.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(m_output);
    return utf8.hasError() ? FromCp936(m_output) : text;
}

int CCommandProcess::ExitCode() const
{
    return !IsRunning() && m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
