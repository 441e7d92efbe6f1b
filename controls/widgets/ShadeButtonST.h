#pragma once

#include "ButtonST.h"

// The owner-drawn button with a rounded, anti-aliased shape: a faint outline
// on whatever lies below, filled with the button's background colour
// (filled kind) or lit only under the mouse (outline kind). Form "button"
// elements with a non-zero "maxlen" are of this class; "maxlen" 2 makes them
// filled.
class CShadeButtonST : public CButtonST
{
    Q_OBJECT

public:
    enum class ShadeKind { Outline, Filled };

    explicit CShadeButtonST(QWidget* parent = nullptr);

    void SetShadeKind(ShadeKind kind);
    ShadeKind GetShadeKind() const { return m_shadeKind; }

protected:
    void DrawItem(QPainter& dc, const QRect& item) override;
    virtual void PaintShadeCaption(QPainter& dc, const QRect& caption);

private:
    ShadeKind m_shadeKind = ShadeKind::Outline;
};
