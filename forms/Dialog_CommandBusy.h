#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class CCommandProcess;
class QLabel;

// The small window of a command that a form's event waits for: the command,
// how long it has run, and 取消, which ends it. It comes up only when the
// command outlasts a short delay. Until then the program stays painted and
// its timers run, but no input reaches any window; once it is up it is
// modal, like the message boxes of an event, so the form and the other
// windows wait for it.
class Dialog_CommandBusy : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ShowDelayMs = 2000;

    // Waits for the running command. True when it ended by itself, false
    // when the user ended it (it and what it started are gone then).
    static bool WaitFor(CCommandProcess& command, const QString& name, QWidget* owner, int delayMs = ShowDelayMs);

    // How long a command has run: "5 秒", "2 分 05 秒", "1 小时 02 分 05 秒".
    static QString RunTimeText(qint64 ms);

private:
    Dialog_CommandBusy(const QString& name, const QElapsedTimer& started, QWidget* owner);
    void ShowRunTime();

    QElapsedTimer m_started;
    QTimer m_ticker;
    QLabel* m_pRunTime;
};
