#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Splitting a text at a separator. None of these clears its output, trims or
// drops pieces: a text with m separators appends m + 1 pieces, an empty text
// one empty piece. An empty separator appends the whole text as one piece.

// Pieces appended to array; the search goes on after the whole separator.
void SplitString(const QString& text, const QString& separator, QStringList& array);

// Pieces appended to array; the search goes on one character after the start
// of a hit, so a longer separator leaves its tail at the start of the next piece.
void SplitAtChar(const QString& text, const QString& separator, QStringList& array);

// As SplitString, each piece converted with TextToInt.
void SplitToInts(const QString& text, const QString& separator, QList<int>& array);

// As SplitString, pieces appended at the tail of list.
void SplitToList(const QString& text, const QString& separator, QStringList& list);

// Where the number at the start of a text begins: after leading blanks
// (space, tab, line breaks) and an optional sign, which sets negative.
qsizetype SkipBlanksAndSign(QStringView text, bool& negative);

// The integer at the start of a text: leading blanks, an optional sign, then
// decimal digits up to the first other character; 0 without digits. Values
// beyond the int range are clamped to it.
int TextToInt(QStringView text);
