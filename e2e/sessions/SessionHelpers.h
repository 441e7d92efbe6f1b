#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// Small checks the sessions share: numbers as the boxes show them, and
// colours counted in screenshots.
namespace SessionCheck {

inline double Number(const QString& text)
{
    return QString(text).remove(u',').trimmed().toDouble();
}

inline int PixelsOf(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour.rgb() ? 1 : 0;
    return count;
}

// How many colours an image holds (1 for a blank area).
inline int ColoursIn(const QImage& image)
{
    QList<QRgb> seen;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (!seen.contains(image.pixel(x, y)) && seen.size() < 64)
                seen << image.pixel(x, y);
    return int(seen.size());
}

} // namespace SessionCheck
