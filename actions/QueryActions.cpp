// Grids and trees refilled from queries (paged or whole) or from a text cut
// into values, and query values put into grid titles, the global slots, a
// new grid row and the print-value list.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "QueryTexts.h"
#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"
#include "text/TreeItems.h"
#include "xml/XmlNode.h"

#include <QRegularExpression>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace {

// A tree keeps its check boxes once a tick query gave it some, as a tree
// window keeps its check-box style: later fills without one still show them.
const char* const CheckBoxesProperty = "tembraCheckBoxes";
constexpr int GlobalSlots = 10;

// A reference that must name a tree: a control of another kind fails as
// one that names nothing.
QTreeWidget* TreeByRef(CFormActions& actions, const D_T1& form, const QString& ref)
{
    QWidget* control = nullptr;
    if (!actions.GetControlByRef(form, ref, control))
        return nullptr;
    auto* tree = qobject_cast<QTreeWidget*>(control);
    if (!tree)
        actions.m_db.m_strError = ActionTexts::WrongControl + ref;
    return tree;
}

// The element children of a node, comments and texts left out.
QList<CXmlNode> Elements(const CXmlNode& node)
{
    QList<CXmlNode> elements;
    const CXmlNodes children = node.GetChildren();
    for (int i = 0; i < children.GetCount(); ++i) {
        const CXmlNode child = children[i];
        if (!child.GetName().isEmpty())
            elements.append(child);
    }
    return elements;
}

// Appends one row per valuesPerRow values (the last row may be short); with
// the grid's key column on, the first value of a row is its key.
void AppendRows(CListCtrlEx* grid, int valuesPerRow, const QStringList& values, QString& listedUids)
{
    const int cells = valuesPerRow - (grid->m_bContainHead ? 1 : 0);
    for (qsizetype next = 0; next < values.size();) {
        const int row = grid->InsertRow(grid->GetItemCount(), QString());
        if (grid->m_bContainHead) {
            const QString& key = values[next++];
            grid->SetRowData(row, reinterpret_cast<void*>(qintptr(TextToInt(key))), key, kRowUnchanged);
            listedUids += key + u',';
        }
        for (int column = 0; column < cells && next < values.size(); ++column)
            grid->SetItemText(row, column, values[next++]);
    }
    listedUids.chop(listedUids.endsWith(u',') ? 1 : 0);
}

// Puts the key of the grid's first selected row into "{{id?uid}}"; false
// without a selected row (no text) or when the grid reference fails.
bool PutSelectedRowKey(CFormActions& actions, const D_T1& form, const QString& gridRef, QString& sql)
{
    CListCtrlEx* grid = nullptr;
    int row = -1;
    if (!actions.GetGridByRef(form, gridRef, grid) || !GetSelectedListItem(grid, row))
        return false;
    const ItemData* record = grid->GetRowKey(row);
    return actions.PutValue(sql, QueryTexts::RowUidToken, record ? record->strKey : QString());
}

// The targets of query_to_head and query_to_main: the "target_ids" list or,
// without one, the "out" numbers of "para_in_out", whose "in" texts (the
// form's own) are joined into "{{para_in}}".
QStringList TargetsOf(const CXmlNode& action, QString& sql)
{
    QStringList targets;
    const QString targetIds = action.GetAttribute(QStringLiteral("target_ids"));
    if (!targetIds.isEmpty()) {
        SplitString(targetIds, QStringLiteral(";"), targets);
        return targets;
    }
    QStringList in;
    for (const CXmlNode& child : Elements(action.GetChild(QStringLiteral("para_in_out")))) {
        targets.append(child.GetAttribute(QStringLiteral("out")));
        in.append(child.GetAttribute(QStringLiteral("in")));
    }
    sql.replace(QueryTexts::ParaInToken, in.join(u','));
    return targets;
}

