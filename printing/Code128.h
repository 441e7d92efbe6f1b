#pragma once

#include <QString>

// Code 128 bar codes. The pattern text is the widths of the symbol's bars and
// spaces, one digit each, bar first: start code, data, check value, stop.

// kind: "128a" (code set A), "128b" (code set B), "128c" (code set C) or
// "128e" (code set C after FNC1, for GS1 data). Set A holds the characters
// blank to underscore (no lower case), set B blank to DEL; each gives its code
// minus 32. Set C holds pairs of digits, each giving its number; a lone last
// digit goes in set B. A text the set cannot hold whole is refused, never
// printed as other bars: the pattern is empty and error names the first
// character it cannot hold. An empty text gives an empty pattern and no
// error.
QString BuildCode128Pattern(const QString& text, const QString& kind, QString* error = nullptr);
