#include "XDisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace {

constexpr int kFirstNumber = 120;
constexpr int kNumbers = 400;
constexpr int kStartMs = 10000;

} // namespace

XDisplay::XDisplay()
{
    const int offset = int(QCoreApplication::applicationPid() % kNumbers);
    for (int i = 0; i < kNumbers; ++i) {
        const int number = kFirstNumber + (offset + i) % kNumbers;
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
            || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        if (StartOn(number))
            return;
    }
    if (m_strProblem.isEmpty())
        m_strProblem = QStringLiteral("no free X display number");
}

XDisplay::~XDisplay()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(2000);
    }
}

bool XDisplay::StartOn(int number)
{
    const QString name = QStringLiteral(":%1").arg(number);
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.start(QStringLiteral("Xvfb"),
                   {name, QStringLiteral("-screen"), QStringLiteral("0"),
                    QStringLiteral("%1x%2x24").arg(Width).arg(Height), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_server.waitForStarted(kStartMs)) {
        m_strProblem = QStringLiteral("Xvfb does not start: ") + m_server.errorString();
        return false;
    }
    // The server is ready once its socket is there; one that lost the race
    // for the number ends at once.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kStartMs) {
        if (m_server.state() != QProcess::Running) {
            m_strProblem = QString::fromLocal8Bit(m_server.readAll());
            return false;
        }
        if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))) {
            m_strName = name;
            return true;
        }
        QThread::msleep(50);
    }
    m_server.kill();
    m_server.waitForFinished(2000);
    m_strProblem = QStringLiteral("Xvfb %1 did not come up").arg(name);
    return false;
}
