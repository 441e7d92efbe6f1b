#pragma once

#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>

class QPaintDevice;

// Drawing of one printed page in tenths of a millimetre, y downwards, with
// the page offset of the print description added by RectAt. Made for one
// page around a painter that is already active on the printer (or a PDF or
// image); it keeps the painter's state and gives it back as it was.
class PrintPainter
{
public:
    PrintPainter(QPainter& painter, const QPaintDevice& device);
    ~PrintPainter();
    PrintPainter(const PrintPainter&) = delete;
    PrintPainter& operator=(const PrintPainter&) = delete;

    QPainter& Painter() { return m_painter; }

    // (x + offsetX, y + offsetY) with the size w x h.
    QRect RectAt(int x, int y, int w, int h) const;
    // (l, t) to (r, b) without the offset.
    static QRect PlainRect(int l, int t, int r, int b);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Lines with the thin default pen, or with the pen given.
    void DrawScaledLine(int x1, int y1, int x2, int y2);
    void DrawScaledLine(int x1, int y1, int x2, int y2, const QPen& pen);
    // The pen of ruling and of line items: black, flat ends, bevel joins,
    // width in tenths of a millimetre.
    static QPen GeometricPen(int width);

    // A font of pointSize tenths of a point as the screen measures it (a
    // negative value is the character height, as printers took it); the
    // default print size "36" gives -300, a 4 mm high character.
    void SetFont(int pointSize, const QString& face);
    // A font of the given cell height and average character width, in
    // tenths of a millimetre; a width of 0 keeps the face's own.
    void SetFontExact(int height, int width, const QString& face);

    // The text inset by 0.3 mm left and right and 0.2 mm top and bottom,
    // with the DrawText format flags given (see QtTextFlags). Single-line
    // centred text (37) and word-broken text (from 0x810) shrink with a point
    // font until they fit, for this call only.
    void DrawTextFit(const QString& text, QRect rect, int format);

    // A bar code from its width digits: the rectangle's width is shared out
    // in whole modules, the rest of it left off on the right; bars black,
    // spaces white, starting with a bar.
    void DrawBars(const QString& pattern, QRect rect);

    int pointSize = 0;
    QString face;
    int exactHeight = 0;
    int exactWidth = 0;
    int offsetX = 0;
    int offsetY = 0;
    int pageWidth = 0;
    int pageHeight = 0;
    double scale = 1;
    double scaleX = 1;
    double scaleY = 1;

private:
    void UseFont(const QFont& font);

    QPainter& m_painter;
    QPoint m_current;
};

// The Qt alignment and wrapping flags of a DrawText format: 1 centre, 2 right
// (else left); with 0x20 (single line) 4 centres and 8 bottoms vertically;
// 0x10 breaks words, 0x40 expands tabs, 0x100 draws unclipped.
int QtTextFlags(int format);
