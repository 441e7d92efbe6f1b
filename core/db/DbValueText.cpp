#include "db/DbValueText.h"

#include <QSqlQuery>

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

namespace
{
const QString kDateForm = QStringLiteral("yyyy-MM-dd");
const QString kDateTimeForm = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kTimeForm = QStringLiteral("HH:mm:ss");

QString DateTimeText(const QDateTime& value)
{
    if (value.time() == QTime(0, 0))
        return value.date().toString(kDateForm);
    return value.toString(kDateTimeForm);
}
} // namespace

QString DbValueToText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return QLocale::c().toString(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    case QMetaType::QDate:
        return value.toDate().toString(kDateForm);
    case QMetaType::QDateTime:
        return DateTimeText(value.toDateTime());
    case QMetaType::QTime:
        return value.toTime().toString(kTimeForm);
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString(); // integers of every width: plain decimal
    }
}

bool RunQuery(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    if (values.isEmpty())
        return query.exec(sql);
    if (!query.prepare(sql))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}
