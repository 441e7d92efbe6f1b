#pragma once

#include <QString>

// The texts and element names of the saving of header records and detail
// grids.
namespace SaveTexts {

// Elements and paths of the form description.
inline const QString HeadParaInfo = QStringLiteral("head_para_info");
inline const QString TableInfo = QStringLiteral("table_info");
inline const QString ParaInfo = QStringLiteral("para_info");
inline const QString ColInfo = QStringLiteral("col_info");
inline const QString Para = QStringLiteral("PARA");
inline const QString Table = QStringLiteral("table");

// Tokens of the templates.
inline const QString RowUid = QStringLiteral("{{id?uid}}");
inline const QString Self = QStringLiteral("{{self}}");
inline QString ParamToken(int number) { return QStringLiteral("{{p%1}}").arg(number); }
inline QString CellToken(int column) { return QStringLiteral("{{id?%1}}").arg(column); }

// Results.
inline const QString Inserted = QStringLiteral("新增成功");
inline const QString Updated = QStringLiteral("更新成功");
inline const QString Done = QStringLiteral("操作成功");

// Header records.
// A field names no control (the reference goes before it).
inline const QString NoSuchControl = QStringLiteral("没有此控件");
// A required control is empty and its field has no text of its own.
inline const QString FillRequired = QStringLiteral("请正确填写（或者选择）必填项");
// A follow-up statement failed (the statement follows).
inline const QString StatementFailed = QStringLiteral("出错:");

// Record writes that wrote nothing, which the database layer reports
// without a text of its own.
inline const QString InsertFoundRow =
    QStringLiteral("保存失败：新增用的查询返回了已有的记录，没有新增任何记录。");
inline const QString NoNewKey = QStringLiteral("保存失败：数据库没有给出新记录的编号。");
inline const QString NoRecordToUpdate =
    QStringLiteral("保存失败：没有找到要更新的记录（可能已被删除），没有数据被更新。");

// Detail grids.
// Removed rows wait to be deleted but the save has no statements for it.
inline const QString NoDeleteStatements =
    QStringLiteral("表格有已删除的行，但保存没有设置删除检查和删除语句（can_delete_sql、delete_sql）。");
// A row failed (%1 the row from 1, %2 the row's text).
inline const QString RowFailed = QStringLiteral("第 %1 行数据异常,请检查数据:\n%2");
// A required cell is empty (%1 row, %2 column, %3 the column's title).
inline const QString CellRequired = QStringLiteral("表格第%1行,第%2列（%3）内容不能为空");
// A lookup found no stored value for the cell (%4 the cell's text).
inline const QString LookupFailed = QStringLiteral("表格第%1行,第%2列（%3）,%4对应基础数据异常");
// A new record could not be written (the database's text follows).
inline const QString InsertFailed = QStringLiteral("操作异常:\n");
// A write or a follow-up statement of a row failed (%1 row, %2 the database's text).
inline const QString RowStatementFailed = QStringLiteral("表格第%1行,数据异常!\n%2");
// The detail of a failed follow-up statement of a changed row (the statement follows).
inline const QString StatementDetail = QStringLiteral("数据异常:\n");
// A changed row refused by its check (the check's text follows).
inline const QString RefusedRow = QStringLiteral("\n%1");

} // namespace SaveTexts
