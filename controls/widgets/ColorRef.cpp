#include "ColorRef.h"

#include <QGuiApplication>
#include <QPalette>

QColor GetSysColor(SysColor which)
{
    const QPalette palette = QGuiApplication::palette();
    switch (which) {
    case SysColor::BtnFace:
        return palette.color(QPalette::Button);
    case SysColor::BtnText:
        return palette.color(QPalette::ButtonText);
    case SysColor::BtnShadow:
        return palette.color(QPalette::Dark);
    case SysColor::BtnHighlight:
        return palette.color(QPalette::Light);
    case SysColor::DkShadow3D:
        return palette.color(QPalette::Shadow);
    case SysColor::Light3D:
        return palette.color(QPalette::Midlight);
    case SysColor::Window:
        return palette.color(QPalette::Base);
    }
    return palette.color(QPalette::Button);
}
