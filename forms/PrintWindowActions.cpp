// Popup forms and printing: the keywords the form window carries out itself
// because they open other windows (popups, print jobs, the preview and the
// printer set-up) or keep per-button print settings in cfg.ini.
#include "PrintWindowActions.h"

#include "ActionDispatcher.h"
#include "D_T1.h"
#include "FormEvents.h"
#include "FormTexts.h"
#include "PrintActions.h"
#include "PrintTexts.h"
#include "StoredFormOpener.h"
#include "grid/ListCtrlEx.h"
#include "text/SqlText.h"
#include "xml/XmlNode.h"

#include <QPointer>

namespace {

// A plain id: description id number (missing or not a number reads 0).
int PlainId(const CXmlNode& node, const QString& attribute)
{
    return node.GetAttribute(attribute).trimmed().toInt();
}

// An action's form lies five levels up (body/dialog/control/ACTION/event);
// popups are looked for there and, for actions elsewhere (the head's INIT
// list), below the description's root and its body.
CXmlNode FindPopupDescription(const CXmlNode& action, const CFormDescription& doc, const QString& popupId)
{
    CXmlNode base = action;
    for (int level = 0; level < 5 && !base.IsNull(); ++level)
        base = base.GetParent();
    const CXmlNode root = doc.GetRoot();
    const CXmlNode bases[] = {base, root, root.IsNull() ? CXmlNode() : CXmlNode(root.GetChild(QStringLiteral("body")))};
    for (const CXmlNode& candidate : bases) {
        if (candidate.IsNull())
            continue;
        const CXmlNode found = CFormDescription::FindPopupForm(candidate, popupId);
        if (!found.IsNull())
            return found;
    }
    return CXmlNode();
}

template <typename Member>
CActionDispatcher::Work Of(Member member)
{
    return [member](D_T1& form, const CXmlNode& action, int, const QString&) { return (form.*member)(action); };
}

template <typename Member>
CActionDispatcher::Work OfWithId(Member member)
{
    return [member](D_T1& form, const CXmlNode& action, int windowId, const QString&) {
        return (form.*member)(action, windowId);
    };
}

} // namespace

void RegisterPrintWindowActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("print_pos_get"), Of(&D_T1::PrintPosGet));
    dispatcher.Register(QStringLiteral("print_pos_setup"), Of(&D_T1::PrintPosSetup));
    dispatcher.Register(QStringLiteral("print_setup"), OfWithId(&D_T1::PrintSetup));
    dispatcher.Register(QStringLiteral("print"), OfWithId(&D_T1::Print));
    dispatcher.Register(QStringLiteral("print_pre"), Of(&D_T1::PrintPreview));
    dispatcher.Register(QStringLiteral("show_dialog"), Of(&D_T1::ShowDialog));
}

bool D_T1::PrintPosGet(const CXmlNode& action)
{
    const CXmlNode para(action.GetChild(QStringLiteral("para_info")));
    if (para.IsNull())
        return true;
    const QString section = PrintTexts::PrintSection(ControlText(PlainId(para, QStringLiteral("d_uid_id"))),
                                                     ControlText(PlainId(para, QStringLiteral("button_id"))));
    QString left;
    QString top;
    PrintActions::PrintPosGet(section, left, top);
    SetControlTextById(PlainId(para, QStringLiteral("left_id")), left);
    SetControlTextById(PlainId(para, QStringLiteral("top_id")), top);
    return true;
}

bool D_T1::PrintPosSetup(const CXmlNode& action)
{
    const CXmlNode para(action.GetChild(QStringLiteral("para_info")));
    if (para.IsNull())
        return true;
    const QString section = PrintTexts::PrintSection(ControlText(PlainId(para, QStringLiteral("d_uid_id"))),
                                                     ControlText(PlainId(para, QStringLiteral("button_id"))));
    PrintActions::PrintPosSetup(section, ControlText(PlainId(para, QStringLiteral("left_id"))),
                                ControlText(PlainId(para, QStringLiteral("top_id"))));
    return true;
}

bool D_T1::PrintSetup(const CXmlNode& action, int windowId)
{
    m_printer.m_strPrintSection = PrintActions::PrintSetup(
        m_strMenuUid, windowId - ControlIdBase, action.GetAttribute(QStringLiteral("target_ids")), this);
    return true;
}

bool D_T1::Print(const CXmlNode& action, int windowId)
{
    PrintActions::Print(m_printer, *this, action, m_strMenuUid, windowId - ControlIdBase,
                        m_actions.m_bPreviewPrint);
    return true;
}

