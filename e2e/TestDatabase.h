#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class TempFolder;

// The database one run of the sessions works on: a fresh copy of the demo
// database (kind 2, an SQLite file) or the demo loaded into a database of its
// own on the PostgreSQL test server (kind 3). The sessions read it through
// Qt Sql to check what the program wrote.
class TestDatabase
{
public:
    TestDatabase(int kind, const QString& folder);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    int Kind() const { return m_nKind; }
    QString Problem() const { return m_strProblem; }
    // The bytes of a cfg.ini that points the program at this database.
    QByteArray Settings() const;

    // Every row of the query, each a list of its column texts.
    QList<QStringList> Rows(const QString& sql) const;
    QString Value(const QString& sql) const;
    int Count(const QString& sql) const;
    // How many rows of all tables hold the text in one of their columns.
    int RowsHolding(const QString& text) const;

private:
    bool MakeSqliteCopy(const QString& folder);
    bool MakePostgreSql();

    int m_nKind;
    QString m_strConnection;   // the Qt Sql connection's name
    QString m_strProgramText;  // the program's connection text
    QString m_strPgDatabase;
    QString m_strPgAdminText;
    QString m_strProblem;
};
