#include "db/DbConnectText.h"

#include "db/DbFetch.h"
#include "db/DbTexts.h"

#include <QList>
#include <QPair>

namespace
{

// Driver libraries by path, so nothing depends on their registration in
// odbcinst.ini.
const QString kFreeTdsLibrary = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so");
const QString kPsqlOdbcLibrary = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so");

// FreeTDS picks the protocol version the server offers and talks UTF-8.
const QString kFreeTdsExtras = QStringLiteral("TDS_Version=auto;ClientCharset=UTF-8;");
// Protocol "7.4-2": psqlODBC rolls back only the failed statement, so one
// failed statement does not abort the owner's transaction. Booleans stay
// the driver's "1"/"0" characters, text is varchar, bytea binary; a
// statement may run as long as the owners' 600 seconds.
const QString kPsqlOdbcExtras = QStringLiteral(
    "Protocol=7.4-2;TextAsLongVarchar=0;ByteaAsLongVarBinary=1;"
    "ConnSettings={SET statement_timeout=600000};");
// Connections give up after the owners' 10 seconds.
const QString kOdbcOptions = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10");

using KeyValues = QList<QPair<QString, QString>>;

// "key=value;" pairs; a value may be quoted ("...") or braced ({...}), and may
// then hold ";". Keys are trimmed (stored PostgreSQL texts hold tabs before
// PORT); values are taken as they stand, without their quotes or braces.
KeyValues ParsePairs(const QString& text)
{
    KeyValues pairs;
    qsizetype i = 0;
    const qsizetype length = text.size();
    while (i < length) {
        const qsizetype equals = text.indexOf(u'=', i);
        if (equals < 0)
            break;
        const QString key = text.mid(i, equals - i).trimmed();
        qsizetype valueStart = equals + 1;
        QString value;
        const QChar first = valueStart < length ? text.at(valueStart) : QChar();
        if (first == u'"' || first == u'{') {
            const QChar close = first == u'"' ? u'"' : u'}';
            qsizetype end = text.indexOf(close, valueStart + 1);
            if (end < 0)
                end = length;
            value = text.mid(valueStart + 1, end - valueStart - 1);
            i = text.indexOf(u';', end);
        } else {
            const qsizetype end = text.indexOf(u';', valueStart);
            value = text.mid(valueStart, end < 0 ? -1 : end - valueStart);
            i = end;
        }
        if (!key.isEmpty())
            pairs.append({key, value});
        if (i < 0)
            break;
        ++i;
    }
    return pairs;
}

QString ValueOf(const KeyValues& pairs, const QString& key)
{
    for (const auto& pair : pairs) {
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0)
            return pair.second;
    }
    return QString();
}

// One ODBC attribute; values that could end or open a field go in braces.
QString OdbcPair(const QString& key, const QString& value)
{
    const bool brace = value.contains(u';') || value.contains(u'{') || value.contains(u'}')
        || value != value.trimmed();
    if (!brace)
        return key + u'=' + value + u';';
    QString escaped = value;
    escaped.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return key + QStringLiteral("={") + escaped + QStringLiteral("};");
}

DbDriverSettings SqlServerSettings(const QString& text)
{
    const KeyValues pairs = ParsePairs(text);
    const QString server = ValueOf(pairs, QStringLiteral("Server"));
    const qsizetype comma = server.indexOf(u',');
    QString odbc = QStringLiteral("DRIVER=") + kFreeTdsLibrary + u';';
    odbc += OdbcPair(QStringLiteral("SERVER"), comma < 0 ? server : server.left(comma));
    if (comma >= 0)
        odbc += OdbcPair(QStringLiteral("PORT"), server.mid(comma + 1));
    odbc += OdbcPair(QStringLiteral("DATABASE"), ValueOf(pairs, QStringLiteral("DATABASE")));
    odbc += OdbcPair(QStringLiteral("UID"), ValueOf(pairs, QStringLiteral("UID")));
    odbc += OdbcPair(QStringLiteral("PWD"), ValueOf(pairs, QStringLiteral("PWD")));
    odbc += kFreeTdsExtras;
    return {QStringLiteral("QODBC"), odbc, kOdbcOptions};
}

DbDriverSettings PostgreSqlSettings(const QString& text)
{
    const KeyValues outer = ParsePairs(text);
    const QString inner = ValueOf(outer, QStringLiteral("User Properties"));
    const KeyValues pairs = inner.isEmpty() ? outer : ParsePairs(inner);
    QString password = ValueOf(pairs, QStringLiteral("PWD"));
    if (password.isEmpty())
        password = ValueOf(outer, QStringLiteral("Password"));
    QString odbc = QStringLiteral("DRIVER=") + kPsqlOdbcLibrary + u';';
    odbc += OdbcPair(QStringLiteral("SERVER"), ValueOf(pairs, QStringLiteral("SERVER")));
    odbc += OdbcPair(QStringLiteral("PORT"), ValueOf(pairs, QStringLiteral("PORT")));
    odbc += OdbcPair(QStringLiteral("DATABASE"), ValueOf(pairs, QStringLiteral("DATABASE")));
    odbc += OdbcPair(QStringLiteral("UID"), ValueOf(pairs, QStringLiteral("UID")));
    odbc += OdbcPair(QStringLiteral("PWD"), password);
    odbc += kPsqlOdbcExtras;
    return {QStringLiteral("QODBC"), odbc, kOdbcOptions};
}
} // namespace

int DbKindOfText(const QString& text)
{
    if (text.contains(DbText::kSqlServerMark))
        return kDbSqlServer;
    if (text.contains(DbText::kAccessMark))
        return kDbAccess;
    return kDbPostgreSql;
}

QString DbAccessPathOf(const QString& text)
{
    const qsizetype source = text.indexOf(DbText::kDataSource);
    if (source < 0)
        return QString();
    const qsizetype start = source + DbText::kDataSource.size();
    qsizetype end = text.indexOf(DbText::kJet, start);
    if (end < 0)
        end = text.indexOf(u';', start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

QString DbLookupServiceAddress()
{
    return QStringLiteral("http://") + QStringLiteral(TEMBRA_LOOKUP_HOST) + QStringLiteral("/cs/");
}

bool IsDbLookupServiceText(const QString& text)
{
    return text.contains(DbLookupServiceAddress());
}

DbDriverSettings TranslateConnectText(const QString& text)
{
    switch (DbKindOfText(text)) {
    case kDbSqlServer:
        return SqlServerSettings(text);
    case kDbAccess:
        return {QStringLiteral("QSQLITE"), DbAccessPathOf(text), QString()};
    default:
        return PostgreSqlSettings(text);
    }
}

bool SpliceSqlServerHost(QString& text, QString& failure)
{
    const qsizetype field = text.indexOf(DbText::kServerField);
    if (field < 0)
        return true;
    const qsizetype start = field + DbText::kServerField.size();
    qsizetype end = start;
    while (end < text.size() && text.at(end) != u',' && text.at(end) != u';')
        ++end;
    const QString host = text.mid(start, end - start);
    if (host.indexOf(u'/') <= 0)
        return true;
    const QString reply = DbFetchText(host).trimmed();
    if (reply.isEmpty()) {
        failure = DbText::kEmptyHostReply.arg(host);
        return false;
    }
    text.replace(start, end - start, reply);
    return true;
}
