// One frame of a 10,000-row board and of a 20-series chart of 1,000 rows drawn
// into an image, each beside the same picture drawn with plain QPainter calls
// (for the board, of the rows in view, which are all the board draws).
#include "BoardFixture.h"
#include "QvPicture.h"

#include <QPainter>
#include <QPainterPath>
#include "grid/ListCtrlEx.h"

#include <benchmark/benchmark.h>

namespace {

constexpr QSize FrameSize(1280, 800);
constexpr int Rows = 10000;
constexpr int RowHeight = 22;
constexpr int SeriesCount = 20;
constexpr int Points = 1000;

QImage Frame()
{
    QImage image(FrameSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// 100 groups of 99 rows, each with a text and a time bar.
void FillBoard(QvChart& board)
{
    BoardFixture::BuildStandardHeader(board);
    BoardFixture::PrepareBody(board);
    for (int g = 0; g < Rows / 100; ++g) {
        const QString group = QStringLiteral("g%1").arg(g);
        BoardFixture::AddRow(board, {}, group, QStringLiteral("班组%1").arg(g), RowHeight);
        for (int r = 0; r < 99; ++r)
            BoardFixture::AddRow(board, group, {}, QStringLiteral("人员%1").arg(r), RowHeight,
                                 {QStringLiteral("在岗"), QString::number((r % 12) * 10000 * 60 + 240)},
                                 QStringLiteral("255,52,120,246"));
    }
}

void BM_Board10000Rows(benchmark::State& state)
{
    QvChart board;
    FillBoard(board);
    QImage image = Frame();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        board.Paint(painter, image.rect());
    }
}
BENCHMARK(BM_Board10000Rows)->Unit(benchmark::kMillisecond);

// The same frame in plain QPainter calls with the same pens and font: the
// header, then only the rows in view (and the one tree line that crosses
// the view from below), each with its number cell, grid lines, tree lines,
// expand box, name, remark and time bar. The board walks all its rows to
// place them; the plain drawing knows where they are.
constexpr int HeaderHeight = 30;
constexpr int NumberWidth = 40;
constexpr int NameWidth = 200;
constexpr int RemarkWidth = 80;
constexpr int TimeWidth = 1439;
constexpr int Indent = 15;
constexpr int Stub = 19;

void PlainLine(QPainter& painter, QPointF from, QPointF to, const QColor& colour)
{
    painter.fillRect(QRectF(from, to).normalized().adjusted(from.x() == to.x() ? -0.5 : 0, from.y() == to.y() ? -0.5 : 0,
                                                           from.x() == to.x() ? 0.5 : 0, from.y() == to.y() ? 0.5 : 0),
                     colour);
}

void PlainDotted(QPainter& painter, QPointF from, QPointF to)
{
    QPen pen(Qt::black, 1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({1, 2});
    painter.setPen(pen);
    painter.drawLine(from, to);
}

void PlainCell(QPainter& painter, const QRectF& rect, const QColor& border)
{
    painter.fillRect(rect, QColor(0xF0, 0xF0, 0xF0));
    QPen pen(border, 1);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

void PlainText(QPainter& painter, const QRectF& rect, int flags, const QString& text)
{
    painter.setPen(Qt::black);
    painter.drawText(rect, flags | Qt::TextWordWrap, text);
}

void BM_PlainBoardRowsInView(benchmark::State& state)
{
    const QColor cellBorder = QColor::fromRgba(0x64000000);
    const QColor gridLine = QColor::fromRgba(0x32000000);
    const QColor bar(52, 120, 246);
    const int rowEnd = NumberWidth + NameWidth + RemarkWidth + TimeWidth;
    QFont font(QStringLiteral("微软雅黑"));
    font.setPixelSize(12);
    QImage image = Frame();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        const int bottom = image.height();
        // Row r of the tree (groups of 100: the group, then its 99 members,
        // numbered from 1) lies at its place; those from the top of the view
        // to its bottom are drawn.
        for (int r = 0; HeaderHeight + r * RowHeight <= bottom; ++r) {
            const int top = HeaderHeight + r * RowHeight;
            const int mid = top + RowHeight / 2;
            const bool group = r % 100 == 0;
            const int boxX = NumberWidth + Indent + (group ? 0 : Indent);
            PlainLine(painter, QPointF(NumberWidth, top), QPointF(NumberWidth, top + RowHeight), gridLine);
            const QRectF numberCell(0, top, NumberWidth, RowHeight);
            PlainCell(painter, numberCell, cellBorder);
            PlainText(painter, numberCell, Qt::AlignCenter, QString::number(r + 1));
            PlainLine(painter, QPointF(0, top + RowHeight), QPointF(rowEnd, top + RowHeight), gridLine);
            PlainDotted(painter, QPointF(boxX, mid), QPointF(boxX + Stub, mid));
            // Up to the row above: the group, or the member before.
            if (!group)
                PlainDotted(painter, QPointF(boxX, mid), QPointF(boxX, mid - RowHeight));
            if (group) {
                const int boxTop = top + (RowHeight - 11 + 1) / 2;
                painter.fillRect(QRect(boxX - 5, boxTop, 11, 11), Qt::white);
                painter.setPen(QColor(0x80, 0x80, 0x80));
                painter.drawRect(boxX - 5, boxTop, 10, 10);
                painter.setPen(Qt::black);
                painter.drawLine(boxX - 3, boxTop + 5, boxX + 3, boxTop + 5);
                PlainText(painter, QRectF(boxX + Stub, top, NameWidth - Indent - Stub, RowHeight),
                          Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("班组%1").arg(r / 100));
                continue;
            }
            const int member = r % 100 - 1;
            PlainText(painter, QRectF(boxX + Stub, top, NameWidth - 2 * Indent - Stub, RowHeight),
                      Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("人员%1").arg(member));
            const int left = NumberWidth + NameWidth;
            PlainText(painter, QRectF(left, top, RemarkWidth, RowHeight), Qt::AlignCenter, QStringLiteral("在岗"));
            // From hour (member % 12) on, to 4 hours before the day's end,
            // or the first 4 hours.
            const int start = (member % 12) * 60;
            const QRectF span = start == 0 ? QRectF(left + RemarkWidth, top + RowHeight / 4, 240, RowHeight / 2)
                                           : QRectF(left + RemarkWidth + start, top + RowHeight / 4,
                                                    TimeWidth - start - 240, RowHeight / 2);
            painter.fillRect(span, bar);
        }
        // The next group's line up to this one crosses the whole view.
        const int nextGroupMid = HeaderHeight + 100 * RowHeight + RowHeight / 2;
        PlainDotted(painter, QPointF(NumberWidth + Indent, nextGroupMid),
                    QPointF(NumberWidth + Indent, HeaderHeight + RowHeight / 2 + 5));
        // The header: a cell per column, its lines down to the frame's bottom.
        int x = 0;
        for (const auto& [title, width] : {std::pair{QStringLiteral("序号"), NumberWidth},
                                           std::pair{QStringLiteral("名称"), NameWidth},
                                           std::pair{QStringLiteral("备注"), RemarkWidth},
                                           std::pair{QStringLiteral("时段"), TimeWidth}}) {
            const QRectF cell(x, 0, width, HeaderHeight);
            PlainCell(painter, cell, cellBorder);
            PlainText(painter, cell, Qt::AlignCenter, title);
            PlainLine(painter, cell.bottomLeft(), cell.bottomRight(), gridLine);
            PlainLine(painter, cell.topLeft(), QPointF(cell.left(), bottom), gridLine);
            PlainLine(painter, cell.topRight(), QPointF(cell.right(), bottom), gridLine);
            x += width;
        }
    }
}
BENCHMARK(BM_PlainBoardRowsInView)->Unit(benchmark::kMillisecond);

void BM_Chart20Series1000Points(benchmark::State& state)
{
    CListCtrlEx grid;
    grid.InsertColumn(0, QStringLiteral("序号"));
    for (int s = 0; s < SeriesCount; ++s)
        grid.InsertColumn(s + 1, QStringLiteral("系列%1").arg(s));
    for (int r = 0; r < Points; ++r) {
        grid.InsertRow(r, QString::number(r));
        for (int s = 0; s < SeriesCount; ++s)
            grid.SetItemText(r, s + 1, QString::number((r * 7 + s * 13) % 400));
    }
    QvPicture chart;
    chart.resize(FrameSize);
    chart.SetGrid(&grid);
    chart.m_nLabelColumn = 1;
    chart.m_strMax = "400";
    chart.m_nSpacing = 1;
    for (int s = 0; s < SeriesCount; ++s) {
        QvChartSeries* series = chart.Series(s);
        series->m_nValueColumn = s + 2;
        series->m_nBarWidth = 1;
        series->m_nLineStyle = 1;
        series->m_clrColour = 0xFF000000 | static_cast<quint32>(s * 0x0B0D11);
    }
    chart.SetSeriesCount(SeriesCount);
    chart.SetKind(QvPicture::KindReport);
    for (auto _ : state)
        benchmark::DoNotOptimize(chart.RenderImage());
}
BENCHMARK(BM_Chart20Series1000Points)->Unit(benchmark::kMillisecond);

// What the chart draws, in plain QPainter calls with the same pens, fonts and
// hints: per point its bar, its value text and its mark, per series a curve
// through its points, and a label per row under the axis. The curve is
// stroked in pieces of 32 segments: stroked as one path of 1,000 segments it
// costs about five times the whole chart (19.7 against 4.2 billion
// instructions under callgrind).
void StrokeCurveThrough(QPainter& painter, const QVector<QPointF>& points)
{
    QPainterPath path(points.first());
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QPointF before = points[i > 0 ? i - 1 : i];
        const QPointF after = points[i + 2 < points.size() ? i + 2 : i + 1];
        path.cubicTo(points[i] + (points[i + 1] - before) / 6, points[i + 1] - (after - points[i]) / 6, points[i + 1]);
        if ((i + 1) % 32 == 0 || i + 2 == points.size()) {
            painter.drawPath(path);
            path = QPainterPath(points[i + 1]);
        }
    }
}

void BM_PlainPaintingForChart(benchmark::State& state)
{
    constexpr int axisY = 770;
    constexpr int plotHeight = axisY - 120;
    QFont font(QStringLiteral("微软雅黑"));
    font.setPixelSize(12);
    for (auto _ : state) {
        QImage image = Frame();
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font);
        for (int s = 0; s < SeriesCount; ++s) {
            const QColor colour = QColor::fromRgba(0xFF000000 | static_cast<quint32>(s * 0x0B0D11));
            QVector<QPointF> points;
            for (int r = 0; r < Points; ++r) {
                const int x = 50 + r;
                const int value = (r * 7 + s * 13) % 400;
                const int y = static_cast<int>(axisY - value * (static_cast<double>(plotHeight) / 400));
                if (s == 0) {
                    painter.setPen(QColor::fromRgba(0x64FF0000));
                    painter.drawText(QRectF(r - 150, 772, 401, 100), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                                     QString::number(r));
                }
                QPen bar(colour, 1);
                bar.setCapStyle(Qt::FlatCap);
                painter.setPen(bar);
                painter.drawLine(QPointF(x, axisY), QPointF(x, y));
                points.append(QPointF(x, y));
                painter.setPen(QColor::fromRgba(0x64FF0000));
                painter.drawText(QRectF(x - 100, y - 100, 200, 100), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap,
                                 QString::number(value));
            }
            QPen mark(colour, 4);
            mark.setCapStyle(Qt::FlatCap);
            painter.setPen(mark);
            for (const QPointF& point : points)
                painter.drawEllipse(point, 2.0, 2.0);
            QPen curve(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            painter.setPen(curve);
            StrokeCurveThrough(painter, points);
        }
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_PlainPaintingForChart)->Unit(benchmark::kMillisecond);

} // namespace
