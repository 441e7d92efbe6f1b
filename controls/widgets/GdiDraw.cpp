#include "GdiDraw.h"

#include <QPainter>

void FrameRect(QPainter& dc, const QRect& rect, const QColor& colour)
{
    Draw3dRect(dc, rect, colour, colour);
}

void Draw3dRect(QPainter& dc, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    dc.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
    dc.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
    dc.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
    dc.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
}

void DottedRect(QPainter& dc, const QRect& rect, const QColor& colour)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    dc.save();
    QPen pen(colour, 1, Qt::DotLine);
    dc.setPen(pen);
    dc.setBrush(Qt::NoBrush);
    dc.drawRect(rect.adjusted(0, 0, -1, -1));
    dc.restore();
}
