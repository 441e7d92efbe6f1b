#pragma once

#include <QProcess>
#include <QString>

// A virtual X display (Xvfb) of its own for one run of the sessions: it
// takes the first free display number from a start that differs per process,
// so that runs side by side do not meet, and ends the server with the object.
class XDisplay
{
public:
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool IsRunning() const { return m_server.state() == QProcess::Running; }
    // ":N", for DISPLAY.
    QString Name() const { return m_strName; }
    QString Problem() const { return m_strProblem; }

    static constexpr int Width = 1600;
    static constexpr int Height = 1200;

private:
    bool StartOn(int number);

    QProcess m_server;
    QString m_strName;
    QString m_strProblem;
};
