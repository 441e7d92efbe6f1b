#pragma once

#include <QString>

// The fixed texts of the grid, tree and query actions.
namespace QueryTexts {

// The page text: page, page count, rows per page, total rows.
inline const QString PageInfo = QStringLiteral("当前 %1/%2 页 每页 %3 条记录 合计 %4 条记录");
// "page_buttons" must name first, previous, next and last (the text follows).
inline const QString PageButtonsMissing = QStringLiteral("翻页按钮须依次给出首页、上一页、下一页、末页四个控件:\n");
// A text cut into rows needs at least one value a row (the number follows).
inline const QString ValuesPerRowTooSmall = QStringLiteral("每行的数值个数(counts_in_page)须大于0，现为");
// The tick query of a tree gave no row (the SQL follows).
inline const QString NoTickRow = QStringLiteral("勾选查询没有返回记录:\n");
// query_to_head without its grid.
inline const QString NoTableId = QStringLiteral("未指定表格id");
// query_to_main names a slot outside 1 to 10.
inline const QString GlobalOutOfRange = QStringLiteral("超出可设置全局变量范围！");

// Tokens of the templates and results.
inline const QString RowUidToken = QStringLiteral("{{id?uid}}");
inline const QString ParaInToken = QStringLiteral("{{para_in}}");
inline const QString RowNumberValue = QStringLiteral("{{row_num}}");
// In a text-mode "page_buttons" list, a ";" to remove from the data.
inline const QString SemicolonToken = QStringLiteral("{{;}}");
inline const QString SemicolonMark = QStringLiteral("{{}}");

} // namespace QueryTexts
