#pragma once

#include <QColor>
#include <QtGlobal>

// Colours as the form descriptions and the controls' setters carry them:
// 0x00BBGGRR, the layout ParseRgbText gives.
using COLORREF = quint32;

constexpr COLORREF MakeColorRef(int red, int green, int blue)
{
    return COLORREF(red & 0xFF) | (COLORREF(green & 0xFF) << 8) | (COLORREF(blue & 0xFF) << 16);
}

inline QColor ColorFromRef(COLORREF colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

inline COLORREF RefFromColor(const QColor& colour)
{
    return MakeColorRef(colour.red(), colour.green(), colour.blue());
}

// The desktop colours the controls draw their 3-D edges and faces in, taken
// from the application palette so that they follow the desktop's scheme.
enum class SysColor {
    BtnFace,      // face of buttons
    BtnText,      // caption of buttons
    BtnShadow,    // shaded edge
    BtnHighlight, // lit edge
    DkShadow3D,   // outer shaded edge of raised buttons
    Light3D,      // inner lit edge of raised buttons
    Window,       // background of edit boxes
};

QColor GetSysColor(SysColor which);
