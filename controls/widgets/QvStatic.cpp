#include "QvStatic.h"

CQvStatic::CQvStatic(QWidget* parent) : QLabel(parent)
{
    setAutoFillBackground(false);
    SetTextColor(m_crText);
}

void CQvStatic::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ColorFromRef(colour));
    setPalette(colours);
}
