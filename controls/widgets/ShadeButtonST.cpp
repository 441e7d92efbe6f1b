#include "ShadeButtonST.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// The outline's pen: black at alpha 0x50.
const QColor kOutline(0, 0, 0, 0x50);
const QColor kHotOutlineFill(0xFA, 0xFA, 0xFA);
// How much darker each channel of a filled button gets under the mouse; the
// channel wraps below zero.
constexpr int HotDarkening = 20;

} // namespace

CShadeButtonST::CShadeButtonST(QWidget* parent) : CButtonST(parent)
{
}

void CShadeButtonST::SetShadeKind(ShadeKind kind)
{
    m_shadeKind = kind;
    update();
}

void CShadeButtonST::DrawItem(QPainter& dc, const QRect& item)
{
    // The shape lies on whatever is below the button: nothing is filled
    // outside it.
    const qreal width = item.width() - 1;
    const qreal height = item.height() - 1;
    const qreal corner = std::min(width, height) / 5;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(item.left() + 0.5, item.top() + 0.5, width, height), corner / 2, corner / 2);

    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, true);
    if (m_shadeKind == ShadeKind::Filled) {
        COLORREF fill = m_crColors[BTNST_COLOR_BK_IN];
        if (m_bMouseOnButton)
            fill = MakeColorRef(int(fill & 0xFF) - HotDarkening, int((fill >> 8) & 0xFF) - HotDarkening,
                                int((fill >> 16) & 0xFF) - HotDarkening);
        dc.fillPath(shape, ColorFromRef(fill));
    } else if (m_bMouseOnButton) {
        dc.fillPath(shape, kHotOutlineFill);
    }
    dc.strokePath(shape, QPen(kOutline, 1));
    dc.restore();

    DrawFocusRect(dc, item);
    if (!text().isEmpty())
        PaintShadeCaption(dc, m_bIsPressed ? item.translated(1, 1) : item);
}

void CShadeButtonST::PaintShadeCaption(QPainter& dc, const QRect& caption)
{
    PaintCaption(dc, caption);
}

