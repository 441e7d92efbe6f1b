#pragma once

#include "text/SqlLexer.h"

#include <QList>
#include <QPair>
#include <QString>

// The values of the form-level tokens: what the form, its action object and
// the application hold at the time of the expansion.
struct PlaceholderValues
{
    // The browse box that opened a picker, when one did, and its text. (A
    // flag beside a text rather than an optional text: gcc's Release build
    // took the copy of an emptied optional for a read of uninitialised data.)
    bool hasIndexBox = false;
    QString index2;
    QString type;
    QString input;       // the form's input text
    QString selectedUid; // the action object's selected uid text
    QString listedUids;  // uids of the rows now listed, each followed by ","
    bool topRows = false;
    QString company;
    QString userUid;
    QString userId;
    QString userName;
    QString dbPath;
    QString version;
    QString exeName;
    QString globals[10];
    SqlDialect dialect = SqlDialect::SqlServer;
    bool sql = false; // expanding SQL: the row limits take the dialect's form

    // The application's part (user, installation, global slots) filled in.
    static PlaceholderValues WithApplication();
};

// Replaces the form-level tokens ({{index}}, {{username}}, {{today:year}},
// {{A0}}.. and the others) in a template, one token after the other over the
// text the ones before produced, so a value holding a later token is
// expanded too. Other tokens stay as they are.
class CPlaceholderExpander
{
public:
    explicit CPlaceholderExpander(PlaceholderValues values);

    // A text to show: every value as it stands.
    QString ExpandText(const QString& text) const;

    // A SQL template, filled at last: the values the actions put in before
    // and the form-level ones are judged where they stand in the finished
    // statement (SqlFill.h). A value that users or the database gave (user
    // names, input texts, uids, global slots) is escaped inside a literal
    // and must be numbers joined by "," outside one; {{type}} and the
    // program's own texts (dates, version) go in as they stand; {{TOP30}}
    // and {{TOP100}} become the dialect's row limit (handed back in rowLimit
    // instead of a LIMIT clause when it is given, FillSqlValues). On a
    // refusal nothing comes back but false and the reason, so no SQL runs
    // with it.
    bool ExpandSql(const QString& sql, QString& expanded, QString& error, int* rowLimit = nullptr) const;

    // The tokens the text holds, each with its value, for a caller that puts
    // them in its own way (a command line quotes each for the shell).
    QList<QPair<QString, QString>> TokenValues(const QString& text) const;

private:
    PlaceholderValues m_values;
};
