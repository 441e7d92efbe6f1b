#pragma once

#include "ColorRef.h"

#include <QPushButton>
#include <QRegion>

// The rounded, colour-filled push button of form "qvbutton" elements: a
// light-green shape with rounded corners and a thin outline. The shape is
// also the button's outline for the mouse: clicks on the cut-off corners go
// to what lies below. The caption is drawn in the palette's text colour and
// the widget's font, one pixel down and right while the button is held.
class CQvButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CQvButton(QWidget* parent = nullptr);

    bool IsPressed() const { return m_bPressed; }
    // The rounded shape for the given size, and its one-pixel outline.
    static QRegion RoundShape(int width, int height, int corner);
    static QRegion FrameOf(const QRegion& shape, int frameWidth, int frameHeight);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool m_bPressed = false;
    COLORREF m_crFill = MakeColorRef(190, 255, 180);
    COLORREF m_crFrame = 0;
    int m_nFrameWidth = 1;
    int m_nFrameHeight = 1;
    int m_nCorner = 10;
    int m_nTextShiftX = 2;
    int m_nTextShiftY = 2;
};
