#include "text/MessageSink.h"

#include <QCoreApplication>
#include <QThread>
#include <QTest>

#include <thread>

#include <gtest/gtest.h>

TEST(MessageSink, RecorderReplacesTheBoxAndIsRestored)
{
    QStringList shown;
    const MessageSink previous = SetMessageSink([&](const QString& text) { shown.append(text); });
    ShowMessage(QStringLiteral("数据异常!"));
    EXPECT_EQ(QStringList{QStringLiteral("数据异常!")}, shown);
    const MessageSink recorder = SetMessageSink(previous);
    EXPECT_TRUE(static_cast<bool>(recorder));
}

TEST(MessageSink, MessagesFromOtherThreadsRunOnTheGuiThread)
{
    QStringList shown;
    QList<QThread*> threads;
    const MessageSink previous = SetMessageSink([&](const QString& text) {
        shown.append(text);
        threads.append(QThread::currentThread());
    });
    std::thread worker([] { ShowMessage(QStringLiteral("from worker")); });
    worker.join();
    // Queued, not shown from the worker itself.
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(QStringList{QStringLiteral("from worker")}, shown);
    EXPECT_EQ(QList<QThread*>{qApp->thread()}, threads);
    SetMessageSink(previous);
}
