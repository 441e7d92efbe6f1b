#pragma once

#include <QString>

class QWidget;

// The window text of a control: what an edit, combo box, button, label or
// date box shows; the window title of anything else.
QString GetControlText(const QWidget* control);
void SetControlText(QWidget* control, const QString& text);
