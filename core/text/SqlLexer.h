#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The SQL of each database kind, as far as it decides where a value may go.
enum class SqlDialect { SqlServer = 1, Access = 2, PostgreSql = 3 };

// The dialect of a database kind text ("1", "2", "3"); any other text reads
// as SQL Server, the kind a configuration without one means.
SqlDialect SqlDialectOf(const QString& dbType);

// What a stretch of SQL text is. Literal covers '...' and N'...' (the N
// stays code); EscapeLiteral is PostgreSQL's E'...', where a backslash
// escapes; DollarLiteral is PostgreSQL's $tag$...$tag$.
enum class SqlPieceKind { Code, Literal, EscapeLiteral, DollarLiteral, QuotedName, LineComment, BlockComment };

// One stretch of SQL text, its quotes or comment marks included.
struct SqlPiece
{
    SqlPieceKind kind = SqlPieceKind::Code;
    qsizetype begin = 0;
    qsizetype end = 0;   // one past the last character
    QString dollarMark;  // "$tag$" of a DollarLiteral

    bool operator==(const SqlPiece&) const = default;
};

// Splits SQL text into pieces that cover it end to end, each as the
// dialect reads it: [...] names on SQL Server and Access (SQLite), `...`
// names on Access (SQLite), E'...', $tag$...$tag$ on PostgreSQL (a tag of
// letters, digits and "_", any character beyond ASCII counting as a letter;
// a "$" inside a name opens none, one right after a number or a parameter
// such as $1 does),
// nested block comments on SQL Server and PostgreSQL, "--" comments ending
// at a carriage return or a line feed on PostgreSQL and at a line feed
// elsewhere. A literal, name or block comment that the text never closes is
// refused (false, error set): what follows it would be guessed, not read;
// so is a "--" comment holding a lone carriage return on SQL Server.
bool LexSql(QStringView sql, SqlDialect dialect, QList<SqlPiece>& pieces, QString& error);
