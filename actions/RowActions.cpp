// Row operations on grids, selections read out of grids and trees, rows
// copied from one grid into another through a query, and the query that a
// grid column runs when a cell edit ends.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "FormEvents.h"
#include "RowTexts.h"
#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "grid/TreeHelpers.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"
#include "xml/XmlNode.h"

#include <QCursor>
#include <QRegularExpression>
#include <QSet>
#include <QStringTokenizer>
#include <QTreeWidget>

#include <numeric>
#include <utility>

namespace {

const QString ParaInfo = QStringLiteral("para_info");

QString ParamToken(int number)
{
    return QStringLiteral("{{p%1}}").arg(number);
}

QString CellToken(int number)
{
    return QStringLiteral("{{c%1}}").arg(number);
}

bool IsInteger(const QString& text)
{
    static const QRegularExpression integer(QStringLiteral("^[+-]?\\d+$"));
    return integer.match(text).hasMatch();
}

// The control of a plain description id of the form itself, as the kind an
// action needs; a missing control or one of another kind fails with the id
// in the error text.
template <class Kind>
Kind* ControlOfIdAs(CFormActions& actions, const D_T1& form, const QString& id)
{
    auto* control = qobject_cast<Kind*>(form.GetDlgItem(TextToInt(id) + D_T1::ControlIdBase));
    if (!control)
        actions.m_db.m_strError = ActionTexts::WrongControl + id;
    return control;
}

// The tree or grid an action reads (its id in the attribute sourceName) and
// the control it writes to ("target_id"); false when either is missing.
template <class Kind>
bool SourceAndTarget(CFormActions& actions, const D_T1& form, const CXmlNode& settings, const QString& sourceName,
                     Kind*& source, QWidget*& target)
{
    source = ControlOfIdAs<Kind>(actions, form, settings.GetAttribute(sourceName, QStringLiteral("0")));
    target = source ? ControlOfIdAs<QWidget>(actions, form, settings.GetAttribute(QStringLiteral("target_id"), QStringLiteral("0")))
                    : nullptr;
    return target != nullptr;
}

QTreeWidgetItem* ItemUnderCursor(QTreeWidget* tree)
{
    return tree->itemAt(tree->viewport()->mapFromGlobal(QCursor::pos()));
}

// A right click does not select by itself.
void SelectItemUnderCursor(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->setCurrentItem(item);
    item->setSelected(true);
}

void MarkMoved(ItemData* item)
{
    if (item && item->nState <= kRowUnchanged)
        item->nState = kRowMarked;
}

// The selected row changes places with the one step rows away: every
// column moves, with the row's key, state, cells and read-only flag, so that
// no value ends up beside another row's key. The row colours stay where they
// were, since they are the grid's alternating stripes. A first column that
// numbered the two rows goes on numbering them in order.
bool MoveSelectedRow(CFormActions& actions, const CXmlNode& action, D_T1& form, int step)
{
    const QString ref = action.GetAttribute(QStringLiteral("table_id"), QStringLiteral("0"));
    CListCtrlEx* grid = nullptr;
    if (!actions.GetGridByRef(form, ref, grid))
        return false;
    int row = -1;
    if (!GetSelectedListItem(grid, row))
        return true;
    const int partner = row + step;
    if (partner < 0 || partner >= grid->GetItemCount())
        return true;
    actions.SaveRowStates(grid, {row, partner});
    const bool numbered = grid->GetItemText(row, 0) == QString::number(row + 1)
                          && grid->GetItemText(partner, 0) == QString::number(partner + 1);
    std::vector<int> order(size_t(grid->GetItemCount()));
    std::iota(order.begin(), order.end(), 0);
    std::swap(order[size_t(row)], order[size_t(partner)]);
    grid->GetModel()->SetRowOrder(order);

    ItemData* moved = grid->GetRowKey(partner);
    ItemData* other = grid->GetRowKey(row);
    std::swap(moved->clrBack, other->clrBack);
    std::swap(moved->clrText, other->clrText);
    if (numbered) {
        grid->SetItemText(row, 0, QString::number(row + 1));
        grid->SetItemText(partner, 0, QString::number(partner + 1));
    }
    grid->SelectRow(partner, true);
    grid->SelectRow(row, false);
    MarkMoved(moved);
    MarkMoved(other);
    grid->viewport()->update();
    return true;
}

// The item get_id_from_tree and get_name_from_tree read: the selected one
// when the tree's selection change runs the action, else the one under the
// mouse, which becomes the selected one.
QTreeWidgetItem* TreeItemOfEvent(const CFormActions& actions, QTreeWidget* tree)
{
    if (actions.m_strEvent == FormEvent::Change)
        return tree->currentItem();
    QTreeWidgetItem* item = ItemUnderCursor(tree);
    if (item)
        SelectItemUnderCursor(tree, item);
    return item;
}

// Removes the keys from the comma-joined list, every occurrence of each, in
// one pass however many go.
void RemoveListedKeys(QString& listed, const QStringList& keys)
{
    if (keys.isEmpty() || listed.isEmpty())
        return;
    QSet<QStringView> gone;
    for (const QString& key : keys)
        gone.insert(key);
    QString kept;
    kept.reserve(listed.size());
    bool first = true;
    for (const QStringView key : QStringTokenizer(listed, u',')) {
        if (gone.contains(key))
            continue;
        if (!std::exchange(first, false))
            kept += u',';
        kept += key;
    }
    listed = kept;
}

// Places one query result into a new row at the end of the grid: child j of
// para_out takes value j: 0 the key, N the column N (from 1), below 0
// nothing. A value "{{row_num}}" placed in a column shows the row's number
// and lets the walk take one value more.
void AppendResultRow(CListCtrlEx* grid, const CXmlNodes& placements, const QStringList& values)
{
    const int row = grid->InsertRow(grid->GetItemCount(), QString());
    grid->SetRowData(row, nullptr, QString(), kRowNew);
    int walk = placements.GetCount();
    for (int j = 0; j < walk && j < values.size(); ++j) {
        const int place = j < placements.GetCount() ? CXmlNode(placements[j]).GetAttributeInt(QStringLiteral("value"), -1)
                                                    : -1;
        QString value = values[j];
        if (place == 0) {
            grid->GetRowKey(row)->strKey = value;
        } else if (place > 0) {
            if (value == RowTexts::RowNumberToken) {
                value = QString::number(row + 1);
                ++walk;
            }
            grid->SetItemText(row, place - 1, value);
        }
    }
}

} // namespace

