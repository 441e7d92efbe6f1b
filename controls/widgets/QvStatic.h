#pragma once

#include "ColorRef.h"

#include <QLabel>

// The static text of form "static" elements: drawn in its own text colour
// (the element's "color", black by default) on whatever lies below it.
class CQvStatic : public QLabel
{
    Q_OBJECT

public:
    explicit CQvStatic(QWidget* parent = nullptr);

    void SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_crText; }

private:
    COLORREF m_crText = 0;
};
