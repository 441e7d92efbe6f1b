#pragma once

#include <QString>

// The fixed texts of the form runtime.
namespace FormTexts {

// Caption of a form window until its head gives one.
inline const QString DefaultCaption = QStringLiteral("XXX");

// A form description that cannot be opened.
inline const QString NotXml = QStringLiteral("表单数据格式错误，无法打开表单");
inline const QString NoHtmlRoot = QStringLiteral("表单数据缺少html根元素，无法打开表单");

} // namespace FormTexts
