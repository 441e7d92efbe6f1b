#pragma once

#include <QList>

class QScrollBar;
class QWidget;

// The scroll bars of a form whose head gives a scrollable area ("height" or
// "height,width" in pixels). Positions count lines of 20 pixels; scrolling
// moves every control of the form, the bars stay at the edges.
class CFormScroller
{
public:
    CFormScroller(QWidget& form, const QList<int>& sizes);

    // The form was resized: new page sizes, bars back at the edges.
    void OnResize();
    // Vertical wheel movement: a notch (120 units) scrolls five lines; a
    // larger message still scrolls only five, smaller ones (touchpads) add up
    // to a notch first.
    void OnWheel(int delta);

    QScrollBar* VerticalBar() const { return m_vertical; }
    QScrollBar* HorizontalBar() const { return m_horizontal; }

private:
    QScrollBar* MakeBar(bool vertical, int area);
    void UpdateRange(QScrollBar* bar, int area, int clientSize, bool onlyWhenLarger);
    void PlaceBars();

    QWidget& m_form;
    int m_nScrollStep = 20;
    int m_height = 0;
    int m_width = 0;
    int m_wheelRest = 0;
    QScrollBar* m_vertical = nullptr;
    QScrollBar* m_horizontal = nullptr;
};
