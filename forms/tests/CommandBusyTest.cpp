// The busy window of a command a form waits for.
#include "Dialog_CommandBusy.h"
#include "TempFolder.h"
#include "web/CommandProcess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Whether a process still runs (a zombie waiting for its reaper does not).
bool Runs(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) != "Z";
}

// Watches for the busy window while a wait runs: what it showed, and, when
// asked, clicks its 取消 once it is up.
class BusyWatch
{
public:
    explicit BusyWatch(bool cancel)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, cancel] {
            auto* busy = qobject_cast<Dialog_CommandBusy*>(QApplication::activeModalWidget());
            if (!busy)
                return;
            m_title = busy->windowTitle();
            m_texts.clear();
            for (const QLabel* label : busy->findChildren<QLabel*>())
                m_texts << label->text();
            m_texts.sort();
            const QList<QPushButton*> buttons = busy->findChildren<QPushButton*>();
            m_buttons.clear();
            for (const QPushButton* button : buttons)
                m_buttons << button->text();
            if (cancel && buttons.size() == 1)
                buttons.first()->click();
        });
        m_timer.start(50);
    }

    QString m_title;
    QStringList m_texts;
    QStringList m_buttons;

private:
    QTimer m_timer;
};

TEST(CommandBusyTest, RunTimeTexts)
{
    const struct {
        qint64 ms;
        QString text;
    } cases[] = {
        {0, "0 秒"},          {59999, "59 秒"},          {60000, "1 分 00 秒"},
        {125000, "2 分 05 秒"}, {3599000, "59 分 59 秒"}, {3725000, "1 小时 02 分 05 秒"},
        {90000000, "25 小时 00 分 00 秒"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Dialog_CommandBusy::RunTimeText(c.ms), c.text) << c.ms;
}

TEST(CommandBusyTest, ACommandQuickerThanTheDelayShowsNoWindow)
{
    CCommandProcess command;
    ASSERT_TRUE(command.Start("echo quick"));
    BusyWatch watch(false);
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(Dialog_CommandBusy::WaitFor(command, "echo quick", nullptr, 5000));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(watch.m_title.isEmpty());
    EXPECT_EQ(command.Output(), "quick\n");
}

// Once the delay is over the window shows the command and its time; it goes
// by itself when the command ends.
TEST(CommandBusyTest, TheWindowComesAfterTheDelayAndGoesWithTheCommand)
{
    CCommandProcess command;
    ASSERT_TRUE(command.Start("sleep 1; echo done"));
    BusyWatch watch(false);
    EXPECT_TRUE(Dialog_CommandBusy::WaitFor(command, "sleep 1; echo done", nullptr, 200));
    EXPECT_EQ(command.Output(), "done\n");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(watch.m_title, "正在执行命令");
    ASSERT_EQ(watch.m_texts.size(), 2);
    EXPECT_EQ(watch.m_texts[0], "命令：sleep 1; echo done");
    EXPECT_TRUE(watch.m_texts[1].startsWith("已运行 0 秒")) << watch.m_texts[1].toStdString();
    EXPECT_EQ(watch.m_buttons, QStringList{"取消"});
}

// 取消 ends the command and what it started.
TEST(CommandBusyTest, CancelEndsTheCommandAndItsChildren)
{
    TempFolder folder;
    const QString pidFile = folder.path() + "child.pid";
    const QString line = "echo started; sleep 60 & echo $! > '" + pidFile + "'; wait";
    CCommandProcess command;
    ASSERT_TRUE(command.Start(line));
    BusyWatch watch(true);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(Dialog_CommandBusy::WaitFor(command, line, nullptr, 200));
    EXPECT_LT(timer.elapsed(), 30000);
    EXPECT_FALSE(command.IsRunning());
    EXPECT_EQ(command.Output(), "started\n");
    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const qint64 child = file.readAll().trimmed().toLongLong();
    ASSERT_GT(child, 0);
    QElapsedTimer gone;
    gone.start();
    while (Runs(child) && gone.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_FALSE(Runs(child)) << "the command's sleep still runs";
}

} // namespace