// Runs the query of query_to_head or query_to_main. ran is false when it
// failed or found no row; a row of another count than the targets shows
// the count message and fails.
bool QueryForTargets(CFormActions& actions, const QString& sql, const QStringList& targets, QStringList& values,
                     bool& ran)
{
    ran = actions.m_db.QueryAllToList(sql, values) > 0;
    if (ran && values.size() != targets.size()) {
        ShowMessage(ActionTexts::CountMismatch);
        return false;
    }
    return true;
}

// A slot number of query_to_main (1 to 10); shows the range message.
bool GlobalSlot(const QString& target, int& slot)
{
    slot = TextToInt(target) - 1;
    if (slot < 0 || slot >= GlobalSlots) {
        ShowMessage(QueryTexts::GlobalOutOfRange);
        return false;
    }
    return true;
}

// The row at the top of the grid's view, which a refill brings back there.
int TopRow(const CListCtrlEx* grid)
{
    return grid->rowAt(0);
}

void ScrollToRow(CListCtrlEx* grid, int row)
{
    if (row <= 0 || row >= grid->GetItemCount())
        return;
    grid->GetModel()->Flush();
    grid->doItemsLayout();
    grid->scrollTo(grid->GetModel()->index(row, 0), QAbstractItemView::PositionAtTop);
}

} // namespace

bool CFormActions::SelectInfoTable(const CXmlNode& action, D_T1& form)
{
    CXmlNode para = action.GetChild(QStringLiteral("para_info_where"));
    const bool withWhere = !para.IsNull();
    if (!withWhere)
        para = action.GetChild(QStringLiteral("para_info"));
    QString select = para.GetAttribute(QStringLiteral("select"));
    QString where = para.GetAttribute(QStringLiteral("where"));
    const QString order = para.GetAttribute(QStringLiteral("order"));
    const int counts = para.GetAttributeInt(QStringLiteral("counts_in_page"), 0);
    // No default: in text mode the attribute is a text removed from the data.
    const QString resetHead = para.GetAttribute(QStringLiteral("reset_head"));
    const QString tableId = para.GetAttribute(QStringLiteral("table_id"));

    CListCtrlEx* grid = nullptr;
    if (!GetGridByRef(form, tableId, grid))
        return false;
    static const QRegularExpression blank(QStringLiteral("\\s"));
    const bool textMode = !select.isEmpty() && !select.contains(blank);
    if (textMode && counts < 1) {
        m_db.m_strError = QueryTexts::ValuesPerRowTooSmall + QString::number(counts);
        return false;
    }
    const int topRow = TopRow(grid);
    grid->m_bContainHead = para.GetAttribute(QStringLiteral("contain_head")) == u"1";
    grid->DeleteAllRows();
    m_strListedUids.clear();

    if (textMode) {
        QWidget* source = nullptr;
        if (!GetControlByRef(form, select, source))
            return false;
        QString data = GetControlText(source);
        if (!resetHead.isEmpty())
            data.remove(resetHead);
        QStringList pieces;
        SplitString(para.GetAttribute(QStringLiteral("result_info_id")), QStringLiteral("|"), pieces);
        for (const QString& piece : std::as_const(pieces)) {
            if (!piece.isEmpty())
                data.replace(piece, where);
        }
        QString buttons = para.GetAttribute(QStringLiteral("page_buttons"));
        buttons.replace(QueryTexts::SemicolonToken, QueryTexts::SemicolonMark);
        pieces.clear();
        SplitString(buttons, QStringLiteral(";"), pieces);
        for (const QString& piece : std::as_const(pieces)) {
            if (!piece.isEmpty())
                data.remove(piece == QueryTexts::SemicolonMark ? QStringLiteral(";") : piece);
        }
        if (!order.isEmpty())
            data.replace(order, where);
        QStringList values;
        SplitToList(data, where, values);
        if (counts > 1 && values.size() % counts == 1)
            values.removeFirst();
        ReplaceTableRows(form, counts, values, grid);
        ScrollToRow(grid, topRow);
        return true;
    }

    // A paged query's select and where become one source of its pages: a
    // row limit ({{TOP30}}, {{TOP100}}) of SQLite or PostgreSQL is no LIMIT
    // clause of their own (which would stand before the WHERE) but caps the
    // rows the pages are cut from, as "TOP n" in the source does on SQL
    // Server.
    const bool paged = counts >= 1;
    int selectLimit = 0;
    int whereLimit = 0;
    if (withWhere) {
        if (!FillWhereFragments(action, form, select, WhereControls::FormIds, paged ? &selectLimit : nullptr)
            || !FillWhereFragments(action, form, where, WhereControls::FormIds, paged ? &whereLimit : nullptr))
            return false;
    } else if (!FillParamPlaceholders(para, form, select, nullptr, paged ? &selectLimit : nullptr)
               || !FillParamPlaceholders(para, form, where, nullptr, paged ? &whereLimit : nullptr)) {
        return false;
    }

    QStringList names;
    QStringList values;
    if (paged) {
        m_nPageSize = counts;
        int total = -1;
        int pageCount = m_nPageCount;
        const int rowLimit = selectLimit > 0 && whereLimit > 0 ? std::min(selectLimit, whereLimit)
                                                                : std::max(selectLimit, whereLimit);
        const bool read = m_db.QueryPage(select, where.isEmpty() ? where : QStringLiteral(" WHERE ") + where,
                                         m_nPageSize, m_nPage, order, names, values, total, pageCount, rowLimit);
        // A failed query leaves the grid empty and the page text as it was;
        // an empty result is no failure and shows page 1 of 0.
        if (!read && total != 0)
            return true;
        m_nTotalRows = std::max(total, 0);
        m_nPageCount = read ? pageCount : 0;
        // The page read is the one asked for, held within the pages there are.
        m_nPage = std::clamp(m_nPage, 1, std::max(1, m_nPageCount));
        if (!ShowPageInfo(para, form))
            return false;
        if (!read)
            return true;
    } else if (!m_db.QueryAllWithNames(select, names, values)) {
        return true;
    }

    if (resetHead == u"1")
        ResetTableFromResult(form, names, values, grid);
    else
        FillListRows(values, grid, int(names.size()), para.GetAttribute(QStringLiteral("is_rowid")) == u"1");
    ScrollToRow(grid, topRow);
    return true;
}

