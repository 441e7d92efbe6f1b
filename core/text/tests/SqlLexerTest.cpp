#include "text/SqlLexer.h"
#include "text/SqlTexts.h"

#include <gtest/gtest.h>

namespace {

using K = SqlPieceKind;

// The pieces in a compact form: one letter per piece and its text, so a
// table row shows the whole split at a glance.
QString Describe(const QString& sql, const QList<SqlPiece>& pieces)
{
    static const char letters[] = {'c', 'l', 'e', 'd', 'n', 'm', 'b'};
    QStringList parts;
    for (const SqlPiece& piece : pieces)
        parts << QString(QLatin1Char(letters[int(piece.kind)])) + u':' + sql.sliced(piece.begin, piece.end - piece.begin);
    return parts.join(u'|');
}

struct LexCase
{
    const char* name;
    SqlDialect dialect;
    const char16_t* sql;
    const char16_t* pieces; // c code, l literal, e E'..', d $$..$$, n name, m -- comment, b /* */ comment
};

TEST(SqlLexer, SplitsEachKindOfPieceAsItsDialectReadsIt)
{
    const SqlDialect ms = SqlDialect::SqlServer;
    const SqlDialect access = SqlDialect::Access;
    const SqlDialect pg = SqlDialect::PostgreSql;
    const LexCase cases[] = {
        {"plain code", ms, u"SELECT 1", u"c:SELECT 1"},
        {"empty text", ms, u"", u""},
        {"literal with doubled quote", ms, u"a='it''s' b", u"c:a=|l:'it''s'|c: b"},
        {"N literal: the N stays code", ms, u"N'名称'", u"c:N|l:'名称'"},
        {"empty literal", access, u"''", u"l:''"},
        {"double-quoted name with doubled quote", ms, u"\"a\"\"'b\"=1", u"n:\"a\"\"'b\"|c:=1"},
        {"bracket name holding an apostrophe", ms, u"[it's]=1", u"n:[it's]|c:=1"},
        {"bracket name with doubled close", access, u"[a]]']", u"n:[a]]']"},
        {"backquoted name on SQLite", access, u"`a'b`", u"n:`a'b`"},
        {"backquote is code on SQL Server", ms, u"`a'b'", u"c:`a|l:'b'"},
        {"brackets are subscripts on PostgreSQL", pg, u"a[1]'x'", u"c:a[1]|l:'x'"},
        {"line comment ends at the line end", ms, u"a -- it's\nb", u"c:a |m:-- it's|c:\nb"},
        {"line comment at the end", pg, u"a--x", u"c:a|m:--x"},
        {"block comment", access, u"a/* it's */b", u"c:a|b:/* it's */|c:b"},
        {"nested block comment on PostgreSQL", pg, u"/* a /* b */ ' */c", u"b:/* a /* b */ ' */|c:c"},
        {"nested block comment on SQL Server", ms, u"/* /* */ ' */c", u"b:/* /* */ ' */|c:c"},
        {"SQLite ends a comment at the first close", access, u"/* /* */ 'x'", u"b:/* /* */|c: |l:'x'"},
        {"comment marks inside a literal are text", ms, u"'--/*'", u"l:'--/*'"},
        {"E literal with backslash quote", pg, u"E'a\\'b' c", u"c:E|e:'a\\'b'|c: c"},
        {"lower-case e literal with doubled quote", pg, u"x=e'a''b'", u"c:x=e|e:'a''b'"},
        {"E ending a word is no escape", pg, u"namE'a\\'", u"c:namE|l:'a\\'"},
        {"E on SQL Server is a plain literal", ms, u"E'a\\'", u"c:E|l:'a\\'"},
        {"dollar quoting", pg, u"$$it's$$", u"d:$$it's$$"},
        {"tagged dollar quoting", pg, u"$t$a$$b$t$ x", u"d:$t$a$$b$t$|c: x"},
        {"positional parameter is code", pg, u"$1 'a'", u"c:$1 |l:'a'"},
        {"dollar inside a word is code", pg, u"a$b$ 'c'", u"c:a$b$ |l:'c'"},
        {"dollar on SQLite is code", access, u"$$'a'", u"c:$$|l:'a'"},
        // PostgreSQL takes every character beyond ASCII for a letter, in
        // names and in dollar tags alike.
        {"tag of non-ASCII characters", pg, u"SELECT $。$ 'x' $。$;", u"c:SELECT |d:$。$ 'x' $。$|c:;"},
        {"tag mixing letters, digits and _", pg, u"$é_1$a$é_1$", u"d:$é_1$a$é_1$"},
        {"a non-ASCII name takes the dollars after it", pg, u"。$$ 'a'", u"c:。$$ |l:'a'"},
        {"a name ending in E before a quote is no escape", pg, u"。E'a\\'", u"c:。E|l:'a\\'"},
        {"digits inside a name take the dollars", pg, u"x1$$ 'a'", u"c:x1$$ |l:'a'"},
        {"a parameter ends before dollars", pg, u"$1$$'a'$$", u"c:$1|d:$$'a'$$"},
        {"a number ends before dollars", pg, u"1$$'a'$$", u"c:1|d:$$'a'$$"},
        {"a decimal number with exponent ends before dollars", pg, u"1.5e3$$'a'$$", u"c:1.5e3|d:$$'a'$$"},
        {"a hexadecimal number ends before dollars", pg, u"0x1F$$'a'$$", u"c:0x1F|d:$$'a'$$"},
        {"letters after a number take the dollars", pg, u"1e$$ 'a'", u"c:1e$$ |l:'a'"},
        {"a tag does not start with a digit", pg, u"$1a$ 'b'", u"c:$1a$ |l:'b'"},
        {"line comment ends at a lone carriage return on PostgreSQL", pg, u"a --x\r'b'", u"c:a |m:--x|c:\r|l:'b'"},
        {"line comment goes on over a carriage return on SQLite", access, u"a --x\r'b'", u"c:a |m:--x\r'b'"},
        {"a carriage return before the line feed on SQL Server", ms, u"--x\r\n'b'", u"m:--x\r|c:\n|l:'b'"},
    };
    for (const LexCase& c : cases) {
        const QString sql = QString::fromUtf16(c.sql);
        QList<SqlPiece> pieces;
        QString error;
        ASSERT_TRUE(LexSql(sql, c.dialect, pieces, error)) << c.name << ": " << error.toStdString();
        EXPECT_EQ(QString::fromUtf16(c.pieces), Describe(sql, pieces)) << c.name;
    }
}

struct UnterminatedCase
{
    const char* name;
    SqlDialect dialect;
    const char16_t* sql;
    QString error;
};

TEST(SqlLexer, RefusesWhatItNeverCloses)
{
    const UnterminatedCase cases[] = {
        {"literal", SqlDialect::SqlServer, u"a='x", SqlTexts::UnterminatedLiteral.arg(3)},
        {"literal ending in a doubled quote", SqlDialect::Access, u"'x''", SqlTexts::UnterminatedLiteral.arg(1)},
        {"E literal whose last quote is escaped", SqlDialect::PostgreSql, u"E'x\\'", SqlTexts::UnterminatedLiteral.arg(2)},
        {"dollar literal", SqlDialect::PostgreSql, u"$a$x$b$", SqlTexts::UnterminatedLiteral.arg(1)},
        {"double-quoted name", SqlDialect::PostgreSql, u"\"a", SqlTexts::UnterminatedName.arg(1)},
        {"bracket name", SqlDialect::SqlServer, u"[a", SqlTexts::UnterminatedName.arg(1)},
        {"block comment", SqlDialect::Access, u"a /* b", SqlTexts::UnterminatedComment.arg(3)},
        {"nested block comment closed once", SqlDialect::PostgreSql, u"/* /* */", SqlTexts::UnterminatedComment.arg(1)},
        // SQL Server's end of such a comment could not be settled: read one
        // way or the other, the text after it would be guessed.
        {"lone carriage return in a line comment on SQL Server", SqlDialect::SqlServer, u"a --x\ry\n",
         SqlTexts::LoneReturnInComment.arg(3)},
    };
    for (const UnterminatedCase& c : cases) {
        QList<SqlPiece> pieces;
        QString error;
        EXPECT_FALSE(LexSql(QString::fromUtf16(c.sql), c.dialect, pieces, error)) << c.name;
        EXPECT_EQ(c.error, error) << c.name;
    }
}

TEST(SqlLexer, DialectOfTheDatabaseKind)
{
    EXPECT_EQ(SqlDialect::SqlServer, SqlDialectOf(QStringLiteral("1")));
    EXPECT_EQ(SqlDialect::Access, SqlDialectOf(QStringLiteral("2")));
    EXPECT_EQ(SqlDialect::PostgreSql, SqlDialectOf(QStringLiteral("3")));
    EXPECT_EQ(SqlDialect::SqlServer, SqlDialectOf(QString()));
}

} // namespace