bool D_T1::PrintPreview(const CXmlNode& action)
{
    // A "print" in the button's list previews instead of printing; a list
    // that fails half-way leaves no preview mode behind.
    m_actions.m_bPreviewPrint = true;
    RunEventActions(PlainId(action, QStringLiteral("target_ids")) + ControlIdBase, FormEvent::Click);
    m_actions.m_bPreviewPrint = false;
    return true;
}

bool D_T1::ShowDialog(const CXmlNode& action)
{
    const CXmlNode para(action.GetChild(QStringLiteral("para_info")));
    QString htmlId = para.GetAttribute(QStringLiteral("html_id"));
    const int toWindow = PlainId(para, QStringLiteral("to_wnd_id"));
    const int tableId = PlainId(para, QStringLiteral("table_id"));
    const int columnId = PlainId(para, QStringLiteral("col_id"));
    const int popupColumn = PlainId(para, QStringLiteral("popup_col_id"));

    QString key;
    QString columnText;
    if (tableId != 0) {
        const auto* grid = qobject_cast<const CListCtrlEx*>(GetDlgItem(tableId + ControlIdBase));
        const QList<int> selected = grid ? grid->GetSelectedRows() : QList<int>();
        if (selected.isEmpty())
            return false;
        const int row = selected.first();
        if (const ItemData* record = grid->GetRowKey(row))
            key = record->strKey;
        if (columnId != 0)
            columnText = grid->GetItemText(row, columnId > 0 ? columnId - 1 : grid->GetColumnCount() + columnId);
        if (popupColumn != 0 && htmlId.contains(QStringLiteral("SELECT"))) {
            // The form to open is named by a query over the row's value.
            const QString token = QStringLiteral("{{popup?id}}");
            const QString popupText = grid->GetItemText(row, popupColumn - 1);
            if (!PutSqlValue(htmlId, token, popupText)) {
                m_actions.m_db.m_strError = FormTexts::PlaceholderNotInteger.arg(token, popupText);
                return false;
            }
            QString value;
            if (!m_actions.m_db.QueryValue(htmlId, value))
                return false;
            htmlId = value;
        }
    }

    const QStringList parts = htmlId.split(u':');
    const bool stored = parts.value(0) == u"0";
    const QString menuUid = stored ? parts.value(1) : QString();
    const QString popupId = stored ? QStringLiteral("0") : parts.value(0);
    QString text;
    if (stored) {
        bool isNumber = false;
        const int uid = menuUid.trimmed().toInt(&isNumber);
        StoredFormRead how = StoredFormRead::NoRow;
        // The uid stands unquoted in the query: only a number is looked up.
        if (isNumber)
            text = ReadStoredForm(m_actions.m_db, FormTexts::SelectForm.arg(uid), &how);
        switch (how) {
        case StoredFormRead::Decoded:
            break;
        case StoredFormRead::NoRow:
            text = CFormDescription::EmptyForm;
            break;
        case StoredFormRead::Empty:
            m_actions.m_db.m_strError = FormTexts::PopupStoredEmpty.arg(menuUid);
            return false;
        case StoredFormRead::Undecodable:
            m_actions.m_db.m_strError = FormTexts::PopupStoredBroken.arg(menuUid);
            return false;
        case StoredFormRead::Failed:
            return false;
        }
    } else {
        const CXmlNode found = FindPopupDescription(action, m_doc, popupId);
        if (found.IsNull()) {
            m_actions.m_db.m_strError = FormTexts::PopupNotFound.arg(popupId);
            return false;
        }
        text = found.GetXml();
    }

    QPointer<D_T1> popup = NewSubForm(this, false);
    QString error;
    if (!popup->m_doc.LoadForm(text, error)) {
        delete popup.data();
        m_actions.m_db.m_strError = error;
        return false;
    }
    popup->m_pDoc = &popup->m_doc;
    popup->m_strMenuUid = menuUid;
    popup->m_strDisabledIds = parts.value(stored ? 2 : 1);
    popup->m_strHiddenIds = parts.value(stored ? 3 : 2);
    popup->m_strType = para.GetAttribute(QStringLiteral("type"));
    popup->m_strFormId = popupId;
    if (!key.isEmpty())
        popup->m_strInput = key;
    if (columnId != 0 && toWindow == 0)
        popup->m_strInput = columnText;
    if (const int fromWindow = PlainId(para, QStringLiteral("from_wnd_id")); fromWindow != 0)
        popup->m_strInput = ControlText(fromWindow);

    // The popup is a form of its own, modal for this form (which cannot be
    // used or closed under it): it opens (and runs its opening actions)
    // once the event that asked for it is over.
    popup->setWindowModality(Qt::WindowModal);
    RunWhenEventIsOver([popup, toWindow, columnText] {
        if (!popup || !popup->Create())
            return;
        if (!columnText.isEmpty())
            popup->SetControlTextById(toWindow, columnText);
    });
    return true;
}
