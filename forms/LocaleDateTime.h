#pragma once

#include <QDateTime>
#include <QString>

// A date or date-time text as the user's locale writes it, or in the forms
// stored data uses ("2024-03-09", "2024/3/9", either followed by a time).
// False, with value untouched, for anything else.
bool ParseLocaleDateTime(const QString& text, QDateTime& value);
