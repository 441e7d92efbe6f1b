#include "FormEventRunner.h"

#include "ActionDispatcher.h"
#include "ControlText.h"
#include "D_T1.h"
#include "EventTexts.h"
#include "grid/ListCtrlEx.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/NumberText.h"
#include "web/FileHelpers.h"
#include "xml/XmlNode.h"

#include <QVariant>

#include <cstdio>
#include <exception>

namespace {

// No form's list needs more steps; a jump cycle stops here.
constexpr int MaxListSteps = 100000;

// The element kinds whose events run actions; a tree list answers only the
// Enter test.
bool IsEventKind(const QString& kind)
{
    static const QStringList kinds = {
        QStringLiteral("editbutton"), QStringLiteral("textbox"), QStringLiteral("droplist"),
        QStringLiteral("datectrl"),   QStringLiteral("button"),  QStringLiteral("table"),
        QStringLiteral("tree"),
    };
    return kinds.contains(kind);
}

QString EventKind(const D_T1& form, int windowId)
{
    const QString kind = form.GetControlKind(windowId);
    return IsEventKind(kind) ? kind : QString();
}

CXmlNode FindActionNode(const D_T1& form, const QString& kind, int windowId, const QString& event)
{
    if (!form.m_pDoc || kind.isEmpty())
        return CXmlNode();
    return form.m_pDoc->FindEventAction(form.m_strFormId, kind, windowId - D_T1::ControlIdBase, event);
}

// A uid as a bound value; the menu uid reads as the original's "0%s".
bool UidValue(const QString& text, QVariant& value)
{
    bool ok = false;
    const qlonglong number = (QStringLiteral("0") + text.trimmed()).toLongLong(&ok);
    value = number;
    return ok;
}

} // namespace

void CFormEventRunner::OnFormOpen(D_T1& form)
{
    ApplyOpeningLists(form);
    LogOpeningAndApplyRights(form);
    RunInitActions(form);
}

void CFormEventRunner::ApplyOpeningLists(D_T1& form)
{
    const auto apply = [&form](const QString& ids, bool hide) {
        for (const QString& piece : ids.split(u';', Qt::SkipEmptyParts)) {
            if (QWidget* control = form.GetDlgItem(piece.trimmed().toInt() + D_T1::ControlIdBase))
                hide ? control->hide() : control->setEnabled(false);
        }
    };
    apply(form.m_strDisabledIds, false);
    apply(form.m_strHiddenIds, true);
}

void CFormEventRunner::LogOpeningAndApplyRights(D_T1& form)
{
    CDbConnection& db = form.m_actions.m_db;
    if (!db.IsOpen() && !db.Connect())
        return;
    const AppState& app = theApp();
    if (form.m_strMenuName.isEmpty())
        form.m_strMenuName = form.windowTitle() + EventTexts::PopUpSuffix;
    QVariant menuUid;
    QVariant userUid;
    if (!UidValue(form.m_strMenuUid, menuUid) || !UidValue(app.m_strUserUid, userUid)) {
        db.Close();
        return;
    }
    db.ExecuteCommand(EventTexts::InsertOpenLog, {menuUid, userUid, form.m_strMenuName, app.m_strUserId});

    QStringList pairs;
    const int found = db.QueryAllToList(EventTexts::ButtonStates, pairs, {menuUid, userUid});
    db.Close();
    if (found != 1)
        return;
    form.m_strNoRightIds = QStringLiteral(";");
    for (int i = 0; i + 1 < pairs.size(); i += 2) {
        const QString& buttonId = pairs[i];
        const int state = pairs[i + 1].toInt();
        QWidget* control = form.GetDlgItem(buttonId.toInt() + D_T1::ControlIdBase);
        if (control && state == 1) {
            CFormActions::EnableControl(control, true);
        } else if (control && (state == -1 || state == -2)) {
            control->setEnabled(false);
            if (state == -2)
                control->hide();
        }
        if (state < 0)
            form.m_strNoRightIds += buttonId + u';';
    }
}

