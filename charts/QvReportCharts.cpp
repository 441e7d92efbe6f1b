// The report charts of QvPicture: bars and lines over categories (kind 2)
// and panel charts of several zero lines (kinds 3 and 5).
#include "QvPicture.h"

#include "ChartPainter.h"
#include "text/NumberText.h"
#include "text/TextSplit.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr quint32 TextColour = 0x64FF0000;
constexpr quint32 GridColour = 0x32FF0000;
constexpr quint32 CaptionColour = 0xC80A0AFF;
constexpr int TextPoints = 9;
constexpr int AxisGap = 30;     // kind 2: category axis above the bottom edge
constexpr int PlotMargin = 50;  // kind 2: value axis from the left, plot end from the right
constexpr int PlotTop = 120;    // kind 2: highest grid line
constexpr int LegendSwatch = 42;
constexpr int LegendCharWidth = 14;

quint32 TrendColour(quint32 argb)
{
    return (argb & 0x00FFFFFF) | 0x64000000;
}

} // namespace

void QvPicture::DrawReportChart(CChartPainter& g, int w, int h)
{
    const int axisY = h - AxisGap;
    g.DrawArrowLine(QPointF(PlotMargin, axisY), QPointF(w - PlotMargin, axisY), 2, m_clrAxis);
    g.DrawTextAligned(ColumnTitle(m_nLabelColumn - 1), QRectF(w - 150, h - 25, 115, 20),
                      Qt::AlignRight | Qt::AlignVCenter, TextPoints, m_clrAxis);
    g.DrawArrowLine(QPointF(PlotMargin, axisY), QPointF(PlotMargin, 100), 2, m_clrAxis);
    g.DrawTextAt(m_strYCaption, QPointF(36, 75), TextPoints, m_clrAxis);
    g.DrawTextAligned(m_strTitle, QRectF(0, 10, w, 100), Qt::AlignHCenter | Qt::AlignTop, 18, TextColour);

    const int max = TextToInt(m_strMax);
    const double quarter = max / 4.0;
    const int plotHeight = axisY - PlotTop;
    const int step = plotHeight / 4;
    for (int k = 0; k < 4; ++k) {
        const int y = PlotTop + k * step;
        g.DrawLine(QPointF(PlotMargin, y), QPointF(w - PlotMargin, y), 1, GridColour);
        g.DrawTextAligned(TrimNumberZeros(FormatFixedTwo(max - k * quarter)), QRectF(0, y - 20, PlotMargin, 40),
                          Qt::AlignRight | Qt::AlignVCenter, TextPoints, TextColour);
    }

    // Without a positive maximum there is no scale to place values on.
    const bool scaled = max > 0;
    const int rows = GridRows();
    const int series = m_nSeries;
    int firstX = PlotMargin;
    for (int s = 0; s < series; ++s) {
        const QvChartSeries& record = m_series[static_cast<size_t>(s)];
        if (s > 0)
            firstX += m_series[static_cast<size_t>(s - 1)].m_nBarWidth / 2 + record.m_nBarWidth / 2;
        QVector<QPointF> points;
        for (int r = 0; r < rows; ++r) {
            const int x = firstX + m_nSpacing / series + r * m_nSpacing;
            if (s == 0) {
                const int labelX = m_nSpacing / series + r * m_nSpacing + m_nLabelShift / 2
                                   - m_series[0].m_nBarWidth / 2 - m_nSpacing / 2 - 150;
                g.DrawTextAligned(GridText(r, m_nLabelColumn - 1), QRectF(labelX, h - 28, m_nSpacing + 400, 100),
                                  Qt::AlignHCenter | Qt::AlignTop, TextPoints, TextColour);
            }
            if (!scaled)
                continue;
            const QString text = GridText(r, record.m_nValueColumn - 1);
            const int y = static_cast<int>(axisY - TextToInt(text) * (static_cast<double>(plotHeight) / max));
            if (record.m_nBarFlag >= 1)
                g.DrawLine(QPointF(x, axisY), QPointF(x, y), record.m_nBarWidth, record.m_clrColour);
            points.append(QPointF(x, y));
            g.DrawTextAligned(text, QRectF(x - 100, y - 100, 200, 100), Qt::AlignHCenter | Qt::AlignBottom,
                              TextPoints, TextColour);
        }
        if (record.m_nLineStyle >= 1) {
            g.DrawPointMarks(points, 4, record.m_clrColour);
            g.DrawCurve(points, 2, record.m_clrColour);
        }
    }
    DrawLegend(g, w - PlotMargin);
}

void QvPicture::DrawLegend(CChartPainter& g, int right)
{
    int x = right;
    for (int s = m_nSeries - 1; s >= 0; --s) {
        const QvChartSeries& record = m_series[static_cast<size_t>(s)];
        const QString name = ColumnTitle(record.m_nValueColumn - 1);
        const int left = x - LegendCharWidth * static_cast<int>(name.size());
        g.DrawLine(QPointF(left - LegendSwatch, 60), QPointF(left - 30, 60), 12, record.m_clrColour);
        g.DrawTextAt(name, QPointF(left - 28, 52), TextPoints, TextColour);
        x = left - LegendSwatch;
    }
}

