#include "db/DbRecordWriter.h"

#include "db/DbConnectText.h"
#include "db/DbTexts.h"
#include "db/DbValueText.h"
#include "text/DateText.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QTime>

namespace
{
struct SqlToken
{
    QString text;
    qsizetype pos;
    int depth;
};

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$' || c == u'#' || c == u'@';
}

// Words, quoted texts and single punctuation characters, each with the
// parenthesis depth it stands at.
QList<SqlToken> Tokenize(const QString& sql)
{
    QList<SqlToken> tokens;
    int depth = 0;
    qsizetype i = 0;
    const qsizetype length = sql.size();
    while (i < length) {
        const QChar c = sql.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            i = sql.indexOf(close, i + 1);
            i = i < 0 ? length : i + 1;
        } else if (IsWordChar(c)) {
            while (i < length && IsWordChar(sql.at(i)))
                ++i;
        } else {
            ++i;
        }
        if (c == u')')
            depth = std::max(0, depth - 1);
        tokens.append({sql.mid(start, i - start), start, depth});
        if (c == u'(')
            ++depth;
    }
    return tokens;
}

bool IsWord(const SqlToken& token, const char* word)
{
    return token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Keywords that end the table list of a FROM clause.
bool EndsFromList(const SqlToken& token)
{
    for (const char* word : {"WHERE", "ORDER", "GROUP", "HAVING", "LIMIT", "OFFSET", "UNION",
                             "EXCEPT", "INTERSECT", "FETCH", "FOR", "WINDOW"}) {
        if (IsWord(token, word))
            return true;
    }
    return false;
}

QVariant NullOf(QMetaType::Type type)
{
    return QVariant(QMetaType(type));
}

bool ParseBool(const QString& text, bool& value)
{
    const QString t = text.trimmed().toLower();
    if (t == u"-1" || t == u"1" || t == u"true") {
        value = true;
        return true;
    }
    if (t == u"0" || t == u"false") {
        value = false;
        return true;
    }
    return false;
}

// The text as a value of the column's type; invalid when it does not fit.
QVariant ConvertText(const QString& text, QMetaType::Type type)
{
    bool ok = false;
    switch (type) {
    case QMetaType::QString:
        return text;
    case QMetaType::QByteArray:
        return text.toUtf8();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: {
        const qlonglong value = text.trimmed().toLongLong(&ok);
        return ok ? QVariant(value) : QVariant();
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double value = QLocale::c().toDouble(text.trimmed(), &ok);
        return ok ? QVariant(value) : QVariant();
    }
    case QMetaType::Bool: {
        bool value = false;
        return ParseBool(text, value) ? QVariant(value) : QVariant();
    }
    case QMetaType::QDate: {
        const QDate value = ParseDateTimeText(text).date();
        return value.isValid() ? QVariant(value) : QVariant();
    }
    case QMetaType::QDateTime: {
        const QDateTime value = ParseDateTimeText(text);
        return value.isValid() ? QVariant(value) : QVariant();
    }
    case QMetaType::QTime: {
        const QTime value = QTime::fromString(text.trimmed(), Qt::ISODate);
        return value.isValid() ? QVariant(value) : QVariant();
    }
    default:
        return text;
    }
}

QString Placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks.append(QStringLiteral("?"));
    return marks.join(u',');
}
} // namespace

bool DbBaseTableOf(const QString& sql, QString& table, QString& fromTail)
{
    const QList<SqlToken> tokens = Tokenize(sql);
    qsizetype from = 0;
    while (from < tokens.size() && !(tokens[from].depth == 0 && IsWord(tokens[from], "FROM")))
        ++from;
    if (from >= tokens.size())
        return false;
    QList<SqlToken> list;
    for (qsizetype i = from + 1; i < tokens.size(); ++i) {
        const SqlToken& token = tokens[i];
        if (token.depth == 0 && EndsFromList(token))
            break;
        if (token.text == u";")
            break;
        list.append(token);
    }
    if (list.isEmpty() || list.size() > 3)
        return false;
    for (const SqlToken& token : list) {
        if (token.text == u"," || token.text == u"(" || IsWord(token, "JOIN"))
            return false;
    }
    if (list.size() == 3 && !IsWord(list[1], "AS"))
        return false;
    table = list.first().text;
    fromTail = sql.mid(tokens[from].pos);
    return true;
}

CDbRecordWriter::CDbRecordWriter(const QSqlDatabase& db, int kind)
    : m_db(db), m_nKind(kind)
{
}

