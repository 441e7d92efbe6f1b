#pragma once

#include <QString>

// Why a stored form does not decode; the opener of a menu entry shows the
// reason, so it is written for the user.
namespace LzwTexts {

inline const QString TooShort = QStringLiteral("表单数据不足6个字节");
inline const QString BadWidth = QStringLiteral("表单数据的码宽 %1 不对（应为1到25）");
inline const QString BadLength = QStringLiteral("表单数据声明的长度 %1 不对");
// %1 is the declared length, %2 the limit, both in bytes.
inline const QString TooLong = QStringLiteral("表单数据声明的长度 %1 字节超过上限 %2 字节");
inline const QString Damaged = QStringLiteral("表单数据已损坏或不完整，无法解码");

} // namespace LzwTexts
