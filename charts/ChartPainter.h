#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>
#include <QtGlobal>

class QPainter;

// The drawing routines the boards and report charts share. Colours are 32-bit
// ARGB values (0xAARRGGBB); text sizes are points at 96 dots per inch, so a
// drawing into an image matches the same drawing on the screen.
class CChartPainter
{
public:
    explicit CChartPainter(QPainter& painter);

    void DrawLine(QPointF from, QPointF to, qreal width, quint32 argb);
    // Dash pattern 1 on, 2 off, in pen widths.
    void DrawDottedLine(QPointF from, QPointF to, qreal width, quint32 argb);
    // A line whose end carries a filled triangular cap.
    void DrawArrowLine(QPointF from, QPointF to, qreal width, quint32 argb);
    // Filled 0xFFF0F0F0; outlined in the colour when the border is above 0.
    void DrawCell(const QRectF& rect, int border, quint32 argb);
    void FillRect(const QRectF& rect, quint32 argb);
    // Filled with the colour text ("alpha,red,green,blue"; an empty or
    // malformed text gives 100,255,0,0), outlined in it when the pen width is
    // 1 or more.
    void FillColourRect(const QRectF& rect, const QString& colour, int penWidth);
    void DrawImage(int x, int y, const QImage& image);
    // A circle of the diameter, drawn with a pen of that width, on each point.
    void DrawPointMarks(const QVector<QPointF>& points, int diameter, quint32 argb);
    // A cardinal spline (tension 0.5) through the points.
    void DrawCurve(const QVector<QPointF>& points, qreal width, quint32 argb);

    void DrawTextLeft(const QString& text, const QRectF& rect, int points, quint32 argb);
    void DrawTextCentred(const QString& text, const QRectF& rect, int points, quint32 argb);
    // Qt alignment flags inside the rectangle.
    void DrawTextAligned(const QString& text, const QRectF& rect, int flags, int points, quint32 argb);
    // Top-left of the text at the point.
    void DrawTextAt(const QString& text, QPointF at, int points, quint32 argb);

    QPainter& Painter() { return m_painter; }

private:
    const QFont& Font(int points);

    QPainter& m_painter;
    int m_nFontPoints = -1;
    QFont m_font;
};

// The colour of a colour text for drawing: "alpha,red,green,blue" or
// "red,green,blue"; any other form gives the fallback without a message
// (a drawing runs at every repaint and must not open boxes).
quint32 ChartColour(const QString& text, quint32 fallback);

// Pixel height of a font of the given points at 96 dots per inch.
int ChartFontPixels(int points);
