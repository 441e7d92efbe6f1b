#include "PJAImage.h"

#include <QPainter>

namespace {

constexpr QRgb kWhite = 0xFFFFFF;

QRgb RgbFromRef(COLORREF colour)
{
    return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

int GreyOf(QRgb colour)
{
    return (qRed(colour) * 30 + qGreen(colour) * 59 + qBlue(colour) * 11) / 100;
}

// A picture of the given size filled with the painter's brush, aligned with
// the brush as it falls on the target at `at`; clear when there is no brush.
QImage BrushFilled(const QSize& size, const QPainter& dc, const QPoint& at)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (dc.brush().style() != Qt::NoBrush) {
        QPainter fill(&image);
        fill.setBrushOrigin(dc.brushOrigin() - at);
        fill.fillRect(image.rect(), dc.brush());
    }
    return image;
}

} // namespace

bool CPJAImage::SetImage(const QImage& image, unsigned flags)
{
    const unsigned kind = flags & (ImageIcon | ImageBitmap);
    if (!image.isNull() && kind != ImageIcon && kind != ImageBitmap)
        return false;
    if (!m_image.isNull() && m_image != image)
        m_crTransparent = NoTransparentColor;
    m_image = image;
    m_nImageFlags = flags;
    return true;
}

COLORREF CPJAImage::SetTransparentColor(COLORREF colour)
{
    const COLORREF previous = m_crTransparent;
    m_crTransparent = colour;
    return previous;
}

void CPJAImage::Draw(QPainter& dc, int x, int y, int width, int height, unsigned flags)
{
    if (m_image.isNull())
        return;
    m_nDrawFlags = flags;

    QPoint at(x, y);
    if (flags & DrawCentre)
        at = QPoint(x + width / 2 - m_image.width() / 2, y + height / 2 - m_image.height() / 2);
    const QSize size = (flags & DrawStretch) ? QSize(width, height) : m_image.size();
    if (size.isEmpty())
        return;

    const QImage source = (m_nImageFlags & ImageIcon) ? IconSource(size, dc, at)
                                                      : BitmapSource(width, height, size, dc, at);
    dc.save();
    dc.setClipRect(QRect(x, y, width, height), Qt::IntersectClip);
    if (flags & DrawDisabledLook)
        DrawDisabled(dc, at.x(), at.y(), size.width(), size.height(), source);
    else
        dc.drawImage(at, source, QRect(QPoint(0, 0), size));
    dc.restore();
}

QImage CPJAImage::IconSource(const QSize& size, const QPainter& dc, const QPoint& at) const
{
    const QImage icon = (m_nDrawFlags & DrawGrey) ? MakeGreyBitmap(m_image) : m_image;
    QImage source = BrushFilled(size, dc, at);
    QPainter paint(&source);
    paint.drawImage(QRect(QPoint(0, 0), size), icon);
    return source;
}

QImage CPJAImage::BitmapSource(int width, int height, const QSize& size, const QPainter& dc, const QPoint& at)
{
    QImage source = m_image.convertToFormat(QImage::Format_RGB32);
    if (m_crTransparent == NoTransparentColor)
        m_crTransparent = RefFromColor(QColor(source.pixel(0, 0)));
    if (m_nDrawFlags & DrawStretch)
        source = source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (m_nDrawFlags & DrawTransparent) {
        QImage below = BrushFilled(size, dc, at);
        DrawTransparentOver(below, source);
        return below;
    }
    if (m_nDrawFlags & DrawGrey)
        return MakeGreyBitmap(source);
    return source;
}

QImage CPJAImage::MakeGreyBitmap(const QImage& bitmap) const
{
    QImage grey = bitmap;
    const bool keepKey = (m_nDrawFlags & DrawTransparent) && m_crTransparent != NoTransparentColor;
    const QRgb key = RgbFromRef(m_crTransparent);
    const auto greyed = [&](QRgb colour) {
        if (keepKey && (colour & kWhite) == (key & kWhite))
            return colour;
        const int g = GreyOf(colour);
        return qRgba(g, g, g, qAlpha(colour));
    };
    if (grey.format() == QImage::Format_Indexed8 || grey.format() == QImage::Format_Mono
        || grey.format() == QImage::Format_MonoLSB) {
        QList<QRgb> table = grey.colorTable();
        for (QRgb& entry : table)
            entry = greyed(entry);
        grey.setColorTable(table);
        return grey;
    }
    // Premultiplied pixels would give a darker grey under alpha.
    if (grey.hasAlphaChannel() && grey.format() != QImage::Format_ARGB32)
        grey = grey.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < grey.height(); ++row)
        for (int col = 0; col < grey.width(); ++col)
            grey.setPixel(col, row, greyed(grey.pixel(col, row)));
    return grey;
}

void CPJAImage::DrawTransparentOver(QImage& destination, const QImage& source) const
{
    const QRgb key = RgbFromRef(m_crTransparent) & kWhite;
    const QImage picture = (m_nDrawFlags & DrawGrey) ? MakeGreyBitmap(source) : source;
    QImage over = source.convertToFormat(QImage::Format_ARGB32);
    const QImage greyPicture = picture.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < over.height(); ++row)
        for (int col = 0; col < over.width(); ++col) {
            const bool isKey = (over.pixel(col, row) & kWhite) == key;
            over.setPixel(col, row, isKey ? 0u : (greyPicture.pixel(col, row) | 0xFF000000));
        }
    QPainter paint(&destination);
    paint.drawImage(0, 0, over);
}

void CPJAImage::DrawDisabled(QPainter& dc, int x, int y, int width, int height, const QImage& source)
{
    // The picture as black and white: black wherever it is not white.
    QImage onWhite(width, height, QImage::Format_RGB32);
    onWhite.fill(Qt::white);
    {
        QPainter paint(&onWhite);
        paint.drawImage(0, 0, source);
    }
    const auto stamp = [&](const QColor& colour) {
        QImage ink(width, height, QImage::Format_ARGB32);
        ink.fill(Qt::transparent);
        const QRgb rgb = colour.rgb();
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col)
                if ((onWhite.pixel(col, row) & kWhite) != kWhite)
                    ink.setPixel(col, row, rgb | 0xFF000000);
        return ink;
    };
    dc.drawImage(x + 1, y + 1, stamp(GetSysColor(SysColor::BtnHighlight)));
    dc.drawImage(x, y, stamp(GetSysColor(SysColor::BtnShadow)));
}
