// The chart painter fills where a pen would stroke (upright and level lines,
// point marks); the pixels must be those the pen would have drawn.
#include "ChartPainter.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr quint32 Colour = 0xC81E64B4;

QImage Drawn(const std::function<void(QPainter&)>& draw)
{
    QImage image(60, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return image;
}

// The ink of the image: how far its pixels are from white, added up.
qint64 Ink(const QImage& image)
{
    qint64 ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += 255 - qRed(image.pixel(x, y));
    return ink;
}

QRect InkedBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

// Largest difference of one channel over the image; antialiased coverage of
// the same shape may round one level apart between the two routes.
int LargestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

QPen Pen(qreal width, Qt::PenCapStyle cap)
{
    QPen pen(QColor::fromRgba(Colour), width);
    pen.setCapStyle(cap);
    return pen;
}

TEST(ChartPainterTest, UprightAndLevelLinesCoverWhatTheirPenWould)
{
    struct Case { QPointF from, to; qreal width; };
    const Case cases[] = {
        {{10, 50}, {10, 5}, 1},     {{10, 5}, {10, 50}, 1},     {{20.5, 40}, {20.5, 10.25}, 1},
        {{30, 55}, {30, 12}, 3},    {{5, 30}, {55, 30}, 12},    {{50, 20.5}, {8.5, 20.5}, 2},
        {{25, 25}, {25, 26}, 1},    {{40, 45}, {40, 10}, 0.5},
    };
    for (const Case& c : cases) {
        const QImage fast = Drawn([&](QPainter& p) { CChartPainter(p).DrawLine(c.from, c.to, c.width, Colour); });
        const QImage stroked = Drawn([&](QPainter& p) {
            p.setPen(Pen(c.width, Qt::FlatCap));
            p.drawLine(c.from, c.to);
        });
        EXPECT_LE(LargestDifference(fast, stroked), 2) << c.from.x() << "," << c.from.y() << " width " << c.width;
    }
}

// The pen's outline of a circle is a polygon and the fill's a curve, so their
// edges differ by a level here and there; the discs must cover the same place
// with the same amount of ink.
TEST(ChartPainterTest, PointMarksAreTheDiscsTheirPenWouldDraw)
{
    const QVector<QPointF> points{{15, 15}, {40, 20}, {30.5, 44.25}};
    for (const int diameter : {2, 4, 7, 12}) {
        const QImage fast = Drawn([&](QPainter& p) { CChartPainter(p).DrawPointMarks(points, diameter, Colour); });
        const QImage stroked = Drawn([&](QPainter& p) {
            p.setPen(Pen(diameter, Qt::FlatCap));
            for (const QPointF& point : points)
                p.drawEllipse(point, diameter / 2.0, diameter / 2.0);
        });
        EXPECT_NEAR(double(Ink(fast)) / double(Ink(stroked)), 1.0, 0.08) << "diameter " << diameter;
        EXPECT_EQ(InkedBox(fast), InkedBox(stroked)) << "diameter " << diameter;
    }
}

} // namespace
