#pragma once

#include <QString>

// Code 128 bar codes. The pattern text is the widths of the symbol's bars and
// spaces, one digit each, bar first: start code, data, check value, stop.

// kind: "128a" (code set A), "128b" (code set B), "128c" (code set C for
// digit pairs) or "128e" (code set C after FNC1, for GS1 data). In sets C
// and C-with-FNC1 the digits go in pairs while two digits follow; a lone
// last digit or any other character switches to set B for the rest. A
// character the chosen set cannot hold (set A: codes above 95; set B: below
// 32 or above 127) refuses the whole text: the pattern is empty and error
// names the character. An empty text gives an empty pattern and no error.
QString BuildCode128Pattern(const QString& text, const QString& kind, QString* error = nullptr);