bool CFormActions::Addrow(const CXmlNode& action, D_T1& form)
{
    const CXmlNode settings = action.GetChild(ParaInfo);
    CListCtrlEx* grid = nullptr;
    if (!GetGridByRef(form, settings.GetAttribute(QStringLiteral("table_id")), grid))
        return false;
    const int whichRow = settings.GetAttributeInt(QStringLiteral("which_row"), 0);
    int row = grid->GetItemCount();
    int selected = -1;
    if (whichRow == -1)
        row = 0;
    else if (whichRow != 1 && GetSelectedListItem(grid, selected))
        row = selected;
    SaveRowStates(grid);
    row = grid->InsertRow(row, QString());
    grid->GetRowKey(row)->nState = kRowNew;
    if (settings.GetAttribute(QStringLiteral("rownum")) == u"1") {
        grid->SetItemText(row, 0, QString::number(row + 1));
        RenumberListRows(grid, row + 1);
    } else {
        grid->BeginEdit(row, 0);
        grid->SetItemText(row, 0, RowTexts::EnterPrompt);
    }
    return true;
}

bool CFormActions::Uprow(const CXmlNode& action, D_T1& form)
{
    return MoveSelectedRow(*this, action, form, -1);
}

bool CFormActions::Downrow(const CXmlNode& action, D_T1& form)
{
    return MoveSelectedRow(*this, action, form, 1);
}

bool CFormActions::Delrow(const CXmlNode& action, D_T1& form)
{
    const CXmlNode settings = action.GetChild(ParaInfo);
    auto* grid = ControlOfIdAs<CListCtrlEx>(*this, form, settings.GetAttribute(QStringLiteral("table_id"), QStringLiteral("0")));
    if (!grid)
        return false;
    const QList<int> rows = grid->GetSelectedRows();
    if (rows.isEmpty())
        return true;
    // Every key is checked before anything goes: the delete statement is
    // filled with them.
    QStringList keys;
    for (const int row : rows) {
        const ItemData* item = grid->GetRowKey(row);
        if (!item || item->nState == kRowNew || item->strKey.isEmpty())
            continue;
        if (!IsInteger(item->strKey)) {
            m_db.m_strError = RowTexts::KeyNotInteger.arg(item->strKey);
            return false;
        }
        keys.append(item->strKey);
    }
    SaveRowStates(grid);
    for (const QString& key : std::as_const(keys))
        m_deletedUids.Add(grid, key);
    RemoveListedKeys(m_strListedUids, keys);
    grid->DeleteRows(rows);
    if (settings.GetAttribute(QStringLiteral("rownum")) == u"1")
        RenumberListRows(grid, rows.first());
    form.SumTableCol(form.GetDlgCtrlID(grid));
    return true;
}

