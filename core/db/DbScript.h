#pragma once

#include <QStringList>

// Splits a script into its statements at every ";" that stands outside a
// quoted literal ('...' or "...", doubled quotes included). Quotes inside a
// "--" comment line open no literal (a comment may say "don't"), while a ";"
// there still splits, as it always has. The pieces keep their text exactly,
// line breaks and blanks included; the rest after the last ";" is a piece
// too, so a script without ";" is one piece.
QStringList SplitSqlScript(const QString& script);
