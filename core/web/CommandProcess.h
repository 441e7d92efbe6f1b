#pragma once

#include <QObject>
#include <QProcess>
#include <QString>

// A command line run with /bin/sh -c in a process group of its own, its
// standard input closed and its standard output and error read together.
// It runs while the caller's event loop turns (or while WaitForEnd blocks);
// Ended comes once, when it has ended by itself or was stopped.
class CCommandProcess : public QObject
{
    Q_OBJECT

public:
    explicit CCommandProcess(QObject* parent = nullptr);
    // A command still running is stopped.
    ~CCommandProcess() override;
    CCommandProcess(const CCommandProcess&) = delete;
    CCommandProcess& operator=(const CCommandProcess&) = delete;

    // False when the shell cannot be started.
    bool Start(const QString& command);
    bool IsRunning() const;
    // Blocks until the command ends, or for at most timeoutMs (-1: no
    // limit); true when it has ended.
    bool WaitForEnd(int timeoutMs);
    // Ends the command together with every process it started (a shell
    // ended alone would leave them holding its output open), and waits
    // until they are gone.
    void Stop();
    // Everything the command wrote, read in one piece as UTF-8, or as code
    // page 936 when it is not UTF-8.
    QString Output();
    // The exit status of a command that ended by itself, else -1.
    int ExitCode() const;

signals:
    void Ended();

private:
    QProcess m_process;
    QByteArray m_output;
};
