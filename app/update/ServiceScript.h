#pragma once

#include "text/SqlLexer.h"

#include <QString>
#include <QStringList>

// Splits one of the update service's SQL scripts into its statements, so that
// each runs on its own and one that fails leaves the next to run. A ";" splits
// only where the dialect reads code: inside a literal, a quoted name, a
// dollar-quoted body or a comment it is text. Statements come back without
// the blanks around them; those that hold nothing but blanks and comments are
// left out. A literal, name or comment that the script never closes refuses
// the whole script (false, error set): where its statements end would be a
// guess.
bool SplitServiceScript(const QString& script, SqlDialect dialect, QStringList& statements, QString& error);
