// The read and write operations of CDbConnection that go through a query.
#include "db/DbConnection.h"

#include "db/DbPaging.h"
#include "db/DbRecordWriter.h"
#include "db/DbTexts.h"
#include "db/DbValueText.h"

#include <QSqlError>
#include <QSqlRecord>

#include <algorithm>

namespace
{
// The columns of the named fields; false with the unknown name.
bool FieldIndexes(const QSqlRecord& record, const QStringList& fields, QList<int>& indexes,
                  QString& unknown)
{
    indexes.clear();
    for (const QString& field : fields) {
        const int index = record.indexOf(field);
        if (index < 0) {
            unknown = DbText::kUnknownField.arg(field);
            return false;
        }
        indexes.append(index);
    }
    return true;
}

// Forward-only queries report a failed fetch only through lastError.
bool ReadFailed(const QSqlQuery& query)
{
    return query.lastError().isValid();
}
} // namespace

bool CDbConnection::QueryFailed(const QString& sql, const QString& message)
{
    m_nResult = -1;
    m_strErrorInfo = sql + u'\n' + message;
    m_strError = ErrorText(DbText::kQuery, message);
    m_bOpen = false;
    return false;
}

QSqlQuery CDbConnection::OpenQuery(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!RunQuery(query, sql, values))
        QueryFailed(sql, query.lastError().text());
    return query;
}

bool CDbConnection::HasRecords(const QString& sql)
{
    QSqlQuery query = OpenQuery(sql);
    if (!query.isActive())
        return false;
    if (query.next())
        return true;
    if (ReadFailed(query))
        QueryFailed(sql, query.lastError().text());
    return false;
}

bool CDbConnection::QueryValue(const QString& sql, QString& value, const QVariantList& values)
{
    QSqlQuery query = OpenQuery(sql, values);
    const bool hasRow = query.isActive() && query.next();
    if (!query.isActive() || ReadFailed(query)) {
        QueryFailed(sql, query.lastError().text());
        m_strError = DbText::kStatement;
        return false;
    }
    if (!hasRow) {
        m_nResult = 0;
        return false;
    }
    value = DbValueToText(query.value(0));
    m_nResult = 1;
    return true;
}

bool CDbConnection::QueryToList(const QString& sql, const QStringList& names, QStringList& values)
{
    values.clear();
    QSqlQuery query = OpenQuery(sql);
    QList<int> indexes;
    QString failure;
    if (!query.isActive()) {
        m_strError = DbText::kValueList;
        return false;
    }
    if (!FieldIndexes(query.record(), names, indexes, failure)) {
        QueryFailed(sql, failure);
        m_strError = DbText::kValueList;
        return false;
    }
    int rows = 0;
    for (; query.next(); ++rows) {
        for (const int index : indexes)
            values.append(DbValueToText(query.value(index)));
    }
    if (ReadFailed(query)) {
        values.clear();
        QueryFailed(sql, query.lastError().text());
        m_strError = DbText::kValueList;
        return false;
    }
    if (rows == 0) {
        m_nResult = 0;
        return false;
    }
    return true;
}

namespace
{
// Every column of every row, row by row; false when a fetch failed.
bool ReadAllRows(QSqlQuery& query, QStringList& values)
{
    const int columns = query.record().count();
    while (query.next()) {
        for (int i = 0; i < columns; ++i)
            values.append(DbValueToText(query.value(i)));
    }
    return !ReadFailed(query);
}
} // namespace

int CDbConnection::QueryAllToList(const QString& sql, QStringList& values, const QVariantList& bound)
{
    QSqlQuery query = OpenQuery(sql, bound);
    QStringList rows;
    if (!query.isActive() || !ReadAllRows(query, rows)) {
        m_strErrorInfo = DbText::kDetailPrefix + sql + u'\n' + query.lastError().text();
        m_strError = DbText::kData;
        m_nResult = -1;
        m_bOpen = false;
        return -1;
    }
    if (rows.isEmpty())
        return -1;
    values = std::move(rows);
    m_nResult = 1;
    return 1;
}

bool CDbConnection::QueryAllWithNames(const QString& sql, QStringList& names, QStringList& values)
{
    QSqlQuery query = OpenQuery(sql);
    QStringList rows;
    if (!query.isActive() || !ReadAllRows(query, rows)) {
        // A failed read is a failure; half a result is never handed out.
        m_strErrorInfo = DbText::kDetailPrefix + sql + u'\n' + query.lastError().text();
        m_strError = DbText::kData;
        m_bOpen = false;
        return false;
    }
    if (rows.isEmpty())
        return false;
    const QSqlRecord record = query.record();
    names.clear();
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    values = std::move(rows);
    return true;
}