bool CDbRecordWriter::Fail(const QString& failure)
{
    m_strFailure = failure;
    return false;
}

bool CDbRecordWriter::Open(const QString& sql)
{
    if (!DbBaseTableOf(sql, m_strTable, m_strFromTail))
        return Fail(DbText::kNotOneTable);
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        return Fail(query.lastError().text());
    m_record = query.record();
    m_bExists = query.next();
    return true;
}

bool CDbRecordWriter::ColumnsOf(const QStringList& fields, QStringList& columns)
{
    columns.clear();
    for (const QString& field : fields) {
        const int index = m_record.indexOf(field);
        if (index < 0)
            return Fail(DbText::kUnknownField.arg(field));
        columns.append(m_record.fieldName(index));
    }
    return true;
}

bool CDbRecordWriter::ConvertTexts(const QStringList& fields, const QStringList& texts,
                                   QVariantList& values)
{
    values.clear();
    QStringList columns;
    if (!ColumnsOf(fields, columns))
        return false;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const auto type = QMetaType::Type(m_record.field(columns[i]).metaType().id());
        const QString& text = texts.value(i);
        if (text.isEmpty() && type != QMetaType::QString) {
            values.append(NullOf(type));
            continue;
        }
        const QVariant value = ConvertText(text, type);
        if (!value.isValid())
            return Fail(DbText::kNotConvertible.arg(fields[i], text));
        values.append(value);
    }
    return true;
}

QStringList CDbRecordWriter::KeyColumns() const
{
    const QSqlIndex index = m_db.primaryIndex(m_strTable);
    QStringList keys;
    for (int i = 0; i < index.count(); ++i)
        keys.append(index.fieldName(i));
    if (keys.isEmpty())
        keys.append(QStringLiteral("uid_0")); // every table of the schema has it
    return keys;
}

bool CDbRecordWriter::Run(const QString& sql, const QVariantList& values, QString* firstValue)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return Fail(query.lastError().text());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return Fail(query.lastError().text());
    if (firstValue) {
        if (!query.next())
            return Fail(query.lastError().isValid() ? query.lastError().text() : DbText::kNoRow);
        *firstValue = DbValueToText(query.value(0));
    }
    return true;
}

bool CDbRecordWriter::Insert(const QStringList& fields, const QVariantList& values, QString* newId)
{
    QStringList columns;
    if (!ColumnsOf(fields, columns))
        return false;
    QString sql = QStringLiteral("INSERT INTO ") + m_strTable;
    if (columns.isEmpty())
        sql += QStringLiteral(" DEFAULT VALUES");
    else
        sql += u'(' + columns.join(u',') + QStringLiteral(") VALUES (") + Placeholders(columns.size()) + u')';
    if (!newId)
        return Run(sql, values, nullptr);
    switch (m_nKind) {
    case kDbSqlServer:
        return Run(sql, values, nullptr)
            && Run(QStringLiteral("SELECT @@IDENTITY AS z_uid"), {}, newId);
    case kDbAccess:
        return Run(sql, values, nullptr)
            && Run(QStringLiteral("SELECT last_insert_rowid() AS z_uid"), {}, newId);
    default:
        return Run(sql + QStringLiteral(" RETURNING ") + KeyColumns().first(), values, newId);
    }
}

bool CDbRecordWriter::FirstRowKey(const QStringList& keyColumns, QVariantList& keyValues)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT ") + keyColumns.join(u',') + u' ' + m_strFromTail))
        return Fail(query.lastError().text());
    if (!query.next())
        return Fail(DbText::kNoRow);
    keyValues.clear();
    for (qsizetype i = 0; i < keyColumns.size(); ++i)
        keyValues.append(query.value(int(i)));
    return true;
}

bool CDbRecordWriter::UpdateFirst(const QStringList& fields, const QVariantList& values)
{
    QStringList columns;
    if (!ColumnsOf(fields, columns))
        return false;
    if (columns.isEmpty())
        return true;
    const QStringList keys = KeyColumns();
    QVariantList keyValues;
    if (!FirstRowKey(keys, keyValues))
        return Fail(DbText::kNoKey.arg(m_strTable) + u'\n' + m_strFailure);
    QStringList sets;
    for (const QString& column : columns)
        sets.append(column + QStringLiteral("=?"));
    QStringList conditions;
    for (const QString& key : keys)
        conditions.append(key + QStringLiteral("=?"));
    const QString sql = QStringLiteral("UPDATE ") + m_strTable + QStringLiteral(" SET ")
        + sets.join(u',') + QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return Run(sql, values + keyValues, nullptr);
}
