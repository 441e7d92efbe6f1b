#include "LocaleDateTime.h"

#include <QLocale>

bool ParseLocaleDateTime(const QString& text, QDateTime& value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    static const QStringList dateTimeFormats = {
        QStringLiteral("yyyy-M-d H:m:s"), QStringLiteral("yyyy-M-d H:m"), QStringLiteral("yyyy/M/d H:m:s"),
        QStringLiteral("yyyy/M/d H:m"),   QStringLiteral("yyyy-M-dTH:m:s"),
    };
    static const QStringList dateFormats = {QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy/M/d"),
                                            QStringLiteral("yyyy.M.d"), QStringLiteral("yyyyMMdd")};
    for (const QString& format : dateTimeFormats) {
        const QDateTime parsed = QDateTime::fromString(trimmed, format);
        if (parsed.isValid())
            return value = parsed, true;
    }
    for (const QString& format : dateFormats) {
        const QDate parsed = QDate::fromString(trimmed, format);
        if (parsed.isValid())
            return value = parsed.startOfDay(), true;
    }
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
