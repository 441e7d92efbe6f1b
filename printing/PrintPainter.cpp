#include "PrintPainter.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace
{

// Printed point fonts were measured on the screen of the machine that printed;
// a fixed 96 dpi keeps printed forms the same on every machine.
constexpr int ScreenDpi = 96;

constexpr int FormatCentredLine = 37;
constexpr int FormatWordBreak = 0x810;

int MulDiv(int a, int b, int c)
{
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

} // namespace

int QtTextFlags(int format)
{
    int flags = (format & 1) ? Qt::AlignHCenter : (format & 2) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & 0x20) {
        flags |= Qt::TextSingleLine;
        flags |= (format & 4) ? Qt::AlignVCenter : (format & 8) ? Qt::AlignBottom : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
    }
    // Chinese text has no blanks to break at: any character may end a line.
    if (format & 0x10)
        flags |= Qt::TextWrapAnywhere;
    if (format & 0x40)
        flags |= Qt::TextExpandTabs;
    if (format & 0x100)
        flags |= Qt::TextDontClip;
    return flags;
}

PrintPainter::PrintPainter(QPainter& painter, const QPaintDevice& device)
    : m_painter(painter)
{
    pageWidth = device.widthMM() * 10;
    pageHeight = device.heightMM() * 10;
    scaleX = device.logicalDpiX() / 254.0;
    scaleY = device.logicalDpiY() / 254.0;
    scale = scaleX;
    m_painter.save();
    m_painter.resetTransform();
    m_painter.scale(scaleX, scaleY);
    m_painter.setPen(QPen(Qt::black, 0));
    m_painter.setBrush(Qt::NoBrush);
}

PrintPainter::~PrintPainter()
{
    m_painter.restore();
}

QRect PrintPainter::RectAt(int x, int y, int w, int h) const
{
    return PlainRect(x + offsetX, y + offsetY, x + offsetX + w, y + offsetY + h);
}

QRect PrintPainter::PlainRect(int l, int t, int r, int b)
{
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void PrintPainter::MoveTo(int x, int y)
{
    m_current = QPoint(x, y);
}

void PrintPainter::LineTo(int x, int y)
{
    m_painter.drawLine(m_current, QPoint(x, y));
    m_current = QPoint(x, y);
}

void PrintPainter::DrawScaledLine(int x1, int y1, int x2, int y2)
{
    DrawScaledLine(x1, y1, x2, y2, QPen(Qt::black, 0));
}

void PrintPainter::DrawScaledLine(int x1, int y1, int x2, int y2, const QPen& pen)
{
    const QPen old = m_painter.pen();
    m_painter.setPen(pen);
    MoveTo(x1, y1);
    LineTo(x2, y2);
    m_painter.setPen(old);
}

QPen PrintPainter::GeometricPen(int width)
{
    return QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
}

void PrintPainter::UseFont(const QFont& font)
{
    m_painter.setFont(font);
}

void PrintPainter::SetFont(int size, const QString& fontFace)
{
    QFont font(fontFace.left(31));
    font.setPixelSize(std::max(1, std::abs(MulDiv(ScreenDpi, size, 720))));
    UseFont(font);
    pointSize = size;
    face = fontFace;
}

void PrintPainter::SetFontExact(int height, int width, const QString& fontFace)
{
    // The height is the character cell; Qt sizes the em, so scale by the
    // face's own cell-to-em ratio.
    QFont font(fontFace.left(31));
    font.setPixelSize(100);
    const QFontMetricsF reference(font);
    const int cell = std::max(1, std::abs(height));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * 100 / reference.height()))));
    if (width != 0) {
        const double natural = QFontMetricsF(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(std::clamp(static_cast<int>(std::lround(std::abs(width) * 100 / natural)), 1, 4000));
    }
    UseFont(font);
    exactHeight = height;
    exactWidth = width;
    face = fontFace;
}

void PrintPainter::DrawTextFit(const QString& text, QRect rect, int format)
{
    rect.adjust(3, 2, -3, -2);
    const int flags = QtTextFlags(format);
    const int savedSize = pointSize;
    const QString savedFace = face;
    if (pointSize != 0) {
        if (format == FormatCentredLine) {
            while (QFontMetricsF(m_painter.font()).horizontalAdvance(text) > rect.width() && pointSize < 0)
                SetFont(pointSize + 1, face);
        } else if (format >= FormatWordBreak) {
            auto needed = [&] {
                return QFontMetricsF(m_painter.font()).boundingRect(QRectF(rect), flags, text).height();
            };
            double height = needed();
            while (height > rect.height() && pointSize < 0) {
                SetFont(pointSize + 1, face);
                height = needed();
            }
            if (height < rect.height())
                rect.setTop(rect.top() + static_cast<int>((rect.height() - height) / 2));
        }
    }
    m_painter.drawText(rect, flags, text);
    if (savedSize != 0)
        SetFont(savedSize, savedFace);
}

void PrintPainter::DrawBars(const QString& pattern, QRect rect)
{
    int total = 0;
    for (QChar digit : pattern)
        total += digit.digitValue();
    if (total <= 0)
        return;
    const int module = rect.width() / total;
    rect.setWidth(total * module);
    m_painter.fillRect(rect, Qt::white);
    int x = rect.left();
    bool bar = true;
    for (QChar digit : pattern) {
        const int width = digit.digitValue() * module;
        if (bar)
            m_painter.fillRect(QRect(x, rect.top(), width, rect.height()), Qt::black);
        x += width;
        bar = !bar;
    }
}
