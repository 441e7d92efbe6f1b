#include "SqlText.h"

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
    QString text = EscapeSqlTextNoBracket(scrambledPassword);
    text.replace(u'[', QStringLiteral("[[]"));
    text.replace(u'%', QStringLiteral("[%]"));
    text.replace(u'"', QStringLiteral("[\"]"));
    text.replace(QStringLiteral(" N''"), QStringLiteral(" N'"));
    text.replace(QStringLiteral("'',"), QStringLiteral("',"));
    return text;
}