bool CFormActions::ShowPageInfo(const CXmlNode& para, D_T1& form)
{
    const QString buttonList = para.GetAttribute(QStringLiteral("page_buttons"));
    QList<int> buttons;
    SplitToInts(buttonList, QStringLiteral(";"), buttons);
    const QString text = QueryTexts::PageInfo.arg(m_nPage).arg(m_nPageCount).arg(m_nPageSize).arg(m_nTotalRows);
    const int infoId = para.GetAttributeInt(QStringLiteral("result_info_id"), 0);
    if (infoId > 0)
        SetDlgItemTextAndRefresh(form, infoId + D_T1::ControlIdBase, text);
    // First, previous, next and last; a number that names no control
    // leaves that button out.
    if (buttons.size() < 4) {
        m_db.m_strError = QueryTexts::PageButtonsMissing + buttonList;
        return false;
    }
    const auto button = [&](int entry) { return form.GetDlgItem(buttons[entry] + D_T1::ControlIdBase); };
    const bool onePage = m_nPageSize >= m_nTotalRows;
    const bool back = !onePage && m_nPage > 1;
    const bool forward = !onePage && m_nPage < m_nPageCount;
    EnableControl(button(0), back);
    EnableControl(button(1), back);
    EnableControl(button(2), forward);
    EnableControl(button(3), forward);
    return true;
}

void CFormActions::ResetTableFromResult(D_T1&, const QStringList& names, const QStringList& values,
                                        CListCtrlEx* grid)
{
    grid->setUpdatesEnabled(false);
    grid->Reset();
    for (qsizetype i = grid->m_bContainHead ? 1 : 0; i < names.size(); ++i)
        grid->InsertColumn(grid->GetColumnCount(), names[i], 2, 50);
    m_strListedUids.clear();
    if (!names.isEmpty())
        AppendRows(grid, int(names.size()), values, m_strListedUids);
    grid->setUpdatesEnabled(true);
}

