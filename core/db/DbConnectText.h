#pragma once

#include <QString>

// The stored connection texts keep the forms the settings dialog and the
// connection-lookup service write:
//   1 SQL Server  "driver={SQL Server};Server=host,port;DATABASE=..;UID=..;PWD=..;"
//   2 Access      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=path;Jet OLEDB:..."
//   3 PostgreSQL  "Provider=MSDASQL.1;Password=..;User Properties=\"DRIVER={PostgreSQL};..\""
// They are translated into what the Qt drivers take only when connecting:
// kind 1 runs on ODBC with FreeTDS, kind 2 on an SQLite file at the path,
// kind 3 on ODBC with the PostgreSQL Unicode driver.

enum DbKind
{
    kDbSqlServer = 1,
    kDbAccess = 2,
    kDbPostgreSql = 3,
};

// The kind a connection text names (case-sensitive substring tests, in this
// order): 1 with "driver={SQL Server};", 2 with
// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=", else 3.
int DbKindOfText(const QString& text);

// The database file of an Access text: the text after "Data Source=" up to
// ";Jet" (or up to the next ";" when there is no ";Jet"); empty when the text
// names no data source.
QString DbAccessPathOf(const QString& text);

// The address of the connection-lookup service ("http://" + the installation's
// service host + "/cs/"), and whether a stored text names it.
QString DbLookupServiceAddress();
bool IsDbLookupServiceText(const QString& text);

// What QSqlDatabase needs for a connection text.
struct DbDriverSettings
{
    QString driverName;   // "QODBC" or "QSQLITE"
    QString databaseName; // ODBC connection string or SQLite file path
    QString options;      // QSqlDatabase connect options
};

DbDriverSettings TranslateConnectText(const QString& text);

// The SQL Server host splice: when the Server field of a SQL Server text (the
// text after "{SQL Server};Server=" up to the first "," or ";") holds a "/"
// after its first character, it is a web address whose reply is the host.
// Only that field is replaced. Returns false, with the reason in failure,
// when the reply is empty; a text without such a host is left as it is.
bool SpliceSqlServerHost(QString& text, QString& failure);
