#pragma once

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantList>

// Writes one record of the table an author's query reads. The query (for
// example "SELECT uid_0,name_0 FROM c_user WHERE uid_0=5") tells whether the
// record exists, which columns may be written and their types; it must read
// exactly one base table (no join, no table list, no sub-select as source).
// Values go to the database as bound parameters, never as SQL text.
class CDbRecordWriter
{
public:
    CDbRecordWriter(const QSqlDatabase& db, int kind);

    // Runs the query. False, with the reason in Failure(), when it cannot run
    // or does not name one base table.
    bool Open(const QString& sql);
    bool Exists() const { return m_bExists; }

    // The texts converted to the types of the named columns (an empty text
    // is NULL for a column that is not text). False, with the reason in
    // Failure(), for a field the query does not read or a text that does not
    // fit its column.
    bool ConvertTexts(const QStringList& fields, const QStringList& texts, QVariantList& values);

    // Adds a record; newId, when given, receives the key the database gave it.
    bool Insert(const QStringList& fields, const QVariantList& values, QString* newId);

    // Changes the first record the query returned.
    bool UpdateFirst(const QStringList& fields, const QVariantList& values);

    QString Failure() const { return m_strFailure; }

private:
    bool Fail(const QString& failure);
    bool ColumnsOf(const QStringList& fields, QStringList& columns);
    QStringList KeyColumns() const;
    bool FirstRowKey(const QStringList& keyColumns, QVariantList& keyValues);
    bool Run(const QString& sql, const QVariantList& values, QString* firstValue);

    QSqlDatabase m_db;
    int m_nKind;
    QSqlRecord m_record;
    QString m_strTable;
    QString m_strFromTail; // the query from its FROM to its end
    bool m_bExists = false;
    QString m_strFailure;
};

// The one base table of a query and the query text from its FROM keyword on;
// false for a join, a table list, a sub-select source or no FROM at all.
bool DbBaseTableOf(const QString& sql, QString& table, QString& fromTail);
