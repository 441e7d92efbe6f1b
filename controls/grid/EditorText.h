#pragma once

#include <QString>

class QWidget;

// The text an in-place editor shows, whatever its kind: a line edit's text, a
// combo box's current text, a date-time edit's value, or else the widget's
// "text" property (the browse box and other own editors).
QString GetEditorText(const QWidget* editor);

// Shows the text in the editor. A date-time edit takes a text that reads as a
// date and keeps its value otherwise; a combo box that cannot be typed in
// selects the entry with that text, or none.
void SetEditorText(QWidget* editor, const QString& text);
