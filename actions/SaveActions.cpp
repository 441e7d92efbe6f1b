// Saving the header record of a document and the rows of its detail grid.
// Records are written field by field through the recordset of the form
// author's own query; only checks, deletes, lookups and follow-up statements
// are SQL text, and every value put into them goes through PutValue.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "SaveTexts.h"
#include "grid/ListCtrlEx.h"
#include "text/SqlText.h"

namespace {

void ClearErrors(CDbConnection& db)
{
    db.m_strError.clear();
    db.m_strErrorInfo.clear();
}

// The form-wide placeholders of an SQL template; values users or the
// database gave go in escaped or as numbers only.
bool ExpandSql(D_T1& form, CDbConnection& db, QString& sql)
{
    QString expanded;
    QString error;
    if (!form.ExpandSqlPlaceholders(sql, expanded, error)) {
        db.m_strError = error;
        return false;
    }
    sql = expanded;
    return true;
}

// A check query's refusal: its text as the failure text of the save.
bool CheckRefuses(CDbConnection& db, const QString& sql, QString& refusal)
{
    if (CheckPasses(db, sql))
        return false;
    refusal = db.m_strError;
    return true;
}

// The settings element of a detail save: the action's first element child.
CXmlNode SettingsOf(const CXmlNode& action)
{
    const QList<CXmlNode> children = ElementChildren(action);
    return children.isEmpty() ? CXmlNode() : children.first();
}

// The PARA element of the grid's own description in the dialog that holds
// the action (dialog/control/ACTION/event/action). Found by walking, so no
// text of the action becomes part of a path.
CXmlNode GridPara(const CXmlNode& action, const QString& tableId)
{
    CXmlNode dialog = action;
    for (int level = 0; level < 4 && !dialog.IsNull(); ++level)
        dialog = dialog.GetParent();
    for (const CXmlNode& element : ElementChildren(dialog)) {
        if (element.GetName() == SaveTexts::Table && element.GetAttribute(QStringLiteral("id")) == tableId)
            return element.GetChild(SaveTexts::Para);
    }
    return CXmlNode();
}

// The field list and the value list of one grid row from the grid's column
// descriptions: required cells checked, looked-up values in place of the
// texts that show them. False with the row's failure text; the row is then
// selected.
bool CollectRowFields(CFormActions& actions, D_T1& form, const CXmlNode& para, CListCtrlEx* grid, int row,
                      QStringList& fields, QStringList& values, QString& failure)
{
    const QList<CXmlNode> columns = ElementChildren(para.GetChild(SaveTexts::ColInfo));
    for (int j = 0; j < columns.size(); ++j) {
        const CXmlNode& column = columns[j];
        if (column.GetAttributeBool(QStringLiteral("no_save"), false))
            continue;
        const QString title = column.GetAttribute(QStringLiteral("title"));
        const int columnId = column.GetAttributeInt(QStringLiteral("col_id"), 0);
        const int g = columnId == 0 ? j : columnId - 1;
        const QString text = grid->GetItemText(row, g);
        if (column.GetAttributeInt(QStringLiteral("empty"), 0) == 0 && text.isEmpty()) {
            grid->SelectRow(row, true);
            failure = SaveTexts::CellRequired.arg(row + 1).arg(g + 1).arg(title);
            return false;
        }
        QString value = text;
        QString lookup = column.GetAttribute(QStringLiteral("parent_sql"));
        if (!lookup.isEmpty()) {
            value.clear();
            QStringList found;
            if (actions.PutValue(lookup, SaveTexts::Self, text) && ExpandSql(form, actions.m_db, lookup)
                && actions.m_db.QueryAllToList(lookup, found) > 0 && !found.isEmpty())
                value = found.first();
            if (value.isEmpty()) {
                grid->SelectRow(row, true);
                QString shown = text;
                EscapeSqlText(shown);
                failure = SaveTexts::LookupFailed.arg(row + 1).arg(g + 1).arg(title, shown);
                return false;
            }
        }
        fields.append(column.GetAttribute(QStringLiteral("field_name")));
        values.append(value);
    }
    return true;
}

// A follow-up statement of a detail row: the row's cells and key, the
// parameters of the settings element, the form-wide placeholders; then run.
bool RunRowStatement(CFormActions& actions, D_T1& form, const CXmlNode& settings, CListCtrlEx* grid, int row,
                     QString sql)
{
    return actions.FillRowTokens(sql, grid, row, 0) && actions.FillParamPlaceholders(settings, form, sql, grid)
        && ExpandSql(form, actions.m_db, sql) && actions.m_db.Execute(sql);
}

// The reason a record write that failed gives: the database's text, or
// when the database layer found nothing wrong, what was not written.
QString WriteFailure(const CDbConnection& db, const QString& nothingWritten)
{
    return db.m_strError.isEmpty() ? nothingWritten : db.m_strError;
}

} // namespace