void CFormActions::ReplaceTableRows(D_T1&, int valuesPerRow, const QStringList& values, CListCtrlEx* grid)
{
    grid->setUpdatesEnabled(false);
    grid->DeleteAllRows();
    m_strListedUids.clear();
    if (valuesPerRow >= 1)
        AppendRows(grid, valuesPerRow, values, m_strListedUids);
    grid->setUpdatesEnabled(true);
}

bool CFormActions::SelectInfoTree(const CXmlNode& action, D_T1& form)
{
    const CXmlNode para = action.GetChild(QStringLiteral("para_info_where"));
    QString select = para.GetAttribute(QStringLiteral("select"));
    QString checkSql = para.GetAttribute(QStringLiteral("check_sql"));
    QTreeWidget* tree = TreeByRef(*this, form, para.GetAttribute(QStringLiteral("tree_id")));
    if (!tree)
        return false;
    tree->clear();
    if (!checkSql.isEmpty())
        tree->setProperty(CheckBoxesProperty, true);
    if (!FillWhereFragments(action, form, select, WhereControls::FormIds)
        || (!checkSql.isEmpty() && !FillWhereFragments(action, form, checkSql, WhereControls::FormIds)))
        return false;
    QStringList names;
    QStringList values;
    if (!m_db.QueryAllWithNames(select, names, values))
        return false;
    QString ticks;
    if (!checkSql.isEmpty()) {
        QStringList ticked;
        m_db.m_strError.clear();
        if (m_db.QueryAllToList(checkSql, ticked) <= 0) {
            if (m_db.m_strError.isEmpty())
                m_db.m_strError = QueryTexts::NoTickRow + checkSql;
            return false;
        }
        ticks = u',' + ticked.first() + u',';
    }
    FillTreeFromValues(values, tree, ticks);
    if (tree->property(CheckBoxesProperty).toBool()) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if (!(*it)->data(0, Qt::CheckStateRole).isValid())
                (*it)->setCheckState(0, Qt::Unchecked);
        }
    }
    ExpandTreeItems(tree, nullptr, true);
    tree->scrollToTop();
    return true;
}

bool CFormActions::QueryToHead(const CXmlNode& action, D_T1& form)
{
    const QString tableId = action.GetAttribute(QStringLiteral("table_id"));
    QString sql = action.GetAttribute(QStringLiteral("values"));
    if (tableId.isEmpty()) {
        m_db.m_strError = QueryTexts::NoTableId;
        return false;
    }
    CListCtrlEx* grid = nullptr;
    if (!GetGridByRef(form, tableId, grid))
        return false;
    const QStringList targets = TargetsOf(action, sql);
    if (!FillWhereFragments(action, form, sql))
        return false;
    QStringList values;
    bool ran = false;
    if (!QueryForTargets(*this, sql, targets, values, ran) || !ran)
        return false;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const int column = TextToInt(targets[i]) - 1;
        if (column >= 0)
            grid->SetColumnTitle(column, values[i]);
    }
    return true;
}

bool CFormActions::QueryToMain(const CXmlNode& action, D_T1& form)
{
    const QString tableId = action.GetAttribute(QStringLiteral("table_id"));
    QString sql = action.GetAttribute(QStringLiteral("values"));
    if (!tableId.isEmpty() && !PutSelectedRowKey(*this, form, tableId, sql))
        return false;
    const QStringList targets = TargetsOf(action, sql);
    if (!FillWhereFragments(action, form, sql))
        return false;
    QStringList values;
    bool ran = false;
    if (!QueryForTargets(*this, sql, targets, values, ran))
        return false;
    // Targets from para_in_out only answer the count check when the query
    // found its row; only a failed query empties their slots.
    if (ran && action.GetAttribute(QStringLiteral("target_ids")).isEmpty())
        return true;
    // Slots named before a bad number keep what they were given.
    for (qsizetype i = 0; i < targets.size(); ++i) {
        int slot = 0;
        if (!GlobalSlot(targets[i], slot))
            return false;
        theApp().m_strGlobal[slot] = ran ? values[i] : QString();
    }
    return true;
}

