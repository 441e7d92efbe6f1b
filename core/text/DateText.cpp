#include "text/DateText.h"

#include <QDateTime>

namespace {

QString FormatNow(const QString& format)
{
    return QDateTime::currentDateTime().toString(format);
}

} // namespace

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
