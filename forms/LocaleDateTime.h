#pragma once

#include <QDateTime>
#include <QString>

// A date or date-time text in the forms stored data uses (ParseDateTimeText:
// "2024-03-09", "2024/3/9", "2024.3.9", each optionally with a time), as
// "20240309", or as the user's locale writes it.
// False, with value untouched, for anything else.
bool ParseLocaleDateTime(const QString& text, QDateTime& value);
