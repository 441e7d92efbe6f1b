#pragma once

#include <QString>
#include <QVariant>

// The one rule by which a database value becomes text, the same for every
// query, list and kind of database:
//   NULL                   ""
//   text                   as stored
//   integer                plain decimal ("-42")
//   fractional number      plain decimal with "." and no grouping, as many
//                          digits as needed to read back the same number,
//                          never an exponent ("0.1", "1234567.5")
//   boolean                "-1" for true, "0" for false (the stored forms of
//                          the original automation conversion)
//   date                   "yyyy-MM-dd"
//   date and time          "yyyy-MM-dd HH:mm:ss", or "yyyy-MM-dd" at midnight
//   time                   "HH:mm:ss"
//   bytes                  read as UTF-8 text
QString DbValueToText(const QVariant& value);

class QSqlQuery;

// Runs sql on the query; with values, prepared and with each value bound to
// the next "?" mark, so a value is never read as SQL.
bool RunQuery(QSqlQuery& query, const QString& sql, const QVariantList& values);
