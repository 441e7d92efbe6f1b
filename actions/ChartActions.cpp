// The chart actions: report charts of a grid's rows in a picture control,
// and the rows and header texts of a tree-list board from queries.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ChartActionTexts.h"
#include "ControlText.h"
#include "QvChart.h"
#include "QvPicture.h"
#include "grid/ListCtrlEx.h"
#include "text/ColorRectText.h"
#include "text/NumberText.h"
#include "text/TextSplit.h"
#include "xml/XmlNode.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace {

// What sets the three report keywords apart.
struct ReportKeyword
{
    int kind;
    // Per series: point texts, marker size, zero line, maximum and offset;
    // the right-hand texts default to the form's caption.
    bool panels;
    // The window of rows drawn and the move speed.
    bool rowWindow;
};

constexpr ReportKeyword BarReport{QvPicture::KindReport, false, false};
constexpr ReportKeyword PanelReport{QvPicture::KindPanel, true, false};
constexpr ReportKeyword PanelRowsReport{QvPicture::KindPanelRows, true, true};

// The element children of one name.
QList<CXmlNode> NamedChildren(const CXmlNode& node, const QString& name)
{
    QList<CXmlNode> children = ElementChildren(node);
    children.removeIf([&](const CXmlNode& child) { return child.GetName() != name; });
    return children;
}

// The control a reference names, when it is of the kind the action needs;
// otherwise null with the reference in the error text.
template <typename Control>
Control* ControlOfKind(CFormActions& actions, const D_T1& form, const QString& ref)
{
    QWidget* control = nullptr;
    if (!actions.GetControlByRef(form, ref, control))
        return nullptr;
    auto* typed = qobject_cast<Control*>(control);
    if (!typed)
        actions.m_db.m_strError = ActionTexts::WrongControl + ref;
    return typed;
}

// An optional value: the text keeps what it had when the reference is empty
// or names nothing, and no error text of that stays behind.
void ReadOptional(CFormActions& actions, const D_T1& form, const QString& ref, QString& text)
{
    const QString error = actions.m_db.m_strError;
    QWidget* control = nullptr;
    QString value;
    if (actions.GetControlValue(form, ref, control, value))
        text = value;
    else
        actions.m_db.m_strError = error;
}

// The referenced control's value as a number; 0 when it has none.
double OptionalNumber(CFormActions& actions, const D_T1& form, const QString& ref)
{
    QString text;
    ReadOptional(actions, form, ref, text);
    return TextToDouble(text);
}

// The series fields are single precision; a larger number stays the largest.
float ToFloat(double value)
{
    constexpr double limit = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -limit, limit));
}

