// The form window as the print source of its own print description.
#include "ControlText.h"
#include "D_T1.h"
#include "grid/ListCtrlEx.h"

#include <QAbstractButton>
#include <QPointer>
#include <QTimer>

namespace {

CListCtrlEx* GridOf(const D_T1& form, int id)
{
    return qobject_cast<CListCtrlEx*>(form.GetDlgItem(id + D_T1::ControlIdBase));
}

} // namespace

QString D_T1::ControlText(int id) const
{
    const QWidget* control = GetDlgItem(id + ControlIdBase);
    return control ? GetControlText(control) : QString();
}

bool D_T1::IsChecked(int id) const
{
    const auto* button = qobject_cast<const QAbstractButton*>(GetDlgItem(id + ControlIdBase));
    return button && button->isCheckable() && button->isChecked();
}

int D_T1::TableRowCount(int id) const
{
    const CListCtrlEx* grid = GridOf(*this, id);
    return grid ? grid->GetItemCount() : 0;
}

int D_T1::TableHeaderCount(int id) const
{
    const CListCtrlEx* grid = GridOf(*this, id);
    return grid ? grid->GetColumnCount() : 0;
}

QString D_T1::TableHeaderText(int id, int column) const
{
    const CListCtrlEx* grid = GridOf(*this, id);
    return grid && column >= 0 && column < grid->GetColumnCount() ? grid->GetColumnTitle(column) : QString();
}

QString D_T1::TableItemText(int id, int row, int column) const
{
    const CListCtrlEx* grid = GridOf(*this, id);
    return grid ? grid->GetItemText(row, column) : QString();
}

void D_T1::SetControlTextById(int id, const QString& text)
{
    if (QWidget* control = GetDlgItem(id + ControlIdBase))
        SetControlText(control, text);
}

void D_T1::PostClick(int id)
{
    // The click starts the next job of a batch: only once the event that
    // printed (its transaction included) is over.
    QPointer<QAbstractButton> button = qobject_cast<QAbstractButton*>(GetDlgItem(id + ControlIdBase));
    if (!button)
        return;
    RunWhenEventIsOver([button] {
        if (button)
            button->click();
    });
}

void D_T1::RunWhenEventIsOver(std::function<void()> work)
{
    if (m_life == FormLife::InEvent)
        RunAfterEvent(std::move(work));
    else
        QTimer::singleShot(0, this, std::move(work));
}
