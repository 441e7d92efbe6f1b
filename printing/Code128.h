#pragma once

#include <QString>

// Code 128 bar codes. The pattern text is the widths of the symbol's bars and
// spaces, one digit each, bar first: start code, data, check value, stop.

// kind: "128a" (code set A), "128b" (code set B), "128c" (code set C) or
// "128e" (code set C after FNC1, for GS1 data). In sets A and B each
// character gives its code minus 32. In set C the text goes in pairs, each
// giving the decimal number it begins with (0 when it begins with none); a
// lone last digit goes in set B, any other lone last character is read as a
// pair. A character or pair whose value lies outside 0..106 refuses the whole
// text: the pattern is empty and error names the character. An empty text
// gives an empty pattern and no error.
QString BuildCode128Pattern(const QString& text, const QString& kind, QString* error = nullptr);
