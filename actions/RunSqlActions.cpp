// Statements run by a form: run_sql once or over grid rows, the confirmed
// update of one record (check, checkthis) and the jump step of an action list.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "RunSqlTexts.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"
#include "xml/XmlNode.h"

#include <QAbstractItemModel>
#include <QRegularExpression>

namespace {

const QString UidToken = QStringLiteral("{{id?uid}}");
const QString AllSelectedToken = QStringLiteral("{{id?uid_all_selected}}");

// A row the jump control sends back more often than this is taken for a
// loop the form never ends.
constexpr int MaxRowPasses = 10000;

bool IsWholeNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?\\d+$"));
    return number.match(text).hasMatch();
}

// The settings of run_sql, all read from one parameter element.
struct RunSqlSettings
{
    explicit RunSqlSettings(const CXmlNode& element)
        : params(element)
        , check(element.GetAttribute(QStringLiteral("can_run_sql")))
        , statement(element.GetAttribute(QStringLiteral("run_sql")))
        , table(element.GetAttribute(QStringLiteral("table_id")))
        , allRows(element.GetAttributeInt(QStringLiteral("all_rows"), 0))
        , targets{element.GetAttribute(QStringLiteral("target_ids")),
                  element.GetAttribute(QStringLiteral("target_ids2")),
                  element.GetAttribute(QStringLiteral("target_ids3"))}
        , queries{element.GetAttribute(QStringLiteral("query_sql")),
                  element.GetAttribute(QStringLiteral("query_sql2")),
                  element.GetAttribute(QStringLiteral("query_sql3"))}
        , statement2(element.GetAttribute(QStringLiteral("run_sql2")))
        , jump(element.GetAttribute(QStringLiteral("jump_id")))
    {
    }

    CXmlNode params;
    QString check;
    QString statement;
    QString table;
    int allRows;
    QString targets[3];
    QString queries[3];
    QString statement2;
    QString jump;
};

// Notes whether the rows of a grid move or go while a run walks over them by
// index: a nested event (the EN_CHANGE of a box that a query fills) may
// refill or sort the grid meanwhile, and a remembered index would then name
// another record or none.
class GridRowsWatch
{
public:
    GridRowsWatch(const CListCtrlEx* grid, int lastRow)
    {
        const QAbstractItemModel* model = grid->model();
        const auto moved = [this] { m_bMoved = true; };
        m_connections = {
            QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, moved),
            QObject::connect(model, &QAbstractItemModel::layoutAboutToBeChanged, moved),
            QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, moved),
            QObject::connect(model, &QAbstractItemModel::rowsAboutToBeMoved, moved),
            QObject::connect(model, &QAbstractItemModel::rowsAboutToBeInserted,
                             [this, lastRow](const QModelIndex&, int first, int) { m_bMoved |= first <= lastRow; }),
        };
    }
    ~GridRowsWatch()
    {
        for (const QMetaObject::Connection& connection : m_connections)
            QObject::disconnect(connection);
    }
    GridRowsWatch(const GridRowsWatch&) = delete;
    GridRowsWatch& operator=(const GridRowsWatch&) = delete;

    bool Moved() const { return m_bMoved; }

private:
    bool m_bMoved = false;
    QList<QMetaObject::Connection> m_connections;
};

// One run of run_sql. Done ends with "操作成功"; Failed with "运行SQL出错"
// and the statement; Stopped (a refusal, a missing selection or key) with
// the texts the step left.
class RunSqlRun
{
public:
    enum class Outcome { Done, Failed, Stopped };

    RunSqlRun(CFormActions& actions, D_T1& form, const RunSqlSettings& settings)
        : m_actions(actions)
        , m_form(form)
        , m_db(actions.m_db)
        , m_settings(settings)
    {
    }

    Outcome Once()
    {
        QString check = m_settings.check;
        QString statement = m_settings.statement;
        // A template whose control reference failed is never run half filled.
        if (!Fill(check) || !Fill(statement))
            return Outcome::Failed;
        if (!m_actions.CheckQueryAllows(check))
            return Outcome::Stopped;
        return Execute(statement);
    }

