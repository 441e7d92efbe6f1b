#pragma once

#include "text/SqlLexer.h"

#include <QString>
#include <QStringList>

// Filling SQL templates with values in two steps, so that each value is
// judged where it finally stands in the assembled statement:
//  1. PutSqlValue/PutSqlValues put a waiting token in place of a template
//     token; the waiting token carries the value and the token's name and
//     is neutral to the SQL around it. Fragments of SQL text (filters, the
//     menu entry's type) may still be put into the statement after it.
//  2. FillSqlValues reads the assembled statement once with the SQL lexer
//     and puts each waiting value in: escaped for the literal it stands in,
//     as a number (or a list of numbers) in plain SQL, and refused inside
//     a comment or a quoted name.
// The SQL is read, not its apostrophes counted: an apostrophe in a comment,
// a quoted name, E'...' or $$...$$ never makes a bare token look quoted (a
// hostile value would then run as SQL), and a filter's value is judged in
// the statement, not in its fragment alone.

// The opening of every template token ("{{p1}}", "{{user_id}}", ...).
inline const QString SqlTokenOpening = QStringLiteral("{{");

// False, with the text unchanged, for a value holding a token's opening:
// the fragments and tokens put in after it would take it for one of theirs.
bool PutSqlValue(QString& sql, const QString& token, const QString& value);
// A list of values joined by "," (a list of numbers in plain SQL).
bool PutSqlValues(QString& sql, const QString& token, const QStringList& values);

// The waiting token of {{TOP30}}/{{TOP100}}: "TOP n" on SQL Server where it
// stands, a LIMIT clause at the statement's end on the other kinds; without
// a limit (rows 0) nothing, judged like an empty value, so that its going
// away cannot join its neighbours into a comment mark or a literal's opening.
QString SqlRowLimitToken(int rows, const QString& token);

// Puts every waiting value of the statement in (step 2 above). False, with
// the statement unchanged and the reason in error, when the statement
// cannot be read, a value does not fit where it stands, or the values would
// change what is literal, name, comment or code. When rowLimit is given, a
// row limit that would become a LIMIT clause is handed back in it instead
// (0 for none), for a caller whose statement becomes part of a paged query
// with a LIMIT of its own; "TOP n" on SQL Server stays where it stands.
bool FillSqlValues(QString& sql, SqlDialect dialect, QString& error, int* rowLimit = nullptr);

// What a user types as a number (optional sign, digits with at most one
// decimal point, blanks around), without the blanks; empty when the text is
// no number.
QString SqlNumberText(const QString& value);
