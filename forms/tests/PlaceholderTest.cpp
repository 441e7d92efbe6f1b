#include "D_T1.h"
#include "FormTexts.h"
#include "PlaceholderExpander.h"
#include "text/AppState.h"
#include "text/DateText.h"
#include "text/MoneyWords.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

PlaceholderValues Sample()
{
    PlaceholderValues v;
    v.hasIndexBox = true;
    v.index2 = QStringLiteral("B-7");
    v.type = QStringLiteral("入库");
    v.input = QStringLiteral("42");
    v.selectedUid = QStringLiteral("9");
    v.listedUids = QStringLiteral("3,4,5,");
    v.company = QStringLiteral("甲公司");
    v.userUid = QStringLiteral("17");
    v.userId = QStringLiteral("zhang");
    v.userName = QStringLiteral("张三");
    v.dbPath = QStringLiteral("/data/qv.db");
    v.version = QStringLiteral("1.2.3.4");
    v.exeName = QStringLiteral("tembra");
    for (int i = 0; i < 10; ++i)
        v.globals[i] = QStringLiteral("g%1").arg(i);
    return v;
}

TEST(Placeholders, ReplaceEveryFormLevelToken)
{
    struct Case
    {
        const char* text;
        QString expected;
    };
    const Case cases[] = {
        {"{{index2}}|{{type}}|{{cpy}}|{{index}}", QStringLiteral("B-7|入库|甲公司|42")},
        {"{{userid}}|{{user_id}}|{{username}}", QStringLiteral("17|zhang|张三")},
        {"{{today:year}}/{{today:month}}/{{today:day}}",
         GetYearText() + u'/' + GetMonthText() + u'/' + GetDayText()},
        {"{{today:today}} {{date}}", GetTodaySlashText() + u' ' + GetTodayText()},
        {"{{today:year_big}}{{today:month_big}}{{today:day_big}}",
         ToChineseCapitalDigits(GetYearText()) + ToChineseCapitalDigits(GetMonthText())
             + ToChineseCapitalDigits(GetDayText())},
        {"{{selected_uid_0}};{{selected_uids_now}}", QStringLiteral("9;3,4,5,")},
        {"{{db_path}} {{version_exe}} {{exe_name}}", QStringLiteral("/data/qv.db 1.2.3.4 tembra")},
        {"{{A0}}{{A9}}{{A10}}", QStringLiteral("g0g9{{A10}}")},
        {"SELECT {{TOP30}} * FROM t", QStringLiteral("SELECT  * FROM t")},
        {"{{p1}} {{self}} {{INDEX}} {{ index }}", QStringLiteral("{{p1}} {{self}} {{INDEX}} {{ index }}")},
        {"{{index}}{{index}}", QStringLiteral("4242")},
    };
    const CPlaceholderExpander expander(Sample());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(expander.ExpandText(QString::fromUtf8(c.text)), c.expected);
    }
    EXPECT_EQ(expander.ExpandText(QStringLiteral("{{datetime}}")).left(10), GetTodayText());
}

TEST(Placeholders, LaterTokensInEarlierValuesAreExpandedToo)
{
    PlaceholderValues v = Sample();
    v.userName = QStringLiteral("{{date}}{{index}}");
    v.topRows = true;
    const CPlaceholderExpander expander(v);
    // {{index}} comes before {{username}}: it stays; {{date}} comes after.
    EXPECT_EQ(expander.ExpandText(QStringLiteral("{{username}}")), GetTodayText() + QStringLiteral("{{index}}"));
    EXPECT_EQ(expander.ExpandText(QStringLiteral("SELECT {{TOP100}} a")), QStringLiteral("SELECT TOP 100 a"));
    v.hasIndexBox = false;
    EXPECT_EQ(CPlaceholderExpander(v).ExpandText(QStringLiteral("{{index2}}")), QStringLiteral("{{index2}}"));
}