    Outcome AllRows(CListCtrlEx* grid)
    {
        const int first = m_settings.allRows - 1;
        if (first >= grid->GetItemCount())
            return Outcome::Failed;
        for (int row = first; row < grid->GetItemCount(); ++row) {
            if (const Outcome outcome = RowPasses(grid, row); outcome != Outcome::Done)
                return outcome;
        }
        return Outcome::Done;
    }

    Outcome SelectedRows(CListCtrlEx* grid, const QList<int>& rows)
    {
        const GridRowsWatch watch(grid, rows.last());
        m_pWatch = &watch;
        const Outcome outcome = RunRows(grid, rows);
        m_pWatch = nullptr;
        return outcome;
    }

    // The keys of all selected rows at once, in the check and the statement
    // only; nothing else is filled in this mode.
    Outcome AllSelected(CListCtrlEx* grid, const QList<int>& rows)
    {
        QStringList keys;
        for (int row : rows) {
            const QString key = grid->GetRowKey(row)->strKey;
            if (key.isEmpty())
                continue;
            // The list stands bare in the SQL: only whole numbers may go in.
            if (!IsWholeNumber(key)) {
                m_db.m_strError = RunSqlTexts::KeyNotInteger.arg(key);
                return Outcome::Stopped;
            }
            keys << key;
        }
        if (keys.isEmpty()) {
            m_actions.m_strResult = RunSqlTexts::RowWithoutKey;
            return Outcome::Stopped;
        }
        QString check = m_settings.check;
        QString statement = m_settings.statement;
        if (!m_actions.PutValue(check, AllSelectedToken, keys) || !m_actions.FillValues(check)
            || !m_actions.CheckQueryAllows(check) || !m_actions.PutValue(statement, AllSelectedToken, keys)
            || !m_actions.FillValues(statement))
            return Outcome::Stopped;
        return Execute(statement);
    }

private:
    Outcome RunRows(CListCtrlEx* grid, const QList<int>& rows)
    {
        for (int row : rows) {
            if (RowsMoved(grid, row))
                return Outcome::Stopped;
            if (grid->GetRowKey(row)->strKey.isEmpty()) {
                m_actions.m_strResult = RunSqlTexts::RowWithoutKey;
                return Outcome::Stopped;
            }
            if (const Outcome outcome = RowPasses(grid, row); outcome != Outcome::Done)
                return outcome;
        }
        return Outcome::Done;
    }

    // The passes over one row: after each, the jump control says whether
    // the row runs again and from which stage.
    Outcome RowPasses(CListCtrlEx* grid, int row)
    {
        int jump = 0;
        for (int pass = 0;; ++pass) {
            if (pass == MaxRowPasses) {
                m_db.m_strError = RunSqlTexts::RowRepeatsTooOften.arg(MaxRowPasses);
                return Outcome::Failed;
            }
            if (const Outcome outcome = Pass(grid, row, jump); outcome != Outcome::Done)
                return outcome;
            jump = ReadJump();
            if (jump == 0)
                return Outcome::Done;
            if (RowsMoved(grid, row))
                return Outcome::Stopped;
        }
    }

    // True, with the text, when the watched grid's rows moved since the run
    // began (or the row is gone): nothing more may run on a stale index.
    bool RowsMoved(const CListCtrlEx* grid, int row)
    {
        if (!m_pWatch || (!m_pWatch->Moved() && grid->GetRowKey(row)))
            return false;
        m_db.m_strError = RunSqlTexts::RowsMoved;
        return true;
    }