void QvPicture::DrawPanelChart(CChartPainter& g, int w, int h)
{
    const int base = h - 20;
    g.DrawTextAligned(m_strTitle, QRectF(0, 10, w, 50), Qt::AlignHCenter | Qt::AlignTop, 12, TextColour);
    g.DrawTextAt(m_strText4, QPointF(w - TextToInt(m_strText3), 20), TextPoints, CaptionColour);
    g.DrawTextAt(m_strYCaption, QPointF(TextToInt(m_strMax), 20), TextPoints, CaptionColour);

    const double chartMax = TextToDouble(m_strMax);
    int first = 0;
    int last = GridRows() - 1;
    if (m_nKind == KindPanelRows) {
        first = std::max(m_nFirstRow, 0);
        last = std::min(last, first + m_nRowCount - 1);
    }
    const int series = m_nSeries;
    int firstX = 0;
    for (int s = 0; s < series; ++s) {
        const QvChartSeries& record = m_series[static_cast<size_t>(s)];
        if (s > 0)
            firstX += m_series[static_cast<size_t>(s - 1)].m_nBarWidth / 2 + record.m_nBarWidth / 2;
        const double panelMax = record.m_fPanelMax != 0 ? record.m_fPanelMax : chartMax;
        const double zeroY = base - record.m_fPanelPos * base;
        g.DrawArrowLine(QPointF(0, zeroY), QPointF(w - 5, zeroY), 1, m_clrAxis);
        m_nCurvePoints = -1;
        // A scale maximum of 0 leaves nothing to place the values on.
        if (panelMax == 0 || !std::isfinite(panelMax))
            continue;
        const double unit = (base - 20) / panelMax;
        QVector<QPointF> points;
        double x = firstX + 10;
        for (int r = first; r <= last; ++r) {
            const int index = r - first;
            const QString text = GridText(r, record.m_nValueColumn - 1);
            const double value = TextToDouble(text);
            const double y = zeroY - value * unit - record.m_fOffset * unit;
            x += index == 0 ? m_nSpacing / series : m_nSpacing;
            const QString marker = record.m_nMarkerColumn >= 1 ? GridText(r, record.m_nMarkerColumn - 1) : QString();
            if (!marker.isEmpty())
                m_nCurvePoints = index;
            if (record.m_nBarFlag == 1)
                g.DrawLine(QPointF(x, zeroY), QPointF(x, y), record.m_nBarWidth, record.m_clrColour);
            points.append(QPointF(x, y));
            if (s == 0 && m_nLabelColumn >= 1) {
                const int labelX = m_nSpacing / series + index * m_nSpacing + m_nLabelShift / 2
                                   - m_series[0].m_nBarWidth / 2 - m_nSpacing / 2;
                g.DrawTextAligned(GridText(r, m_nLabelColumn - 1), QRectF(labelX, zeroY + 2, m_nSpacing, 100),
                                  Qt::AlignHCenter | Qt::AlignTop, TextPoints, TextColour);
            }
            if (index == 0)
                g.DrawTextAt(ColumnTitle(record.m_nValueColumn - 1), QPointF(x + 6, y - 18), TextPoints,
                             record.m_clrColour);
            if (record.m_nMarkerColumn >= 1 && !text.isEmpty()) {
                const double top = y <= zeroY ? y - 100 : y - 80;
                g.DrawTextAligned(marker, QRectF(x - 50.0 * m_nSpacing - 100, top, 100.0 * m_nSpacing + 200, 100),
                                  Qt::AlignHCenter | Qt::AlignBottom, TextPoints, TextColour);
            }
        }
        switch (record.m_nLineStyle) {
        case 1:
            g.DrawPointMarks(points, record.m_nMarkSize, record.m_clrColour);
            g.DrawCurve(points, record.m_nMarkSize, record.m_clrColour);
            break;
        case 2:
            g.DrawPointMarks(points, record.m_nMarkSize, record.m_clrColour);
            break;
        case 3:
            g.DrawCurve(points, record.m_nMarkSize, record.m_clrColour);
            break;
        case 4:
            g.DrawPointMarks(points, record.m_nMarkSize, record.m_clrColour);
            g.DrawCurve(m_nCurvePoints > 0 && m_nCurvePoints < points.size() - 1 ? points.first(m_nCurvePoints + 1)
                                                                                  : points,
                        record.m_nMarkSize, record.m_clrColour);
            break;
        default:
            break;
        }
        if (record.m_nBarFlag == 2)
            DrawTrendChannel(g, points, record.m_clrColour, w, h);
        if (!points.isEmpty())
            DrawTrendLine(g, QPointF(0, points.last().y()), QPointF(w, points.last().y()), record.m_clrColour, w, h);
    }
    DrawLegend(g, w - 5);
}

void QvPicture::DrawTrendLine(CChartPainter& g, QPointF a, QPointF b, quint32 argb, int w, int h)
{
    const quint32 colour = TrendColour(argb);
    if (a == b)
        return;
    if (a.x() == b.x()) {
        g.DrawLine(QPointF(a.x(), 0), QPointF(a.x(), h), 1, colour);
        return;
    }
    const double slope = (b.y() - a.y()) / (b.x() - a.x());
    g.DrawLine(QPointF(0, a.y() - slope * a.x()), QPointF(w, a.y() + slope * (w - a.x())), 1, colour);
}

void QvPicture::DrawTrendChannel(CChartPainter& g, const QVector<QPointF>& points, quint32 argb, int w, int h)
{
    if (points.isEmpty())
        return;
    const auto extreme = [&points](qsizetype from, qsizetype to, bool highest) {
        qsizetype best = from;
        for (qsizetype i = from; i < to; ++i) {
            if (highest ? points[i].y() < points[best].y() : points[i].y() > points[best].y())
                best = i;
        }
        return best;
    };
    const qsizetype n = points.size();
    const qsizetype a = extreme(0, n, true);
    const qsizetype b = extreme(a, n, false);
    const qsizetype c = extreme(b, n, true);
    const qsizetype d = a == 0 ? extreme(0, n, false) : extreme(0, a + 1, false);
    DrawTrendLine(g, points[a], points[c], argb, w, h);
    DrawTrendLine(g, points[b], points[d], argb, w, h);
}