bool CFormActions::InsertHead(const CXmlNode& action, D_T1& form)
{
    ClearErrors(m_db);
    QString failure;
    if (!InsertHeadRecord(action, form, failure)) {
        if (!failure.isEmpty())
            m_db.m_strError = failure;
        return false;
    }
    ClearErrors(m_db);
    m_strResult = SaveTexts::Inserted;
    return true;
}

bool CFormActions::UpdateHead(const CXmlNode& action, D_T1& form)
{
    ClearErrors(m_db);
    QString failure;
    if (!UpdateHeadRecord(action, form, failure)) {
        if (!failure.isEmpty())
            m_db.m_strError = failure;
        return false;
    }
    ClearErrors(m_db);
    m_strResult = SaveTexts::Updated;
    return true;
}

namespace {

// The header fields: each element child of head_para_info names a control
// ("wnd") and the record's field ("field").
struct HeadField
{
    QString field;
    QWidget* control = nullptr;
};

// Resolves every field's control and checks the required ones. False with
// the failure text (empty when the resolver's text stands).
bool ReadHeadFields(CFormActions& actions, D_T1& form, const CXmlNode& info, bool nameMissing,
                    QList<HeadField>& fields, QString& failure)
{
    for (const CXmlNode& element : ElementChildren(info)) {
        HeadField field{element.GetAttribute(QStringLiteral("field")), nullptr};
        const QString ref = element.GetAttribute(QStringLiteral("wnd"));
        if (!actions.GetControlByRef(form, ref, field.control)) {
            if (nameMissing)
                failure = ref + SaveTexts::NoSuchControl;
            return false;
        }
        // Blanks are a value: only a control with no text at all is empty.
        if (element.GetAttributeBool(QStringLiteral("empty"), false) && GetControlText(field.control).isEmpty()) {
            field.control->setFocus();
            failure = element.GetAttribute(QStringLiteral("desp"), SaveTexts::FillRequired);
            return false;
        }
        fields.append(field);
    }
    return true;
}

// "{{p%d}}" of field k is the text of field k's control, escaped.
bool PutHeadFields(CFormActions& actions, const QList<HeadField>& fields, QString& sql)
{
    for (int k = 0; k < fields.size(); ++k) {
        if (!actions.PutValue(sql, SaveTexts::ParamToken(k + 1), GetControlText(fields[k].control)))
            return false;
    }
    return true;
}

void FieldLists(const QList<HeadField>& fields, QStringList& names, QStringList& values)
{
    for (const HeadField& field : fields) {
        names.append(field.field);
        values.append(GetControlText(field.control));
    }
}

} // namespace

