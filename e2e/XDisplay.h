#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A virtual X display (Xvfb) of its own for one run of the sessions: it
// takes the first free display number from a start that differs per process,
// so that runs side by side do not meet, and ends the server with the object.
// With a window manager named (openbox), the display runs it as a desktop
// does: windows get title bars and frames, and the manager decides focus and
// activation. It keeps its settings and caches in a folder of its own.
class XDisplay
{
public:
    explicit XDisplay(const QString& windowManager = QString());
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool IsRunning() const;
    // ":N", for DISPLAY.
    QString Name() const { return m_strName; }
    QString Problem() const { return m_strProblem; }
    // The window the manager announces itself by (decimal, as xdotool lists
    // windows): a visible window of no program; empty without a manager.
    QString WindowManagerWindow() const { return m_strManagerWindow; }

    static constexpr int Width = 1600;
    static constexpr int Height = 1200;

private:
    bool StartOn(int number);
    bool StartWindowManager(const QString& program);
    static void End(QProcess& process);

    QProcess m_server;
    QProcess m_manager;
    QTemporaryDir m_managerHome;
    QString m_strName;
    QString m_strProblem;
    QString m_strManagerWindow;
};
