#pragma once

#include "DeletedUids.h"
#include "db/DbConnection.h"
#include "grid/GridRecords.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CListCtrlEx;
class CXmlNode;
class D_T1;
class QTreeWidget;
class QvChart;
class QWidget;

// The row states of one grid as they were before an event's actions changed
// them; a rolled-back event writes them back. Each row is kept by its record
// and key, so it is found again wherever it has moved; a key the event's
// actions gave the row (CFormActions::ChangeRowKey) is noted beside it, so
// that the row is still known by it and gets its old key back too.
struct _QvListCtrlState
{
    struct Row
    {
        const ItemData* item = nullptr;
        QString key;
        int state = 0;
        QString givenKey;
    };
    QPointer<CListCtrlEx> grid;
    QList<Row> rows;
};

// What the actions of one form share: the database object they work on,
// the texts an event reports at its end, the uids of deleted grid rows, the
// paging state of paged grids and the grid-row states a failed event writes
// back; and the small control operations every action uses. The action
// handlers are members too; they live with the actions.
class CFormActions
{
public:
    CFormActions();
    CFormActions(const CFormActions&) = delete;
    CFormActions& operator=(const CFormActions&) = delete;

    // Control values and texts.
    // A drop-down list's chosen entry, an editable one's shown text,
    // otherwise the control's text.
    static QString GetDlgItemValue(const D_T1& form, int windowId);
    static QString GetWindowValue(const QWidget* control);
    // Sets the text and repaints (transparent statics over a drawn background).
    static void SetTextAndRefresh(QWidget* control, const QString& text);
    static void SetDlgItemTextAndRefresh(const D_T1& form, int windowId, const QString& text);
    // Puts a value into a control by its kind: a browse box or edit takes
    // the text (an edit selects it all), a drop-down list selects the entry
    // (putting a missing one at the top), a date control takes a date it
    // can read; a null control does nothing.
    static bool SetControlValue(QWidget* control, const QString& text);
    // Enables or disables; an edit is also read-only while disabled, and a
    // button the user's group has no right to stays disabled.
    static bool EnableControl(QWidget* control, bool enable);
    // A control reference: "N" is control N of the form ("0" the form
    // itself), "O:N" control N of the form's opener, "C:P:N" control N on
    // page P (from 1) of container C. False, with the reference added to the
    // database error text, when it names no control.
    bool GetControlByRef(const D_T1& form, const QString& ref, QWidget*& control);
    // The value of a referenced control (GetWindowValue); an empty reference
    // leaves both outputs as they are.
    bool GetControlValue(const D_T1& form, const QString& ref, QWidget*& control, QString& value);
    // A reference that must name a grid: false with the reference in the
    // error text when it names nothing or another kind of control.
    bool GetGridByRef(const D_T1& form, const QString& ref, CListCtrlEx*& grid);
    // The control of that window id on the first page that has one.
    static QWidget* FindControlInPages(const QList<D_T1*>& pages, int windowId);

    // Grids and trees.
    // Row numbers (from 1) into column 0 from the first row on; unchanged
    // rows are marked for saving.
    static void RenumberListRows(CListCtrlEx* grid, int firstRow);
    // Fills a grid from a flat list of query values, columnCount per row.
    // A row whose values are one more than the grid's value columns (after
    // the row-number column, withRowNumbers), or any row of a grid whose
    // m_bContainHead is on, starts with its uid: the row's key, stored
    // (state 0) and listed in m_strListedUids (joined by ",").
    bool FillListRows(const QStringList& values, CListCtrlEx* grid, int columnCount, bool withRowNumbers);
    // Fills a tree from (parent uid, text, uid) triples; items whose uid is
    // in checkList (",uid," form) are checked.
    static void FillTreeFromValues(const QStringList& values, QTreeWidget* tree, const QString& checkList);

    // Keeps the states of the grid's rows (every row when rows is empty) for
    // the rollback of the running event; call before changing them.
    void SaveRowStates(CListCtrlEx* grid, const QList<int>& rows = {});
    // Gives a row a new key (a record it was saved as), so that a rollback
    // of the running event, which takes the record away, gives the row its
    // old key back; the row's state must have been saved before.
    void ChangeRowKey(CListCtrlEx* grid, int row, const QString& key);

