#include "Dialog_CommandBusy.h"

#include "FormTexts.h"
#include "web/CommandProcess.h"

#include <QEventLoop>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int Width = 420;
constexpr int TickMs = 1000;

QString TwoDigits(qint64 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

} // namespace

Dialog_CommandBusy::Dialog_CommandBusy(const QString& name, const QElapsedTimer& started, QWidget* owner)
    : QDialog(owner)
    , m_started(started)
    , m_pRunTime(new QLabel(this))
{
    setWindowTitle(FormTexts::CommandBusyCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(Width, 120);
    // A long command line shows its beginning and its end; the whole of it
    // in the tip.
    auto* command = new QLabel(this);
    command->setGeometry(16, 14, Width - 32, 24);
    command->setText(command->fontMetrics().elidedText(FormTexts::CommandBusyName.arg(name), Qt::ElideMiddle,
                                                        command->width()));
    command->setToolTip(name);
    m_pRunTime->setGeometry(16, 42, Width - 32, 24);
    auto* cancel = new QPushButton(FormTexts::CommandBusyCancel, this);
    cancel->setGeometry(Width - 16 - 88, 78, 88, 30);
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_ticker, &QTimer::timeout, this, &Dialog_CommandBusy::ShowRunTime);
    m_ticker.start(TickMs);
    ShowRunTime();
}

void Dialog_CommandBusy::ShowRunTime()
{
    m_pRunTime->setText(FormTexts::CommandBusyRunTime.arg(RunTimeText(m_started.elapsed())));
}

QString Dialog_CommandBusy::RunTimeText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    if (seconds < 60)
        return FormTexts::RunSeconds.arg(seconds);
    if (seconds < 3600)
        return FormTexts::RunMinutes.arg(seconds / 60).arg(TwoDigits(seconds % 60));
    return FormTexts::RunHours.arg(seconds / 3600).arg(TwoDigits(seconds / 60 % 60)).arg(TwoDigits(seconds % 60));
}

bool Dialog_CommandBusy::WaitFor(CCommandProcess& command, const QString& name, QWidget* owner, int delayMs)
{
    QElapsedTimer started;
    started.start();
    {
        // The windows repaint and timers run (other forms' events wait for
        // this one); input waits until the window below is up or the
        // command has ended.
        QEventLoop loop;
        QTimer delay;
        delay.setSingleShot(true);
        connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(&command, &CCommandProcess::Ended, &loop, &QEventLoop::quit);
        delay.start(delayMs);
        if (command.IsRunning())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!command.IsRunning())
        return true;
    Dialog_CommandBusy busy(name, started, owner);
    connect(&command, &CCommandProcess::Ended, &busy, &QDialog::accept);
    // 取消, Esc and the window's close button all end the command.
    if (command.IsRunning() && busy.exec() != QDialog::Accepted) {
        command.Stop();
        return false;
    }
    return true;
}
