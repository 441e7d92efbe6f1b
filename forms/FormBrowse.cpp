#include "FormBrowse.h"

#include "D_T1.h"
#include "Dialog_TextBox_Info.h"
#include "FormDescription.h"
#include "FormTexts.h"
#include "StoredFormOpener.h"
#include "grid/ListCtrlEx.h"
#include "text/AppState.h"
#include "text/TextScramble.h"
#include "widgets/FileEditCtrl.h"

#include <QApplication>
#include <QFocusEvent>

namespace {

constexpr int ScrambleKey = 1;

CListCtrlEx* OwnerGrid(const CFileEditCtrl& box)
{
    return qobject_cast<CListCtrlEx*>(box.m_pOwnerGrid.data());
}

// The row of a cell editor's grid changed by a browse: marked changed
// unless it is new.
void MarkRowChanged(CListCtrlEx* grid, int row)
{
    if (ItemData* record = grid->GetRowKey(row)) {
        if (record->nState != kRowNew)
            record->nState = kRowChanged;
    }
}

// Loads the picker's description: entry p1 of the popup text from the
// database on the form's own connection, else the box's sub-form. False
// when the database cannot be opened.
bool LoadPicker(D_T1& picker, const CFileEditCtrl& box)
{
    const QStringList parts = box.m_strPopup.split(u':');
    const QString uid = parts.value(1);
    if (uid.isEmpty()) {
        picker.m_strFormId = box.m_strPopup;
        return picker.LoadDescription(box.m_strSubForm);
    }
    picker.m_strDisabledIds = parts.value(2);
    picker.m_strHiddenIds = parts.value(3);
    CDbConnection db;
    db.SetConnectString(UnscrambleText(theApp().m_strConnectText, ScrambleKey));
    if (!db.Connect())
        return false;
    // The uid stands unquoted in the query: only a number is looked up.
    bool isNumber = false;
    const int number = uid.trimmed().toInt(&isNumber);
    QString form = isNumber ? ReadStoredForm(db, FormTexts::SelectForm.arg(number)) : QString();
    db.Close();
    if (form.isEmpty())
        form = CFormDescription::EmptyForm;
    picker.m_strFormId = QStringLiteral("0");
    picker.m_strMenuUid = uid;
    return picker.LoadDescription(form);
}

void BrowsePicker(CFileEditCtrl& box, D_T1& owner)
{
    std::unique_ptr<D_T1> picker(owner.NewSubForm(&box, false));
    picker->m_pIndexWnd = &box;
    if (box.m_nOpenBelow == 1) {
        const QPoint bottomLeft = box.mapToGlobal(box.rect().bottomLeft());
        picker->m_bBelow = true;
        picker->m_nBelowLeft = bottomLeft.x();
        picker->m_nBelowBottom = bottomLeft.y();
    }
    if (!LoadPicker(*picker, box))
        return;
    CListCtrlEx* grid = OwnerGrid(box);
    const int row = box.m_nOwnerRow;
    const int column = box.m_nOwnerColumn;
    if (grid) {
        const ItemData* record = grid->GetRowKey(row);
        picker->m_strInput = record && !record->strKey.isEmpty() ? record->strKey : QStringLiteral("0");
        grid->EndEdit(true);
    }
    QString result;
    picker->m_pReturnSlot = &result;
    if (picker->DoModal() != QDialog::Accepted)
        return;
    box.setText(result);
    if (grid) {
        grid->SetItemText(row, column, result);
        MarkRowChanged(grid, row);
        owner.FireEndEdit(owner.GetDlgCtrlID(grid), row, column);
    } else {
        // The form sees the box leave and take the focus again.
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(&box, &out);
        QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
        QApplication::sendEvent(&box, &in);
    }
}

void BrowseText(CFileEditCtrl& box)
{
    Dialog_TextBox_Info dialog(&box);
    QString result;
    dialog.m_strText = box.text();
    dialog.m_pResult = &result;
    if (dialog.DoModal() != QDialog::Accepted)
        return;
    box.setText(result);
    if (CListCtrlEx* grid = OwnerGrid(box)) {
        const QString old = grid->GetItemText(box.m_nOwnerRow, box.m_nOwnerColumn);
        grid->SetItemText(box.m_nOwnerRow, box.m_nOwnerColumn, result);
        if (result != old)
            MarkRowChanged(grid, box.m_nOwnerRow);
    }
}

} // namespace

void BrowseEditBox(CFileEditCtrl& box)
{
    if (box.m_nBrowseKind == CFileEditCtrl::BrowseTextDialog) {
        BrowseText(box);
        return;
    }
    if (auto* owner = qobject_cast<D_T1*>(box.m_pOwnerForm.data()); owner && box.m_nBrowseKind == CFileEditCtrl::BrowseFormPicker)
        BrowsePicker(box, *owner);
}
