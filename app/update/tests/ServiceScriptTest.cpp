#include "ServiceScript.h"

#include <gtest/gtest.h>

namespace {

// A ";" splits only where the dialect reads code; what is left of a statement
// after its blanks and comments decides whether it runs at all.
TEST(ServiceScript, SplitsAtTheSemicolonsOfCode)
{
    const struct
    {
        const char* name;
        SqlDialect dialect;
        QString script;
        QStringList statements;
    } cases[] = {
        {"plain statements", SqlDialect::PostgreSql, "UPDATE a SET x=1;\r\nUPDATE b SET y=2;\r\n",
         {"UPDATE a SET x=1", "UPDATE b SET y=2"}},
        {"no final semicolon", SqlDialect::Access, "UPDATE a SET x=1;UPDATE b SET y=2",
         {"UPDATE a SET x=1", "UPDATE b SET y=2"}},
        {"literal and quoted name", SqlDialect::PostgreSql,
         "UPDATE \"a;b\" SET x='1;2', y=E'3\\';4';DELETE FROM c",
         {"UPDATE \"a;b\" SET x='1;2', y=E'3\\';4'", "DELETE FROM c"}},
        {"dollar-quoted body", SqlDialect::PostgreSql,
         "DO $body$ BEGIN UPDATE a SET x=1; UPDATE b SET y=2; END $body$;\nUPDATE c SET z=3;",
         {"DO $body$ BEGIN UPDATE a SET x=1; UPDATE b SET y=2; END $body$", "UPDATE c SET z=3"}},
        {"bracketed name", SqlDialect::SqlServer, "UPDATE [a;b] SET x=1;UPDATE c SET y=2",
         {"UPDATE [a;b] SET x=1", "UPDATE c SET y=2"}},
        // A comment before a statement goes with it; one that stands alone runs nothing.
        {"comments", SqlDialect::Access,
         "-- first; then the second\nUPDATE a SET x=1;/* a; b */;\n-- the end;\n",
         {"-- first; then the second\nUPDATE a SET x=1"}},
        {"blanks and empty statements", SqlDialect::PostgreSql, " ;\r\n;;\t", {}},
        {"empty script", SqlDialect::Access, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList statements{"left over"};
        QString error;
        EXPECT_TRUE(SplitServiceScript(c.script, c.dialect, statements, error)) << error.toStdString();
        EXPECT_EQ(statements, c.statements);
    }
}

// Where a literal never ends, the statements after it cannot be told apart.
TEST(ServiceScript, RefusesAScriptWithAnUnclosedLiteral)
{
    for (const QString script : {"UPDATE a SET x='1;\nUPDATE b SET y=2;", "DO $$ BEGIN NULL; END;",
                                 "UPDATE a SET x=1; /* UPDATE b SET y=2;"}) {
        QStringList statements;
        QString error;
        EXPECT_FALSE(SplitServiceScript(script, SqlDialect::PostgreSql, statements, error))
            << script.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