bool CFormActions::InsertHeadRecord(const CXmlNode& action, D_T1& form, QString& failure)
{
    const CXmlNode info = action.GetChild(SaveTexts::HeadParaInfo);
    const QString uidRef = info.GetAttribute(QStringLiteral("uid_wnd_id"));
    // Whatever fails from here on, in this action or a later one of the
    // event, the control that is to show the new key shows what it showed
    // before: the key of a record saved earlier is not lost to a refusal.
    QWidget* uidControl = nullptr;
    if (!uidRef.isEmpty()) {
        if (GetControlByRef(form, uidRef, uidControl))
            m_resetControls.append({uidControl, GetControlText(uidControl)});
        ClearErrors(m_db);
    }

    QList<HeadField> fields;
    if (!ReadHeadFields(*this, form, info, true, fields, failure))
        return false;

    QString check = info.GetAttribute(QStringLiteral("can_insert_sql"));
    if (!check.isEmpty()) {
        if (!PutHeadFields(*this, fields, check) || !ExpandSql(form, m_db, check))
            return false;
        if (CheckRefuses(m_db, check, failure))
            return false;
    }

    QStringList names;
    QStringList values;
    FieldLists(fields, names, values);
    QString insert = info.GetAttribute(QStringLiteral("insert_sql"));
    if (!ExpandSql(form, m_db, insert))
        return false;
    QString newId;
    if (m_db.InsertRecord(newId, insert, names, values) <= 0) {
        failure = WriteFailure(m_db, SaveTexts::InsertFoundRow);
        return false;
    }
    if (newId.isEmpty()) {
        failure = SaveTexts::NoNewKey;
        return false;
    }

    QString run = info.GetAttribute(QStringLiteral("run_sql"));
    if (!run.isEmpty()) {
        if (!FillParamPlaceholders(info, form, run) || !PutValue(run, SaveTexts::RowUid, newId)
            || !ExpandSql(form, m_db, run))
            return false;
        if (!m_db.Execute(run)) {
            failure = SaveTexts::StatementFailed + run;
            return false;
        }
    }
    if (!uidRef.isEmpty()) {
        if (!uidControl)
            return GetControlByRef(form, uidRef, uidControl);
        SetTextAndRefresh(uidControl, newId);
    }
    return true;
}

bool CFormActions::UpdateHeadRecord(const CXmlNode& action, D_T1& form, QString& failure)
{
    const CXmlNode info = action.GetChild(SaveTexts::HeadParaInfo);
    QString check = info.GetAttribute(QStringLiteral("can_update_sql"));
    QString update = info.GetAttribute(QStringLiteral("update_sql"));
    QString run = info.GetAttribute(QStringLiteral("run_sql"));

    QWidget* uidControl = nullptr;
    if (!GetControlByRef(form, info.GetAttribute(QStringLiteral("uid_wnd_id")), uidControl))
        return false;
    const QString key = GetControlText(uidControl);

    QList<HeadField> fields;
    if (!ReadHeadFields(*this, form, info, false, fields, failure))
        return false;
    if (!PutHeadFields(*this, fields, check) || !PutHeadFields(*this, fields, update)
        || !PutHeadFields(*this, fields, run))
        return false;

    if (!check.isEmpty()) {
        if (!PutValue(check, SaveTexts::RowUid, key) || !ExpandSql(form, m_db, check))
            return false;
        if (CheckRefuses(m_db, check, failure))
            return false;
    }

    QStringList names;
    QStringList values;
    FieldLists(fields, names, values);
    if (!PutValue(update, SaveTexts::RowUid, key) || !ExpandSql(form, m_db, update))
        return false;
    if (!m_db.UpdateRecord(update, names, values)) {
        failure = WriteFailure(m_db, SaveTexts::NoRecordToUpdate);
        return false;
    }

    if (!run.isEmpty()) {
        if (!FillParamPlaceholders(info, form, run) || !PutValue(run, SaveTexts::RowUid, key)
            || !ExpandSql(form, m_db, run))
            return false;
        if (!m_db.Execute(run)) {
            failure = SaveTexts::StatementFailed + run;
            return false;
        }
    }
    return true;
}

