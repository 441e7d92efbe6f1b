#include "text/DateText.h"

#include <QDateTime>

namespace {

QString FormatNow(const QString& format)
{
    return QDateTime::currentDateTime().toString(format);
}

// Reads up to maxDigits decimal digits at pos; -1 when there is none.
int ReadNumber(QStringView text, qsizetype& pos, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= u'0' && text[pos] <= u'9') {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++digits;
    }
    return digits ? value : -1;
}

bool ReadTime(QStringView text, qsizetype& pos, QTime& time)
{
    const int hour = ReadNumber(text, pos, 2);
    if (hour < 0 || pos >= text.size() || text[pos] != u':')
        return false;
    ++pos;
    const int minute = ReadNumber(text, pos, 2);
    if (minute < 0)
        return false;
    int second = 0;
    int milli = 0;
    if (pos < text.size() && text[pos] == u':') {
        ++pos;
        second = ReadNumber(text, pos, 2);
        if (second < 0)
            return false;
        if (pos < text.size() && text[pos] == u'.') {
            ++pos;
            const qsizetype start = pos;
            milli = ReadNumber(text, pos, 3);
            if (milli < 0)
                return false;
            for (qsizetype digits = pos - start; digits < 3; ++digits)
                milli *= 10;
        }
    }
    time = QTime(hour, minute, second, milli);
    return time.isValid();
}

} // namespace

QDateTime ParseDateTimeText(const QString& text)
{
    const QStringView t = QStringView(text).trimmed();
    qsizetype pos = 0;
    QTime time(0, 0);
    if (t.indexOf(u':') >= 0 && t.indexOf(u'-') < 0 && t.indexOf(u'/') < 0 && t.indexOf(u'.') != 4) {
        if (!ReadTime(t, pos, time) || pos != t.size())
            return {};
        return QDateTime(QDate(1899, 12, 30), time);
    }
    const int year = ReadNumber(t, pos, 4);
    if (year < 0 || pos >= t.size())
        return {};
    const QChar separator = t[pos];
    if (separator != u'-' && separator != u'/' && separator != u'.')
        return {};
    ++pos;
    const int month = ReadNumber(t, pos, 2);
    if (month < 0 || pos >= t.size() || t[pos] != separator)
        return {};
    ++pos;
    const int day = ReadNumber(t, pos, 2);
    const QDate date(year, month, day);
    if (day < 0 || !date.isValid())
        return {};
    if (pos < t.size()) {
        if (t[pos] != u' ' && t[pos] != u'T')
            return {};
        while (pos < t.size() && t[pos] == u' ')
            ++pos;
        if (t[pos] == u'T')
            ++pos;
        if (!ReadTime(t, pos, time) || pos != t.size())
            return {};
    }
    return QDateTime(date, time);
}

QString GetNowText()
{
    return FormatNow(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString GetTodaySlashText()
{
    return FormatNow(QStringLiteral("yyyy/MM/dd"));
}

QString GetTodayText()
{
    return FormatNow(QStringLiteral("yyyy-MM-dd"));
}

QString GetYearText()
{
    return FormatNow(QStringLiteral("yyyy"));
}

QString GetMonthText()
{
    return FormatNow(QStringLiteral("MM"));
}

QString GetDayText()
{
    return FormatNow(QStringLiteral("dd"));
}
