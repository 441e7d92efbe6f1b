#pragma once

#include <QString>

// Escaping of a value put between apostrophes in SQL text: apostrophes are
// doubled, nothing else changes, so the value can never end its literal and
// reads back exactly as it was given.
void EscapeSqlText(QString& text);

// The same escaping on a copy (the detail-saving action).
QString EscapeSqlTextNoBracket(const QString& text);

// The form in which existing installations hold user passwords in c_user: the
// scrambled password with apostrophes doubled, "[", "%" and double quotes put
// in brackets, and " N''" and "''," folded back. Stored rows depend on it, so
// the login and change-password dialogs store and compare this form - always
// through bound parameters, never spliced into SQL text.
QString LegacyPasswordText(const QString& scrambledPassword);