bool CFormActions::SelectItem(const CXmlNode& action, D_T1& form)
{
    const CXmlNode settings = action.GetChild(ParaInfo);
    auto* tree = ControlOfIdAs<QTreeWidget>(*this, form, settings.GetAttribute(QStringLiteral("tree_id"), QStringLiteral("0")));
    if (!tree)
        return false;
    if (QTreeWidgetItem* item = ItemUnderCursor(tree))
        SelectItemUnderCursor(tree, item);
    return true;
}

bool CFormActions::GetIdFromTree(const CXmlNode& action, D_T1& form)
{
    QTreeWidget* tree = nullptr;
    QWidget* target = nullptr;
    if (!SourceAndTarget(*this, form, action.GetChild(ParaInfo), QStringLiteral("tree_id"), tree, target))
        return false;
    // Nothing selected or under the mouse: there is no id to give.
    const QTreeWidgetItem* item = TreeItemOfEvent(*this, tree);
    if (!item)
        return false;
    SetTextAndRefresh(target, QString::number(item->data(0, kTreeItemDataRole).toLongLong()));
    return true;
}

bool CFormActions::GetNameFromTree(const CXmlNode& action, D_T1& form)
{
    QTreeWidget* tree = nullptr;
    QWidget* target = nullptr;
    if (!SourceAndTarget(*this, form, action.GetChild(ParaInfo), QStringLiteral("tree_id"), tree, target))
        return false;
    const QTreeWidgetItem* item = TreeItemOfEvent(*this, tree);
    // A selection change to no item leaves no name.
    if (!item && m_strEvent != FormEvent::Change)
        return false;
    SetTextAndRefresh(target, item ? item->text(0) : QString());
    return true;
}

bool CFormActions::GetIdsFromTree(const CXmlNode& action, D_T1& form)
{
    QTreeWidget* tree = nullptr;
    QWidget* target = nullptr;
    if (!SourceAndTarget(*this, form, action.GetChild(ParaInfo), QStringLiteral("tree_id"), tree, target))
        return false;
    QString ids;
    GetCheckedTreeIds(tree, ids, QStringLiteral(","));
    if (ids.endsWith(u','))
        ids.chop(1);
    SetTextAndRefresh(target, ids);
    return true;
}

bool CFormActions::GetIdsFromList(const CXmlNode& action, D_T1& form)
{
    CListCtrlEx* grid = nullptr;
    QWidget* target = nullptr;
    if (!SourceAndTarget(*this, form, action.GetChild(ParaInfo), QStringLiteral("table_id"), grid, target))
        return false;
    QString ids;
    GetCheckedListIds(grid, ids, QStringLiteral(","));
    if (ids.endsWith(u','))
        ids.chop(1);
    SetTextAndRefresh(target, ids);
    return true;
}

bool CFormActions::SelectInto(const CXmlNode& paraInfo, D_T1& form)
{
    auto* source =
        ControlOfIdAs<CListCtrlEx>(*this, form, paraInfo.GetAttribute(QStringLiteral("from_table_id"), QStringLiteral("0")));
    if (!source)
        return false;
    const QList<int> rows = source->GetSelectedRows();
    if (rows.isEmpty()) {
        m_db.m_strError = ActionTexts::SelectRecord;
        return false;
    }
    QString sql = paraInfo.GetAttribute(QStringLiteral("select"));
    const CXmlNodes inputs = CXmlNode(paraInfo.GetChild(QStringLiteral("para_in"))).GetChildren();
    for (int i = 0; i < inputs.GetCount(); ++i) {
        const int id = CXmlNode(inputs[i]).GetAttributeInt(QStringLiteral("value"), 0);
        if (!PutValue(sql, ParamToken(i + 1), GetControlText(form.GetDlgItem(id + D_T1::ControlIdBase))))
            return false;
    }
    CListCtrlEx* target = nullptr;
    if (!GetGridByRef(form, paraInfo.GetAttribute(QStringLiteral("to_table_id")), target))
        return false;

    // Every query runs before a row is added: one that fails adds none.
    QList<QStringList> results;
    for (const int row : rows) {
        QString rowSql = sql;
        for (int i = 0; i < inputs.GetCount(); ++i) {
            const int column = CXmlNode(inputs[i]).GetAttributeInt(QStringLiteral("value"), 0);
            const ItemData* item = source->GetRowKey(row);
            const QString value = column == 0 ? (item ? item->strKey : QString()) : source->GetItemText(row, column - 1);
            if (!PutValue(rowSql, CellToken(i + 1), value))
                return false;
        }
        QString expanded;
        if (!form.ExpandSqlPlaceholders(rowSql, expanded, m_db.m_strError))
            return false;
        QStringList values;
        m_db.m_nResult = 0;
        if (m_db.QueryAllToList(expanded, values) < 0 && m_db.m_nResult < 0)
            return false;
        results.append(values);
    }
    const CXmlNodes placements = CXmlNode(paraInfo.GetChild(QStringLiteral("para_out"))).GetChildren();
    for (const QStringList& values : std::as_const(results))
        AppendResultRow(target, placements, values);
    if (auto* owner = qobject_cast<D_T1*>(target->GetOwnerForm()))
        owner->SumTableCol(owner->GetDlgCtrlID(target));
    return true;
}

