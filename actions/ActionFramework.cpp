// The shared work of the action handlers: filling SQL templates from the
// form's controls and grid rows, and writing query values into controls.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "D_T1.h"
#include "FormActions.h"
#include "grid/ListCtrlEx.h"
#include "text/MessageSink.h"
#include "text/AppState.h"
#include "text/SqlFill.h"
#include "text/SqlTexts.h"
#include "text/TextSplit.h"
#include "xml/XmlNode.h"

namespace {

QString ParamToken(int number)
{
    return QStringLiteral("{{p%1}}").arg(number);
}

} // namespace

QList<CXmlNode> ElementChildren(const CXmlNode& node)
{
    QList<CXmlNode> children;
    const CXmlNodes list = node.GetChildren();
    for (int i = 0; i < list.GetCount(); ++i) {
        const CXmlNode child = list[i];
        if (!child.GetName().isEmpty())
            children.append(child);
    }
    return children;
}

// A check query lets the guarded work go on only when it ran and found no
// row: a row refuses with its first value as the text, a query that could
// not run refuses with the database's text.
bool CheckPasses(CDbConnection& db, const QString& check)
{
    if (check.isEmpty())
        return true;
    QString refusal;
    if (db.QueryValue(check, refusal)) {
        db.m_strError = refusal;
        return false;
    }
    return db.m_nResult >= 0;
}

bool CFormActions::GetGridByRef(const D_T1& form, const QString& ref, CListCtrlEx*& grid)
{
    grid = nullptr;
    QWidget* control = nullptr;
    if (!GetControlByRef(form, ref, control))
        return false;
    grid = qobject_cast<CListCtrlEx*>(control);
    if (!grid)
        m_db.m_strError = ActionTexts::WrongControl + ref;
    return grid != nullptr;
}

bool CFormActions::PutValue(QString& sql, const QString& token, const QString& value)
{
    return PutValue(sql, token, QStringList{value});
}

bool CFormActions::PutValue(QString& sql, const QString& token, const QStringList& values)
{
    if (PutSqlValues(sql, token, values))
        return true;
    m_db.m_strError = SqlTexts::TokenInValue.arg(values.join(u','));
    return false;
}

bool CFormActions::FillValues(QString& sql)
{
    return FillSqlValues(sql, SqlDialectOf(theApp().m_strDbType), m_db.m_strError);
}

bool CFormActions::ExpandFormPlaceholders(const D_T1& form, const QString& filled, QString& sql, int* rowLimit)
{
    QString expanded;
    if (!form.ExpandSqlPlaceholders(filled, expanded, m_db.m_strError, rowLimit))
        return false;
    sql = expanded;
    return true;
}

bool CFormActions::FillParamPlaceholders(const CXmlNode& paraInfo, D_T1& form, QString& sql,
                                         const CListCtrlEx* deletedFrom, int* rowLimit)
{
    if (rowLimit)
        *rowLimit = 0;
    if (sql.isEmpty())
        return true;
    QString filled = sql;
    const QList<CXmlNode> children = ElementChildren(paraInfo);
    for (int i = 0; i < children.size(); ++i) {
        QString ref = children[i].GetAttribute(QStringLiteral("value"));
        if (ref.isEmpty())
            ref = children[i].GetAttribute(QStringLiteral("wnd"));
        QWidget* control = nullptr;
        if (!GetControlByRef(form, ref, control) || !PutValue(filled, ParamToken(i + 1), GetControlText(control)))
            return false;
    }
    // Keys are numbers and go in as a list; a key that is no number goes in
    // only escaped inside a literal.
    if (!PutValue(filled, QStringLiteral("{{deleted_uid_0}}"), m_deletedUids.Joined(deletedFrom).split(u',')))
        return false;
    return ExpandFormPlaceholders(form, filled, sql, rowLimit);
}

