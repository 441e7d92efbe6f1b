#pragma once

#include <QString>

// The fixed texts of the row operations, select into and the end-of-edit
// query.
namespace RowTexts {

// Shown in the first cell of a row added for typing.
inline const QString EnterPrompt = QStringLiteral("请输入...");
// The deleted rows' keys become SQL text of the delete statement, so a
// stored row whose key is no integer is not deleted (%1 the key).
inline const QString KeyNotInteger = QStringLiteral("所选行的键值“%1”不是整数，不能删除。");
// The token of a query value that stands for the new row's number.
inline const QString RowNumberToken = QStringLiteral("{{row_num}}");
inline const QString ParaInToken = QStringLiteral("{{para_in}}");

} // namespace RowTexts
