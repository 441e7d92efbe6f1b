#pragma once

#include <QString>

// Fixed texts of the boards, report charts and the form animation.
namespace ChartTexts {

inline const QString FontFace = QStringLiteral("微软雅黑");
inline const QString AnimationFontFace = QStringLiteral("楷体");

inline const QString HeaderRootKey = QStringLiteral("root");
inline const QString NonClientRelease = QStringLiteral("在非工作区释放左键");

inline const QString DefaultTitle = QStringLiteral("标题");
inline const QString DefaultBarColour = QStringLiteral("100,255,0,0");
inline const QString TooManySeries = QStringLiteral("图表数据列不能超过%1个");
inline const QString SaveFormat = QStringLiteral("BMP");

inline const QString DefaultMovieText = QStringLiteral("请输入文本");
inline const QString DemoSceneText = QStringLiteral("输出文字");
inline const QString ClockText = QStringLiteral("当前时间:%1");
inline const QString PathText = QStringLiteral("文字Test: GraphicsPath");
inline const QString AnimationImageFile = QStringLiteral("01.jpg");

} // namespace ChartTexts
