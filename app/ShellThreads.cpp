#include "ShellThreads.h"

#include <QAtomicInt>
#include <QThread>

namespace {
QAtomicInt runningThreads;
} // namespace

void StartShellThread(QThread* thread)
{
    runningThreads.ref();
    QObject::connect(thread, &QThread::finished, thread, [thread] {
        runningThreads.deref();
        thread->deleteLater();
    });
    thread->start();
}

bool ShellThreadsRunning()
{
    return runningThreads.loadAcquire() > 0;
}