bool CFormActions::InsertDetail(const CXmlNode& action, D_T1& form)
{
    ClearErrors(m_db);
    const CXmlNode settings = SettingsOf(action);
    const QString tableId = settings.GetAttribute(QStringLiteral("table_id"));
    auto* grid = qobject_cast<CListCtrlEx*>(
        form.GetDlgItem(settings.GetAttributeInt(QStringLiteral("table_id"), 0) + D_T1::ControlIdBase));
    if (!grid) {
        m_db.m_strError = ActionTexts::WrongControl + tableId;
        return false;
    }

    if (!m_deletedUids.IsEmpty(grid)) {
        QString check = settings.GetAttribute(QStringLiteral("can_delete_sql"));
        QString remove = settings.GetAttribute(QStringLiteral("delete_sql"));
        if (check.isEmpty() || remove.isEmpty()) {
            m_db.m_strError = SaveTexts::NoDeleteStatements;
            return false;
        }
        QString refusal;
        if (!FillParamPlaceholders(settings, form, check, grid) || !ExpandSql(form, m_db, check))
            return false;
        if (CheckRefuses(m_db, check, refusal)) {
            m_db.m_strError = refusal;
            return false;
        }
        if (!FillParamPlaceholders(settings, form, remove, grid) || !ExpandSql(form, m_db, remove)
            || !m_db.Execute(remove))
            return false;
        m_strResult = SaveTexts::Done;
    }

    // A commit of the event forgets the grid's deleted rows; a rollback
    // keeps them for the next attempt.
    m_savedGrids.append(grid);
    if (grid->GetItemCount() == 0) {
        ClearErrors(m_db);
        return true;
    }

    const bool skipRenumbered = settings.GetAttributeInt(QStringLiteral("not_save_rownum"), 0) != 0;
    SaveRowStates(grid);
    for (int row = 0; row < grid->GetItemCount(); ++row) {
        ItemData* record = grid->GetRowKey(row);
        const int state = record ? record->nState : kRowUnchanged;
        if (state <= kRowUnchanged)
            continue;
        QString failure;
        bool saved = true;
        if (state == kRowNew)
            saved = InsertDetailRows(action, form, grid, row, failure);
        else if (state > kRowMarked || !skipRenumbered)
            saved = UpdateDetailRows(action, form, grid, row, failure);
        if (!saved) {
            m_db.m_strError = SaveTexts::RowFailed.arg(row + 1).arg(failure);
            return false;
        }
        m_strResult = SaveTexts::Done;
        record->nState = kRowUnchanged;
    }
    ClearErrors(m_db);
    return true;
}

bool CFormActions::InsertDetailRows(const CXmlNode& action, D_T1& form, CListCtrlEx* grid, int row,
                                    QString& failure)
{
    const CXmlNode settings = SettingsOf(action);
    const CXmlNode para = GridPara(action, settings.GetAttribute(QStringLiteral("table_id")));
    const CXmlNode info = CXmlNode(para.GetChild(SaveTexts::TableInfo)).GetChild(SaveTexts::ParaInfo);

    QString check = settings.GetAttribute(QStringLiteral("can_insert_sql"));
    if (!check.isEmpty()) {
        if (!FillRowTokens(check, grid, row, 0) || !BuildRowFilter(action, check, form, grid, row)) {
            failure = m_db.m_strError;
            return false;
        }
        if (CheckRefuses(m_db, check, failure))
            return false;
    }

    QStringList fields;
    QStringList values;
    if (!CollectRowFields(*this, form, para, grid, row, fields, values, failure))
        return false;
    const QString parentField = info.GetAttribute(QStringLiteral("parent_field"));
    if (!parentField.isEmpty()) {
        QWidget* parent = nullptr;
        if (!GetControlByRef(form, info.GetAttribute(QStringLiteral("parent_field_ID")), parent)) {
            failure = m_db.m_strError;
            return false;
        }
        fields.append(parentField);
        values.append(GetControlText(parent));
    }

    QString insert = settings.GetAttribute(QStringLiteral("insert_sql"));
    if (!ExpandSql(form, m_db, insert)) {
        failure = m_db.m_strError;
        return false;
    }
    m_db.m_strError.clear();
    if (info.GetAttribute(QStringLiteral("auto_index_field")).isEmpty()) {
        if (m_db.AddRecord(insert, fields, values))
            return true;
        failure = WriteFailure(m_db, SaveTexts::InsertFoundRow);
        return false;
    }
    QString newId;
    if (m_db.InsertRecord(newId, insert, fields, values) <= 0) {
        failure = SaveTexts::InsertFailed + WriteFailure(m_db, SaveTexts::InsertFoundRow);
        return false;
    }
    if (newId.isEmpty()) {
        failure = SaveTexts::InsertFailed + SaveTexts::NoNewKey;
        return false;
    }

    // The row is known by its record from here on; a rollback gives it its
    // old key back.
    ChangeRowKey(grid, row, newId);
    for (const QString& name : {QStringLiteral("run_sql"), QStringLiteral("run_sql_insert")}) {
        const QString run = settings.GetAttribute(name);
        if (!run.isEmpty() && !RunRowStatement(*this, form, settings, grid, row, run)) {
            failure = SaveTexts::RowStatementFailed.arg(row + 1).arg(m_db.m_strError);
            return false;
        }
    }
    m_strResult = SaveTexts::Inserted;
    return true;
}