    // Filling action templates (defined with the actions). A value put in
    // at a token waits there until the form-wide placeholders are put in
    // last (ExpandFormPlaceholders, D_T1::ExpandSqlPlaceholders) or, for a
    // statement without them, FillValues: only then, in the finished
    // statement, is it escaped for the quoted literal it stands in, or
    // taken only as a number outside one (SqlFill.h). False, with the reason
    // in the database error text, for a value holding "{{" (a later token
    // would fill it again).
    bool PutValue(QString& sql, const QString& token, const QString& value);
    // A list of values joined by ",": inside a literal escaped, outside one
    // only when every value is a number.
    bool PutValue(QString& sql, const QString& token, const QStringList& values);
    // The form-wide placeholders of an SQL template, then every waiting
    // value; false with the reason as the error text. With rowLimit, the
    // row limit of {{TOP30}}/{{TOP100}} on SQLite and PostgreSQL comes back
    // there rather than as a LIMIT clause (FillSqlValues).
    bool ExpandFormPlaceholders(const D_T1& form, const QString& filled, QString& sql, int* rowLimit = nullptr);
    // Every waiting value of a statement that has no form-wide placeholders.
    bool FillValues(QString& sql);
    // "{{p%d}}" from the controls the children of a "para_info" element
    // name, then "{{deleted_uid_0}}" (the deleted rows of the grid given,
    // of every grid without one), then the form-wide placeholders. An
    // empty template is left alone.
    bool FillParamPlaceholders(const CXmlNode& paraInfo, D_T1& form, QString& sql,
                               const CListCtrlEx* deletedFrom = nullptr, int* rowLimit = nullptr);
    // How the "value" of a "para_info_where" child names its control.
    enum class WhereControls {
        References,        // a control reference; one that names nothing fails
        ReferencesOrEmpty, // the same, but one that names nothing gives the
                           // empty value (its text stays in the error text)
        FormIds,           // a description id of the form's own controls; a
                           // control that is not there gives the empty value
    };
    // "{{p%d}}" from the "para_info_where" child of holder: the child's
    // "where" fragment with its control's value at "{{self}}", or nothing
    // while the control is empty; then the form-wide placeholders. The value
    // is judged where "{{self}}" stands in the assembled statement, so a
    // fragment like code_0='{{self}}' takes any text.
    bool FillWhereFragments(const CXmlNode& holder, D_T1& form, QString& sql,
                            WhereControls controls = WhereControls::References, int* rowLimit = nullptr);
    // The same for one row of a detail grid: "{{id?uid}}" is the row's key;
    // a "para_info_where" value below 50 is a column of the row (from 1),
    // 50 and above a control of the form.
    bool BuildRowFilter(const CXmlNode& holder, QString& sql, D_T1& form, CListCtrlEx* grid, int row);
    // The selected-row tokens of a grid row: "{{id?uid}}" (the row's key,
    // which must be a number) and "{{id?N}}" for each column, where N counts
    // the columns from firstNumber (0 or 1).
    bool FillRowTokens(QString& sql, CListCtrlEx* grid, int row, int firstNumber);
    // Runs the query and puts value i of its rows into the i-th of the
    // ";"-separated target references; no row empties the targets and fails
    // with the SQL as the error text.
    bool QueryIntoTargets(const QString& targets, const QString& sql, D_T1& form);
    // A check query ("can_..._sql") lets the guarded work go on only when
    // it ran and found no row: a row refuses with its first value as the
    // error text, a query that could not run refuses with the database's
    // text. An empty query allows.
    bool CheckQueryAllows(const QString& sql);

    // The action handlers, one group per family of keywords. Each takes its
    // action element and the form window; false stops the event's list.

    // Paged grid and tree queries, queries into controls and lists.
    bool SelectInfoTable(const CXmlNode& action, D_T1& form);
    bool SelectInfoTree(const CXmlNode& action, D_T1& form);
    // The page text and the first, previous, next and last buttons of the
    // paging state; false, with the reason, when fewer than four buttons
    // are named.
    bool ShowPageInfo(const CXmlNode& para, D_T1& form);
    // Rebuilds the grid's columns from the result's column names, then its
    // rows from the values.
    void ResetTableFromResult(D_T1& form, const QStringList& names, const QStringList& values, CListCtrlEx* grid);
    // Refills the rows of the grid's columns, valuesPerRow values a row.
    void ReplaceTableRows(D_T1& form, int valuesPerRow, const QStringList& values, CListCtrlEx* grid);
    bool QueryToHead(const CXmlNode& action, D_T1& form);
    bool QueryToMain(const CXmlNode& action, D_T1& form);
    bool QueryToTable(const CXmlNode& action, D_T1& form);
    bool QueryToPrint(const CXmlNode& action, D_T1& form);

