#include "db/tests/DbTestDatabase.h"

#include "db/DbConnection.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>

DbTestDatabase::DbTestDatabase(int kind)
{
    if (kind == 2) {
        m_folder = std::make_unique<TempFolder>();
        const QString path = m_folder->file(QStringLiteral("test.mdb"));
        m_folder->writeBytes(QStringLiteral("test.mdb"), QByteArray()); // an empty SQLite file
        m_strConnectText = AccessText(path);
    } else {
        CreatePostgreSql();
    }
}

DbTestDatabase::~DbTestDatabase()
{
    if (m_strDatabase.isEmpty())
        return;
    CDbConnection admin;
    admin.SetConnectString(m_strAdminText);
    if (admin.Connect())
        admin.ExecuteCommand(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_strDatabase));
    admin.Close();
}

void DbTestDatabase::CreatePostgreSql()
{
    const QString host = qEnvironmentVariable("TEMBRA_TEST_PG_HOST");
    const QString port = qEnvironmentVariable("TEMBRA_TEST_PG_PORT");
    const QString user = qEnvironmentVariable("TEMBRA_TEST_PG_USER");
    if (host.isEmpty() || port.isEmpty() || user.isEmpty()) {
        m_strProblem = QStringLiteral(
            "TEMBRA_TEST_PG_HOST, TEMBRA_TEST_PG_PORT and TEMBRA_TEST_PG_USER must name the PostgreSQL "
            "test server (start it with scripts/pg-test-server.sh)");
        return;
    }
    static QAtomicInteger<int> counter;
    const QString database = QStringLiteral("tembra_test_%1_%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(counter.fetchAndAddRelaxed(1));
    m_strAdminText = PostgreSqlText(host, port, QStringLiteral("postgres"), user, QString());
    CDbConnection admin;
    admin.SetConnectString(m_strAdminText);
    if (!admin.Connect()) {
        m_strProblem = QStringLiteral("cannot reach the PostgreSQL test server: ") + admin.m_strErrorInfo;
        return;
    }
    if (!admin.ExecuteCommand(QStringLiteral("CREATE DATABASE ") + database)) {
        m_strProblem = admin.m_strErrorInfo;
        return;
    }
    admin.Close();
    m_strDatabase = database;
    m_strConnectText = PostgreSqlText(host, port, database, user, QString());
}

QString DbTestDatabase::AccessText(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
        + QStringLiteral(";Jet OLEDB:Database Password=kpm.velanorbi.test;");
}

QString DbTestDatabase::PostgreSqlText(const QString& host, const QString& port, const QString& database,
                                       const QString& user, const QString& password)
{
    // The form the database settings dialog writes.
    return QStringLiteral("Provider=MSDASQL.1;Password=%1;User Properties=\"DRIVER={PostgreSQL};"
                          "DATABASE=%2;SERVER=%3;\t\t\t\t PORT=%4;UID=%5;PWD=%1;TextAsLongVarchar=0;"
                          "ByteaAsLongVarBinary=1\"")
        .arg(password, database, host, port, user);
}

QString DbTestDatabase::SqlServerText(const QString& host, const QString& port, const QString& database,
                                      const QString& user, const QString& password)
{
    return QStringLiteral("driver={SQL Server};Server=%1,%2;DATABASE=%3;UID=%4;PWD=%5;")
        .arg(host, port, database, user, password);
}
