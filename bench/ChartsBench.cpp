// One frame of a 10,000-row board and of a 20-series chart of 1,000 rows drawn
// into an image, each beside the same shapes drawn with plain QPainter calls.
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

// Per row of the board: the number cell and three lines, at the rows' places.
void BM_PlainRectsAndLinesForBoard(benchmark::State& state)
{
    QImage image = Frame();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QColor(0, 0, 0, 100));
        for (int r = 0; r < Rows; ++r) {
            const int top = 30 + r * RowHeight;
            painter.fillRect(QRect(0, top, 40, RowHeight), QColor(0xF0, 0xF0, 0xF0));
            painter.drawRect(QRect(0, top, 40, RowHeight));
            painter.drawLine(40, top, 40, top + RowHeight);
            painter.drawLine(0, top + RowHeight, 1759, top + RowHeight);
            painter.drawLine(55, top + 11, 74, top + 11);
        }
    }
}
BENCHMARK(BM_PlainRectsAndLinesForBoard)->Unit(benchmark::kMillisecond);

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
