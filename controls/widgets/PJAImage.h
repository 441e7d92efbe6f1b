#pragma once

#include "ColorRef.h"

#include <QImage>

class QPainter;

// One icon or bitmap, drawn into a rectangle: placed at its corner or
// centred, at its own size or stretched, with a key colour shown as
// background, in grey tones, or embossed as disabled. The browse box draws
// its button's picture with it; buttons share its disabled look.
//
// An icon carries its own transparency (alpha) and is laid over the
// painter's current brush; a bitmap is opaque and only a key colour makes
// parts of it transparent.
class CPJAImage
{
public:
    // Image flags: what the image is (exactly one of the first two).
    static constexpr unsigned ImageIcon = 0x1;
    static constexpr unsigned ImageBitmap = 0x2;
    static constexpr unsigned ImageOwned = 0x4;

    // Draw flags.
    static constexpr unsigned DrawTransparent = 0x10;
    static constexpr unsigned DrawStretch = 0x20;
    static constexpr unsigned DrawCentre = 0x40;
    static constexpr unsigned DrawDisabledLook = 0x80;
    static constexpr unsigned DrawGrey = 0x100;

    // The key colour before one is set or found.
    static constexpr COLORREF NoTransparentColor = 0xFF000000;

    CPJAImage() = default;
    virtual ~CPJAImage() = default;

    // Holds the image; a null image clears. A non-null image whose flags do
    // not name exactly one of icon and bitmap is refused (false) and the
    // image held stays. Replacing an image forgets its key colour.
    bool SetImage(const QImage& image, unsigned flags);
    // Answers the previous key colour.
    COLORREF SetTransparentColor(COLORREF colour);
    COLORREF GetTransparentColor() const { return m_crTransparent; }

    // Draws into the rectangle x, y, width, height (clipped to it). A bitmap
    // drawn transparent without a key colour takes its top-left pixel's
    // colour as key, and keeps it.
    void Draw(QPainter& dc, int x, int y, int width, int height, unsigned flags);

    // A grey copy: every pixel (every colour-table entry of a palette image)
    // becomes (30 red + 59 green + 11 blue) / 100 in all three components;
    // with the transparent flag of the last Draw, pixels of the key colour
    // stay as they are. Alpha is kept.
    QImage MakeGreyBitmap(const QImage& bitmap) const;
    // Lays the source over the destination (same size): pixels of the key
    // colour leave the destination as it was, all others replace it (greyed
    // when the last Draw asked for grey).
    void DrawTransparentOver(QImage& destination, const QImage& source) const;
    // Embossed output of a source: every pixel that is not white (alpha
    // counts as white) is painted in the lit colour one pixel right and down,
    // then in the shaded colour in place.
    static void DrawDisabled(QPainter& dc, int x, int y, int width, int height, const QImage& source);

    unsigned GetImageFlags() const { return m_nImageFlags; }
    unsigned GetDrawFlags() const { return m_nDrawFlags; }
    int GetWidth() const { return m_image.width(); }
    int GetHeight() const { return m_image.height(); }
    bool IsEmpty() const { return m_image.isNull(); }

private:
    QImage IconSource(const QSize& size, const QPainter& dc, const QPoint& at) const;
    QImage BitmapSource(int width, int height, const QSize& size, const QPainter& dc, const QPoint& at);

    unsigned m_nImageFlags = 0;
    unsigned m_nDrawFlags = 0;
    QImage m_image;
    COLORREF m_crTransparent = NoTransparentColor;
};
