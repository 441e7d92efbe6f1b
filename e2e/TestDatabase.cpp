#include "TestDatabase.h"

#include "DemoDatabase.h"
#include "db/DbConnection.h"
#include "text/IniFile.h"
#include "text/TextScramble.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kAccessText = QStringLiteral(
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Jet OLEDB:Database Password=kpm.velanorbi.test;");
// The settings dialog's form, without the tabs it puts before PORT (a cfg.ini
// line keeps the scrambled text whole that way).
const QString kPostgreSqlText = QStringLiteral(
    "Provider=MSDASQL.1;Password=;User Properties=\"DRIVER={PostgreSQL};DATABASE=%1;SERVER=%2;PORT=%3;UID=%4;PWD=;"
    "TextAsLongVarchar=0;ByteaAsLongVarBinary=1\"");
const QString kPostgreSqlReader =
    QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=%1;PORT=%2;DATABASE=%3;UID=%4;PWD=;");

QString Env(const char* name)
{
    return qEnvironmentVariable(name);
}

} // namespace

TestDatabase::TestDatabase(int kind, const QString& folder)
    : m_nKind(kind)
{
    static QAtomicInteger<int> counter;
    m_strConnection = QStringLiteral("e2e_%1").arg(counter.fetchAndAddRelaxed(1));
    if (kind == 2)
        MakeSqliteCopy(folder);
    else
        MakePostgreSql();
}

TestDatabase::~TestDatabase()
{
    QSqlDatabase::database(m_strConnection, false).close();
    QSqlDatabase::removeDatabase(m_strConnection);
    if (m_strPgDatabase.isEmpty())
        return;
    CDbConnection admin;
    admin.SetConnectString(m_strPgAdminText);
    if (admin.Connect())
        admin.ExecuteCommand(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_strPgDatabase));
    admin.Close();
}

bool TestDatabase::MakeSqliteCopy(const QString& folder)
{
    const QString path = folder + QStringLiteral("demo.mdb");
    if (!QFile::copy(QStringLiteral(TEMBRA_E2E_DEMO_DATABASE), path)) {
        m_strProblem = QStringLiteral("cannot copy the demo database " TEMBRA_E2E_DEMO_DATABASE);
        return false;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    m_strProgramText = kAccessText.arg(path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strConnection);
    db.setDatabaseName(path);
    if (!db.open()) {
        m_strProblem = db.lastError().text();
        return false;
    }
    return true;
}

bool TestDatabase::MakePostgreSql()
{
    const QString host = Env("TEMBRA_TEST_PG_HOST");
    const QString port = Env("TEMBRA_TEST_PG_PORT");
    const QString user = Env("TEMBRA_TEST_PG_USER");
    if (host.isEmpty() || port.isEmpty() || user.isEmpty()) {
        m_strProblem = QStringLiteral("TEMBRA_TEST_PG_HOST, TEMBRA_TEST_PG_PORT and TEMBRA_TEST_PG_USER must name "
                                      "the PostgreSQL test server (scripts/pg-test-server.sh starts one)");
        return false;
    }
    static QAtomicInteger<int> databases;
    const QString database = QStringLiteral("tembra_e2e_%1_%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(databases.fetchAndAddRelaxed(1));
    m_strPgAdminText = kPostgreSqlText.arg(QStringLiteral("postgres"), host, port, user);
    CDbConnection admin;
    admin.SetConnectString(m_strPgAdminText);
    if (!admin.Connect() || !admin.ExecuteCommand(QStringLiteral("CREATE DATABASE ") + database)) {
        m_strProblem = QStringLiteral("cannot make the database on the PostgreSQL test server: ") + admin.m_strErrorInfo;
        return false;
    }
    admin.Close();
    m_strPgDatabase = database;
    m_strProgramText = kPostgreSqlText.arg(database, host, port, user);
    CDbConnection loader;
    loader.SetConnectString(m_strProgramText);
    if (!loader.Connect() || !LoadDemoData(loader, 3, DemoSourceFolder(), m_strProblem)) {
        if (m_strProblem.isEmpty())
            m_strProblem = loader.m_strErrorInfo;
        return false;
    }
    loader.Close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_strConnection);
    db.setDatabaseName(kPostgreSqlReader.arg(host, port, database, user));
    if (!db.open()) {
        m_strProblem = db.lastError().text();
        return false;
    }
    return true;
}

QByteArray TestDatabase::Settings() const
{
    QByteArray bytes = WriteIniValue(QByteArray(), QStringLiteral("SERVER"), QStringLiteral("DTYPE"),
                                     QString::number(m_nKind));
    return WriteIniValue(bytes, QStringLiteral("SERVER"), QStringLiteral("NAME"), ScrambleText(m_strProgramText, 1));
}

QList<QStringList> TestDatabase::Rows(const QString& sql) const
{
    QList<QStringList> rows;
    QSqlQuery query(QSqlDatabase::database(m_strConnection));
    if (!query.exec(sql))
        return {{QStringLiteral("<query failed: %1>").arg(query.lastError().text())}};
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i).toString();
        rows << row;
    }
    return rows;
}

QString TestDatabase::Value(const QString& sql) const
{
    const QList<QStringList> rows = Rows(sql);
    return rows.isEmpty() || rows.first().isEmpty() ? QString() : rows.first().first();
}

int TestDatabase::Count(const QString& sql) const
{
    return Value(sql).toInt();
}

int TestDatabase::RowsHolding(const QString& text) const
{
    const QSqlDatabase db = QSqlDatabase::database(m_strConnection);
    int rows = 0;
    for (const QString& table : db.tables()) {
        const QSqlRecord columns = db.record(table);
        for (int i = 0; i < columns.count(); ++i) {
            if (columns.field(i).metaType().id() != QMetaType::QString)
                continue;
            QSqlQuery query(db);
            query.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2=?").arg(table, columns.fieldName(i)));
            query.addBindValue(text);
            if (query.exec() && query.next())
                rows += query.value(0).toInt();
        }
    }
    return rows;
}
