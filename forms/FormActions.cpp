#include "FormActions.h"

#include "ControlText.h"
#include "D_T1.h"
#include "EventTexts.h"
#include "LocaleDateTime.h"
#include "text/AppState.h"
#include "text/TextScramble.h"
#include "text/TextSplit.h"
#include "text/TreeItems.h"
#include "grid/ListCtrlEx.h"
#include "widgets/FileEditCtrl.h"

#include <QAbstractButton>
#include <QHash>
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

} // namespace

CFormActions::CFormActions()
{
    Reconnect();
}

void CFormActions::SaveRowStates(CListCtrlEx* grid, const QList<int>& rows)
{
    if (!grid)
        return;
    auto saved = std::make_unique<_QvListCtrlState>();
    saved->grid = grid;
    const auto keep = [&saved, grid](int row) {
        if (const ItemData* item = grid->GetRowKey(row))
            saved->rows.append({item, item->strKey, item->nState, QString()});
    };
    if (rows.isEmpty()) {
        for (int row = 0; row < grid->GetItemCount(); ++row)
            keep(row);
    } else {
        for (int row : rows)
            keep(row);
    }
    m_listStates.push_back(std::move(saved));
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
    // Typing into an editable list leaves its last chosen entry current:
    // the text the user sees is its value, as a typed text unselects the
    // entry on the original platform.
    if (auto* combo = qobject_cast<const QComboBox*>(control); combo && !combo->isEditable()) {
        if (combo->currentIndex() >= 0)
            return combo->itemText(combo->currentIndex());
    }
    return GetControlText(control);
}

bool CFormActions::GetControlByRef(const D_T1& form, const QString& ref, QWidget*& control)
{
    control = nullptr;
    // A colon counts only after the first character: ":5" is one number
    // (read as 0, the form itself).
    const bool parted = ref.indexOf(u':', 1) > 0;
    QList<int> ids;
    if (parted)
        SplitToInts(ref, QStringLiteral(":"), ids);
    else
        ids.append(TextToInt(ref));
    if (ids.size() == 1)
        control = ids[0] == 0 ? const_cast<D_T1*>(&form) : form.GetDlgItem(ids[0] + D_T1::ControlIdBase);
    else if (ids.size() == 2 && form.m_pOpener)
        control = form.m_pOpener->GetDlgItem(ids[1] + D_T1::ControlIdBase);
    else if (ids.size() == 3) {
        // A page outside the panel, or a panel number that names no panel,
        // is a reference that names nothing.
        if (const D_T1* page = form.GetPage(ids[0] + D_T1::ControlIdBase, ids[1]))
            control = page->GetDlgItem(ids[2] + D_T1::ControlIdBase);
    }
    if (!control)
        m_db.m_strError = EventTexts::BadControlRef + ref;
    return control != nullptr;
}

bool CFormActions::GetControlValue(const D_T1& form, const QString& ref, QWidget*& control, QString& value)
{
    if (ref.isEmpty())
        return false;
    if (!GetControlByRef(form, ref, control))
        return false;
    value = GetWindowValue(control);
    return true;
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
    int previousParent = 0;
    QTreeWidgetItem* parent = tree->topLevelItem(0);
    for (qsizetype i = 0; i + 2 < values.size(); i += 3) {
        const int parentUid = TextToInt(values[i]);
        if (parentUid != previousParent) {
            parent = FindTreeItemByData(tree, tree->topLevelItem(0), parentUid);
            previousParent = parentUid;
        }
        auto* item = new QTreeWidgetItem(QStringList{values[i + 1]});
        item->setData(0, kTreeItemDataRole, TextToInt(values[i + 2]));
        if (parent)
            parent->addChild(item);
        else
            tree->addTopLevelItem(item);
        if (!checkList.isEmpty() && checkList.contains(QStringLiteral(",%1,").arg(values[i + 2])))
            item->setCheckState(0, Qt::Checked);
    }
}

void CFormActions::RenumberListRows(CListCtrlEx* grid, int firstRow)
{
    if (!grid)
        return;
    for (int row = qMax(0, firstRow); row < grid->GetItemCount(); ++row) {
        grid->SetItemText(row, 0, QString::number(row + 1));
        if (ItemData* record = grid->GetRowKey(row); record && record->nState < kRowNew)
            record->nState = kRowMarked;
    }
}

