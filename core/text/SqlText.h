#pragma once

#include <QString>
#include <QStringList>

// Escaping of a value put between apostrophes in SQL text: apostrophes are
// doubled, nothing else changes, so the value can never end its literal and
// reads back exactly as it was given.
void EscapeSqlText(QString& text);

// The same escaping on a copy (the detail-saving action).
QString EscapeSqlTextNoBracket(const QString& text);

// The form in which existing installations hold user passwords in c_user.
// They were stored by splicing the escaped scrambled password into a literal,
// where "[", "%" and double quotes were put in brackets; the database then
// stored the literal's value, brackets included and apostrophes single. The
// login and change-password dialogs store and compare this form, always
// through bound parameters, never spliced into SQL text.
QString LegacyPasswordText(const QString& scrambledPassword);