bool FillReport(CFormActions& actions, const CXmlNode& action, D_T1& form, const ReportKeyword& keyword)
{
    const CXmlNode cols = action.GetChild(QStringLiteral("cols"));
    const QString tableRef = cols.GetAttribute(QStringLiteral("table_id"));
    const QString targetRef = cols.GetAttribute(QStringLiteral("target"));
    if (tableRef.isEmpty() || targetRef.isEmpty())
        return false;
    QvPicture* picture = ControlOfKind<QvPicture>(actions, form, targetRef);
    if (!picture)
        return false;
    CListCtrlEx* grid = nullptr;
    if (!actions.GetGridByRef(form, tableRef, grid))
        return false;
    // Refused before anything is written, so the picture keeps its last chart.
    const QList<CXmlNode> series = NamedChildren(cols, QStringLiteral("col"));
    if (!picture->SetSeriesCount(static_cast<int>(series.size()))) {
        actions.m_db.m_strError = picture->ErrorText();
        return false;
    }
    picture->SetGrid(grid);

    if (keyword.rowWindow) {
        QString first, count, speed;
        ReadOptional(actions, form, cols.GetAttribute(QStringLiteral("row_begin_id")), first);
        ReadOptional(actions, form, cols.GetAttribute(QStringLiteral("rows_count_id")), count);
        ReadOptional(actions, form, cols.GetAttribute(QStringLiteral("move_speed_id")), speed);
        picture->m_nFirstRow = TextToInt(first);
        picture->m_nRowCount = TextToInt(count);
        picture->m_nMoveSpeed = TextToInt(speed);
    }

    int totalWidth = 0;
    for (int i = 0; i < series.size(); ++i) {
        const CXmlNode& col = series[i];
        QvChartSeries* record = picture->Series(i);
        record->m_nValueColumn = col.GetAttributeInt(QStringLiteral("col"), 0);
        record->m_clrColour = ParseArgbText(col.GetAttribute(QStringLiteral("color")));
        record->m_nBarWidth = col.GetAttributeInt(QStringLiteral("width"), 0);
        record->m_nBarFlag = col.GetAttributeInt(QStringLiteral("chart_type"), 0);
        record->m_nLineStyle = col.GetAttributeInt(QStringLiteral("chart_zx"), 0);
        totalWidth += record->m_nBarWidth;
        if (!keyword.panels)
            continue;
        record->m_nMarkerColumn = col.GetAttributeInt(QStringLiteral("col_text"), 0);
        record->m_nMarkSize = col.GetAttributeInt(QStringLiteral("pos_width"), 1);
        record->m_fPanelPos = ToFloat(TextToDouble(col.GetAttribute(QStringLiteral("pos"), QStringLiteral("0.5"))));
        const QString maxRef = col.GetAttribute(QStringLiteral("max_id"));
        if (!maxRef.isEmpty()) {
            record->m_fPanelMax = ToFloat(OptionalNumber(actions, form, maxRef));
            record->m_fOffset = ToFloat(OptionalNumber(actions, form, col.GetAttribute(QStringLiteral("move_id"))));
        }
    }

    const QString rightDefault = keyword.panels ? QStringLiteral("0") : QString();
    ReadOptional(actions, form, cols.GetAttribute(QStringLiteral("title_id")), picture->m_strTitle);
    ReadOptional(actions, form, cols.GetAttribute(QStringLiteral("left_sign_id")), picture->m_strMax);
    ReadOptional(actions, form, cols.GetAttribute(QStringLiteral("left_title_id")), picture->m_strYCaption);
    ReadOptional(actions, form, cols.GetAttribute(QStringLiteral("right_sign_id"), rightDefault), picture->m_strText3);
    ReadOptional(actions, form, cols.GetAttribute(QStringLiteral("right_title_id"), rightDefault), picture->m_strText4);

    picture->SetKind(keyword.kind);
    picture->m_nLabelColumn = cols.GetAttributeInt(QStringLiteral("sign_col"), 0);
    picture->m_clrAxis = ParseArgbText(cols.GetAttribute(QStringLiteral("sign_color")));
    picture->m_nSpacing = cols.GetAttributeInt(QStringLiteral("split_width"), 0);
    picture->m_nLabelShift = totalWidth;

    // A file that cannot be written is left unwritten without a message; the
    // chart is shown all the same.
    const QString pathRef = cols.GetAttribute(QStringLiteral("save_path_id"));
    QString path;
    ReadOptional(actions, form, pathRef, path);
    if (!pathRef.isEmpty() && !path.isEmpty())
        picture->RenderBuffered(path);
    else
        picture->Redraw();
    return true;
}

// Runs a query that may come back empty. False only when it failed; the
// database object then holds the texts.
bool QueryMayBeEmpty(CDbConnection& db, const QString& sql, QStringList& names, QStringList& values)
{
    db.m_strError.clear();
    db.m_strErrorInfo.clear();
    names.clear();
    values.clear();
    return db.QueryAllWithNames(sql, names, values) || db.m_strError.isEmpty();
}