bool CDbConnection::QueryPage(const QString& selectText, const QString& fromText, int pageSize,
                              int pageNumber, const QString& orderText, QStringList& names,
                              QStringList& values, int& total, int& pageCount, int rowLimit)
{
    const QString source = DbPageSource(selectText, fromText);
    QSqlQuery count = OpenQuery(DbPageCountQuery(source));
    const bool hasRow = count.isActive() && count.next();
    if (!count.isActive() || ReadFailed(count)) {
        m_strErrorInfo = count.lastError().text();
        m_strError = DbText::kData;
        return false;
    }
    total = hasRow ? DbValueToText(count.value(QStringLiteral("qv_counts"))).toInt() : 0;
    if (rowLimit > 0)
        total = std::min(total, rowLimit);
    if (total <= 0)
        return false;
    const DbPage page = DbPageOf(total, pageSize, pageNumber);
    pageCount = page.pageCount;
    return QueryAllWithNames(DbPageQuery(m_nDbType, source, orderText, page), names, values);
}

namespace
{
bool CountsDiffer(const QStringList& fields, const QStringList& values)
{
    return fields.size() != values.size();
}
} // namespace

bool CDbConnection::RecordFailed(const QString& sql, const QString& failure)
{
    m_strErrorInfo = sql + u'\n' + failure;
    m_strError = ErrorText(DbText::kData, failure);
    return false;
}

bool CDbConnection::AddRecord(const QString& sql, const QStringList& fields, const QStringList& values)
{
    if (CountsDiffer(fields, values)) {
        m_nResult = -1;
        m_strError = DbText::kFieldsValues;
        return false;
    }
    CDbRecordWriter writer(m_db, m_nDbType);
    QVariantList converted;
    const bool opened = writer.Open(sql);
    if (opened && writer.Exists())
        return false;
    if (opened && writer.ConvertTexts(fields, values, converted) && writer.Insert(fields, converted, nullptr))
        return true;
    m_nResult = -1;
    return RecordFailed(sql, writer.Failure());
}

bool CDbConnection::UpdateRecord(const QString& sql, const QStringList& fields, const QStringList& values)
{
    if (CountsDiffer(fields, values)) {
        m_strError = DbText::kFieldsValues;
        return false;
    }
    CDbRecordWriter writer(m_db, m_nDbType);
    QVariantList converted;
    const bool opened = writer.Open(sql);
    if (opened && !writer.Exists())
        return false;
    if (opened && writer.ConvertTexts(fields, values, converted) && writer.UpdateFirst(fields, converted))
        return true;
    return RecordFailed(sql, writer.Failure());
}

int CDbConnection::InsertRecord(QString& newId, const QString& sql, const QStringList& fields,
                                const QStringList& values)
{
    if (CountsDiffer(fields, values)) {
        m_strError = DbText::kFieldsValues;
        return -2;
    }
    CDbRecordWriter writer(m_db, m_nDbType);
    QVariantList converted;
    const bool opened = writer.Open(sql);
    if (opened && writer.Exists())
        return -1;
    if (opened && writer.ConvertTexts(fields, values, converted) && writer.Insert(fields, converted, &newId))
        return 1;
    RecordFailed(sql, writer.Failure());
    return -1;
}

bool CDbConnection::ReadBlobs(const QString& sql, const QStringList& fields, QList<QByteArray>& buffers,
                              QList<int>& sizes)
{
    QSqlQuery query = OpenQuery(sql);
    if (!query.isActive())
        return false;
    QList<int> indexes;
    QString failure;
    if (!FieldIndexes(query.record(), fields, indexes, failure))
        return QueryFailed(sql, failure);
    QList<QByteArray> readBuffers;
    QList<int> readSizes;
    int rows = 0;
    for (; query.next(); ++rows) {
        // Every field gives one entry, so the lists stay in step with the
        // fields: NULL and empty fields give a null buffer and 0.
        for (const int index : indexes) {
            const QByteArray bytes = query.value(index).toByteArray();
            readBuffers.append(bytes.isEmpty() ? QByteArray() : bytes);
            readSizes.append(int(bytes.size()));
        }
    }
    if (ReadFailed(query))
        return QueryFailed(sql, query.lastError().text());
    if (rows == 0) {
        m_nResult = 0;
        return false;
    }
    buffers.append(readBuffers);
    sizes.append(readSizes);
    return true;
}

bool CDbConnection::WriteBlobs(const QString& sql, const QStringList& fields,
                               const QList<QByteArray>& buffers, const QList<int>& sizes)
{
    if (fields.size() != buffers.size() || fields.size() != sizes.size()) {
        m_strError = DbText::kFieldsValues;
        return false;
    }
    QVariantList bytes;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (sizes[i] < 0 || sizes[i] > buffers[i].size()) {
            m_strErrorInfo = DbText::kBlobSize.arg(i + 1).arg(sizes[i]);
            m_strError = DbText::kFieldsValues;
            return false;
        }
        // An empty buffer is written as empty bytes, not as NULL.
        bytes.append(sizes[i] == 0 ? QByteArray("", 0) : buffers[i].left(sizes[i]));
    }
    CDbRecordWriter writer(m_db, m_nDbType);
    const bool opened = writer.Open(sql);
    if (opened && !writer.Exists())
        return false;
    if (opened && writer.UpdateFirst(fields, bytes))
        return true;
    return RecordFailed(sql, writer.Failure());
}
