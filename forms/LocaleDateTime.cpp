#include "LocaleDateTime.h"

#include "text/DateText.h"

#include <QLocale>

bool ParseLocaleDateTime(const QString& text, QDateTime& value)
{
    // The forms stored data uses first, with the one parser the grid and the
    // record writer share; then what the user's locale writes.
    const QDateTime stored = ParseDateTimeText(text);
    if (stored.isValid())
        return value = stored, true;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QDate compact = QDate::fromString(trimmed, QStringLiteral("yyyyMMdd"));
    if (compact.isValid())
        return value = compact.startOfDay(), true;
    const QLocale locale = QLocale::system();
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QDateTime parsed = locale.toDateTime(trimmed, type);
        if (parsed.isValid())
            return value = parsed, true;
        const QDate date = locale.toDate(trimmed, type);
        if (date.isValid())
            return value = date.startOfDay(), true;
    }
    return false;
}