// The "{{p%d}}" of a board step: control i's text put into the fragment's
// "{{self}}", or the text itself without a fragment; nothing while the
// control is empty. The controls are the form's own, by description id.
bool FillStepParams(CFormActions& actions, const CXmlNode& where, D_T1& form, QString& select, QString& colours)
{
    const QList<CXmlNode> params = ElementChildren(where);
    for (int i = 0; i < params.size(); ++i) {
        const QString token = QStringLiteral("{{p%1}}").arg(i + 1);
        const int id = params[i].GetAttributeInt(QStringLiteral("value"), 0);
        const QString text = GetControlText(form.GetDlgItem(id + D_T1::ControlIdBase));
        const QString fragment = params[i].GetAttribute(QStringLiteral("where"));
        if (text.isEmpty()) {
            select.replace(token, QString());
            colours.replace(token, QString());
        } else if (fragment.isEmpty()) {
            if (!actions.PutValue(select, token, text) || !actions.PutValue(colours, token, text))
                return false;
        } else {
            QString filled = fragment;
            if (!actions.PutValue(filled, QStringLiteral("{{self}}"), text))
                return false;
            select.replace(token, filled);
            colours.replace(token, filled);
        }
    }
    return true;
}

// One pass of a board step.
bool RunBoardPass(CFormActions& actions, D_T1& form, QvChart* board, const CXmlNode& step)
{
    const CXmlNode where = step.GetChild(QStringLiteral("para_info_where"));
    QString select = where.GetAttribute(QStringLiteral("select"));
    QString colours = where.GetAttribute(QStringLiteral("select_color"));
    const QStringList keys =
        actions.m_strNodeKeys.isEmpty() ? QStringList() : actions.m_strNodeKeys.split(u',');
    const QString nodeKeys = QStringLiteral("{{selected_uids_now}}");
    if (!actions.PutValue(select, nodeKeys, keys) || !actions.PutValue(colours, nodeKeys, keys)
        || !FillStepParams(actions, where, form, select, colours))
        return false;
    QString error;
    if (!form.ExpandSqlPlaceholders(select, select, error) || !form.ExpandSqlPlaceholders(colours, colours, error)) {
        actions.m_db.m_strError = error;
        return false;
    }
    actions.m_strNodeKeys.clear();

    QStringList names, colourValues, values;
    if (!colours.isEmpty() && !QueryMayBeEmpty(actions.m_db, colours, names, colourValues))
        return false;
    const bool hasColours = !names.isEmpty();
    if (select.isEmpty())
        return true;
    if (!QueryMayBeEmpty(actions.m_db, select, names, values))
        return false;
    actions.FeedChartTriples(board, values, static_cast<int>(names.size()), colourValues, hasColours,
                             step.GetAttributeInt(QStringLiteral("height"), 0));
    return true;
}

} // namespace

bool CFormActions::ShowReport(const CXmlNode& action, D_T1& form)
{
    return FillReport(*this, action, form, BarReport);
}

bool CFormActions::ShowReport3(const CXmlNode& action, D_T1& form)
{
    return FillReport(*this, action, form, PanelReport);
}

bool CFormActions::ShowReport5(const CXmlNode& action, D_T1& form)
{
    return FillReport(*this, action, form, PanelRowsReport);
}

