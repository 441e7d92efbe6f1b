#pragma once

#include <QString>

// The texts and SQL of the spreadsheet export.
namespace ExcelTexts {

// The template's file name and its bytes ({{uid}} takes the record's uid,
// which must be a number; %1 column, %2 table).
inline const QString SelectName = QStringLiteral("SELECT %1 FROM %2 WHERE uid_0={{uid}}");
inline const QString SelectFile = QStringLiteral("SELECT %1 FROM %2 where uid_0={{uid}}");

// The folders under the program folder: templates, and the workbooks made.
inline const QString TemplateFolder = QStringLiteral("xltx");
inline const QString WorkbookFolder = QStringLiteral("temp");
inline const QString DefaultStart = QStringLiteral("2,1");

// Failures: the template record, the template, the start cell, the
// spreadsheet program.
inline const QString TemplateMissing = QStringLiteral("找不到导出模板的记录（uid %1）！");
inline const QString TemplateUnreadable = QStringLiteral("下载文件失败");
inline const QString TemplateFileUnreadable = QStringLiteral("无法读取导出模板(%1)：%2");
inline const QString NotAWorkbook = QStringLiteral("导出模板“%1”已损坏或不是 Excel 工作簿，未导出任何内容。");
inline const QString NoSheet1 = QStringLiteral("导出模板“%1”中没有名为 sheet1 的工作表，未导出任何内容。");
inline const QString BadSheet = QStringLiteral("导出模板“%1”的工作表 sheet1 已损坏，未导出任何内容。");
inline const QString WriteFailed = QStringLiteral("无法生成导出文件，未导出任何内容。");
inline const QString BadStart = QStringLiteral("导出的起始单元格“%1”无效，应为“行,列”（从 1 起）。");
inline const QString NoSpreadsheetProgram = QStringLiteral("创建Excel服务失败!");

} // namespace ExcelTexts
