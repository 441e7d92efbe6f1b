// Query values into controls: the entries of a drop-down list, one text
// joined by commas, or one value per control (check boxes included).
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "RunSqlTexts.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"
#include "xml/XmlNode.h"

#include <QAbstractButton>
#include <QComboBox>

namespace {

const QString SelfToken = QStringLiteral("{{self}}");

// The row of the grid a query reads: the one numbered num (from 0) when
// num is above 0 and the grid has it, else the first selected row.
bool ChooseRow(const CListCtrlEx* grid, int num, int& row)
{
    if (num > 0 && grid->GetItemCount() > num) {
        row = num;
        return true;
    }
    return GetSelectedListItem(grid, row);
}

} // namespace

bool CFormActions::QueryToList(const CXmlNode& action, D_T1& form)
{
    const QString target = action.GetAttribute(QStringLiteral("target_ids"));
    QString sql = action.GetAttribute(QStringLiteral("values"));
    CXmlNode params = action.GetChild(QStringLiteral("para_info"));
    if (params.IsNull())
        params = action.GetChild(QStringLiteral("para_info_where"));
    // Each parameter is its control's value, or its "where" fragment with
    // the value in it; an empty value goes in like any other.
    const CXmlNodes children = params.GetChildren();
    for (int i = 0; i < children.GetCount(); ++i) {
        const CXmlNode child = children[i];
        QWidget* control = nullptr;
        QString value;
        if (!GetControlValue(form, child.GetAttribute(QStringLiteral("value")), control, value))
            return false;
        const QString token = QStringLiteral("{{p%1}}").arg(i + 1);
        QString fragment = child.GetAttribute(QStringLiteral("where"));
        if (fragment.isEmpty()) {
            if (!PutValue(sql, token, value))
                return false;
        } else {
            if (!PutValue(fragment, SelfToken, value))
                return false;
            sql.replace(token, fragment);
        }
    }
    if (!ExpandFormPlaceholders(form, sql, sql))
        return false;
    QStringList values;
    if (m_db.QueryAllToList(sql, values) < 0 || target.isEmpty())
        return true;
    QWidget* control = nullptr;
    if (!GetControlByRef(form, target, control))
        return false;
    auto* list = qobject_cast<QComboBox*>(control);
    if (!list) {
        m_db.m_strError = ActionTexts::WrongControl + target;
        return false;
    }
    list->clear();
    list->addItems(values);
    list->setCurrentIndex(0);
    return true;
}

bool CFormActions::QueryToWnd(const CXmlNode& action, D_T1& form)
{
    const QString table = action.GetAttribute(QStringLiteral("table_id"));
    const QString target = action.GetAttribute(QStringLiteral("target_ids"));
    QString sql = action.GetAttribute(QStringLiteral("values"));
    if (!table.isEmpty()) {
        CListCtrlEx* grid = nullptr;
        int row = -1;
        if (!GetGridByRef(form, table, grid) || !GetSelectedListItem(grid, row))
            return false;
        if (!FillRowTokens(sql, grid, row, 0))
            return false;
    }
    // A stored form whose filter names a control no longer there still
    // shows its value: that filter is left out, the error text keeps the
    // reference for a later failure of the event.
    if (!FillWhereFragments(action, form, sql, WhereControls::ReferencesOrEmpty))
        return false;
    if (target.isEmpty()) {
        m_db.m_strError = RunSqlTexts::NoTarget;
        return false;
    }
    QStringList values;
    const bool found = m_db.QueryAllToList(sql, values) > 0;
    QWidget* control = nullptr;
    if (!GetControlByRef(form, target, control))
        return false;
    SetTextAndRefresh(control, found ? values.join(u',') : QString());
    return true;
}

bool CFormActions::QueryToWnds(const CXmlNode& action, D_T1& form)
{
    const QString table = action.GetAttribute(QStringLiteral("table_id"));
    const QString target = action.GetAttribute(QStringLiteral("target_ids"));
    QString sql = action.GetAttribute(QStringLiteral("values"));
    if (!table.isEmpty()) {
        CListCtrlEx* grid = nullptr;
        int row = -1;
        if (!GetGridByRef(form, table, grid)
            || !ChooseRow(grid, action.GetAttributeInt(QStringLiteral("num"), 0), row))
            return false;
        if (!FillRowTokens(sql, grid, row, 1))
            return false;
    }

    // The targets: the list of target_ids, or else the "out" of each
    // para_in_out child, whose "in" texts (the form's own) fill {{para_in}}.
    QStringList refs;
    QList<bool> ticks;
    if (!target.isEmpty()) {
        SplitString(target, QStringLiteral(";"), refs);
        ticks.fill(false, refs.size());
    } else {
        QStringList ins;
        const CXmlNodes children = CXmlNode(action.GetChild(QStringLiteral("para_in_out"))).GetChildren();
        for (int i = 0; i < children.GetCount(); ++i) {
            const CXmlNode child = children[i];
            ins << child.GetAttribute(QStringLiteral("in"));
            refs << child.GetAttribute(QStringLiteral("out"));
            ticks << (child.GetAttribute(QStringLiteral("type")) == u"checked");
        }
        sql.replace(QStringLiteral("{{para_in}}"), ins.join(u','));
    }
    if (!FillWhereFragments(action, form, sql))
        return false;

    QStringList values;
    const bool found = m_db.QueryAllToList(sql, values) > 0;
    if (found && values.size() != refs.size()) {
        ShowMessage(ActionTexts::CountMismatch);
        return false;
    }
    for (int i = 0; i < refs.size(); ++i) {
        QWidget* control = nullptr;
        if (!GetControlByRef(form, refs[i], control))
            return false;
        if (!ticks[i]) {
            if (found)
                SetControlValue(control, values[i]);
            else
                SetTextAndRefresh(control, QString());
            continue;
        }
        auto* box = qobject_cast<QAbstractButton*>(control);
        if (!box || !box->isCheckable()) {
            m_db.m_strError = ActionTexts::WrongControl + refs[i];
            return false;
        }
        // Only "0" clears a box; without a value it is cleared and keeps
        // its caption.
        box->setChecked(found && values[i] != u"0");
    }
    return true;
}

void RegisterControlQueryActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("query_to_list"), Handler(&CFormActions::QueryToList));
    dispatcher.Register(QStringLiteral("query_to_wnd"), Handler(&CFormActions::QueryToWnd));
    dispatcher.Register(QStringLiteral("query_to_wnds"), Handler(&CFormActions::QueryToWnds));
}
