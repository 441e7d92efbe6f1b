#pragma once

#include "BCMenu.h"
#include "ColorRef.h"

#include <QImage>
#include <QPushButton>

// The owner-drawn push button of form "button" elements and of the
// program's dialogs: three colour states (normal, under the mouse or
// pressed, focused), an optional icon or bitmap beside the caption, a flat
// look that lights up under the mouse, a tooltip, an optional hand cursor and
// an optional web address opened on click.
//
// Creating one: construct it with its parent, give the window style of the
// description to PreSubclassWindow (a check-box style makes it toggle, the
// default-button style makes it the default button), then use the setters.
// Clicks arrive as QAbstractButton::clicked; a double click gives two.
class CButtonST : public QPushButton
{
    Q_OBJECT

public:
    // Colour slots of SetColor / GetColor.
    enum ColorSlot {
        BTNST_COLOR_BK_IN = 0,    // background under the mouse or pressed
        BTNST_COLOR_FG_IN = 1,    // text under the mouse or pressed
        BTNST_COLOR_BK_OUT = 2,   // background otherwise
        BTNST_COLOR_FG_OUT = 3,   // text otherwise
        BTNST_COLOR_BK_FOCUS = 4, // background while focused
        BTNST_COLOR_FG_FOCUS = 5, // text while focused
        BTNST_MAX_COLORS = 6,
    };
    // Results of the setters.
    enum Result { BTNST_OK = 0, BTNST_INVALIDRESOURCE = 1, BTNST_FAILEDMASK = 2, BTNST_INVALIDINDEX = 3 };
    // Where the image sits beside the caption.
    enum Alignment {
        ST_ALIGN_HORIZ = 0,       // left of the caption
        ST_ALIGN_VERT = 1,        // above it
        ST_ALIGN_HORIZ_RIGHT = 2, // right of it
        ST_ALIGN_OVERLAP = 3,     // top-left corner, caption unmoved
    };
    // In place of a second image: none, a grey or a darker copy of the first.
    static constexpr int BTNST_NO_IMAGE = 0;
    static constexpr int BTNST_AUTO_GRAY = -2;
    static constexpr int BTNST_AUTO_DARKER = -3;
    // Window-style bits read by PreSubclassWindow.
    static constexpr unsigned BS_DEFPUSHBUTTON = 0x1;
    static constexpr unsigned CheckBoxStyleBit = 0x2;
    // Longest web address kept.
    static constexpr int MaxUrlLength = 260;

    explicit CButtonST(QWidget* parent = nullptr);
    ~CButtonST() override;

    // Takes the button type from the description's window style.
    virtual void PreSubclassWindow(unsigned style);

    int SetColor(int slot, COLORREF colour, bool repaint = true);
    int GetColor(int slot, COLORREF* colour) const;
    // Back to the desktop's face and text colours in all six slots.
    void SetDefaultColors(bool repaint = true);

    void SetFlat(bool flat, bool repaint = true);
    // When off, the button lights up only while one of the program's windows
    // is active.
    void SetAlwaysTrack(bool alwaysTrack);
    void SetDrawBorder(bool drawBorder, bool repaint = true);
    void SetFlatFocus(bool flatFocus, bool repaint = true);
    // Check-box buttons only; other buttons ignore it.
    void SetCheck(bool checked, bool repaint = true);
    bool GetCheck() const;
    // Shows whatever lies under the button instead of a background colour.
    void SetTransparent(bool transparent, bool repaint = true);
    void SetTooltipText(const QString& text, bool activate = true);
    void SetBtnCursor(bool hand);
    // Opened with the desktop's program on click (check boxes excepted).
    void SetURL(const QString& url);
    QString GetURL() const { return m_strUrl; }

    // Images: the first shows under the mouse or pressed, the second
    // otherwise (and always on a check box that is not pressed). In place of
    // a second image BTNST_AUTO_GRAY / BTNST_AUTO_DARKER derive one from the
    // first. Answer BTNST_OK, or BTNST_INVALIDRESOURCE when an image cannot
    // be read (the button is then left without images).
    int SetIcons(const QImage& first, const QImage& second = {});
    int SetIcons(const QImage& first, int derivedSecond);
    int SetIconIds(int firstId, int secondId);
    int SetIconIdsSized(int firstId, int firstWidth, int firstHeight, int secondId, int secondWidth,
                        int secondHeight);
    // Bitmaps are opaque; pixels of their transparent colour show the
    // background.
    int SetBitmaps(const QImage& first, COLORREF firstTransparent, const QImage& second = {},
                   COLORREF secondTransparent = 0);
    int SetBitmaps(const QImage& first, COLORREF firstTransparent, int derivedSecond);
    int SetBitmapIds(int firstId, COLORREF firstTransparent, int secondId, COLORREF secondTransparent);
    int SetBitmapFile(const QString& path, COLORREF transparent, int alignment);

    bool IsHot() const { return m_bMouseOnButton; }
    bool IsCheckBox() const { return m_bIsCheckBox; }
    bool IsFlat() const { return m_bIsFlat; }
    const BCMenu& GetMenu() const { return m_menuPopup; }

protected:
    // The look of one paint; the state flags are set from the button first.
    virtual void DrawItem(QPainter& dc, const QRect& item);
    virtual void PaintBackground(QPainter& dc, QRect& rect);
    virtual void PaintBorder(QPainter& dc, const QRect& rect);
    virtual void PaintIcon(QPainter& dc, const QRect& image);
    virtual void PaintBitmap(QPainter& dc, const QRect& image);
    virtual void PaintCaption(QPainter& dc, const QRect& caption);

    // The text and background colours of the current state.
    COLORREF StateTextColor() const;
    COLORREF StateBackgroundColor() const;
    // Where the image and the caption go in the item rectangle.
    void LayoutContent(const QRect& item, QRect& image, QRect& caption) const;
    void DrawFocusRect(QPainter& dc, const QRect& item) const;
    void SetHot(bool hot);

    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

    bool m_bIsPressed = false;
    bool m_bIsFocused = false;
    bool m_bIsDisabled = false;
    bool m_bMouseOnButton = false;
    bool m_bIsFlat = true;
    bool m_bAlwaysTrack = true;
    bool m_bDrawBorder = true;
    bool m_bDrawFlatFocus = false;
    bool m_bIsCheckBox = false;
    bool m_bIsTransparent = false;
    int m_byAlign = ST_ALIGN_HORIZ;
    QPoint m_imageMargin{3, 3};
    QPoint m_pressedOffset{1, 1};
    COLORREF m_crColors[BTNST_MAX_COLORS] = {};

private:
    struct ImagePair
    {
        QImage first;
        QImage second;
        bool IsEmpty() const { return first.isNull(); }
    };

    void OnClicked();
    void UpdateHot(const QPoint& pos);
    void ClearImages();
    int SetImages(ImagePair& target, const QImage& first, const QImage& second, int derivedSecond);
    const QImage& ImageForState(const ImagePair& pair) const;
    void DrawImage(QPainter& dc, const QRect& image, const QImage& picture) const;

    ImagePair m_icons;
    ImagePair m_bitmaps;
    QString m_strTooltip;
    bool m_bTooltipActive = false;
    QString m_strUrl;
    BCMenu m_menuPopup;
};