bool CFormActions::ShowTable(const CXmlNode& action, D_T1& form)
{
    m_strNodeKeys.clear();
    QvChart* board = ControlOfKind<QvChart>(*this, form, action.GetAttribute(QStringLiteral("table_id")));
    if (!board)
        return false;
    // Clearing drops the selected and last-visited rows with the rest.
    board->SetKind(QvChart::KindTreeList);
    board->ClearTree();
    board->AdoptBody();

    bool ok = true;
    for (const CXmlNode& step : ElementChildren(action)) {
        // A looping step goes on level by level while the pass before it
        // added nodes. It stops at the first pass that adds none: one more
        // would ask for the children of no nodes ("IN ()", which most
        // databases refuse).
        const bool looping = step.GetAttributeInt(QStringLiteral("loop"), 0) == 1 && !m_strNodeKeys.isEmpty();
        ok = RunBoardPass(*this, form, board, step);
        // Without a circle in the parent keys, the n-th level down needs n
        // keys of its own; fewer means the levels repeat for ever.
        QSet<QString> keys;
        for (int level = 1; ok && looping && !m_strNodeKeys.isEmpty(); ++level) {
            const QStringList added = m_strNodeKeys.split(u',');
            keys.unite(QSet<QString>(added.cbegin(), added.cend()));
            keys.remove(QString());
            if (level > keys.size()) {
                m_db.m_strError = ChartActionTexts::NodesLoop.arg(added.constFirst());
                ok = false;
                break;
            }
            ok = RunBoardPass(*this, form, board, step);
        }
        if (!ok)
            break;
    }
    // What the steps before a failure built is shown.
    board->Redraw();
    return ok;
}

void CFormActions::FeedChartTriples(QvChart* board, QStringList& values, int columnCount, const QStringList& colours,
                                    bool hasColours, int nodeSize)
{
    m_strNodeKeys.clear();
    if (!board || columnCount < 3 || values.size() < columnCount) {
        values.clear();
        return;
    }
    QvTree templ;
    templ.m_nHeight = nodeSize;
    qsizetype colour = 0;
    QStringList keys;
    for (qsizetype at = 0; at + columnCount <= values.size(); at += columnCount) {
        const QString& key = values[at + 1];
        keys.append(key);
        QvTree* parent = board->FindNode(values[at]);
        if (!parent)
            parent = &board->Body();
        templ.m_strKey = key;
        templ.SetText(values[at + 2]);
        if (hasColours && colour < colours.size())
            templ.m_item.m_strText3 = colours[colour++];
        QvTree* node = parent->AddChild(templ);
        for (int column = 3; column < columnCount; ++column)
            node->AddItem(values[at + column]);
    }
    m_strNodeKeys = keys.join(u',');
    values.clear();
}

bool CFormActions::QueryToTreeHead(const CXmlNode& action, D_T1& form)
{
    const QString ref = action.GetAttribute(QStringLiteral("table_id"));
    const QString depth = action.GetAttribute(QStringLiteral("target_ids"));
    QString sql = action.GetAttribute(QStringLiteral("values"));
    if (ref.isEmpty()) {
        m_db.m_strError = ChartActionTexts::NoTableId;
        return false;
    }
    if (depth.isEmpty())
        return false;
    QvChart* board = ControlOfKind<QvChart>(*this, form, ref);
    // A parameter whose control is not there is left out, as an empty one.
    if (!board || !FillWhereFragments(action, form, sql, WhereControls::ReferencesOrEmpty))
        return false;
    // The text a missing parameter left stays for a later failure of the
    // event; the query's own check starts from an empty one.
    const QString earlierError = m_db.m_strError;
    QStringList names, texts;
    if (!QueryMayBeEmpty(m_db, sql, names, texts))
        return false;
    m_db.m_strError = earlierError;
    qsizetype position = 0;
    QvTree::SetLevelTexts(TextToInt(depth), &board->Header(), texts, position);
    return true;
}

void RegisterChartActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("show_report"), Handler(&CFormActions::ShowReport));
    dispatcher.Register(QStringLiteral("show_report3"), Handler(&CFormActions::ShowReport3));
    dispatcher.Register(QStringLiteral("show_report5"), Handler(&CFormActions::ShowReport5));
    // An old chart keyword that forms may still carry; it draws nothing.
    dispatcher.Register(QStringLiteral("show_report6"), [](D_T1&, const CXmlNode&, int, const QString&) { return true; });
    dispatcher.Register(QStringLiteral("show_table"), Handler(&CFormActions::ShowTable));
    dispatcher.Register(QStringLiteral("query_to_tree_head"), Handler(&CFormActions::QueryToTreeHead));
}
