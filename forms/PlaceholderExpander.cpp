#include "PlaceholderExpander.h"

#include "FormTexts.h"
#include "text/AppState.h"
#include "text/DateText.h"
#include "text/MoneyWords.h"
#include "text/SqlText.h"

#include <QList>

#include <functional>

namespace {

// Where a position of SQL text lies; tokens take the value's form from it.
enum class SqlPlace { Code, Literal, LineComment, BlockComment };

// Moves the place over one character of SQL text (and the next one, for
// the two-character comment marks, which it then consumes).
qsizetype Advance(const QString& text, qsizetype i, SqlPlace& place)
{
    const QChar c = text[i];
    const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
    switch (place) {
    case SqlPlace::Code:
        if (c == u'\'')
            place = SqlPlace::Literal;
        else if (c == u'-' && next == u'-')
            return place = SqlPlace::LineComment, i + 2;
        else if (c == u'/' && next == u'*')
            return place = SqlPlace::BlockComment, i + 2;
        break;
    case SqlPlace::Literal:
        // A doubled apostrophe leaves and enters again: still inside.
        if (c == u'\'')
            place = SqlPlace::Code;
        break;
    case SqlPlace::LineComment:
        if (c == u'\n')
            place = SqlPlace::Code;
        break;
    case SqlPlace::BlockComment:
        if (c == u'*' && next == u'/')
            return place = SqlPlace::Code, i + 2;
        break;
    }
    return i + 1;
}

// Integers joined by "," (a trailing "," allowed, as in listed uids), or
// nothing at all.
bool IsIntegerList(const QString& value)
{
    qsizetype i = 0;
    const qsizetype n = value.size();
    while (i < n) {
        if (value[i] == u'-')
            ++i;
        const qsizetype digits = i;
        while (i < n && value[i].isDigit() && value[i].unicode() < 128)
            ++i;
        if (i == digits)
            return false;
        if (i == n)
            return true;
        if (value[i] != u',')
            return false;
        ++i;
    }
    return true;
}

struct Token
{
    QString name;
    // A value that users or the database gave; SQL takes it only escaped or
    // as integers.
    bool foreign;
    std::function<std::optional<QString>(const PlaceholderValues&)> value;
};

std::optional<QString> Given(const QString& text)
{
    return text;
}

const QList<Token>& Tokens()
{
    static const QList<Token> tokens = [] {
        QList<Token> list = {
            {QStringLiteral("{{index2}}"), true, [](const PlaceholderValues& v) { return v.index2; }},
            {QStringLiteral("{{type}}"), true, [](const PlaceholderValues& v) { return Given(v.type); }},
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
            {QStringLiteral("{{TOP30}}"), false,
             [](const PlaceholderValues& v) { return Given(v.topRows ? QStringLiteral("TOP 30") : QString()); }},
            {QStringLiteral("{{TOP100}}"), false,
             [](const PlaceholderValues& v) { return Given(v.topRows ? QStringLiteral("TOP 100") : QString()); }},
        };
        for (int slot = 0; slot < 10; ++slot) {
            list.append({QStringLiteral("{{A%1}}").arg(slot), true,
                         [slot](const PlaceholderValues& v) { return Given(v.globals[slot]); }});
        }
        return list;
    }();
    return tokens;
}

// Two characters that would read as a comment mark, or as an apostrophe
// doubled across two literals, if a value put them side by side.
bool WouldJoin(QChar first, QChar second)
{
    return (first == u'-' && second == u'-') || (first == u'/' && second == u'*') || (first == u'*' && second == u'/')
           || (first == u'\'' && second == u'\'');
}

// One token over SQL text, each hit in the form its place asks for.
bool ReplaceInSql(QString& text, const Token& token, const QString& value, QString& error)
{
    QString escaped = value;
    EscapeSqlText(escaped);
    QString out;
    out.reserve(text.size());
    SqlPlace place = SqlPlace::Code;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'{' && QStringView(text).sliced(i).startsWith(token.name)) {
            const qsizetype after = i + token.name.size();
            QString inserted;
            if (place == SqlPlace::Literal) {
                inserted = token.foreign ? escaped : value;
            } else if (!token.foreign || IsIntegerList(value)) {
                // Outside a literal a value must not make a mark with its
                // neighbours ("5-{{index}}" with -1 is 5- -1, not a comment).
                inserted = value;
                const QChar before = out.isEmpty() ? QChar() : out.back();
                const QChar next = after < text.size() ? text[after] : QChar();
                if (inserted.isEmpty()) {
                    if (WouldJoin(before, next))
                        inserted = QStringLiteral(" ");
                } else {
                    if (WouldJoin(before, inserted.front()))
                        inserted.prepend(u' ');
                    if (WouldJoin(inserted.back(), next))
                        inserted.append(u' ');
                }
            } else {
                error = FormTexts::PlaceholderNotInteger.arg(token.name, value);
                return false;
            }
            out += inserted;
            i = after;
            continue;
        }
        const qsizetype next = Advance(text, i, place);
        out += QStringView(text).sliced(i, next - i);
        i = next;
    }
    text = out;
    return true;
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
    QString unused;
    Expand(expanded, false, unused);
    return expanded;
}

bool CPlaceholderExpander::ExpandSql(const QString& sql, QString& expanded, QString& error) const
{
    QString text = sql;
    if (!Expand(text, true, error))
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

bool CPlaceholderExpander::Expand(QString& text, bool sql, QString& error) const
{
    for (const Token& token : Tokens()) {
        if (!text.contains(token.name))
            continue;
        const std::optional<QString> value = token.value(m_values);
        if (!value)
            continue;
        if (!sql)
            text.replace(token.name, *value);
        else if (!ReplaceInSql(text, token, *value, error))
            return false;
    }
    return true;
}