    // Stage 1 (check, statement, first query) runs while jump is below 2,
    // stage 2 (second query, second statement) while it is below 3, stage 3
    // (third query) always.
    Outcome Pass(CListCtrlEx* grid, int row, int jump)
    {
        QString check = m_settings.check;
        QString statement = m_settings.statement;
        QString statement2 = m_settings.statement2;
        QString queries[3] = {m_settings.queries[0], m_settings.queries[1], m_settings.queries[2]};
        for (QString* sql : {&check, &statement, &statement2, &queries[0], &queries[1], &queries[2]}) {
            if (!m_actions.FillRowTokens(*sql, grid, row, 1))
                return Outcome::Failed;
        }
        if (jump < 2) {
            if (!Fill(check) || !Fill(statement))
                return Outcome::Failed;
            if (!m_actions.CheckQueryAllows(check))
                return Outcome::Stopped;
            if (Execute(statement) != Outcome::Done || !QueryInto(0, queries[0]))
                return Outcome::Failed;
        }
        if (jump < 3) {
            if (!QueryInto(1, queries[1]) || !Fill(statement2) || Execute(statement2) != Outcome::Done)
                return Outcome::Failed;
        }
        return QueryInto(2, queries[2]) ? Outcome::Done : Outcome::Failed;
    }

    bool Fill(QString& sql) { return m_actions.FillParamPlaceholders(m_settings.params, m_form, sql); }

    // An empty statement is nothing to do.
    Outcome Execute(const QString& statement)
    {
        return statement.isEmpty() || m_db.Execute(statement) ? Outcome::Done : Outcome::Failed;
    }

    bool QueryInto(int stage, QString& query)
    {
        if (query.isEmpty())
            return true;
        return Fill(query) && m_actions.QueryIntoTargets(m_settings.targets[stage], query, m_form);
    }

    // The jump control's number; no control, or one that names nothing, is 0.
    int ReadJump()
    {
        QWidget* control = nullptr;
        QString value;
        if (!m_actions.GetControlValue(m_form, m_settings.jump, control, value))
            return 0;
        return TextToInt(value);
    }

    CFormActions& m_actions;
    D_T1& m_form;
    CDbConnection& m_db;
    const RunSqlSettings& m_settings;
    // Set while the selected rows are walked by their indexes.
    const GridRowsWatch* m_pWatch = nullptr;
};

// The work of check and checkthis; an answer No gives noResult.
bool ConfirmedUpdate(CFormActions& actions, const CXmlNode& action, D_T1& form, bool noResult)
{
    CDbConnection& db = actions.m_db;
    const CXmlNode info = action.GetChild(QStringLiteral("para_info"));
    const QString table = info.GetAttribute(QStringLiteral("table_id"));
    const QString keyControl = info.GetAttribute(QStringLiteral("uid_wnd_id"));
    QString question = info.GetAttribute(QStringLiteral("check_sql"));
    QString check = info.GetAttribute(QStringLiteral("can_update_sql"));
    QString update = info.GetAttribute(QStringLiteral("update_sql"));
    QString statement = info.GetAttribute(QStringLiteral("run_sql"));

    // The record: the selected grid row (its cells from column 0, not in the
    // question), or the key a control shows.
    if (!table.isEmpty()) {
        CListCtrlEx* grid = nullptr;
        int row = -1;
        if (!actions.GetGridByRef(form, table, grid))
            return false;
        if (!GetSelectedListItem(grid, row)) {
            db.m_strError = ActionTexts::SelectRecord;
            return false;
        }
        for (QString* sql : {&check, &update, &statement}) {
            if (!actions.FillRowTokens(*sql, grid, row, 0))
                return false;
        }
        if (!actions.PutValue(question, UidToken, grid->GetRowKey(row)->strKey))
            return false;
    } else if (keyControl.isEmpty()) {
        db.m_strError = RunSqlTexts::NoRecordSource;
        return false;
    } else {
        QWidget* control = nullptr;
        if (!actions.GetControlByRef(form, keyControl, control))
            return false;
        const QString key = GetControlText(control);
        for (QString* sql : {&question, &check, &update, &statement}) {
            if (!actions.PutValue(*sql, UidToken, key))
                return false;
        }
    }

    for (QString* sql : {&question, &check, &update, &statement}) {
        if (!actions.ExpandFormPlaceholders(form, *sql, *sql))
            return false;
    }

    // A question query without a row asks nothing; one that fails refuses.
    bool yes = true;
    if (question.isEmpty()) {
        yes = AskYesNo(RunSqlTexts::Confirm, RunSqlTexts::ConfirmCaption);
    } else {
        QString text;
        if (db.QueryValue(question, text))
            yes = AskYesNo(text, RunSqlTexts::ConfirmCaption);
        else if (db.m_nResult < 0)
            return false;
    }
    if (!yes)
        return noResult;

    if (!actions.CheckQueryAllows(check))
        return false;
    for (const QString* sql : {&update, &statement}) {
        if (sql->isEmpty())
            continue;
        if (!db.Execute(*sql)) {
            db.m_strError += RunSqlTexts::StatementFailed + *sql;
            return false;
        }
    }
    actions.m_strResult = RunSqlTexts::Done;
    return true;
}

