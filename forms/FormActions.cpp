#include "FormActions.h"

#include "ControlText.h"
#include "D_T1.h"
#include "LocaleDateTime.h"
#include "text/AppState.h"
#include "text/TextScramble.h"
#include "text/TextSplit.h"
#include "widgets/FileEditCtrl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace {

constexpr int ScrambleKey = 1;

// The form whose control table holds the widget, with its window id.
const D_T1* FormOf(const QWidget* control, int& windowId)
{
    for (const QObject* object = control ? control->parent() : nullptr; object; object = object->parent()) {
        if (auto* form = qobject_cast<const D_T1*>(object)) {
            windowId = form->GetDlgCtrlID(control);
            return form;
        }
    }
    windowId = 0;
    return nullptr;
}

QTreeWidgetItem* FindInSubtree(QTreeWidgetItem* item, qlonglong uid)
{
    if (item->data(0, Qt::UserRole).toLongLong() == uid)
        return item;
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem* found = FindInSubtree(item->child(i), uid))
            return found;
    }
    return nullptr;
}

} // namespace

CFormActions::CFormActions()
{
    Reconnect();
}

void CFormActions::Reconnect()
{
    m_db.SetConnectString(UnscrambleText(theApp().m_strConnectText, ScrambleKey));
}

QString CFormActions::GetDlgItemValue(const D_T1& form, int windowId)
{
    return GetWindowValue(form.GetDlgItem(windowId));
}

QString CFormActions::GetWindowValue(const QWidget* control)
{
    if (auto* combo = qobject_cast<const QComboBox*>(control)) {
        if (combo->currentIndex() >= 0)
            return combo->itemText(combo->currentIndex());
    }
    return GetControlText(control);
}

void CFormActions::SetTextAndRefresh(QWidget* control, const QString& text)
{
    if (!control)
        return;
    SetControlText(control, text);
    if (control->isVisible())
        control->update();
}

void CFormActions::SetDlgItemTextAndRefresh(const D_T1& form, int windowId, const QString& text)
{
    SetTextAndRefresh(form.GetDlgItem(windowId), text);
}

bool CFormActions::SetControlValue(QWidget* control, const QString& text)
{
    if (!control)
        return true;
    if (auto* box = qobject_cast<CFileEditCtrl*>(control)) {
        box->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        int index = combo->findText(text, Qt::MatchFixedString);
        if (index < 0 && !text.isEmpty()) {
            combo->insertItem(0, text);
            index = 0;
        }
        combo->setCurrentIndex(index);
    } else if (auto* date = qobject_cast<QDateTimeEdit*>(control)) {
        QDateTime value;
        if (ParseLocaleDateTime(text, value))
            date->setDateTime(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
        edit->setSelection(text.size(), -text.size());
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        edit->setPlainText(text);
        edit->selectAll();
        edit->ensureCursorVisible();
    } else {
        SetTextAndRefresh(control, text);
    }
    return true;
}

bool CFormActions::EnableControl(QWidget* control, bool enable)
{
    if (!control)
        return true;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setEnabled(enable);
        edit->setReadOnly(!enable);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        edit->setEnabled(enable);
        edit->setReadOnly(!enable);
    } else if (qobject_cast<QAbstractButton*>(control)) {
        int windowId = 0;
        const D_T1* form = FormOf(control, windowId);
        const bool noRight = form && windowId
                             && form->m_strNoRightIds.contains(
                                 QStringLiteral(";%1;").arg(windowId - D_T1::ControlIdBase));
        control->setEnabled(enable && !noRight);
    } else {
        control->setEnabled(enable);
    }
    return true;
}

QWidget* CFormActions::FindControlInPages(const QList<D_T1*>& pages, int windowId)
{
    for (const D_T1* page : pages) {
        if (QWidget* control = page ? page->GetDlgItem(windowId) : nullptr)
            return control;
    }
    return nullptr;
}

void CFormActions::FillTreeFromValues(const QStringList& values, QTreeWidget* tree, const QString& checkList)
{
    if (!tree)
        return;
    qlonglong previousParent = 0;
    QTreeWidgetItem* parent = tree->topLevelItem(0);
    for (qsizetype i = 0; i + 2 < values.size(); i += 3) {
        const qlonglong parentUid = TextToInt(values[i]);
        if (parentUid != previousParent) {
            parent = FindTreeItemByData(tree, parentUid);
            previousParent = parentUid;
        }
        auto* item = new QTreeWidgetItem(QStringList{values[i + 1]});
        item->setData(0, Qt::UserRole, qlonglong(TextToInt(values[i + 2])));
        if (parent)
            parent->addChild(item);
        else
            tree->addTopLevelItem(item);
        if (!checkList.isEmpty() && checkList.contains(QStringLiteral(",%1,").arg(values[i + 2])))
            item->setCheckState(0, Qt::Checked);
    }
}

QTreeWidgetItem* FindTreeItemByData(QTreeWidget* tree, qlonglong uid)
{
    for (int i = 0; tree && i < tree->topLevelItemCount(); ++i) {
        if (QTreeWidgetItem* found = FindInSubtree(tree->topLevelItem(i), uid))
            return found;
    }
    return nullptr;
}
