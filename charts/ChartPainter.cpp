#include "ChartPainter.h"

#include "ChartTexts.h"
#include "text/ColorRectText.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>

namespace {

QColor Argb(quint32 argb)
{
    return QColor::fromRgba(argb);
}

QPen SolidPen(qreal width, quint32 argb)
{
    QPen pen(Argb(argb), width);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

} // namespace

int ChartFontPixels(int points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

quint32 ChartColour(const QString& text, quint32 fallback)
{
    const qsizetype parts = text.count(QLatin1Char(',')) + 1;
    if (text.isEmpty() || (parts != 3 && parts != 4))
        return fallback;
    return ParseArgbText(text);
}

CChartPainter::CChartPainter(QPainter& painter)
    : m_painter(painter)
{
}

// A chart draws a text per value in one or two sizes: the font is made once
// per size, not per text.
const QFont& CChartPainter::Font(int points)
{
    if (points != m_nFontPoints) {
        m_font = QFont(ChartTexts::FontFace);
        m_font.setPixelSize(std::max(1, ChartFontPixels(points)));
        m_nFontPoints = points;
    }
    return m_font;
}

void CChartPainter::DrawLine(QPointF from, QPointF to, qreal width, quint32 argb)
{
    // An upright or level line with flat ends covers exactly the rectangle
    // around it, and filling a rectangle costs a fraction of stroking a line:
    // a chart draws one such bar per value.
    if (width > 0 && from != to && (from.x() == to.x() || from.y() == to.y())) {
        const qreal half = width / 2;
        const QRectF bar = from.x() == to.x()
            ? QRectF(QPointF(from.x() - half, std::min(from.y(), to.y())), QPointF(from.x() + half, std::max(from.y(), to.y())))
            : QRectF(QPointF(std::min(from.x(), to.x()), from.y() - half), QPointF(std::max(from.x(), to.x()), from.y() + half));
        m_painter.fillRect(bar, Argb(argb));
        return;
    }
    m_painter.setPen(SolidPen(width, argb));
    m_painter.drawLine(from, to);
}

void CChartPainter::DrawDottedLine(QPointF from, QPointF to, qreal width, quint32 argb)
{
    QPen pen = SolidPen(width, argb);
    pen.setDashPattern({1, 2});
    m_painter.setPen(pen);
    m_painter.drawLine(from, to);
}

void CChartPainter::DrawArrowLine(QPointF from, QPointF to, qreal width, quint32 argb)
{
    DrawLine(from, to, width, argb);
    const QLineF line(from, to);
    if (line.length() <= 0)
        return;
    const QPointF along = (to - from) / line.length() * width;
    const QPointF across(-along.y(), along.x());
    QPainterPath cap;
    cap.moveTo(to - across - along);
    cap.lineTo(to);
    cap.lineTo(to + across - along);
    cap.closeSubpath();
    m_painter.fillPath(cap, Argb(argb));
}

void CChartPainter::DrawCell(const QRectF& rect, int border, quint32 argb)
{
    m_painter.fillRect(rect, Argb(0xFFF0F0F0));
    if (border > 0) {
        m_painter.setPen(SolidPen(border, argb));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(rect);
    }
}

void CChartPainter::FillRect(const QRectF& rect, quint32 argb)
{
    m_painter.fillRect(rect, Argb(argb));
}

void CChartPainter::FillColourRect(const QRectF& rect, const QString& colour, int penWidth)
{
    const quint32 argb = ChartColour(colour, ChartColour(ChartTexts::DefaultBarColour, 0));
    m_painter.fillRect(rect, Argb(argb));
    if (penWidth >= 1) {
        m_painter.setPen(SolidPen(penWidth, argb));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(rect);
    }
}

void CChartPainter::DrawImage(int x, int y, const QImage& image)
{
    m_painter.drawImage(x, y, image);
}

void CChartPainter::DrawPointMarks(const QVector<QPointF>& points, int diameter, quint32 argb)
{
    // A circle of radius d/2 outlined with a pen d wide reaches from the
    // centre to d: it is a filled disc of radius d, and filling costs far
    // less than stroking.
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(Argb(argb));
    for (const QPointF& point : points)
        m_painter.drawEllipse(point, qreal(diameter), qreal(diameter));
    m_painter.setBrush(Qt::NoBrush);
}

void CChartPainter::DrawCurve(const QVector<QPointF>& points, qreal width, quint32 argb)
{
    if (points.size() < 2)
        return;
    QPen pen = SolidPen(width, argb);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    // Each segment as a Bezier curve whose handles follow the neighbours,
    // the end points standing in for the missing neighbours. A long curve
    // is stroked in pieces: one outline of a thousand segments costs many
    // times more than its pieces.
    constexpr qreal tension = 0.5;
    constexpr qsizetype piece = 32;
    QPainterPath path(points.first());
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QPointF before = points[i > 0 ? i - 1 : i];
        const QPointF from = points[i];
        const QPointF to = points[i + 1];
        const QPointF after = points[i + 2 < points.size() ? i + 2 : i + 1];
        path.cubicTo(from + (to - before) * tension / 3, to - (after - from) * tension / 3, to);
        if ((i + 1) % piece == 0 || i + 2 == points.size()) {
            m_painter.drawPath(path);
            path = QPainterPath(to);
        }
    }
}

void CChartPainter::DrawTextLeft(const QString& text, const QRectF& rect, int points, quint32 argb)
{
    DrawTextAligned(text, rect, Qt::AlignLeft | Qt::AlignVCenter, points, argb);
}

void CChartPainter::DrawTextCentred(const QString& text, const QRectF& rect, int points, quint32 argb)
{
    DrawTextAligned(text, rect, Qt::AlignCenter, points, argb);
}

void CChartPainter::DrawTextAligned(const QString& text, const QRectF& rect, int flags, int points, quint32 argb)
{
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    m_painter.setFont(Font(points));
    m_painter.setPen(Argb(argb));
    m_painter.drawText(rect, flags | Qt::TextWordWrap, text);
}

void CChartPainter::DrawTextAt(const QString& text, QPointF at, int points, quint32 argb)
{
    if (text.isEmpty())
        return;
    m_painter.setFont(Font(points));
    m_painter.setPen(Argb(argb));
    m_painter.drawText(QRectF(at, QSizeF(4096, 4096)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}
