#include "PlaceholderExpander.h"

#include "FormTexts.h"
#include "text/AppState.h"
#include "text/DateText.h"
#include "text/MoneyWords.h"
#include "text/SqlFill.h"
#include "text/SqlTexts.h"

#include <QList>

#include <functional>
#include <optional>

namespace {

struct Token
{
    QString name;
    // A value that users or the database gave: SQL takes it only escaped
    // inside a literal, or as numbers joined by "," outside one. The others
    // are the program's own texts and the menu entry's type, which its
    // author writes as part of the SQL; they go in as they stand.
    bool foreign;
    std::function<std::optional<QString>(const PlaceholderValues&)> value;
};

std::optional<QString> Given(const QString& text)
{
    return text;
}

// "TOP n" in a text to show; in SQL the row limit of the database kind.
// Outside the opening step there is no limit and the token goes away.
std::optional<QString> RowLimit(const PlaceholderValues& values, int rows, const QString& token)
{
    if (values.sql)
        return SqlRowLimitToken(values.topRows ? rows : 0, token);
    return values.topRows ? SqlTexts::TopRows.arg(rows) : QString();
}

const QList<Token>& Tokens()
{
    static const QList<Token> tokens = [] {
        QList<Token> list = {
            {QStringLiteral("{{index2}}"), true, [](const PlaceholderValues& v) { return v.hasIndexBox ? Given(v.index2) : std::nullopt; }},
            {QStringLiteral("{{type}}"), false, [](const PlaceholderValues& v) { return Given(v.type); }},
            {QStringLiteral("{{cpy}}"), true, [](const PlaceholderValues& v) { return Given(v.company); }},
            {QStringLiteral("{{today:year}}"), false, [](const PlaceholderValues&) { return Given(GetYearText()); }},
            {QStringLiteral("{{today:month}}"), false, [](const PlaceholderValues&) { return Given(GetMonthText()); }},
            {QStringLiteral("{{today:day}}"), false, [](const PlaceholderValues&) { return Given(GetDayText()); }},
            {QStringLiteral("{{today:today}}"), false,
             [](const PlaceholderValues&) { return Given(GetTodaySlashText()); }},
            {QStringLiteral("{{index}}"), true, [](const PlaceholderValues& v) { return Given(v.input); }},
            {QStringLiteral("{{userid}}"), true, [](const PlaceholderValues& v) { return Given(v.userUid); }},
            {QStringLiteral("{{user_id}}"), true, [](const PlaceholderValues& v) { return Given(v.userId); }},
            {QStringLiteral("{{username}}"), true, [](const PlaceholderValues& v) { return Given(v.userName); }},
            {QStringLiteral("{{date}}"), false, [](const PlaceholderValues&) { return Given(GetTodayText()); }},
            {QStringLiteral("{{datetime}}"), false, [](const PlaceholderValues&) { return Given(GetNowText()); }},
            {QStringLiteral("{{today:year_big}}"), false,
             [](const PlaceholderValues&) { return Given(ToChineseCapitalDigits(GetYearText())); }},
            {QStringLiteral("{{today:month_big}}"), false,
             [](const PlaceholderValues&) { return Given(ToChineseCapitalDigits(GetMonthText())); }},
            {QStringLiteral("{{today:day_big}}"), false,
             [](const PlaceholderValues&) { return Given(ToChineseCapitalDigits(GetDayText())); }},
            {QStringLiteral("{{selected_uid_0}}"), true,
             [](const PlaceholderValues& v) { return Given(v.selectedUid); }},
            {QStringLiteral("{{selected_uids_now}}"), true,
             [](const PlaceholderValues& v) { return Given(v.listedUids); }},
            {QStringLiteral("{{db_path}}"), true, [](const PlaceholderValues& v) { return Given(v.dbPath); }},
            {QStringLiteral("{{version_exe}}"), false, [](const PlaceholderValues& v) { return Given(v.version); }},
            {QStringLiteral("{{exe_name}}"), true, [](const PlaceholderValues& v) { return Given(v.exeName); }},
            {QStringLiteral("{{TOP30}}"), false, [](const PlaceholderValues& v) { return RowLimit(v, 30, QStringLiteral("{{TOP30}}")); }},
            {QStringLiteral("{{TOP100}}"), false, [](const PlaceholderValues& v) { return RowLimit(v, 100, QStringLiteral("{{TOP100}}")); }},
        };
        for (int slot = 0; slot < 10; ++slot) {
            list.append({QStringLiteral("{{A%1}}").arg(slot), true,
                         [slot](const PlaceholderValues& v) { return Given(v.globals[slot]); }});
        }
        return list;
    }();
    return tokens;
}

} // namespace

PlaceholderValues PlaceholderValues::WithApplication()
{
    const AppState& app = theApp();
    PlaceholderValues values;
    values.company = app.m_strCompany;
    values.userUid = app.m_strUserUid;
    values.userId = app.m_strUserId;
    values.userName = app.m_strUserName;
    values.dbPath = app.m_strDbPath;
    values.version = app.m_strVersion;
    values.exeName = app.m_strExeName;
    values.dialect = SqlDialectOf(app.m_strDbType);
    for (int slot = 0; slot < 10; ++slot)
        values.globals[slot] = app.m_strGlobal[slot];
    return values;
}

CPlaceholderExpander::CPlaceholderExpander(PlaceholderValues values)
    : m_values(std::move(values))
{
}

QString CPlaceholderExpander::ExpandText(const QString& text) const
{
    QString expanded = text;
    for (const Token& token : Tokens()) {
        if (!expanded.contains(token.name))
            continue;
        if (const std::optional<QString> value = token.value(m_values))
            expanded.replace(token.name, *value);
    }
    return expanded;
}

bool CPlaceholderExpander::ExpandSql(const QString& sql, QString& expanded, QString& error, int* rowLimit) const
{
    PlaceholderValues sqlValues = m_values;
    sqlValues.sql = true;
    QString text = sql;
    for (const Token& token : Tokens()) {
        if (!text.contains(token.name))
            continue;
        const std::optional<QString> value = token.value(sqlValues);
        if (!value)
            continue;
        if (!token.foreign) {
            text.replace(token.name, *value);
        } else if (!PutSqlValues(text, token.name, value->split(u','))) {
            error = SqlTexts::TokenInValue.arg(*value);
            return false;
        }
    }
    if (!FillSqlValues(text, m_values.dialect, error, rowLimit))
        return false;
    expanded = text;
    return true;
}

QList<QPair<QString, QString>> CPlaceholderExpander::TokenValues(const QString& text) const
{
    QList<QPair<QString, QString>> values;
    for (const Token& token : Tokens()) {
        if (!text.contains(token.name))
            continue;
        if (const std::optional<QString> value = token.value(m_values))
            values.append({token.name, *value});
    }
    return values;
}