bool CFormActions::EndEditQuery(const CXmlNode& endEdit, D_T1& form, CListCtrlEx* grid, int row)
{
    if (!grid || row < 0 || row >= grid->GetItemCount()) {
        m_db.m_strError = ActionTexts::SelectRecord;
        return false;
    }
    const QString targets = endEdit.GetAttribute(QStringLiteral("target_ids"));
    QString sql = endEdit.GetAttribute(QStringLiteral("values"));
    const CXmlNodes params = CXmlNode(endEdit.GetChild(ParaInfo)).GetChildren();
    for (int i = 0; i < params.GetCount(); ++i) {
        const int id = CXmlNode(params[i]).GetAttributeInt(QStringLiteral("value"), 0);
        if (!PutValue(sql, ParamToken(i + 1), GetControlText(form.GetDlgItem(id + D_T1::ControlIdBase))))
            return false;
    }
    for (int i = 0; i < params.GetCount(); ++i) {
        const int column = CXmlNode(params[i]).GetAttributeInt(QStringLiteral("value"), 0);
        if (!PutValue(sql, CellToken(i + 1), column >= 1 ? grid->GetItemText(row, column - 1) : QString()))
            return false;
    }
    QList<int> columns;
    if (targets.isEmpty())
        sql.replace(RowTexts::ParaInToken, QString());
    else
        SplitToInts(targets, QStringLiteral(";"), columns);
    QString expanded;
    if (!form.ExpandSqlPlaceholders(sql, expanded, m_db.m_strError))
        return false;

    QStringList values;
    m_db.m_nResult = 0;
    if (m_db.QueryAllToList(expanded, values) > 0) {
        if (values.size() != columns.size()) {
            ShowMessage(ActionTexts::CountMismatch);
            return false;
        }
        for (int k = 0; k < columns.size(); ++k)
            grid->SetItemText(row, columns[k] - 1, values[k]);
        return true;
    }
    // A query that failed is reported, not taken for one that found nothing.
    if (m_db.m_nResult < 0)
        return false;
    for (const int column : std::as_const(columns))
        grid->SetItemText(row, column - 1, QString());
    return true;
}

void RegisterRowActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("addrow"), Handler(&CFormActions::Addrow));
    dispatcher.Register(QStringLiteral("uprow"), Handler(&CFormActions::Uprow));
    dispatcher.Register(QStringLiteral("downrow"), Handler(&CFormActions::Downrow));
    dispatcher.Register(QStringLiteral("delrow"), Handler(&CFormActions::Delrow));
    dispatcher.Register(QStringLiteral("select_item"), Handler(&CFormActions::SelectItem));
    dispatcher.Register(QStringLiteral("get_id_from_tree"), Handler(&CFormActions::GetIdFromTree));
    dispatcher.Register(QStringLiteral("get_name_from_tree"), Handler(&CFormActions::GetNameFromTree));
    dispatcher.Register(QStringLiteral("get_ids_from_tree"), Handler(&CFormActions::GetIdsFromTree));
    dispatcher.Register(QStringLiteral("get_ids_from_list"), Handler(&CFormActions::GetIdsFromList));
    // The settings of select_into are on its para_info child.
    dispatcher.Register(QStringLiteral("select_into"), [](D_T1& form, const CXmlNode& action, int, const QString&) {
        return form.m_actions.SelectInto(action.GetChild(ParaInfo), form);
    });
    dispatcher.RegisterEndEdit([](D_T1& form, const CXmlNode& endEdit, CListCtrlEx* grid, int row, int) {
        return form.m_actions.EndEditQuery(endEdit, form, grid, row);
    });
}