    // Statements, confirmed updates and the jump step.
    // A check query, statements and queries into controls, once or per
    // grid row ("run_sql").
    bool RunSql(const CXmlNode& action, D_T1& form);
    // One record updated after a yes/no question; No stops the list
    // ("check") or skips only this action ("checkthis").
    bool Check(const CXmlNode& action, D_T1& form);
    bool Checkthis(const CXmlNode& action, D_T1& form);
    // The step of a "jump" element: true with a step other than 0.
    bool Jump(const CXmlNode& action, D_T1& form, int& step);
    // Query values into a drop-down list, into one control joined by ",",
    // or one value per control.
    bool QueryToList(const CXmlNode& action, D_T1& form);
    bool QueryToWnd(const CXmlNode& action, D_T1& form);
    bool QueryToWnds(const CXmlNode& action, D_T1& form);

    // Saving header records and detail grids.
    bool InsertHead(const CXmlNode& action, D_T1& form);
    bool UpdateHead(const CXmlNode& action, D_T1& form);
    bool InsertHeadRecord(const CXmlNode& action, D_T1& form, QString& failure);
    bool UpdateHeadRecord(const CXmlNode& action, D_T1& form, QString& failure);
    bool InsertDetail(const CXmlNode& action, D_T1& form);
    bool InsertDetailRows(const CXmlNode& action, D_T1& form, CListCtrlEx* grid, int row, QString& failure);
    bool UpdateDetailRows(const CXmlNode& action, D_T1& form, CListCtrlEx* grid, int row, QString& failure);

    // Row operations, select into, the end-of-edit query.
    // A row (state new) above the selected one, at the top or at the end.
    bool Addrow(const CXmlNode& action, D_T1& form);
    // The selected row changes places with the one above or below it.
    bool Uprow(const CXmlNode& action, D_T1& form);
    bool Downrow(const CXmlNode& action, D_T1& form);
    // Deletes the selected rows; the keys of stored ones go to the deleted
    // uids for the detail save.
    bool Delrow(const CXmlNode& action, D_T1& form);
    // The tree item under the mouse becomes the selected one.
    bool SelectItem(const CXmlNode& action, D_T1& form);
    // The uid or the text of a tree's item into a control.
    bool GetIdFromTree(const CXmlNode& action, D_T1& form);
    bool GetNameFromTree(const CXmlNode& action, D_T1& form);
    // The uids of a tree's ticked items, or the keys of a grid's ticked
    // rows, joined by ",", into a control.
    bool GetIdsFromTree(const CXmlNode& action, D_T1& form);
    bool GetIdsFromList(const CXmlNode& action, D_T1& form);
    // One new row in a grid per selected row of another, made of what a
    // query finds for it; takes the action's "para_info" element.
    bool SelectInto(const CXmlNode& paraInfo, D_T1& form);
    // One child of a grid column's ENDEDIT: a query on the edited row whose
    // values go into other cells of that row.
    bool EndEditQuery(const CXmlNode& endEdit, D_T1& form, CListCtrlEx* grid, int row);

    // Cell operations and control states.
    bool SetTableReadonly(const CXmlNode& action, D_T1& form);
    bool SetRowColor(const CXmlNode& action, D_T1& form);
    bool SetCellColor(const CXmlNode& action, D_T1& form);
    bool SumCols(const CXmlNode& action, D_T1& form);
    bool DelCellText(const CXmlNode& action, D_T1& form);
    bool SetCellText(const CXmlNode& action, D_T1& form);
    bool LockCol(const CXmlNode& action, D_T1& form);
    bool SetBtnState(const CXmlNode& action, D_T1& form);
    bool Able(const CXmlNode& action, D_T1& form);
    bool Show(const CXmlNode& action, D_T1& form);
    bool GetBtnState(const CXmlNode& action, D_T1& form);

