#include "text/MessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QtDebug>

namespace {

QMutex sinkMutex;
MessageSink currentSink;
QuestionSink currentQuestion;

void ShowMessageBox(const QString& text, const QString& caption)
{
    // Without a widget application there is nothing to show a box on.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning().noquote() << text;
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption.isEmpty() ? QApplication::applicationDisplayName() : caption,
                    text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void RunSink(const QString& text, const QString& caption)
{
    MessageSink sink;
    {
        QMutexLocker lock(&sinkMutex);
        sink = currentSink;
    }
    if (sink)
        sink(text);
    else
        ShowMessageBox(text, caption);
}

} // namespace

void ShowMessage(const QString& text)
{
    ShowMessage(text, QString());
}

void ShowMessage(const QString& text, const QString& caption)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        RunSink(text, caption);
        return;
    }
    QMetaObject::invokeMethod(app, [text, caption] { RunSink(text, caption); }, Qt::QueuedConnection);
}

MessageSink SetMessageSink(MessageSink sink)
{
    QMutexLocker lock(&sinkMutex);
    MessageSink previous = std::move(currentSink);
    currentSink = std::move(sink);
    return previous;
}

bool AskYesNo(const QString& text, const QString& caption)
{
    QuestionSink sink;
    {
        QMutexLocker lock(&sinkMutex);
        sink = currentQuestion;
    }
    if (sink)
        return sink(text, caption);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

QuestionSink SetQuestionSink(QuestionSink sink)
{
    QMutexLocker lock(&sinkMutex);
    QuestionSink previous = std::move(currentQuestion);
    currentQuestion = std::move(sink);
    return previous;
}
