#include "ButtonST.h"

#include "GdiDraw.h"
#include "PJAImage.h"
#include "WidgetImages.h"
#include "web/ShellOpen.h"

#include <QApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// The derived second images.
QImage GreyCopy(const QImage& image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < grey.height(); ++row)
        for (int col = 0; col < grey.width(); ++col) {
            const QRgb c = grey.pixel(col, row);
            const int g = int(0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c));
            grey.setPixel(col, row, qRgba(g, g, g, qAlpha(c)));
        }
    return grey;
}

QImage DarkerCopy(const QImage& image)
{
    QImage dark = image.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < dark.height(); ++row)
        for (int col = 0; col < dark.width(); ++col) {
            const QRgb c = dark.pixel(col, row);
            dark.setPixel(col, row,
                          qRgba(qRed(c) - qRed(c) / 4, qGreen(c) - qGreen(c) / 4, qBlue(c) - qBlue(c) / 4, qAlpha(c)));
        }
    return dark;
}

// An opaque bitmap whose pixels of the transparent colour are cleared.
QImage MaskedBitmap(const QImage& bitmap, COLORREF transparent)
{
    QImage masked = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ColorFromRef(transparent).rgb() & 0xFFFFFF;
    for (int row = 0; row < masked.height(); ++row)
        for (int col = 0; col < masked.width(); ++col) {
            const QRgb c = masked.pixel(col, row);
            masked.setPixel(col, row, (c & 0xFFFFFF) == key ? 0u : (c | 0xFF000000));
        }
    return masked;
}

QImage Resized(const QImage& image, int width, int height)
{
    if (image.isNull() || width <= 0 || height <= 0)
        return image;
    return image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

CButtonST::CButtonST(QWidget* parent) : QPushButton(parent)
{
    SetDefaultColors(false);
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, &CButtonST::OnClicked);
}

CButtonST::~CButtonST() = default;

void CButtonST::PreSubclassWindow(unsigned style)
{
    m_bIsCheckBox = (style & CheckBoxStyleBit) != 0;
    setCheckable(m_bIsCheckBox);
    setDefault((style & 0xF) == BS_DEFPUSHBUTTON);
    update();
}

int CButtonST::SetColor(int slot, COLORREF colour, bool repaint)
{
    if (slot < 0 || slot >= BTNST_MAX_COLORS)
        return BTNST_INVALIDINDEX;
    m_crColors[slot] = colour;
    if (repaint)
        update();
    return BTNST_OK;
}

int CButtonST::GetColor(int slot, COLORREF* colour) const
{
    if (slot < 0 || slot >= BTNST_MAX_COLORS || !colour)
        return BTNST_INVALIDINDEX;
    *colour = m_crColors[slot];
    return BTNST_OK;
}

void CButtonST::SetDefaultColors(bool repaint)
{
    const COLORREF face = RefFromColor(GetSysColor(SysColor::BtnFace));
    const COLORREF text = RefFromColor(GetSysColor(SysColor::BtnText));
    for (int slot = 0; slot < BTNST_MAX_COLORS; ++slot)
        m_crColors[slot] = (slot % 2 == 0) ? face : text;
    if (repaint)
        update();
}

void CButtonST::SetFlat(bool flat, bool repaint)
{
    m_bIsFlat = flat;
    if (repaint)
        update();
}

void CButtonST::SetAlwaysTrack(bool alwaysTrack)
{
    m_bAlwaysTrack = alwaysTrack;
}

void CButtonST::SetDrawBorder(bool drawBorder, bool repaint)
{
    m_bDrawBorder = drawBorder;
    if (repaint)
        update();
}

void CButtonST::SetFlatFocus(bool flatFocus, bool repaint)
{
    m_bDrawFlatFocus = flatFocus;
    if (repaint)
        update();
}

void CButtonST::SetCheck(bool checked, bool repaint)
{
    if (!m_bIsCheckBox)
        return;
    setChecked(checked);
    if (repaint)
        update();
}

bool CButtonST::GetCheck() const
{
    return m_bIsCheckBox && isChecked();
}

