#pragma once

#include <QString>
#include <QStringView>

// Number texts with two decimals. Two-decimal texts round the binary value of
// the double exactly, as printf's "%.2f" does in the C locale (an exact tie
// goes to the even digit), whatever the process locale.

// A non-empty text is replaced by its leading number (0 when none) with two
// decimals and true comes back; an empty text, or a number beyond the double
// range, is left alone and gives false.
bool FormatTwoDecimals(QString& text);

// Only for a text containing ".": trailing zeros are cut, then a trailing ".";
// nothing left gives "0". Other texts come back unchanged.
QString TrimNumberZeros(const QString& text);

// The text's leading number with two decimals and "," between groups of three
// integer digits: "1234567.891" -> "1,234,567.89". Zero gives "0.00".
QString FormatThousands(const QString& text);

// "%.2f" of a value, as described above.
QString FormatFixedTwo(double value);

// The number at the start of a text: leading blanks, a sign, digits, a decimal
// point and an exponent; 0 when there is none. ok is false only when the
// number lies beyond the double range.
double TextToDouble(QStringView text, bool* ok = nullptr);
