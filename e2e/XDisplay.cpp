#include "XDisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>

namespace {

constexpr int kFirstNumber = 120;
constexpr int kNumbers = 400;
constexpr int kStartMs = 10000;

} // namespace

XDisplay::XDisplay(const QString& windowManager)
{
    const int offset = int(QCoreApplication::applicationPid() % kNumbers);
    for (int i = 0; i < kNumbers; ++i) {
        const int number = kFirstNumber + (offset + i) % kNumbers;
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
            || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        if (StartOn(number)) {
            if (!windowManager.isEmpty())
                StartWindowManager(windowManager);
            return;
        }
    }
    if (m_strProblem.isEmpty())
        m_strProblem = QStringLiteral("no free X display number");
}

XDisplay::~XDisplay()
{
    End(m_manager);
    End(m_server);
}

bool XDisplay::IsRunning() const
{
    return m_server.state() == QProcess::Running
        && (m_strManagerWindow.isEmpty() || m_manager.state() == QProcess::Running);
}

void XDisplay::End(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

bool XDisplay::StartWindowManager(const QString& program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_strName);
    environment.insert(QStringLiteral("HOME"), m_managerHome.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_managerHome.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_managerHome.filePath(QStringLiteral("cache")));
    environment.remove(QStringLiteral("SESSION_MANAGER"));
    m_manager.setProcessEnvironment(environment);
    m_manager.setProcessChannelMode(QProcess::MergedChannels);
    m_manager.start(program, {QStringLiteral("--sm-disable")});
    if (!m_manager.waitForStarted(kStartMs)) {
        m_strProblem = QStringLiteral("the window manager %1 does not start: %2").arg(program, m_manager.errorString());
        End(m_server);
        return false;
    }
    // The manager has taken the display once it names its check window on
    // the root window.
    static const QRegularExpression announced(QStringLiteral("window id # (0x[0-9a-fA-F]+)"));
    QProcess probe;
    probe.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kStartMs && m_manager.state() == QProcess::Running) {
        probe.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("-notype"),
                                              QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        probe.waitForFinished(kStartMs);
        const QRegularExpressionMatch match = announced.match(QString::fromLatin1(probe.readAllStandardOutput()));
        if (match.hasMatch()) {
            m_strManagerWindow = QString::number(match.captured(1).toULongLong(nullptr, 16));
            return true;
        }
        QThread::msleep(50);
    }
    m_strProblem = QStringLiteral("the window manager %1 did not take the display: %2")
                       .arg(program, QString::fromLocal8Bit(m_manager.readAll()));
    End(m_manager);
    End(m_server);
    return false;
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
