#pragma once

#include <QString>
#include <QtGlobal>

// The colour and rectangle texts of form descriptions: comma-separated
// integers. A wrong number of parts is reported through ShowMessage and
// gives the default value.

struct RectLTRB
{
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const;
    int height() const;
};

// "left,top,right,bottom"; otherwise "矩形数据格式错误" and an all-zero rectangle.
RectLTRB ParseRectText(const QString& text);

// "red,green,blue" as 0x00BBGGRR; otherwise "RGB颜色格式错误(x,y,z)" and 255.
quint32 ParseRgbText(const QString& text);

// "alpha,red,green,blue" or "red,green,blue" (opaque) as 0xAARRGGBB; an empty
// text gives opaque black, any other count "Color颜色格式错误(a,x,y,z)" and
// opaque black.
quint32 ParseArgbText(const QString& text);

// "red,green,blue" of a 0x00BBGGRR colour.
QString FormatRgbText(quint32 colour);
