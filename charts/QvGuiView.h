#pragma once

#include <QLabel>

// The control of a `gui` form element: a plain static text.
class QvGuiView : public QLabel
{
public:
    using QLabel::QLabel;
};
