#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// The desktop's classic edge drawing, pixel-exact: the rectangles are the
// outer bounds of the edges drawn.

// A one-pixel frame.
void FrameRect(QPainter& dc, const QRect& rect, const QColor& colour);
// Top and left edges in one colour, bottom and right in the other.
void Draw3dRect(QPainter& dc, const QRect& rect, const QColor& topLeft, const QColor& bottomRight);
// The dotted focus frame.
void DottedRect(QPainter& dc, const QRect& rect, const QColor& colour);
