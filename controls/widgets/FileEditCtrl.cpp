#include "FileEditCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// The button is only drawn when it is at least this big, and holds its
// picture only when it is bigger than the second.
constexpr int MinButtonSide = 3;
constexpr int MinImageSide = 6;
constexpr unsigned ImageKindFlags = CPJAImage::ImageIcon | CPJAImage::ImageBitmap | CPJAImage::ImageOwned;

} // namespace

CFileEditCtrl::CFileEditCtrl(QWidget* parent) : QLineEdit(parent)
{
    setMouseTracking(true);
    connect(this, &QLineEdit::textChanged, this, [this] { m_bChanged = true; });
    UpdateFrame();
}

void CFileEditCtrl::SetBrowseHandler(BrowseHandler handler)
{
    m_browse = std::move(handler);
}

void CFileEditCtrl::Browse()
{
    if (m_browse)
        m_browse(*this);
}

void CFileEditCtrl::SetButtonImage(const QImage& image, unsigned flags, COLORREF transparent)
{
    m_buttonImage.SetImage(image, flags & ImageKindFlags);
    m_buttonImage.SetTransparentColor(transparent);
    m_nImageFlags = flags & ~ImageKindFlags;
    if (!(m_nImageFlags & CPJAImage::DrawStretch))
        m_nImageFlags |= CPJAImage::DrawCentre;
    update();
}

int CFileEditCtrl::SetButtonWidth(int width)
{
    const int former = m_nButtonWidth;
    m_nButtonWidth = width;
    UpdateFrame();
    return former;
}

void CFileEditCtrl::SetButtonSide(int side)
{
    m_nButtonSide = side;
    UpdateFrame();
}

void CFileEditCtrl::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    ApplyColours();
}

void CFileEditCtrl::SetBackgroundColor(COLORREF colour)
{
    m_crBackground = colour;
    ApplyColours();
}

void CFileEditCtrl::ApplyColours()
{
    QPalette colours = palette();
    const QPalette desktop = QPalette();
    colours.setColor(QPalette::Text, m_crText ? ColorFromRef(m_crText) : desktop.color(QPalette::Text));
    colours.setColor(QPalette::Base, m_crBackground ? ColorFromRef(m_crBackground) : desktop.color(QPalette::Base));
    setPalette(colours);
    update();
}

int CFileEditCtrl::ButtonWidth() const
{
    return m_nButtonWidth == -1 ? height() * 12 / 10 : qMax(0, m_nButtonWidth);
}

QRect CFileEditCtrl::ButtonRect() const
{
    const int width = ButtonWidth();
    if (width == 0)
        return {};
    const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const QRect client = rect().adjusted(frame, frame, -frame, -frame);
    if (m_nButtonSide == ButtonLeft)
        return QRect(client.left(), client.top(), width, client.height());
    return QRect(client.right() + 1 - width, client.top(), width, client.height());
}

void CFileEditCtrl::UpdateFrame()
{
    const int width = ButtonRect().width();
    if (m_nButtonSide == ButtonLeft)
        setTextMargins(width, 0, 0, 0);
    else
        setTextMargins(0, 0, width, 0);
    update();
}

void CFileEditCtrl::SetState(int state)
{
    if (m_nButtonState == state)
        return;
    m_nButtonState = state;
    update(ButtonRect());
}

void CFileEditCtrl::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    const QRect button = ButtonRect();
    if (button.width() < MinButtonSide || button.height() < MinButtonSide)
        return;
    const int state = isEnabled() ? m_nButtonState : StateDisabled;
    QImage face(button.size(), QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::white);
    if (button.width() >= MinImageSide && button.height() >= MinImageSide) {
        QPainter paint(&face);
        const int offset = state == StatePressed ? 3 : 2;
        unsigned flags = m_nImageFlags;
        if (state == StateDisabled)
            flags |= CPJAImage::DrawDisabledLook;
        m_buttonImage.Draw(paint, offset, offset, button.width() - 5, button.height() - 5, flags);
    }
    QPainter dc(this);
    dc.drawImage(button.topLeft(), face);
}

void CFileEditCtrl::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    UpdateFrame();
}

bool CFileEditCtrl::PressButton(const QPoint& pos)
{
    if (!isEnabled() || !ButtonRect().contains(pos))
        return false;
    setFocus(Qt::MouseFocusReason);
    m_bCaptured = true;
    SetState(StatePressed);
    return true;
}

void CFileEditCtrl::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && PressButton(e->position().toPoint()))
        return;
    if (ButtonRect().contains(e->position().toPoint()))
        return;
    QLineEdit::mousePressEvent(e);
}

void CFileEditCtrl::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && PressButton(e->position().toPoint()))
        return;
    if (ButtonRect().contains(e->position().toPoint()))
        return;
    QLineEdit::mouseDoubleClickEvent(e);
}

void CFileEditCtrl::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (m_bCaptured) {
        SetState(ButtonRect().contains(pos) ? StatePressed : StateNormal);
        return;
    }
    setCursor(ButtonRect().contains(pos) ? Qt::ArrowCursor : Qt::IBeamCursor);
    QLineEdit::mouseMoveEvent(e);
}

void CFileEditCtrl::mouseReleaseEvent(QMouseEvent* e)
{
    if (!m_bCaptured) {
        QLineEdit::mouseReleaseEvent(e);
        return;
    }
    m_bCaptured = false;
    SetState(StateNormal);
    if (ButtonRect().contains(e->position().toPoint()))
        Browse();
}

void CFileEditCtrl::keyPressEvent(QKeyEvent* e)
{
    const bool fullStop = e->key() == Qt::Key_Period && (e->modifiers() & Qt::ControlModifier);
    if (e->key() == Qt::Key_F2 || fullStop) {
        Browse();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void CFileEditCtrl::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    selectAll();
}

void CFileEditCtrl::focusOutEvent(QFocusEvent* e)
{
    if (m_bCaptured) {
        m_bCaptured = false;
        SetState(StateNormal);
    }
    QLineEdit::focusOutEvent(e);
}

void CFileEditCtrl::changeEvent(QEvent* e)
{
    QLineEdit::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        update(ButtonRect());
}