bool CFormActions::QueryToTable(const CXmlNode& action, D_T1& form)
{
    const CXmlNode para = action.GetChild(QStringLiteral("para_info"));
    QString sql = para.GetAttribute(QStringLiteral("select"));
    const QList<CXmlNode> inputs = Elements(para.GetChild(QStringLiteral("para_in")));
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const int id = inputs[i].GetAttributeInt(QStringLiteral("value"), 0);
        const QString text = GetControlText(form.GetDlgItem(id + D_T1::ControlIdBase));
        if (!PutValue(sql, QStringLiteral("{{p%1}}").arg(i + 1), text))
            return false;
    }
    const QString tableId = para.GetAttribute(QStringLiteral("to_table_id"));
    CListCtrlEx* grid = nullptr;
    if (!GetGridByRef(form, tableId, grid))
        return false;
    const QList<CXmlNode> outputs = Elements(para.GetChild(QStringLiteral("para_out")));
    if (!ExpandFormPlaceholders(form, sql, sql))
        return false;
    QStringList values;
    if (m_db.QueryAllToList(sql, values) <= 0)
        return true;

    // Without para_out the row is appended empty and keeps the state a new
    // grid row has; with it the row is marked new.
    const int row = grid->InsertRow(grid->GetItemCount(), QString());
    // A key placed by any step stays, in whatever order the steps come:
    // losing it to a later step would save the row as a new record.
    if (!outputs.isEmpty())
        grid->SetRowData(row, nullptr, QString(), kRowNew);
    qsizetype limit = outputs.size();
    for (qsizetype step = 0; step < values.size() && step < limit; ++step) {
        const int column = step < outputs.size() ? outputs[step].GetAttributeInt(QStringLiteral("value"), -1) : -1;
        QString value = values[step];
        if (column == 0) {
            grid->SetRowData(row, nullptr, value, kRowNew);
        } else if (column > 0) {
            if (value == QueryTexts::RowNumberValue) {
                ++limit;
                value = QString::number(row + 1);
            }
            grid->SetItemText(row, column - 1, value);
        }
    }
    QList<int> parts;
    SplitToInts(tableId, QStringLiteral(":"), parts);
    if (auto* holder = qobject_cast<D_T1*>(grid->parentWidget()); holder && !parts.isEmpty())
        holder->SumTableCol(parts.last() + D_T1::ControlIdBase);
    return true;
}

bool CFormActions::QueryToPrint(const CXmlNode& action, D_T1& form)
{
    form.m_printValues.clear();
    const QString tableId = action.GetAttribute(QStringLiteral("table_id"));
    QString sql = action.GetAttribute(QStringLiteral("values"));
    if (!tableId.isEmpty() && !PutSelectedRowKey(*this, form, tableId, sql))
        return false;
    if (!FillWhereFragments(action, form, sql))
        return false;
    QStringList values;
    if (m_db.QueryAllToList(sql, values) > 0)
        form.m_printValues = values;
    return true;
}

void RegisterQueryActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("select_info_table"), Handler(&CFormActions::SelectInfoTable));
    dispatcher.Register(QStringLiteral("select_info_tree"), Handler(&CFormActions::SelectInfoTree));
    dispatcher.Register(QStringLiteral("query_to_head"), Handler(&CFormActions::QueryToHead));
    dispatcher.Register(QStringLiteral("query_to_main"), Handler(&CFormActions::QueryToMain));
    dispatcher.Register(QStringLiteral("query_to_table"), Handler(&CFormActions::QueryToTable));
    dispatcher.Register(QStringLiteral("query_to_print"), Handler(&CFormActions::QueryToPrint));
}