    // Files in records, web, text conversion and commands, spreadsheet export.
    bool Upload(const CXmlNode& action, D_T1& form);
    bool Download(const CXmlNode& action, D_T1& form);
    bool OpenFile(const CXmlNode& action, D_T1& form);
    bool UploadPic(const CXmlNode& action, D_T1& form);
    bool DownloadPic(const CXmlNode& action, D_T1& form);
    bool ShowPic(const CXmlNode& action, D_T1& form);
    // Stores the file at path in the BLOB column of the table's record uid
    // (at most 2 MiB) and writes its name and the upload log columns.
    bool StoreFileInRecord(const QString& path, const QString& fileName, const QString& table,
                           const QString& nameField, const QString& blobField, const QString& uid);
    // Stores the file at path (at most maxMiB MiB) in the BLOB column of the
    // first record the query selects.
    bool StoreFileInRecordMax(const QString& path, const QString& sql, const QString& blobField, int maxMiB);
    bool OpenUrl(const CXmlNode& action, D_T1& form);
    bool GetDaxie(const CXmlNode& action, D_T1& form);
    bool UrlEncode(const CXmlNode& action, D_T1& form);
    bool UrlDecode(const CXmlNode& action, D_T1& form);
    bool GetHtml(const CXmlNode& action, D_T1& form, bool post);
    bool Post2Html(const CXmlNode& action, D_T1& form);
    bool Cmd(const CXmlNode& action, D_T1& form);
    // The value an action works on: a cell (or the key, col 0) of the grid's
    // selected row, else the text of the control the value attribute names.
    bool GetActionValue(const CXmlNode& paraInfo, D_T1& form, const QString& valueAttribute, QString& value);
    // The template of export_excel into the "xltx" folder; its file name.
    bool FetchExcelTemplate(const CXmlNode& action, D_T1& form, QString& fileName);
    // The grid's cells into a new workbook made from that template, opened
    // with the desktop's spreadsheet program.
    bool ExportExcel(const CXmlNode& action, D_T1& form, const QString& fileName);

    // Chart reports and chart boards.
    // show_report, show_report3, show_report5: a picture control charts the
    // rows of a grid as bars and lines (kind 2) or as panels (kinds 3, 5).
    bool ShowReport(const CXmlNode& action, D_T1& form);
    bool ShowReport3(const CXmlNode& action, D_T1& form);
    bool ShowReport5(const CXmlNode& action, D_T1& form);
    // show_table: the rows of a chart board from query steps, a looping step
    // asking level by level for the children of the nodes it added last.
    bool ShowTable(const CXmlNode& action, D_T1& form);
    // query_to_tree_head: texts for the board's header nodes of one depth.
    bool QueryToTreeHead(const CXmlNode& action, D_T1& form);
    // One node per row of values (parent key, key, text, items...) under the
    // node of its parent key, or under the body root; colours are handed out
    // one per node while they last. The keys added go into m_strNodeKeys,
    // the values are used up.
    void FeedChartTriples(QvChart* board, QStringList& values, int columnCount, const QStringList& colours,
                          bool hasColours, int nodeSize);
    // The keys of the nodes the last FeedChartTriples added, joined by ",";
    // a step's "{{selected_uids_now}}".
    QString m_strNodeKeys;

    // The event's connection is the application's again.
    void Reconnect();

    // The end of an event: after a rollback the saved row states go back
    // into their grids and the reset controls show "0" or their old text;
    // after a commit the
    // deleted uids of the grids whose detail was saved are forgotten. Either
    // way the saved states, reset controls and saved grids go.
    void EndEvent(const D_T1& form, bool committed);

    bool m_bDefaultConnection = true;
    QString m_strEvent;
    CDbConnection m_db;
    int m_nPageSize = 10;
    int m_nPage = 1;
    int m_nTotalRows = 0;
    int m_nPageCount = 0;
    bool m_bResetPaging = true;
    bool m_bPreviewPrint = false;
    CDeletedUids m_deletedUids;
    // The grids whose detail the running event saved.
    QList<QPointer<CListCtrlEx>> m_savedGrids;
    QString m_strListedUids;
    QString m_strSelectedUids;
    QString m_strResult;
    std::vector<std::unique_ptr<_QvListCtrlState>> m_listStates;
    // Controls that show "0" after a rollback, by description id on the
    // form itself.
    QList<int> m_resetIds;
    // Controls that get back the text they had before the event (a record
    // key an action showed, perhaps on another form) after a rollback.
    struct ResetControl
    {
        QPointer<QWidget> control;
        QString text;
    };
    QList<ResetControl> m_resetControls;

private:
    void RestoreRowStates();
};
