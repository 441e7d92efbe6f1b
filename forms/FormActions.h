#pragma once

#include "db/DbConnection.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class D_T1;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The row states of one grid as they were before an event's saving actions
// changed them; a rolled-back event writes them back.
struct _QvListCtrlState
{
    QPointer<QWidget> grid; // a CListCtrlEx
    QList<int> rows;
    QList<int> states;
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
    // A drop-down list's chosen entry, otherwise the control's text.
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
    // The control of that window id on the first page that has one.
    static QWidget* FindControlInPages(const QList<D_T1*>& pages, int windowId);

    // Grids and trees.
    // Fills a tree from (parent uid, text, uid) triples; items whose uid is
    // in checkList (",uid," form) are checked.
    static void FillTreeFromValues(const QStringList& values, QTreeWidget* tree, const QString& checkList);

    // The event's connection is the application's again.
    void Reconnect();

    bool m_bDefaultConnection = true;
    QString m_strEvent;
    CDbConnection m_db;
    int m_nPageSize = 10;
    int m_nPage = 1;
    int m_nTotalRows = 0;
    int m_nPageCount = 0;
    bool m_bResetPaging = true;
    bool m_bPreviewPrint = false;
    bool m_bDetailSaved = false;
    QString m_strDeletedUids;
    QString m_strListedUids;
    QString m_strSelectedUids;
    QString m_strResult;
    std::vector<std::unique_ptr<_QvListCtrlState>> m_listStates;
    QList<int> m_resetIds;
};

// The first item, depth first from the first root item, whose data is uid.
QTreeWidgetItem* FindTreeItemByData(QTreeWidget* tree, qlonglong uid);
