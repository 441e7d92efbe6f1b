#pragma once

#include "TempFolder.h"
#include "db/DbConnection.h"
#include "db/tests/DbTestDatabase.h"
#include "text/AppState.h"

#include <QStringList>

#include <memory>
#include <ostream>

// Test failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// The demo data in a fresh database of kind 2 or 3, a program folder of its
// own whose cfg.ini points at it, a clean application state, and the
// program's messages and questions recorded instead of shown.
class ShellFixture
{
public:
    explicit ShellFixture(int kind);
    ~ShellFixture();

    // Empty when everything is in place, else what went wrong.
    QString Problem() const { return m_strProblem; }

    // The first column of the first row, "<none>" for no row.
    QString Value(const QString& sql);
    int Count(const QString& sql);
    // Writes cfg.ini in the program folder with the kind and connection text.
    void WriteSettings(int kind, const QString& connectText);

    QString ConnectText() const { return m_database->ConnectText(); }

    TempFolder m_folder;
    QStringList m_messages;
    QStringList m_questions;
    bool m_answer = true;

private:
    std::unique_ptr<DbTestDatabase> m_database;
    CDbConnection m_db;
    AppState m_savedState;
    QString m_strProblem;
};