bool CFormActions::FillListRows(const QStringList& values, CListCtrlEx* grid, int columnCount, bool withRowNumbers)
{
    if (!grid || columnCount < 1)
        return true;
    grid->setUpdatesEnabled(false);
    grid->DeleteAllRows();
    m_strListedUids.clear();
    const int firstColumn = withRowNumbers ? 1 : 0;
    const bool withUid = grid->m_bContainHead || columnCount == grid->GetColumnCount() - firstColumn + 1;
    for (qsizetype start = 0, row = 0; start + columnCount <= values.size(); start += columnCount, ++row) {
        const int index = grid->InsertRow(int(row), QString());
        qsizetype value = start;
        if (withUid) {
            const QString& uid = values[value++];
            grid->SetRowData(index, reinterpret_cast<void*>(qintptr(TextToInt(uid))), uid, kRowUnchanged);
            m_strListedUids += uid + u',';
        }
        if (withRowNumbers)
            grid->SetItemText(index, 0, QString::number(index + 1));
        for (int column = firstColumn; value < start + columnCount; ++column, ++value) {
            const ColumnInfo* info = grid->GetColumnInfo(column);
            if (info && info->nCompareKind == 1)
                grid->SetCellData(index, column, reinterpret_cast<void*>(qintptr(TextToInt(values[value]))));
            else
                grid->SetItemText(index, column, values[value]);
        }
    }
    // The keys go into SQL lists ("{{selected_uid_0}}"): no trailing comma.
    m_strListedUids.chop(m_strListedUids.endsWith(u',') ? 1 : 0);
    grid->setUpdatesEnabled(true);
    return true;
}

void CFormActions::EndEvent(const D_T1& form, bool committed)
{
    if (committed) {
        for (const QPointer<CListCtrlEx>& grid : std::as_const(m_savedGrids))
            m_deletedUids.Forget(grid.data());
    } else {
        RestoreRowStates();
        for (const int id : std::as_const(m_resetIds))
            SetDlgItemTextAndRefresh(form, id + D_T1::ControlIdBase, QStringLiteral("0"));
        for (auto reset = m_resetControls.crbegin(); reset != m_resetControls.crend(); ++reset)
            SetTextAndRefresh(reset->control.data(), reset->text);
    }
    m_listStates.clear();
    m_resetIds.clear();
    m_resetControls.clear();
    m_savedGrids.clear();
}

void CFormActions::ChangeRowKey(CListCtrlEx* grid, int row, const QString& key)
{
    ItemData* item = grid ? grid->GetRowKey(row) : nullptr;
    if (!item)
        return;
    for (const auto& saved : m_listStates) {
        if (saved->grid != grid)
            continue;
        for (_QvListCtrlState::Row& record : saved->rows) {
            if (record.item == item)
                record.givenKey = key;
        }
    }
    item->strKey = key;
}

void CFormActions::RestoreRowStates()
{
    // Rows are found by their record, not by the index they had: the failed
    // actions may have inserted, deleted or sorted rows meanwhile. The
    // records are written back from the last to the first, so that a row
    // saved twice ends with what it was before the event.
    for (auto saved = m_listStates.crbegin(); saved != m_listStates.crend(); ++saved) {
        CListCtrlEx* grid = (*saved)->grid;
        if (!grid)
            continue;
        QHash<const ItemData*, int> rows;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            rows.insert(grid->GetRowKey(row), row);
        for (const _QvListCtrlState::Row& record : (*saved)->rows) {
            const auto found = rows.constFind(record.item);
            if (found == rows.cend())
                continue;
            ItemData* item = grid->GetRowKey(*found);
            // A record freed and made again for another row is not that row:
            // it has neither the saved key nor one the event gave.
            const bool same = item->strKey == record.key
                              || (!record.givenKey.isNull() && item->strKey == record.givenKey);
            if (!same)
                continue;
            item->strKey = record.key;
            item->nState = record.state;
        }
        grid->viewport()->update();
    }
}
