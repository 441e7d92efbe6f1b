#pragma once

#include "ColorRef.h"
#include "PJAImage.h"

#include <QLineEdit>
#include <QPointer>

#include <functional>

// The edit box of form "editbutton" elements: a line edit with a browse
// button at its right end (or left end). A click on the button, F2 or
// Ctrl + full stop in the box run the browse action; what it does (pick a
// form record, edit a long text, pick a colour) belongs to the form runtime,
// which hands it in with SetBrowseHandler and reads the owner data below.
// The button is drawn as a white square holding the button image, which
// moves by one pixel while pressed.
class CFileEditCtrl : public QLineEdit
{
    Q_OBJECT

public:
    // Browse kinds.
    static constexpr int BrowseFormPicker = 0;
    static constexpr int BrowseTextDialog = 100;
    static constexpr int BrowseColour = 101;
    // Button sides: ButtonLeft puts the button at the left end, any other
    // value at the right end.
    static constexpr int ButtonLeft = 16;
    // Button states while drawn.
    static constexpr int StateNormal = 1;
    static constexpr int StatePressed = 2;
    static constexpr int StateDisabled = 4;

    using BrowseHandler = std::function<void(CFileEditCtrl& box)>;

    explicit CFileEditCtrl(QWidget* parent = nullptr);

    // What runs on a click of the button, F2 or Ctrl + full stop.
    void SetBrowseHandler(BrowseHandler handler);
    // Runs the browse action once (nothing without a handler).
    void Browse();

    // The image drawn on the button with the image flags of CPJAImage (kind
    // and draw flags together; centred unless stretched) and its
    // transparent colour. The image is copied: the caller keeps its own.
    void SetButtonImage(const QImage& image, unsigned flags, COLORREF transparent);
    // −1: 1.2 times the box height; 0: no button. Answers the former width.
    int SetButtonWidth(int width);
    void SetButtonSide(int side);
    // 0 means not set: the desktop's colours apply.
    void SetTextColor(COLORREF colour);
    void SetBackgroundColor(COLORREF colour);

    // The button's rectangle in the box (empty without a button).
    QRect ButtonRect() const;
    int ButtonState() const { return m_nButtonState; }
    // Set by every change of the text; the form runtime clears it.
    bool m_bChanged = true;

    // Owner data for the browse action, set by the form builder and by the
    // grid when the box edits one of its cells.
    int m_nBrowseKind = BrowseFormPicker;
    QPointer<QWidget> m_pOwnerForm;
    QPointer<QWidget> m_pOwnerGrid;
    int m_nOwnerRow = -1;
    int m_nOwnerColumn = -1;
    // The picker opens below the box (the element's "shade").
    int m_nOpenBelow = 0;
    // The element's "popup" text and the picker's form description.
    QString m_strPopup;
    QString m_strSubForm;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    int ButtonWidth() const;
    void UpdateFrame();
    void SetState(int state);
    bool PressButton(const QPoint& pos);
    void ApplyColours();

    BrowseHandler m_browse;
    int m_nButtonSide = -1;
    bool m_bCaptured = false;
    int m_nButtonState = StateNormal;
    int m_nButtonWidth = -1;
    unsigned m_nImageFlags = 0;
    CPJAImage m_buttonImage;
    COLORREF m_crText = 0;
    COLORREF m_crBackground = 0;
};
