// The control-state actions: a query gives one value per target, and the
// value locks a grid column, sets a check state, enables or shows a
// control; and one button's check state copied into another control.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "CellTexts.h"
#include "ControlText.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"
#include "xml/XmlNode.h"

#include <QAbstractButton>
#include <QCheckBox>

#include <functional>

namespace {

// What the query of a control-state action gave: value i for target i.
// Both lists are empty when the query found no row.
struct StateValues
{
    QStringList targets;
    QStringList values;
    CListCtrlEx* grid = nullptr;
};

// How the action's "table_id" is used.
enum class GridUse {
    SelectedRow, // optional: its selected row's key fills "{{id?uid}}"
    Columns,     // required: its columns are the targets
};

// Fills the action's template, runs it and pairs its values with the
// targets. False stops the event: a reference that names nothing or no
// grid, no selected row, no targets, a failed query, or a value count that
// differs from the target count.
bool QueryStateValues(CFormActions& actions, const CXmlNode& action, D_T1& form, GridUse use, StateValues& out)
{
    const QString tableRef = action.GetAttribute(QStringLiteral("table_id"));
    const QString targets = action.GetAttribute(QStringLiteral("target_ids"));
    QString sql = action.GetAttribute(QStringLiteral("values"));

    if (use == GridUse::Columns || !tableRef.isEmpty()) {
        if (tableRef.isEmpty())
            return false;
        if (!actions.GetGridByRef(form, tableRef, out.grid))
            return false;
        if (use == GridUse::SelectedRow) {
            int row = 0;
            if (!GetSelectedListItem(out.grid, row))
                return false;
            const ItemData* record = out.grid->GetRowKey(row);
            if (!actions.PutValue(sql, QStringLiteral("{{id?uid}}"), record ? record->strKey : QString()))
                return false;
        }
    }

    // Control values go in escaped, from either list of parameters.
    const CXmlNode where = action.GetChild(QStringLiteral("para_info_where"));
    const bool filled = where.IsNull()
                            ? actions.FillParamPlaceholders(action.GetChild(QStringLiteral("para_info")), form, sql)
                            : actions.FillWhereFragments(action, form, sql);
    if (!filled || targets.isEmpty())
        return false;
    SplitString(targets, QStringLiteral(";"), out.targets);

    // No row leaves every control as it is; a query that fails is a failure.
    actions.m_db.m_nResult = 0;
    if (actions.m_db.QueryAllToList(sql, out.values) <= 0) {
        out.targets.clear();
        out.values.clear();
        return actions.m_db.m_nResult >= 0;
    }
    if (out.values.size() != out.targets.size()) {
        ShowMessage(ActionTexts::CountMismatch);
        return false;
    }
    return true;
}

// The check state as a button message gives it: 0 clear, 1 ticked,
// 2 indeterminate; 0 for anything that is no check button.
int GetCheckState(const QWidget* control)
{
    if (auto* box = qobject_cast<const QCheckBox*>(control)) {
        switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
        }
    }
    auto* button = qobject_cast<const QAbstractButton*>(control);
    return button && button->isCheckable() && button->isChecked() ? 1 : 0;
}

void SetCheckState(QWidget* control, int state)
{
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        // Only a three-state box shows the third state; others show it ticked.
        box->setCheckState(state == 0                         ? Qt::Unchecked
                           : state == 2 && box->isTristate() ? Qt::PartiallyChecked
                                                              : Qt::Checked);
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (!button || !button->isCheckable())
        return;
    // A radio button is cleared by the message too, not only by its group.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(state != 0);
    button->setAutoExclusive(exclusive);
}

// Runs the state query of the selected row and hands each target that
// names a control its value as a number; targets that name nothing are
// passed over.
bool ApplyStateValues(CFormActions& actions, const CXmlNode& action, D_T1& form,
                      const std::function<void(QWidget*, int)>& apply)
{
    StateValues query;
    if (!QueryStateValues(actions, action, form, GridUse::SelectedRow, query))
        return false;
    for (int i = 0; i < query.values.size(); ++i) {
        QWidget* control = nullptr;
        if (actions.GetControlByRef(form, query.targets[i], control))
            apply(control, TextToInt(query.values[i]));
    }
    return true;
}

} // namespace

bool CFormActions::LockCol(const CXmlNode& action, D_T1& form)
{
    StateValues query;
    if (!QueryStateValues(*this, action, form, GridUse::Columns, query))
        return false;
    CListCtrlEx* grid = query.grid;
    QString locked = grid->GetLockedColumns();
    for (int i = 0; i < query.values.size(); ++i) {
        // 0 and below leave the column as it is: nothing unlocks one.
        const int column = TextToInt(query.targets[i]);
        if (TextToInt(query.values[i]) <= 0 || column < 1 || column > grid->GetColumnCount())
            continue;
        const QString entry = CellTexts::LockedColumn.arg(column);
        if (!locked.contains(entry))
            locked += entry;
        grid->SetColumnWidth(column - 1, 0);
        grid->SetColumnReadOnly(column - 1, 1);
    }
    grid->SetLockedColumns(locked);
    return true;
}

bool CFormActions::SetBtnState(const CXmlNode& action, D_T1& form)
{
    return ApplyStateValues(*this, action, form, [](QWidget* control, int value) { SetCheckState(control, value); });
}

bool CFormActions::Able(const CXmlNode& action, D_T1& form)
{
    return ApplyStateValues(*this, action, form, [](QWidget* control, int value) { CFormActions::EnableControl(control, value != 0); });
}

bool CFormActions::Show(const CXmlNode& action, D_T1& form)
{
    return ApplyStateValues(*this, action, form, [](QWidget* control, int value) { control->setVisible(value > 0); });
}

bool CFormActions::GetBtnState(const CXmlNode& action, D_T1& form)
{
    QWidget* button = nullptr;
    if (!GetControlByRef(form, action.GetAttribute(QStringLiteral("target_ids")), button))
        return true;
    const QString state = QString::number(GetCheckState(button));
    QWidget* receiver = nullptr;
    if (GetControlByRef(form, action.GetAttribute(QStringLiteral("values")), receiver)) {
        // Hidden and shown again so that a label over a drawn background
        // repaints; a hidden receiver comes into view.
        receiver->hide();
        SetControlText(receiver, state);
        receiver->show();
    }
    return true;
}

void RegisterControlStateActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("lock_col"), Handler(&CFormActions::LockCol));
    dispatcher.Register(QStringLiteral("set_btn_state"), Handler(&CFormActions::SetBtnState));
    dispatcher.Register(QStringLiteral("able"), Handler(&CFormActions::Able));
    dispatcher.Register(QStringLiteral("show"), Handler(&CFormActions::Show));
    dispatcher.Register(QStringLiteral("get_btn_state"), Handler(&CFormActions::GetBtnState));
}
