#include "text/SqlFill.h"
#include "text/SqlTexts.h"

#include <gtest/gtest.h>

namespace {

const SqlDialect MS = SqlDialect::SqlServer;
const SqlDialect ACCESS = SqlDialect::Access;
const SqlDialect PG = SqlDialect::PostgreSql;

QString Str(const char16_t* text)
{
    return QString::fromUtf16(text);
}

struct FillCase
{
    const char* name;
    SqlDialect dialect;
    const char16_t* sql;
    const char16_t* value; // put at {{p1}}
    const char16_t* filled;
    QString error; // empty: the fill succeeds with "filled"
};

bool Fill(const FillCase& c, QString& sql, QString& error)
{
    sql = Str(c.sql);
    return PutSqlValue(sql, QStringLiteral("{{p1}}"), Str(c.value)) && FillSqlValues(sql, c.dialect, error);
}

void Check(const FillCase& c)
{
    QString sql;
    // The caller's error text may hold an earlier text; only a refusal
    // replaces it, and it decides nothing.
    QString error = QStringLiteral("earlier");
    const bool filled = Fill(c, sql, error);
    if (c.error.isEmpty()) {
        EXPECT_TRUE(filled) << c.name << ": " << error.toStdString();
        EXPECT_EQ(Str(c.filled), sql) << c.name;
    } else {
        EXPECT_FALSE(filled) << c.name;
        EXPECT_EQ(c.error, error) << c.name;
    }
}

TEST(SqlFill, ValueTakesTheFormOfWhereItStands)
{
    const FillCase cases[] = {
        {"literal: apostrophes doubled", MS, u"a='{{p1}}'", u"O'Brien", u"a='O''Brien'", {}},
        {"N literal", MS, u"a=N'{{p1}}'", u"x' OR 1=1 --", u"a=N'x'' OR 1=1 --'", {}},
        {"LIKE pattern keeps % and brackets", ACCESS, u"a LIKE '%{{p1}}%'", u"C007[%]", u"a LIKE '%C007[%]%'", {}},
        {"E literal: backslash and apostrophe", PG, u"a=E'{{p1}}'", u"x\\' OR 1=1", u"a=E'x\\\\'' OR 1=1'", {}},
        {"standard literal on PostgreSQL keeps the backslash", PG, u"a='{{p1}}'", u"x\\", u"a='x\\'", {}},
        {"dollar literal", PG, u"a=$$[{{p1}}]$$", u"it's", u"a=$$[it's]$$", {}},
        {"dollar literal refuses its mark", PG, u"a=$t${{p1}}$t$", u"x$t$; DROP TABLE t; --", u"",
         SqlTexts::DollarMarkInValue.arg(Str(u"x$t$; DROP TABLE t; --"), Str(u"$t$"), Str(u"{{p1}}"))},
        {"dollar literal refuses an edge that joins its mark", PG, u"a=$t$x{{p1}}t$ $t$", u"$", u"",
         SqlTexts::StructureChanged},
        {"code: a number", MS, u"uid_0={{p1}}", u"12", u"uid_0=12", {}},
        {"code: a decimal number", ACCESS, u"q>{{p1}}", u"12.5", u"q>12.5", {}},
        {"code: blanks trimmed", PG, u"q={{p1}}", u" 12 ", u"q=12", {}},
        {"code: signs", MS, u"q={{p1}}", u"-3", u"q=-3", {}},
        {"code: a point without digits before", MS, u"q={{p1}}", u".5", u"q=.5", {}},
        {"code: empty", MS, u"q={{p1}}", u"", u"q=", {}},
        {"code: a minus before a negative number", MS, u"5-{{p1}}", u"-1", u"5- -1", {}},
        {"code: a negative number before a minus", MS, u"{{p1}}-5", u"-1", u"-1-5", {}},
        {"code: an empty value between a minus and a minus", MS, u"5-{{p1}}-1", u"", u"5- -1", {}},
        {"code: no number", MS, u"uid_0={{p1}}", u"1 OR 1=1", u"",
         SqlTexts::NotANumber.arg(Str(u"1 OR 1=1"), Str(u"{{p1}}"))},
        {"code: two points", MS, u"q={{p1}}", u"1.2.3", u"", SqlTexts::NotANumber.arg(Str(u"1.2.3"), Str(u"{{p1}}"))},
        {"code: full-width digits", MS, u"q={{p1}}", u"１２", u"", SqlTexts::NotANumber.arg(Str(u"１２"), Str(u"{{p1}}"))},
        {"code: exponent", MS, u"q={{p1}}", u"1e5", u"", SqlTexts::NotANumber.arg(Str(u"1e5"), Str(u"{{p1}}"))},
        {"apostrophe in a block comment does not quote", MS, u"DELETE FROM t /* it's */ WHERE uid_0={{p1}}",
         u"1 OR 1=1", u"", SqlTexts::NotANumber.arg(Str(u"1 OR 1=1"), Str(u"{{p1}}"))},
        {"apostrophe in a line comment does not quote", ACCESS, u"DELETE FROM t -- it's\nWHERE uid_0={{p1}}",
         u"1 OR 1=1", u"", SqlTexts::NotANumber.arg(Str(u"1 OR 1=1"), Str(u"{{p1}}"))},
        {"apostrophe in a name does not quote", MS, u"DELETE FROM [it's] WHERE uid_0={{p1}}", u"1 OR 1=1", u"",
         SqlTexts::NotANumber.arg(Str(u"1 OR 1=1"), Str(u"{{p1}}"))},
        {"apostrophe in a double-quoted name does not quote", PG, u"DELETE FROM \"it's\" WHERE uid_0={{p1}}",
         u"1 OR 1=1", u"", SqlTexts::NotANumber.arg(Str(u"1 OR 1=1"), Str(u"{{p1}}"))},
        {"apostrophe in a dollar literal does not quote", PG, u"SELECT $$it's$$ WHERE uid_0={{p1}}", u"1 OR 1=1",
         u"", SqlTexts::NotANumber.arg(Str(u"1 OR 1=1"), Str(u"{{p1}}"))},
        {"escaped apostrophe in an E literal does not end it", PG, u"SELECT E'a\\'b' WHERE uid_0={{p1}}",
         u"1 OR 1=1", u"", SqlTexts::NotANumber.arg(Str(u"1 OR 1=1"), Str(u"{{p1}}"))},
        {"in a line comment", MS, u"SELECT 1 -- {{p1}}", u"1", u"", SqlTexts::TokenInComment.arg(Str(u"{{p1}}"))},
        {"in a block comment", PG, u"SELECT /* {{p1}} */ 1", u"\n", u"", SqlTexts::TokenInComment.arg(Str(u"{{p1}}"))},
        {"in a quoted name", ACCESS, u"SELECT [{{p1}}] FROM t", u"a", u"", SqlTexts::TokenInName.arg(Str(u"{{p1}}"))},
        {"in a backquoted name", ACCESS, u"SELECT `{{p1}}` FROM t", u"a", u"", SqlTexts::TokenInName.arg(Str(u"{{p1}}"))},
        // The net: read again, the statement must have the template's pieces.
        {"a value's absence turns a dollar literal into code", PG, u"SELECT t$x{{p1}}$t$,$t$", u"", u"",
         SqlTexts::StructureChanged},
        {"a number joins a word and hides a dollar literal", PG, u"SELECT t$x{{p1}}$t$,$t$", u"5", u"",
         SqlTexts::StructureChanged},
        {"a template's backslash before a value in an E literal", PG, u"a=E'\\{{p1}}'", u"' OR 1=1 --", u"",
         SqlTexts::StructureChanged},
        {"two literals must not become one", ACCESS, u"SELECT 'a'{{p1}}'b'", u"", u"", SqlTexts::StructureChanged},
        {"unterminated template", MS, u"a='{{p1}}", u"x", u"", SqlTexts::UnterminatedLiteral.arg(3)},
    };
    for (const FillCase& c : cases)
        Check(c);
}

TEST(SqlFill, ValueHoldingATokenOpeningIsRefusedAndTheTextKept)
{
    QString sql = QStringLiteral("a='{{p1}}' AND b={{p2}}");
    EXPECT_FALSE(PutSqlValue(sql, QStringLiteral("{{p1}}"), QStringLiteral("{{p2}}")));
    EXPECT_FALSE(PutSqlValues(sql, QStringLiteral("{{p1}}"), {QStringLiteral("1"), QStringLiteral("x{{")}));
    EXPECT_EQ(QStringLiteral("a='{{p1}}' AND b={{p2}}"), sql);
}

// A fragment put into the statement after its value: the value is judged
// where the fragment lands, not where it stood in the fragment.
TEST(SqlFill, FragmentValueJudgedInTheAssembledStatement)
{
    struct FragmentCase
    {
        const char16_t* fragment;
        const char16_t* value;
        const char16_t* filled;
    };
    const FragmentCase cases[] = {
        {u" AND code_0='{{self}}'", u"C007", u"SELECT * FROM t WHERE 1=1 AND code_0='C007'"},
        {u" AND name_0 LIKE '%{{self}}%'", u"O'Brien", u"SELECT * FROM t WHERE 1=1 AND name_0 LIKE '%O''Brien%'"},
        {u" AND qty_0>{{self}}", u" 12.5", u"SELECT * FROM t WHERE 1=1 AND qty_0>12.5"},
    };
    for (const FragmentCase& c : cases) {
        QString fragment = Str(c.fragment);
        ASSERT_TRUE(PutSqlValue(fragment, QStringLiteral("{{self}}"), Str(c.value)));
        QString sql = QStringLiteral("SELECT * FROM t WHERE 1=1{{p1}}");
        sql.replace(QStringLiteral("{{p1}}"), fragment);
        QString error;
        for (SqlDialect dialect : {MS, ACCESS, PG}) {
            QString filled = sql;
            EXPECT_TRUE(FillSqlValues(filled, dialect, error)) << error.toStdString();
            EXPECT_EQ(Str(c.filled), filled);
        }
    }
}

TEST(SqlFill, ListsAreNumbersInCodeAndOneEscapedTextInLiterals)
{
    struct ListCase
    {
        const char16_t* sql;
        QStringList values;
        const char16_t* filled;
        QString error;
    };
    const ListCase cases[] = {
        {u"uid_0 IN ({{k}})", {Str(u"1"), Str(u"22"), Str(u" 3")}, u"uid_0 IN (1,22,3)", {}},
        {u"uid_0 IN ({{k}})", {Str(u"1"), Str(u"")}, u"uid_0 IN (1,)", {}},
        {u"uid_0 IN ({{k}})", {Str(u"1"), Str(u"2) OR (1=1")}, u"", SqlTexts::NotANumber.arg(Str(u"1,2) OR (1=1"), Str(u"{{k}}"))},
        {u"note_0='{{k}}'", {Str(u"a'b"), Str(u"c")}, u"note_0='a''b,c'", {}},
    };
    for (const ListCase& c : cases) {
        QString sql = Str(c.sql);
        QString error;
        ASSERT_TRUE(PutSqlValues(sql, QStringLiteral("{{k}}"), c.values));
        const bool filled = FillSqlValues(sql, ACCESS, error);
        EXPECT_EQ(c.error.isEmpty(), filled) << error.toStdString();
        EXPECT_EQ(c.error, error);
        if (filled) {
            EXPECT_EQ(Str(c.filled), sql);
        }
    }
}

TEST(SqlFill, RowLimitIsTopOnSqlServerAndLimitAtTheEndElsewhere)
{
    struct LimitCase
    {
        SqlDialect dialect;
        const char16_t* sql; // {{L}} stands for the row limit of 30
        const char16_t* filled;
    };
    const LimitCase cases[] = {
        {MS, u"SELECT {{L}} * FROM t ORDER BY a", u"SELECT TOP 30 * FROM t ORDER BY a"},
        {ACCESS, u"SELECT {{L}} * FROM t ORDER BY a", u"SELECT  * FROM t ORDER BY a LIMIT 30"},
        {PG, u"SELECT {{L}} * FROM t ORDER BY a;  ", u"SELECT  * FROM t ORDER BY a LIMIT 30;  "},
        {PG, u"SELECT {{L}} * FROM t WHERE a='x' -- last\n", u"SELECT  * FROM t WHERE a='x' LIMIT 30 -- last\n"},
        {ACCESS, u"SELECT {{L}} * FROM [t] /* end */", u"SELECT  * FROM [t] LIMIT 30 /* end */"},
        {ACCESS, u"SELECT '{{L}}'", u"SELECT 'TOP 30'"},
    };
    for (const LimitCase& c : cases) {
        QString sql = Str(c.sql).replace(QStringLiteral("{{L}}"), SqlRowLimitToken(30, QStringLiteral("{{TOP30}}")));
        QString error;
        ASSERT_TRUE(FillSqlValues(sql, c.dialect, error)) << error.toStdString();
        EXPECT_EQ(Str(c.filled), sql);
    }
}

TEST(SqlFill, StatementWithoutValuesIsLeftAlone)
{
    QString sql = QStringLiteral("SELECT 'a");
    QString error;
    EXPECT_TRUE(FillSqlValues(sql, MS, error));
    EXPECT_EQ(QStringLiteral("SELECT 'a"), sql);
}

TEST(SqlFill, NumberTextOfWhatUsersType)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"12", u"12"},  {u" 12\t", u"12"}, {u"+1.5", u"+1.5"}, {u"-0", u"-0"}, {u"12.", u"12."},
        {u"\u300012", u"12"}, {u"", u""},   {u"-", u""},        {u".", u""},     {u"1 2", u""},
        {u"0x1F", u""},  {u"1,2", u""},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(Str(number), SqlNumberText(Str(text))) << Str(text).toStdString();
}

} // namespace