void CFormEventRunner::RunInitActions(D_T1& form)
{
    if (!form.m_pDoc)
        return;
    const CXmlNode init = form.m_pDoc->GetInitAction();
    const CXmlNodes list = init.GetChildren();
    if (init.IsNull() || list.GetCount() == 0)
        return;
    CFormActions& actions = form.m_actions;
    CDbConnection& db = actions.m_db;
    const QString connect = init.GetAttribute(QStringLiteral("connstr"));
    if (!connect.isEmpty())
        db.SetConnectString(connect);
    db.m_strError.clear();
    db.m_strErrorInfo.clear();

    bool result = true;
    bool exception = false;
    try {
        if (db.IsOpen() || db.Connect()) {
            for (int i = 0; i < list.GetCount() && result; ++i)
                result = form.RunAction(list[i], 0, FormEvent::Init);
        }
    } catch (const CDbException& e) {
        db.m_strErrorInfo += e.Message();
        exception = true;
    } catch (const std::exception&) {
        db.m_strErrorInfo += EventTexts::UnknownError;
        exception = true;
    }
    db.Close();
    if (!connect.isEmpty())
        actions.Reconnect();
    if (exception || (!result && !db.m_strError.isEmpty())) {
        WriteLog(exception ? db.m_strError + QStringLiteral("\n\n") + db.m_strErrorInfo : db.m_strError);
        ShowMessage(EventTexts::Failed, EventTexts::CaptionInit);
    }
}

void CFormEventRunner::FireEvent(D_T1& form, int windowId, const QString& event)
{
    if (!FindEventAction(form, windowId, event))
        return;
    CFormActions& actions = form.m_actions;
    CDbConnection& db = actions.m_db;
    actions.m_strResult.clear();
    db.m_strErrorInfo.clear();
    db.m_strError.clear();
    if (!db.IsOpen() && !db.Connect())
        return;

    bool result = false;
    bool exception = false;
    bool began = false;
    // Begin and commit belong to the guarded work: a commit the database
    // refuses is a failed event like any other.
    try {
        db.BeginTrans();
        began = true;
        result = RunChecked(form, windowId, event);
        if (result)
            db.CommitTrans();
    } catch (const CDbException& e) {
        db.m_strErrorInfo += e.Message();
        exception = true;
        result = false;
    } catch (const std::exception&) {
        db.m_strErrorInfo += EventTexts::UnknownError;
        exception = true;
        result = false;
    }

    if (!result && began) {
        try {
            db.RollbackTrans();
        } catch (const CDbException& e) {
            db.m_strErrorInfo += e.Message();
        }
    }
    actions.EndEvent(form, result);
    db.Close();

    if (exception) {
        WriteLog(db.m_strError + QStringLiteral("\n\n") + db.m_strErrorInfo);
        form.DropCloseRequest();
        ShowMessage(EventTexts::Failed, EventTexts::CaptionException);
    } else if (!result && !db.m_strError.isEmpty()) {
        WriteLog(db.m_strError + QStringLiteral("\n\n") + db.m_strErrorInfo);
        ShowMessage(db.m_strError, EventTexts::Caption);
    } else if (!actions.m_strResult.isEmpty()) {
        // Success, or a failure whose action gave its reason as the result
        // message only ("请选择行").
        ShowMessage(actions.m_strResult, EventTexts::Caption);
    }
}

