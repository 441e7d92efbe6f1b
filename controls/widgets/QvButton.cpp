#include "QvButton.h"

#include <QMouseEvent>
#include <QPainter>

CQvButton::CQvButton(QWidget* parent) : QPushButton(parent)
{
}

QRegion CQvButton::RoundShape(int width, int height, int corner)
{
    const int radius = corner / 2;
    QRegion shape(0, radius, width, height - 2 * radius);
    shape += QRegion(radius, 0, width - 2 * radius, height);
    shape += QRegion(0, 0, corner, corner, QRegion::Ellipse);
    shape += QRegion(width - corner, 0, corner, corner, QRegion::Ellipse);
    shape += QRegion(0, height - corner, corner, corner, QRegion::Ellipse);
    shape += QRegion(width - corner, height - corner, corner, corner, QRegion::Ellipse);
    return shape;
}

QRegion CQvButton::FrameOf(const QRegion& shape, int frameWidth, int frameHeight)
{
    // Inside = the pixels whose neighbours the frame's thickness away all
    // belong to the shape.
    const QRegion inside = shape.translated(frameWidth, 0) & shape.translated(-frameWidth, 0)
        & shape.translated(0, frameHeight) & shape.translated(0, -frameHeight) & shape;
    return shape - inside;
}

void CQvButton::paintEvent(QPaintEvent*)
{
    const QRegion shape = RoundShape(width(), height(), m_nCorner);
    QPainter dc(this);
    dc.setClipRegion(shape);
    dc.fillRect(rect(), ColorFromRef(m_crFill));
    dc.setClipRegion(FrameOf(shape, m_nFrameWidth, m_nFrameHeight));
    dc.fillRect(rect(), ColorFromRef(m_crFrame));
    dc.setClipping(false);

    QRect textRect = rect();
    if (!m_bPressed)
        textRect.adjust(-m_nTextShiftX, -m_nTextShiftY, 0, 0);
    dc.setPen(palette().color(QPalette::ButtonText));
    dc.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void CQvButton::resizeEvent(QResizeEvent* e)
{
    QPushButton::resizeEvent(e);
    setMask(RoundShape(width(), height(), m_nCorner));
}

void CQvButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        m_bPressed = true;
        update();
    }
    QPushButton::mousePressEvent(e);
}

void CQvButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        m_bPressed = false;
        update();
    }
    QPushButton::mouseReleaseEvent(e);
}
