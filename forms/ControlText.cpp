#include "ControlText.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

QString GetControlText(const QWidget* control)
{
    if (!control)
        return QString();
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(control))
        return edit->toPlainText();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    // A date or number box shows its value as text.
    if (auto* box = qobject_cast<const QAbstractSpinBox*>(control))
        return box->text();
    return control->windowTitle();
}

void SetControlText(QWidget* control, const QString& text)
{
    if (!control)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
        edit->setPlainText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setEditText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else
        control->setWindowTitle(text);
}