bool CFormActions::UpdateDetailRows(const CXmlNode& action, D_T1& form, CListCtrlEx* grid, int row,
                                    QString& failure)
{
    const CXmlNode settings = SettingsOf(action);
    const CXmlNode para = GridPara(action, settings.GetAttribute(QStringLiteral("table_id")));
    const ItemData* record = grid->GetRowKey(row);
    const bool edited = record && record->nState > kRowMarked;
    const QString key = record ? record->strKey : QString();

    QString check = settings.GetAttribute(QStringLiteral("can_update_sql"));
    if (edited && !check.isEmpty()) {
        if (!FillRowTokens(check, grid, row, 0) || !BuildRowFilter(action, check, form, grid, row)) {
            failure = m_db.m_strError;
            return false;
        }
        QString refusal;
        if (CheckRefuses(m_db, check, refusal)) {
            grid->SelectRow(row, true);
            failure = SaveTexts::RefusedRow.arg(refusal);
            return false;
        }
    }

    QStringList fields;
    QStringList values;
    if (!CollectRowFields(*this, form, para, grid, row, fields, values, failure))
        return false;

    QString update = settings.GetAttribute(QStringLiteral("update_sql"));
    if (!PutValue(update, SaveTexts::RowUid, key) || !ExpandSql(form, m_db, update)) {
        failure = m_db.m_strError;
        return false;
    }
    m_db.m_strError.clear();
    if (!m_db.UpdateRecord(update, fields, values)) {
        failure = SaveTexts::RowStatementFailed.arg(row + 1).arg(WriteFailure(m_db, SaveTexts::NoRecordToUpdate));
        return false;
    }

    // A changed row's statements get the same parameters as a new row's.
    QStringList statements{QStringLiteral("run_sql")};
    if (edited)
        statements.append(QStringLiteral("run_sql_update"));
    for (const QString& name : std::as_const(statements)) {
        const QString run = settings.GetAttribute(name);
        if (!run.isEmpty() && !RunRowStatement(*this, form, settings, grid, row, run)) {
            m_db.m_strErrorInfo = SaveTexts::StatementDetail + run + u'\n' + m_db.m_strErrorInfo;
            failure = SaveTexts::RowStatementFailed.arg(row + 1).arg(m_db.m_strError);
            return false;
        }
    }
    m_strResult = SaveTexts::Updated;
    return true;
}

void RegisterSaveActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("insert_head"), Handler(&CFormActions::InsertHead));
    dispatcher.Register(QStringLiteral("update_head"), Handler(&CFormActions::UpdateHead));
    dispatcher.Register(QStringLiteral("insert_detail"), Handler(&CFormActions::InsertDetail));
}
