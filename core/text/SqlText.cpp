#include "text/SqlText.h"

void EscapeSqlText(QString& text)
{
    text.replace(u'\'', QStringLiteral("''"));
}

QString EscapeSqlTextNoBracket(const QString& text)
{
    QString escaped = text;
    EscapeSqlText(escaped);
    return escaped;
}

QString LegacyPasswordText(const QString& scrambledPassword)
{
    // The bracket steps in their original order; the brackets one step adds
    // are not touched by the steps after it.
    QString text = scrambledPassword;
    text.replace(u'[', QStringLiteral("[[]"));
    text.replace(u'%', QStringLiteral("[%]"));
    text.replace(u'"', QStringLiteral("[\"]"));
    return text;
}
