#pragma once

#include "D_T1.h"
#include "db/DbConnection.h"
#include "db/tests/DbTestDatabase.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "TempFolder.h"

#include <QPointer>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

// A fixture for the form actions on a fresh database of the kind given as
// the test parameter (2 SQLite, 3 the PostgreSQL test server): the system
// tables, a logged-in user, every action registered, real form windows
// built from descriptions, and recorders in place of message boxes and
// questions.
class ActionFormTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The column types that differ between the kinds.
    QString KeyColumn() const;  // an integer key the database numbers itself
    QString BlobType() const;

    // Runs a statement on the test's own connection; the test fails on error.
    void Exec(const QString& sql);
    // The first value of a query, "<none>" when there is no row.
    QString Value(const QString& sql);
    // Every value of every row, joined by "|".
    QString Rows(const QString& sql);

    // A form window from the controls of its dialog element (a form of
    // 640×480), or from a whole description.
    D_T1* Open(const QString& dialog);
    D_T1* OpenDescription(const QString& description);
    // A form of the demo database by its file name in demo/forms.
    D_T1* OpenDemoForm(const QString& fileName);
    // The event of a control by its description id (a button's "CLICK").
    void Fire(int id, const QString& event = QStringLiteral("CLICK"));
    QWidget* Control(int id) const;

    std::unique_ptr<DbTestDatabase> m_database;
    CDbConnection m_db;
    QPointer<D_T1> m_form;
    // What message boxes would have shown, and the questions asked; each
    // question is answered with m_answer.
    QStringList m_messages;
    QStringList m_questions;
    bool m_answer = true;

private:
    TempFolder m_programFolder; // the program folder while the test runs
    AppState m_saved;
    MessageSink m_previousSink;
    QuestionSink m_previousQuestions;
};

// Instantiates a suite of this fixture on SQLite and PostgreSQL.
#define TEMBRA_ACTION_KINDS(Suite)                                                                             \
    INSTANTIATE_TEST_SUITE_P(Kinds, Suite, ::testing::Values(2, 3),                                           \
                             [](const auto& info) { return info.param == 2 ? "SQLite" : "PostgreSQL"; })
