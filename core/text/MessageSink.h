#pragma once

#include <QString>

#include <functional>

// The user-facing message box of the whole program. Every part shows its
// messages through ShowMessage, so tests can replace the box with a recorder
// and worker threads never open a box themselves.
using MessageSink = std::function<void(const QString& text)>;

// Hands the text to the current sink. On the GUI thread the sink runs at once;
// from any other thread the call is queued to the GUI thread and returns.
void ShowMessage(const QString& text);
// The same with the caption the default box shows; a sink gets the text.
void ShowMessage(const QString& text, const QString& caption);

// Installs a sink and returns the previous one. An empty sink restores the
// default, which shows an application-modal QMessageBox.
MessageSink SetMessageSink(MessageSink sink);

// The program's yes/no questions, replaceable the same way. True for Yes.
using QuestionSink = std::function<bool(const QString& text, const QString& caption)>;

// Asks on the GUI thread; the default shows an application-modal box with
// the buttons Yes and No.
bool AskYesNo(const QString& text, const QString& caption);

QuestionSink SetQuestionSink(QuestionSink sink);