// The step of a jump element: the first value of its query, filled from
// the selected grid row and the filter list.
bool JumpStep(CFormActions& actions, const CXmlNode& action, D_T1& form, int& step)
{
    CDbConnection& db = actions.m_db;
    QString sql = action.GetAttribute(QStringLiteral("values"));
    const QString table = action.GetAttribute(QStringLiteral("table_id"));
    if (!table.isEmpty()) {
        CListCtrlEx* grid = nullptr;
        int row = -1;
        if (!actions.GetGridByRef(form, table, grid) || !GetSelectedListItem(grid, row))
            return false;
        if (!actions.PutValue(sql, UidToken, grid->GetRowKey(row)->strKey))
            return false;
    }
    if (!actions.FillWhereFragments(action, form, sql))
        return false;
    QString value;
    const bool found = db.QueryValue(sql, value);
    step = found ? TextToInt(value) : 0;
    if (step != 0)
        return true;
    // A query that could not run keeps the database's own text.
    if (found)
        db.m_strError = RunSqlTexts::JumpZero;
    else if (db.m_nResult == 0)
        db.m_strError = RunSqlTexts::JumpNoRow;
    return false;
}

} // namespace

bool CFormActions::RunSql(const CXmlNode& action, D_T1& form)
{
    CXmlNode element = action.GetChild(QStringLiteral("para_info"));
    if (element.IsNull())
        element = action.GetChild(QStringLiteral("para_info_where"));
    const RunSqlSettings settings(element);
    RunSqlRun run(*this, form, settings);

    using Outcome = RunSqlRun::Outcome;
    Outcome outcome = Outcome::Failed;
    if (settings.table.isEmpty()) {
        outcome = run.Once();
    } else if (settings.allRows >= 0) {
        CListCtrlEx* grid = nullptr;
        if (!GetGridByRef(form, settings.table, grid))
            return false;
        if (settings.allRows > 0) {
            outcome = run.AllRows(grid);
        } else if (const QList<int> rows = grid->GetSelectedRows(); rows.isEmpty()) {
            m_strResult = RunSqlTexts::SelectRow;
            return false;
        } else if (settings.check.contains(AllSelectedToken)) {
            outcome = run.AllSelected(grid, rows);
        } else {
            outcome = run.SelectedRows(grid, rows);
        }
    }

    switch (outcome) {
    case Outcome::Done:
        m_strResult = RunSqlTexts::Done;
        return true;
    case Outcome::Failed:
        m_strResult = RunSqlTexts::Failed + settings.statement;
        return false;
    case Outcome::Stopped:
        break;
    }
    return false;
}

bool CFormActions::Check(const CXmlNode& action, D_T1& form)
{
    return ConfirmedUpdate(*this, action, form, false);
}

bool CFormActions::Checkthis(const CXmlNode& action, D_T1& form)
{
    return ConfirmedUpdate(*this, action, form, true);
}

bool CFormActions::Jump(const CXmlNode& action, D_T1& form, int& step)
{
    if (JumpStep(*this, action, form, step))
        return true;
    // The result of the action before the jump would report the rolled-back
    // event as a success.
    m_strResult.clear();
    return false;
}

void RegisterRunSqlActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("run_sql"), Handler(&CFormActions::RunSql));
    dispatcher.Register(QStringLiteral("check"), Handler(&CFormActions::Check));
    dispatcher.Register(QStringLiteral("checkthis"), Handler(&CFormActions::Checkthis));
    dispatcher.RegisterJump(
        [](D_T1& form, const CXmlNode& action, int& step) { return form.m_actions.Jump(action, form, step); });
}
