#pragma once

#include "TempFolder.h"

#include <QString>

#include <memory>

// A fresh, empty database of kind 2 (an SQLite file in a temporary folder) or
// kind 3 (a database of its own on the PostgreSQL test server named by
// TEMBRA_TEST_PG_HOST, TEMBRA_TEST_PG_PORT and TEMBRA_TEST_PG_USER), removed
// again with the object. Connection texts are in the stored forms.
class DbTestDatabase
{
public:
    explicit DbTestDatabase(int kind);
    ~DbTestDatabase();

    // Empty when the database could not be made; Problem() says why.
    QString ConnectText() const { return m_strConnectText; }
    QString Problem() const { return m_strProblem; }
    // The folder of the SQLite file (kind 2), ending in "/"; empty for kind 3.
    QString Folder() const { return m_folder ? m_folder->path() : QString(); }

    static QString AccessText(const QString& path);
    static QString PostgreSqlText(const QString& host, const QString& port, const QString& database,
                                  const QString& user, const QString& password);
    static QString SqlServerText(const QString& host, const QString& port, const QString& database,
                                 const QString& user, const QString& password);

private:
    void CreatePostgreSql();

    std::unique_ptr<TempFolder> m_folder;
    QString m_strDatabase;
    QString m_strAdminText;
    QString m_strConnectText;
    QString m_strProblem;
};