bool CFormEventRunner::RunChecked(D_T1& form, int windowId, const QString& event)
{
    CFormActions& actions = form.m_actions;
    const bool checked = actions.m_bDefaultConnection && windowId != D_T1::ControlIdBase;
    if (checked && form.m_nLogMode < 2 && HasNoRight(form, windowId)) {
        if (actions.m_db.m_strError.isEmpty())
            actions.m_db.m_strError = EventTexts::NoRight;
        if (form.m_head.threadId > 0)
            form.StopTimer();
        return false;
    }
    if (checked && form.m_nLogMode == 1) {
        const AppState& app = theApp();
        QVariant menuUid;
        QVariant userUid;
        UidValue(form.m_strMenuUid, menuUid);
        UidValue(app.m_strUserUid, userUid);
        const QString use = form.windowTitle() + QStringLiteral(" -> ") + GetControlText(form.GetDlgItem(windowId));
        actions.m_db.ExecuteCommand(EventTexts::InsertUseLog, {menuUid, userUid, use, app.m_strUserId,
                                                               windowId - D_T1::ControlIdBase});
    }
    return RunEventActions(form, windowId, event);
}

bool CFormEventRunner::HasNoRight(D_T1& form, int windowId)
{
    // A check that cannot be made refuses: a failing query never lets the
    // control's actions run.
    CDbConnection& db = form.m_actions.m_db;
    QVariant menuUid;
    QVariant userUid;
    if (!UidValue(form.m_strMenuUid, menuUid) || !UidValue(theApp().m_strUserUid, userUid))
        return true;
    QSqlQuery query = db.OpenQuery(EventTexts::NoRightCheck, {menuUid, windowId - D_T1::ControlIdBase, userUid});
    if (!query.isActive())
        return true;
    return query.next();
}

bool CFormEventRunner::RunEventActions(D_T1& form, int windowId, const QString& event)
{
    CXmlNodes list;
    if (!GetEventActions(form, windowId, event, list))
        return false;
    const int count = list.GetCount();
    const CActionDispatcher& dispatcher = CActionDispatcher::Instance();
    bool result = true;
    int steps = 0;
    for (int i = 0; i >= 0 && i < count;) {
        if (++steps > MaxListSteps) {
            form.m_actions.m_db.m_strError = EventTexts::ListTooLong.arg(MaxListSteps);
            return false;
        }
        const CXmlNode action = list[i];
        if (action.GetName() == u"jump") {
            int step = 0;
            result = dispatcher.RunJump(form, action, step);
            i += step;
        } else {
            result = form.RunAction(action, windowId, event);
            ++i;
        }
        if (!result)
            break;
    }
    return result;
}

bool CFormEventRunner::GetEventActions(const D_T1& form, int windowId, const QString& event, CXmlNodes& actions)
{
    if (!form.GetDlgItem(windowId))
        return false;
    const CXmlNode node = FindActionNode(form, EventKind(form, windowId), windowId, event);
    actions = node.GetChildren();
    return !node.IsNull() && actions.GetCount() > 0;
}

bool CFormEventRunner::FindEventAction(D_T1& form, int windowId, const QString& event)
{
    if (!form.GetDlgItem(windowId))
        return false;
    const CXmlNode node = FindActionNode(form, EventKind(form, windowId), windowId, event);
    if (node.IsNull())
        return false;
    CFormActions& actions = form.m_actions;
    QString connect = node.GetAttribute(QStringLiteral("connstr"));
    const int connectControl = node.GetAttributeInt(QStringLiteral("id"), 0);
    form.m_nLogMode = node.GetAttributeInt(QStringLiteral("log"), 0);
    if (!connect.isEmpty()) {
        if (connectControl > 0) {
            connect.replace(QStringLiteral("{{conn}}"),
                            GetControlText(form.GetDlgItem(connectControl + D_T1::ControlIdBase)));
        }
        actions.m_db.SetConnectString(connect);
        actions.m_bDefaultConnection = false;
    } else {
        actions.Reconnect();
        actions.m_bDefaultConnection = true;
    }
    return true;
}

bool CFormEventRunner::HasEventAction(D_T1& form, int windowId, const QString& event)
{
    if (!form.GetDlgItem(windowId))
        return false;
    QString kind = form.GetControlKind(windowId);
    if (!IsEventKind(kind) && kind != u"treelist")
        kind.clear();
    return !FindActionNode(form, kind, windowId, event).IsNull();
}