void CButtonST::SetTransparent(bool transparent, bool repaint)
{
    m_bIsTransparent = transparent;
    if (repaint)
        update();
}

void CButtonST::SetTooltipText(const QString& text, bool activate)
{
    m_strTooltip = text;
    m_bTooltipActive = activate;
}

void CButtonST::SetBtnCursor(bool hand)
{
    if (hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void CButtonST::SetURL(const QString& url)
{
    m_strUrl = url.left(MaxUrlLength);
}

int CButtonST::SetIcons(const QImage& first, const QImage& second)
{
    m_bitmaps = {};
    return SetImages(m_icons, first, second, BTNST_NO_IMAGE);
}

int CButtonST::SetIcons(const QImage& first, int derivedSecond)
{
    m_bitmaps = {};
    return SetImages(m_icons, first, {}, derivedSecond);
}

int CButtonST::SetIconIds(int firstId, int secondId)
{
    return SetIconIdsSized(firstId, 0, 0, secondId, 0, 0);
}

int CButtonST::SetIconIdsSized(int firstId, int firstWidth, int firstHeight, int secondId, int secondWidth,
                               int secondHeight)
{
    const QImage first = Resized(LoadWidgetImage(firstId), firstWidth, firstHeight);
    if (secondId < 0)
        return SetIcons(first, secondId);
    const QImage second = secondId ? Resized(LoadWidgetImage(secondId), secondWidth, secondHeight) : QImage();
    if (secondId && second.isNull()) {
        ClearImages();
        return BTNST_INVALIDRESOURCE;
    }
    return SetIcons(first, second);
}

int CButtonST::SetBitmaps(const QImage& first, COLORREF firstTransparent, const QImage& second,
                          COLORREF secondTransparent)
{
    m_icons = {};
    return SetImages(m_bitmaps, first.isNull() ? first : MaskedBitmap(first, firstTransparent),
                     second.isNull() ? second : MaskedBitmap(second, secondTransparent), BTNST_NO_IMAGE);
}

int CButtonST::SetBitmaps(const QImage& first, COLORREF firstTransparent, int derivedSecond)
{
    m_icons = {};
    return SetImages(m_bitmaps, first.isNull() ? first : MaskedBitmap(first, firstTransparent), {}, derivedSecond);
}

int CButtonST::SetBitmapIds(int firstId, COLORREF firstTransparent, int secondId, COLORREF secondTransparent)
{
    const QImage first = LoadWidgetImage(firstId);
    if (secondId < 0)
        return SetBitmaps(first, firstTransparent, secondId);
    const QImage second = secondId ? LoadWidgetImage(secondId) : QImage();
    if (secondId && second.isNull()) {
        ClearImages();
        return BTNST_INVALIDRESOURCE;
    }
    return SetBitmaps(first, firstTransparent, second, secondTransparent);
}

int CButtonST::SetBitmapFile(const QString& path, COLORREF transparent, int alignment)
{
    m_byAlign = alignment;
    return SetBitmaps(QImage(path), transparent);
}

void CButtonST::ClearImages()
{
    m_icons = {};
    m_bitmaps = {};
    update();
}

int CButtonST::SetImages(ImagePair& target, const QImage& first, const QImage& second, int derivedSecond)
{
    if (first.isNull()) {
        ClearImages();
        return BTNST_INVALIDRESOURCE;
    }
    target.first = first;
    if (derivedSecond == BTNST_AUTO_GRAY)
        target.second = GreyCopy(first);
    else if (derivedSecond == BTNST_AUTO_DARKER)
        target.second = DarkerCopy(first);
    else
        target.second = second;
    update();
    return BTNST_OK;
}

const QImage& CButtonST::ImageForState(const ImagePair& pair) const
{
    const bool useSecond = !pair.second.isNull() && !m_bIsPressed && (m_bIsCheckBox || !m_bMouseOnButton);
    return useSecond ? pair.second : pair.first;
}

COLORREF CButtonST::StateTextColor() const
{
    if (m_bMouseOnButton || m_bIsPressed)
        return m_crColors[BTNST_COLOR_FG_IN];
    if (m_bIsFocused)
        return m_crColors[BTNST_COLOR_FG_FOCUS];
    return m_crColors[BTNST_COLOR_FG_OUT];
}

COLORREF CButtonST::StateBackgroundColor() const
{
    if (m_bMouseOnButton || m_bIsPressed)
        return m_crColors[BTNST_COLOR_BK_IN];
    if (m_bIsFocused)
        return m_crColors[BTNST_COLOR_BK_FOCUS];
    return m_crColors[BTNST_COLOR_BK_OUT];
}

void CButtonST::paintEvent(QPaintEvent*)
{
    m_bIsPressed = isDown() || (m_bIsCheckBox && isChecked());
    m_bIsFocused = hasFocus();
    m_bIsDisabled = !isEnabled();
    QPainter dc(this);
    DrawItem(dc, rect());
}

void CButtonST::DrawItem(QPainter& dc, const QRect& item)
{
    QRect area = item;
    if (!m_bIsTransparent)
        PaintBackground(dc, area);
    PaintBorder(dc, area);

    QRect image;
    QRect caption;
    LayoutContent(area, image, caption);
    if (!m_icons.IsEmpty())
        PaintIcon(dc, image);
    if (!m_bitmaps.IsEmpty())
        PaintBitmap(dc, image);
    if (!text().isEmpty())
        PaintCaption(dc, caption);
    DrawFocusRect(dc, item);
}

void CButtonST::PaintBackground(QPainter& dc, QRect& rect)
{
    if (!m_bIsFlat && (m_bIsFocused || isDefault())) {
        FrameRect(dc, rect, Qt::black);
        rect.adjust(1, 1, -1, -1);
    }
    dc.fillRect(rect, ColorFromRef(StateBackgroundColor()));
}

void CButtonST::PaintBorder(QPainter& dc, const QRect& rect)
{
    if (m_bIsPressed) {
        if (m_bIsFlat && m_bDrawBorder)
            Draw3dRect(dc, rect, GetSysColor(SysColor::BtnShadow), GetSysColor(SysColor::BtnHighlight));
        else
            FrameRect(dc, rect, GetSysColor(SysColor::BtnShadow));
        return;
    }
    if (!m_bIsFlat) {
        Draw3dRect(dc, rect, GetSysColor(SysColor::BtnHighlight), GetSysColor(SysColor::DkShadow3D));
        Draw3dRect(dc, rect.adjusted(1, 1, -1, -1), GetSysColor(SysColor::Light3D), GetSysColor(SysColor::BtnShadow));
    } else if (m_bMouseOnButton && m_bDrawBorder) {
        Draw3dRect(dc, rect, GetSysColor(SysColor::BtnHighlight), GetSysColor(SysColor::BtnShadow));
    }
}

void CButtonST::LayoutContent(const QRect& item, QRect& image, QRect& caption) const
{
    caption = item;
    const QImage& picture = !m_icons.IsEmpty() ? m_icons.first : m_bitmaps.first;
    if (!picture.isNull()) {
        const QSize size = picture.size();
        image = QRect(QPoint(0, 0), size);
        const int centreX = item.left() + (item.width() - size.width()) / 2;
        const int centreY = item.top() + (item.height() - size.height()) / 2;
        if (text().isEmpty()) {
            image.moveTo(centreX, centreY);
        } else {
            switch (m_byAlign) {
            case ST_ALIGN_VERT:
                image.moveTo(centreX, item.top() + m_imageMargin.y());
                caption.setTop(image.bottom() + 1);
                break;
            case ST_ALIGN_HORIZ_RIGHT:
                image.moveTo(item.right() + 1 - m_imageMargin.x() - size.width(), centreY);
                caption.setRight(image.left() - 1);
                break;
            case ST_ALIGN_OVERLAP:
                image.moveTo(item.left() + m_imageMargin.x(), item.top() + m_imageMargin.y());
                break;
            default:
                image.moveTo(item.left() + m_imageMargin.x(), centreY);
                caption.setLeft(image.right() + 1);
                break;
            }
        }
    }
    if (m_bIsPressed && !m_bIsCheckBox) {
        image.translate(m_pressedOffset);
        caption.translate(m_pressedOffset);
    }
}

void CButtonST::DrawImage(QPainter& dc, const QRect& image, const QImage& picture) const
{
    if (m_bIsDisabled)
        CPJAImage::DrawDisabled(dc, image.left(), image.top(), image.width(), image.height(), picture);
    else
        dc.drawImage(image.topLeft(), picture);
}

void CButtonST::PaintIcon(QPainter& dc, const QRect& image)
{
    DrawImage(dc, image, ImageForState(m_icons));
}

void CButtonST::PaintBitmap(QPainter& dc, const QRect& image)
{
    DrawImage(dc, image, ImageForState(m_bitmaps));
}

void CButtonST::PaintCaption(QPainter& dc, const QRect& caption)
{
    const int flags = Qt::TextWordWrap | Qt::AlignCenter;
    dc.save();
    dc.setFont(font());
    if (m_bIsDisabled) {
        dc.setPen(GetSysColor(SysColor::BtnHighlight));
        dc.drawText(caption.translated(1, 1), flags, text());
        dc.setPen(GetSysColor(SysColor::BtnShadow));
        dc.drawText(caption, flags, text());
    } else {
        dc.setPen(ColorFromRef(StateTextColor()));
        dc.drawText(caption, flags, text());
    }
    dc.restore();
}

void CButtonST::DrawFocusRect(QPainter& dc, const QRect& item) const
{
    if (m_bIsFocused && (!m_bIsFlat || m_bDrawFlatFocus))
        DottedRect(dc, item.adjusted(3, 3, -3, -3), ColorFromRef(StateTextColor()));
}

void CButtonST::SetHot(bool hot)
{
    if (m_bMouseOnButton == hot)
        return;
    m_bMouseOnButton = hot;
    update();
}

void CButtonST::UpdateHot(const QPoint& pos)
{
    if (!m_bIsFlat)
        return;
    const bool over = rect().contains(pos) && (m_bAlwaysTrack || QApplication::activeWindow());
    SetHot(over);
}

void CButtonST::mouseMoveEvent(QMouseEvent* e)
{
    QPushButton::mouseMoveEvent(e);
    // A press that left the button keeps its look until released.
    if ((e->buttons() & Qt::LeftButton) && !rect().contains(e->position().toPoint()))
        return;
    UpdateHot(e->position().toPoint());
}

void CButtonST::enterEvent(QEnterEvent* e)
{
    QPushButton::enterEvent(e);
    UpdateHot(e->position().toPoint());
}

void CButtonST::leaveEvent(QEvent* e)
{
    QPushButton::leaveEvent(e);
    SetHot(false);
}

void CButtonST::focusOutEvent(QFocusEvent* e)
{
    QPushButton::focusOutEvent(e);
    SetHot(false);
}

void CButtonST::changeEvent(QEvent* e)
{
    QPushButton::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && !isActiveWindow()) {
        SetHot(false);
    } else if (e->type() == QEvent::EnabledChange && !isEnabled()) {
        // Qt has moved the focus on to the next control already.
        SetHot(false);
    }
}

bool CButtonST::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::ToolTip: {
        if (!m_bTooltipActive || m_strTooltip.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
            return true;
        }
        const auto* help = static_cast<QHelpEvent*>(e);
        QToolTip::showText(help->globalPos(), m_strTooltip, this, rect());
        return true;
    }
    case QEvent::UngrabMouse:
        SetHot(false);
        break;
    case QEvent::ApplicationPaletteChange:
        SetDefaultColors();
        break;
    default:
        break;
    }
    return QPushButton::event(e);
}

void CButtonST::OnClicked()
{
    setFocus(Qt::MouseFocusReason);
    if (m_bIsCheckBox) {
        update();
        return;
    }
    if (!m_strUrl.isEmpty())
        OpenWithShell(m_strUrl);
}
