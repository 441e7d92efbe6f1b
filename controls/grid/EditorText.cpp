#include "grid/EditorText.h"

#include "text/DateText.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QVariant>

QString GetEditorText(const QWidget* editor)
{
    if (!editor)
        return {};
    if (const auto* edit = qobject_cast<const QLineEdit*>(editor))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(editor))
        return combo->currentText();
    if (const auto* dateTime = qobject_cast<const QDateTimeEdit*>(editor))
        return dateTime->text();
    return editor->property("text").toString();
}

void SetEditorText(QWidget* editor, const QString& text)
{
    if (!editor)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
    } else if (auto* dateTime = qobject_cast<QDateTimeEdit*>(editor)) {
        const QDateTime value = ParseDateTimeText(text);
        if (value.isValid())
            dateTime->setDateTime(value);
    } else {
        editor->setProperty("text", text);
    }
}