TEST(Placeholders, SqlValuesAreEscapedInLiteralsAndIntegersOutside)
{
    struct Case
    {
        const char* name;
        std::function<void(PlaceholderValues&)> set;
        const char* sql;
        const char* expected; // null: refused
    };
    const Case cases[] = {
        {"apostrophe in a literal", [](PlaceholderValues& v) { v.userName = QStringLiteral("O'Neil"); },
         "SELECT 1 FROM t WHERE n='{{username}}'", "SELECT 1 FROM t WHERE n='O''Neil'"},
        {"literal closing attempt",
         [](PlaceholderValues& v) { v.input = QStringLiteral("x'; DROP TABLE c_user; --"); },
         "UPDATE t SET a='{{index}}' WHERE uid_0=1", "UPDATE t SET a='x''; DROP TABLE c_user; --' WHERE uid_0=1"},
        {"like pattern", [](PlaceholderValues& v) { v.globals[3] = QStringLiteral("a'b%"); },
         "WHERE n LIKE N'%{{A3}}%'", "WHERE n LIKE N'%a''b%%'"},
        {"after a doubled apostrophe", [](PlaceholderValues& v) { v.userId = QStringLiteral("u'"); },
         "'it''s {{user_id}}'", "'it''s u'''"},
        {"integer uid", [](PlaceholderValues& v) { v.userUid = QStringLiteral("17"); },
         "WHERE uid_0={{userid}}", "WHERE uid_0=17"},
        {"uid list with trailing comma", [](PlaceholderValues& v) { v.listedUids = QStringLiteral("3,4,"); },
         "WHERE uid_0 IN ({{selected_uids_now}}0)", "WHERE uid_0 IN (3,4,0)"},
        {"empty uid list", [](PlaceholderValues& v) { v.listedUids.clear(); },
         "IN ({{selected_uids_now}}0)", "IN (0)"},
        {"negative number", [](PlaceholderValues& v) { v.input = QStringLiteral("-1"); },
         "WHERE a={{index}}", "WHERE a=-1"},
        {"uid of 1 or 1=1", [](PlaceholderValues& v) { v.input = QStringLiteral("1 or 1=1"); },
         "DELETE FROM t WHERE uid_0={{index}}", nullptr},
        {"statement separator", [](PlaceholderValues& v) { v.input = QStringLiteral("1;DELETE FROM t"); },
         "SELECT * FROM t WHERE uid_0={{index}}", nullptr},
        {"comment start", [](PlaceholderValues& v) { v.input = QStringLiteral("1--"); },
         "SELECT * FROM t WHERE uid_0={{index}} AND o=1", nullptr},
        {"minus after minus stays a minus", [](PlaceholderValues& v) { v.input = QStringLiteral("-1"); },
         "WHERE a=5-{{index}} AND owner='me'", "WHERE a=5- -1 AND owner='me'"},
        {"empty value joining a comment mark", [](PlaceholderValues& v) { v.input.clear(); },
         "WHERE a=5-{{index}}-1 AND owner='me' /{{index}}* x */", "WHERE a=5- -1 AND owner='me' / * x */"},
        {"text outside a literal", [](PlaceholderValues& v) { v.userName = QStringLiteral("张三"); },
         "WHERE n={{username}}", nullptr},
        {"after a closed literal", [](PlaceholderValues& v) { v.input = QStringLiteral("a'"); },
         "WHERE n='x' AND m={{index}}", nullptr},
        {"inside a line comment", [](PlaceholderValues& v) { v.input = QStringLiteral("x\nDROP TABLE t"); },
         "SELECT 1 -- it's {{index}}\n", nullptr},
        {"apostrophe in a comment", [](PlaceholderValues& v) { v.input = QStringLiteral("1 OR 1=1"); },
         "/* don't */ SELECT 1 WHERE a={{index}}", nullptr},
        {"global slot unquoted", [](PlaceholderValues& v) { v.globals[0] = QStringLiteral("0 OR 1=1"); },
         "WHERE a={{A0}}", nullptr},
        {"own values pass", [](PlaceholderValues&) {}, "SELECT {{TOP30}} a FROM t WHERE d>'{{date}}'",
         "SELECT  a FROM t WHERE d>'"},
        {"a row limit that goes away joins no comment mark", [](PlaceholderValues&) {},
         "SELECT 1-{{TOP30}}-1 AS n", "SELECT 1- -1 AS n"},
        {"nor a dollar literal's opening", [](PlaceholderValues& v) { v.dialect = SqlDialect::PostgreSql; },
         "SELECT ${{TOP30}}$ FROM t", nullptr},
        {"decimal global slot", [](PlaceholderValues& v) { v.globals[0] = QStringLiteral("12.5"); },
         "WHERE q>{{A0}}", "WHERE q>12.5"},
        {"blanks around a number", [](PlaceholderValues& v) { v.input = QStringLiteral(" 12 "); },
         "WHERE uid_0={{index}}", "WHERE uid_0=12"},
        {"type goes in as the menu entry's author wrote it",
         [](PlaceholderValues& v) { v.type = QStringLiteral("kind_0 IN (1,2) AND name_0 LIKE 'A%'"); },
         "WHERE {{type}} AND uid_0={{userid}}", "WHERE kind_0 IN (1,2) AND name_0 LIKE 'A%' AND uid_0=17"},
        {"inside a quoted name", [](PlaceholderValues& v) { v.input = QStringLiteral("1"); },
         "SELECT \"{{index}}\" FROM t", nullptr},
        {"value holding a token", [](PlaceholderValues& v) { v.userName = QStringLiteral("{{userid}}"); },
         "WHERE n='{{username}}'", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlaceholderValues v = Sample();
        c.set(v);
        QString expanded = QStringLiteral("untouched");
        QString error;
        const bool ok = CPlaceholderExpander(v).ExpandSql(QString::fromUtf8(c.sql), expanded, error);
        if (!c.expected) {
            EXPECT_FALSE(ok);
            EXPECT_EQ(expanded, QStringLiteral("untouched"));
            EXPECT_FALSE(error.isEmpty());
        } else {
            EXPECT_TRUE(ok) << error.toStdString();
            EXPECT_TRUE(expanded.startsWith(QString::fromUtf8(c.expected))) << expanded.toStdString();
        }
    }
}

// A form written for SQL Server's TOP runs on the other kinds with the
// row limit they know.
TEST(Placeholders, RowLimitTakesTheDialectsForm)
{
    const struct
    {
        SqlDialect dialect;
        const char* expected;
    } cases[] = {
        {SqlDialect::SqlServer, "SELECT TOP 30 a FROM t WHERE n='x' ORDER BY a; -- first rows"},
        {SqlDialect::Access, "SELECT  a FROM t WHERE n='x' ORDER BY a LIMIT 30; -- first rows"},
        {SqlDialect::PostgreSql, "SELECT  a FROM t WHERE n='x' ORDER BY a LIMIT 30; -- first rows"},
    };
    for (const auto& c : cases) {
        PlaceholderValues v = Sample();
        v.topRows = true;
        v.dialect = c.dialect;
        QString expanded;
        QString error;
        ASSERT_TRUE(CPlaceholderExpander(v).ExpandSql(
            QStringLiteral("SELECT {{TOP30}} a FROM t WHERE n='x' ORDER BY a; -- first rows"), expanded, error))
            << error.toStdString();
        EXPECT_EQ(QString::fromUtf8(c.expected), expanded);
    }
}

TEST(Placeholders, FormSuppliesItsOwnValues)
{
    AppState& app = theApp();
    const AppState saved = app;
    app.m_strUserName = QStringLiteral("李四");
    app.m_strGlobal[2] = QStringLiteral("全局");
    D_T1 form;
    QLineEdit box(QStringLiteral("箱"));
    form.m_strInput = QStringLiteral("入");
    form.m_strType = QStringLiteral("类");
    form.m_actions.m_strSelectedUids = QStringLiteral("8");
    form.m_actions.m_strListedUids = QStringLiteral("1,2,");
    EXPECT_EQ(form.ExpandPlaceholders(QStringLiteral("{{index2}}{{index}}{{type}}{{username}}{{A2}}{{TOP30}}")),
              QStringLiteral("{{index2}}入类李四全局"));
    form.m_pIndexWnd = &box;
    form.m_bTopRows = true;
    EXPECT_EQ(form.ExpandPlaceholders(QStringLiteral("{{index2}} {{TOP30}}")), QStringLiteral("箱 TOP 30"));
    QString sql;
    QString error;
    ASSERT_TRUE(form.ExpandSqlPlaceholders(
        QStringLiteral("WHERE uid_0={{selected_uid_0}} OR uid_0 IN ({{selected_uids_now}}0)"), sql, error));
    EXPECT_EQ(sql, QStringLiteral("WHERE uid_0=8 OR uid_0 IN (1,2,0)"));
    app = saved;
}

} // namespace
