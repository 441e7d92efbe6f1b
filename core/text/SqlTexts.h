#pragma once

#include <QString>

// The texts of the SQL template filling: why a statement was not run.
namespace SqlTexts {

// A literal, quoted name or block comment that the template never closes
// (%1 the position of its first character, counted from 1).
inline const QString UnterminatedLiteral = QStringLiteral("SQL语句从第%1个字符起的字符串缺少结束引号，语句未执行。");
inline const QString UnterminatedName = QStringLiteral("SQL语句从第%1个字符起的带引号名称缺少结束符，语句未执行。");
inline const QString UnterminatedComment = QStringLiteral("SQL语句从第%1个字符起的注释缺少“*/”，语句未执行。");
// A "--" comment on SQL Server holding a carriage return without a line feed
// after it, where the comment's end cannot be told for sure (%1 as above).
inline const QString LoneReturnInComment =
    QStringLiteral("SQL语句从第%1个字符起的“--”注释中有单独的回车符，无法确定注释在何处结束，语句未执行。");

// A value that would stand outside a quoted literal of the SQL text but is
// no number (%1 the value, %2 the token it was meant for).
inline const QString NotANumber = QStringLiteral("“%1”不是数字，不能填入SQL语句的%2处。");
// A value that holds "{{", which the template filling would take for a
// token of its own (%1 the value).
inline const QString TokenInValue = QStringLiteral("“%1”含有“{{”，不能填入SQL语句。");
// A token that stands inside a comment or a quoted name (%1 the token).
inline const QString TokenInComment = QStringLiteral("SQL语句的注释中不能填入值（%1处），语句未执行。");
inline const QString TokenInName = QStringLiteral("SQL语句的带引号名称中不能填入值（%1处），语句未执行。");
// A value that holds the closing mark of its dollar-quoted literal (%1 the
// value, %2 the mark, %3 the token).
inline const QString DollarMarkInValue = QStringLiteral("“%1”含有字符串结束标记“%2”，不能填入SQL语句的%3处。");
// The values, put in, would have changed what is literal, name, comment or
// code in the statement.
inline const QString StructureChanged = QStringLiteral("填入值后SQL语句的结构会改变，语句未执行。");

// The row limit of {{TOP30}} and {{TOP100}}: "TOP n" behind SELECT on SQL
// Server, a LIMIT clause at the statement's end elsewhere (%1 the rows).
inline const QString TopRows = QStringLiteral("TOP %1");
inline const QString LimitRows = QStringLiteral(" LIMIT %1");

} // namespace SqlTexts
