#pragma once

#include <QString>

// The amount (rounded to cents) in Chinese capital money words, for example
// 1.05 -> "壹元零伍分". "出错!" for an amount whose two-decimal text is longer
// than 16 characters, for a negative amount and for one that is not a number.
QString FormatMoneyChinese(double amount);

// The recursive step of FormatMoneyChinese: appends the words of the digit at
// position of digits (of the given length) and of all digits after it.
void AppendChineseMoneyDigit(const QString& digits, int length, int position, QString& words);

// A date part in capital digits for cheques: "05" -> "零伍", "15" -> "壹拾伍",
// "2024" -> "贰零贰肆".
QString ToChineseCapitalDigits(const QString& text);
