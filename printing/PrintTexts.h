#pragma once

#include <QString>

// The fixed texts and keys of printing.
namespace PrintTexts
{
inline const QString IniFile = QStringLiteral("cfg.ini");
inline const QString KeyPosLeft = QStringLiteral("POS_LEFT");
inline const QString KeyPosTop = QStringLiteral("POS_TOP");
inline const QString KeyPrinterName = QStringLiteral("PNAME");
inline const QString KeyPaperSize = QStringLiteral("PSIZE");
inline const QString KeyOrientation = QStringLiteral("PORIE");

// "B" + menu uid + "_" + button id, or + the texts of two controls.
inline QString PrintSection(const QString& menuUid, const QString& button)
{
    return QStringLiteral("B%1_%2").arg(menuUid, button);
}

inline const QString PageFooter = QStringLiteral("第 %1/%2 页");
inline const QString DefaultFontSize = QStringLiteral("36");
inline const QString DefaultFontFace = QStringLiteral("宋体");
inline const QString DefaultDocumentName = QStringLiteral("打印");
inline const QString PreviewTitle = QStringLiteral("打印预览");
inline const QString PreviewPrint = QStringLiteral("打印");
inline const QString PreviewZoomIn = QStringLiteral("放大");
inline const QString PreviewZoomOut = QStringLiteral("缩小");
inline const QString PreviewClose = QStringLiteral("关闭");
inline const QString PrinterNotReady = QStringLiteral("打印机无法开始打印，请检查打印机设置");
inline const QString PrinterNameTooLong =
    QStringLiteral("打印机名字符数不能超过30个，如果打印不正常，请修改打印机名后,重新选择设置");
inline const QString PrinterSetupCaption = QStringLiteral("默认打印机设置提示");

// Code 128 refusals: the character and its position (from 1).
inline const QString Code128BadChar = QStringLiteral("条码不能编码字符“%1”(第%2个字符)");
inline const QString Code128BadKind = QStringLiteral("条码类型错误: %1");
} // namespace PrintTexts
