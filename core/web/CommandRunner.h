#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Puts values into a command line for /bin/sh at their tokens so that the
// shell never reads a value as part of the command: each value goes into a
// shell variable of its own, set in single quotes at the start of the line
// (where nothing inside them is special), and each token becomes a quoted
// reference to that variable, in the form of where it stands: outside
// quotes, inside '...' or "...", and at any depth inside $(...) and `...`,
// whose text the shell reads again as a command of its own. The shell puts
// an expanded value in as text and reads no quotes, substitutions or
// command separators in it, so a value stays one piece of text whatever it
// holds. Tokens are found in one pass over the command, so a value is never
// searched for tokens itself.
QString FillShellValues(const QString& command, const QList<QPair<QString, QString>>& values);

// The command line as a person reads it: each token replaced by its value
// as it stands, found in the same one pass. For the busy window and the
// messages about a command only; never run it.
QString ShowShellValues(const QString& command, const QList<QPair<QString, QString>>& values);
