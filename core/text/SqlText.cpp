#include "text/SqlText.h"

#include <QRegularExpression>

bool IsSqlNumber(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?\\d+(\\.\\d+)?$"));
    return number.match(value).hasMatch();
}

void EscapeSqlText(QString& text)
{
    text.replace(u'\'', QStringLiteral("''"));
}

bool PutSqlValue(QString& sql, const QString& token, const QString& value)
{
    return PutSqlValues(sql, token, QStringList{value});
}

bool PutSqlValues(QString& sql, const QString& token, const QStringList& values)
{
    if (token.isEmpty() || !sql.contains(token))
        return true;
    const QString value = values.join(u',');
    // A value holding a token's opening would be filled again by a later
    // token of the same template, landing wherever that token stands.
    if (value.contains(SqlTokenOpening))
        return false;
    QStringList escapedValues = values;
    bool number = true;
    for (QString& each : escapedValues) {
        number = number && (each.isEmpty() || IsSqlNumber(each));
        EscapeSqlText(each);
    }
    const QString escaped = escapedValues.join(u',');
    QString filled;
    filled.reserve(sql.size() + value.size());
    bool quoted = false;
    for (qsizetype i = 0; i < sql.size();) {
        if (QStringView(sql).sliced(i).startsWith(token)) {
            if (!quoted && !number)
                return false;
            filled += quoted ? escaped : value;
            i += token.size();
            continue;
        }
        // A doubled apostrophe inside a literal turns the state twice.
        if (sql[i] == u'\'')
            quoted = !quoted;
        filled += sql[i++];
    }
    sql = filled;
    return true;
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