bool CFormActions::FillWhereFragments(const CXmlNode& holder, D_T1& form, QString& sql, WhereControls controls,
                                      int* rowLimit)
{
    QString filled = sql;
    const QList<CXmlNode> children = ElementChildren(holder.GetChild(QStringLiteral("para_info_where")));
    for (int i = 0; i < children.size(); ++i) {
        QString value;
        if (controls == WhereControls::FormIds) {
            const int id = children[i].GetAttributeInt(QStringLiteral("value"), 0);
            value = GetControlText(form.GetDlgItem(id + D_T1::ControlIdBase));
        } else {
            QWidget* control = nullptr;
            if (GetControlByRef(form, children[i].GetAttribute(QStringLiteral("value")), control))
                value = GetWindowValue(control);
            else if (controls == WhereControls::References)
                return false;
        }
        QString fragment;
        if (!value.isEmpty()) {
            fragment = children[i].GetAttribute(QStringLiteral("where"));
            if (!PutValue(fragment, QStringLiteral("{{self}}"), value))
                return false;
        }
        filled.replace(ParamToken(i + 1), fragment);
    }
    return ExpandFormPlaceholders(form, filled, sql, rowLimit);
}

bool CFormActions::BuildRowFilter(const CXmlNode& holder, QString& sql, D_T1& form, CListCtrlEx* grid, int row)
{
    const ItemData* record = grid ? grid->GetRowKey(row) : nullptr;
    QString filled = sql;
    if (!PutValue(filled, QStringLiteral("{{id?uid}}"), record ? record->strKey : QString()))
        return false;
    // Without a para_info_where child the loop has nothing to do; the
    // statement is still filled here, once, like one with fragments.
    const CXmlNodePtr where = holder.GetChild(QStringLiteral("para_info_where"));
    const QList<CXmlNode> children = where->IsNull() ? QList<CXmlNode>() : ElementChildren(*where);
    for (int i = 0; i < children.size(); ++i) {
        // 1 to 49 are columns of the row (from 1), 50 and above controls.
        const int source = children[i].GetAttributeInt(QStringLiteral("value"), 0);
        QString value;
        if (source >= 50)
            value = GetControlText(form.GetDlgItem(source + D_T1::ControlIdBase));
        else if (source >= 1 && grid)
            value = grid->GetItemText(row, source - 1);
        QString fragment;
        if (!value.isEmpty()) {
            fragment = children[i].GetAttribute(QStringLiteral("where"));
            if (!PutValue(fragment, QStringLiteral("{{self}}"), value))
                return false;
        }
        filled.replace(ParamToken(i + 1), fragment);
    }
    return ExpandFormPlaceholders(form, filled, sql);
}

bool CFormActions::FillRowTokens(QString& sql, CListCtrlEx* grid, int row, int firstNumber)
{
    const ItemData* record = grid ? grid->GetRowKey(row) : nullptr;
    if (!record) {
        m_db.m_strError = ActionTexts::SelectRecord;
        return false;
    }
    if (!PutValue(sql, QStringLiteral("{{id?uid}}"), record->strKey))
        return false;
    for (int column = 0; column < grid->GetColumnCount(); ++column) {
        if (!PutValue(sql, QStringLiteral("{{id?%1}}").arg(column + firstNumber), grid->GetItemText(row, column)))
            return false;
    }
    return true;
}

bool CFormActions::QueryIntoTargets(const QString& targets, const QString& sql, D_T1& form)
{
    if (targets.isEmpty())
        return false;
    QStringList refs;
    SplitString(targets, QStringLiteral(";"), refs);
    QStringList values;
    if (m_db.QueryAllToList(sql, values) > 0) {
        if (values.size() != refs.size()) {
            ShowMessage(ActionTexts::CountMismatch);
            return false;
        }
        for (int i = 0; i < refs.size(); ++i) {
            QWidget* control = nullptr;
            if (!GetControlByRef(form, refs[i], control))
                return false;
            SetControlValue(control, values[i]);
        }
        return true;
    }
    for (const QString& ref : std::as_const(refs)) {
        QWidget* control = nullptr;
        if (!GetControlByRef(form, ref, control))
            return false;
        SetTextAndRefresh(control, QString());
    }
    m_db.m_strError = sql;
    return false;
}

bool CFormActions::CheckQueryAllows(const QString& sql)
{
    if (sql.isEmpty())
        return true;
    QString refusal;
    if (m_db.QueryValue(sql, refusal)) {
        m_db.m_strError = refusal;
        return false;
    }
    return m_db.m_nResult >= 0;
}
