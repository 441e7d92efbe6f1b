#pragma once

#include <QString>

#include <optional>

// A cell text that a worksheet holds as a number and still shows exactly as
// the grid showed it: a plain decimal ("-" or not, no leading zero unless
// the whole part is "0", decimals or not, thousands grouped by "," in threes
// or not) of at most 15 significant digits, the precision a spreadsheet
// keeps. Every other text ("007", "-0", "+1", "1e5", " 12", "12.") is no
// such number and stays a text.
struct XlsxNumber
{
    QString value;  // the cell value: the text without its grouping commas
    QString format; // a number format that shows the value as the text stood

    static std::optional<XlsxNumber> FromText(const QString& text);
};