int CFormEventRunner::GetChangeTriggerLength(D_T1& form, int windowId, const QString& event)
{
    if (!form.GetDlgItem(windowId))
        return -1;
    const CXmlNode node = FindActionNode(form, EventKind(form, windowId), windowId, event);
    return node.IsNull() ? -1 : node.GetAttributeInt(QStringLiteral("id"), 0);
}

bool CFormEventRunner::FireEndEdit(D_T1& form, int listWindowId, int row, int column)
{
    if (!form.m_pDoc)
        return false;
    const CXmlNode endEdit = form.m_pDoc->SelectSingleNode(
        EventTexts::EndEditPath.arg(form.m_strFormId).arg(listWindowId - D_T1::ControlIdBase).arg(column + 1));
    if (endEdit.IsNull())
        return false;
    const CXmlNodes list = endEdit.GetChildren();
    CDbConnection& db = form.m_actions.m_db;
    // Only what these queries report is shown, not an earlier event's text.
    db.m_strError.clear();
    db.m_strErrorInfo.clear();
    // An edit that an action ends runs inside that action's event: its
    // connection stays open for the rest of the event.
    const bool opened = !db.IsOpen();
    if (opened && !db.Connect())
        return false;
    auto* grid = qobject_cast<CListCtrlEx*>(form.GetDlgItem(listWindowId));
    const CActionDispatcher& dispatcher = CActionDispatcher::Instance();
    bool result = true;
    try {
        for (int i = 0; i < list.GetCount() && result; ++i)
            result = dispatcher.RunEndEdit(form, list[i], grid, row, column);
    } catch (const std::exception&) {
        result = false;
    }
    if (opened)
        db.Close();
    if (!result) {
        if (db.m_strError.isEmpty()) {
            ShowMessage(EventTexts::EndEditIncomplete);
        } else {
            WriteLog(db.m_strError + QStringLiteral("\n\n") + db.m_strErrorInfo);
            ShowMessage(EventTexts::EndEditIncomplete + u'\n' + db.m_strError);
        }
        return false;
    }
    form.SumTableCol(listWindowId);
    return true;
}

std::unique_ptr<IFormEvents> CFormEventRunner::NewForForm() const
{
    return std::make_unique<CFormEventRunner>();
}

void CFormEventRunner::WriteLog(const QString& text)
{
    // A program folder the user may not write in (an installation for all
    // users) must not end the program: the event's own result stands, and
    // the entry goes to standard error instead.
    try {
        WriteTextFileCrlf(GetModuleFolder() + LogFileName, text);
    } catch (const FileException& e) {
        std::fprintf(stderr, "%s\n%s\n", EventTexts::LogNotWritten.arg(e.Path(), e.Reason()).toLocal8Bit().constData(),
                     text.toLocal8Bit().constData());
    }
}

void D_T1::SumTableCol(int listWindowId)
{
    auto* grid = qobject_cast<CListCtrlEx*>(GetDlgItem(listWindowId));
    if (!grid || !m_pDoc)
        return;
    const CXmlNodes columns =
        CXmlNode(m_pDoc->SelectSingleNode(EventTexts::ColumnInfoPath.arg(listWindowId - ControlIdBase)))
            .GetChildren();
    for (int column = 0; column < columns.GetCount(); ++column) {
        const int target = CXmlNode(columns[column]).GetAttributeInt(QStringLiteral("sum"), 0);
        if (target <= 0)
            continue;
        double total = 0;
        bool grouped = false;
        for (int row = 0; row < grid->GetItemCount(); ++row) {
            QString cell = grid->GetItemText(row, column);
            grouped = grouped || cell.contains(u',');
            total += TextToDouble(cell.remove(u','));
        }
        const QString text = grouped ? FormatThousands(FormatFixedTwo(total))
                                     : TrimNumberZeros(QString::asprintf("%.6f", total));
        CFormActions::SetDlgItemTextAndRefresh(*this, target + ControlIdBase, text);
    }
}
