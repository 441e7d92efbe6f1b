#pragma once

#include <QString>
#include <QStringList>

// Escaping of a value put between apostrophes in SQL text: apostrophes are
// doubled, nothing else changes, so the value can never end its literal and
// reads back exactly as it was given.
void EscapeSqlText(QString& text);

// Numbers may stand outside a quoted literal; nothing else can be put there
// without becoming SQL of its own.
bool IsSqlNumber(const QString& value);

// The opening of every template token ("{{p1}}", "{{user_id}}", ...).
inline const QString SqlTokenOpening = QStringLiteral("{{");

// Puts value into SQL text at every token: escaped where the token stands
// inside a quoted literal, and only as a number where it stands outside one.
// False, with the text unchanged, when a value that is no number would have
// to stand outside a literal, and for a value holding a token's opening.
bool PutSqlValue(QString& sql, const QString& token, const QString& value);
// The same for a list of values joined by "," (each escaped, or each a number).
bool PutSqlValues(QString& sql, const QString& token, const QStringList& values);

// The same escaping on a copy (the detail-saving action).
QString EscapeSqlTextNoBracket(const QString& text);

// The form in which existing installations hold user passwords in c_user.
// They were stored by splicing the escaped scrambled password into a literal,
// where "[", "%" and double quotes were put in brackets; the database then
// stored the literal's value, brackets included and apostrophes single. The
// login and change-password dialogs store and compare this form, always
// through bound parameters, never spliced into SQL text.
QString LegacyPasswordText(const QString& scrambledPassword);
