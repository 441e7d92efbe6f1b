#include "FormWindowActions.h"

#include "ActionDispatcher.h"
#include "ControlText.h"
#include "D_T1.h"
#include "EventTexts.h"
#include "FileChooser.h"
#include "FormEvents.h"
#include "PrintWindowActions.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "text/TreeItems.h"
#include "web/HtmlElementCollection.h"
#include "widgets/WidgetImages.h"
#include "xml/XmlNode.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

// A plain id: the control of window id number + 1024 (missing or not a
// number reads 0).
QWidget* PlainIdControl(const D_T1& form, const CXmlNode& node, const QString& attribute)
{
    return form.GetDlgItem(node.GetAttribute(attribute).trimmed().toInt() + D_T1::ControlIdBase);
}

CListCtrlEx* PlainIdGrid(const D_T1& form, const CXmlNode& node, const QString& attribute)
{
    return qobject_cast<CListCtrlEx*>(PlainIdControl(form, node, attribute));
}

// A control reference whose failure does nothing: the action goes on, so
// the failed reference must not show up in a later action's failure.
QWidget* OptionalRefControl(D_T1& form, const CXmlNode& node, const QString& attribute)
{
    const QString keptError = form.m_actions.m_db.m_strError;
    QWidget* control = nullptr;
    if (!form.m_actions.GetControlByRef(form, node.GetAttribute(attribute, QStringLiteral("0")), control))
        form.m_actions.m_db.m_strError = keptError;
    return control;
}

// "Name(*.a)|*.a|Pics|*.b;*.c||" as a file dialog's "Name(*.a) (*.a);;Pics (*.b *.c)".
QString DialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        filters.append(parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(u';', u' ') + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

// One search line "tag,attribute,value" (missing parts empty) applied to a
// page; false when the page cannot be read.
bool ReadHtmlElements(const QString& html, const QString& line, CHtmlElementCollection& elements)
{
    const QStringList parts = line.split(u',');
    elements.SetFilter(parts.value(0), parts.value(1), parts.mid(2).join(u','));
    elements.SetPageText(html);
    CLiteHTMLReader reader;
    reader.SetEventHandler(&elements);
    return reader.Read(html) > 0;
}

// The "para_info_where" references of the HTML keywords: the page's control
// and text, the search lines. False when the page names no control.
bool ReadHtmlSource(D_T1& form, const CXmlNode& where, QString& html, QStringList& lines)
{
    const QString keptError = form.m_actions.m_db.m_strError;
    QWidget* htmlControl = nullptr;
    if (!form.m_actions.GetControlValue(form, where.GetAttribute(QStringLiteral("html_id")), htmlControl, html)) {
        form.m_actions.m_db.m_strError = keptError;
        return false;
    }
    html = GetControlText(htmlControl);
    QWidget* pathControl = nullptr;
    QString path;
    form.m_actions.GetControlValue(form, where.GetAttribute(QStringLiteral("path_id")), pathControl, path);
    form.m_actions.m_db.m_strError = keptError;
    lines = path.remove(u'\r').split(u'\n');
    return true;
}

using Member = bool (D_T1::*)(const CXmlNode&);
using MemberWithId = bool (D_T1::*)(const CXmlNode&, int);

CActionDispatcher::Work Of(Member member)
{
    return [member](D_T1& form, const CXmlNode& action, int, const QString&) { return (form.*member)(action); };
}

CActionDispatcher::Work OfWithId(MemberWithId member)
{
    return [member](D_T1& form, const CXmlNode& action, int windowId, const QString&) {
        return (form.*member)(action, windowId);
    };
}

bool SendMessage(D_T1& form, const CXmlNode& action, int, const QString&)
{
    const QWidget* target = PlainIdControl(form, action, QStringLiteral("target_ids"));
    if (target && target->isEnabled())
        form.RunEventActions(form.GetDlgCtrlID(target), action.GetAttribute(QStringLiteral("values")));
    return true;
}

bool SendClick(D_T1& form, const CXmlNode& action, int, const QString&)
{
    // One click, once the running event (and its transaction) is over.
    QPointer<QAbstractButton> button = qobject_cast<QAbstractButton*>(
        OptionalRefControl(form, action, QStringLiteral("target_ids")));
    if (!button)
        return true;
    QPointer<D_T1> owner = &form;
    form.RunAfterEvent([button, owner] {
        if (button)
            button->click();
        if (owner)
            owner->activateWindow();
    });
    return true;
}

bool SetFocus(D_T1& form, const CXmlNode& action, int, const QString&)
{
    QWidget* target = OptionalRefControl(form, action, QStringLiteral("target_ids"));
    if (!target)
        return true;
    target->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(target)) {
        edit->selectAll();
    } else if (auto* text = qobject_cast<QTextEdit*>(target)) {
        text->selectAll();
        text->ensureCursorVisible();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(target)) {
        plain->selectAll();
        plain->ensureCursorVisible();
    }
    return true;
}

bool CopyTable(D_T1& form, const CXmlNode& action, int, const QString&)
{
    if (const CListCtrlEx* grid = PlainIdGrid(form, action, QStringLiteral("target_ids")))
        CopyListToClipboard(grid, action.GetAttribute(QStringLiteral("values")));
    return true;
}

bool SumTableCol(D_T1& form, const CXmlNode& action, int, const QString&)
{
    if (const QWidget* grid = PlainIdGrid(form, action, QStringLiteral("target_ids")))
        form.SumTableCol(form.GetDlgCtrlID(grid));
    return true;
}

bool ClickPage(D_T1& form, const CXmlNode& action, int, const QString&)
{
    const CXmlNode para(action.GetChild(QStringLiteral("para_info")));
    CFormActions& actions = form.m_actions;
    switch (para.GetAttributeInt(QStringLiteral("page"), 0)) {
    case 1:
        actions.m_nPage = 1;
        break;
    case 2:
        --actions.m_nPage;
        break;
    case 3:
        ++actions.m_nPage;
        break;
    case 4:
        actions.m_nPage = actions.m_nPageCount;
        break;
    default:
        break;
    }
    actions.m_bResetPaging = false;
    form.RunEventActions(para.GetAttribute(QStringLiteral("button_id")).trimmed().toInt() + D_T1::ControlIdBase,
                         FormEvent::Click);
    actions.m_bResetPaging = true;
    return true;
}

bool Close(D_T1& form, const CXmlNode&, int, const QString&)
{
    form.RequestClose();
    form.m_actions.m_strResult.clear();
    return true;
}

} // namespace

void RegisterFormWindowActions()
{
    CActionDispatcher& dispatcher = CActionDispatcher::Instance();
    dispatcher.Register(QStringLiteral("sendmessage"), SendMessage);
    dispatcher.Register(QStringLiteral("send_click"), SendClick);
    dispatcher.Register(QStringLiteral("set_focus"), SetFocus);
    dispatcher.Register(QStringLiteral("copytable"), CopyTable);
    dispatcher.Register(QStringLiteral("copycontent"), Of(&D_T1::CopyContent));
    dispatcher.Register(QStringLiteral("run_dll_method"), Of(&D_T1::RunDllMethod));
    dispatcher.Register(QStringLiteral("set_draw_method"), Of(&D_T1::SetDrawMethod));
    dispatcher.Register(QStringLiteral("menu"), Of(&D_T1::ShowActionMenu));
    dispatcher.Register(QStringLiteral("sum_table_col"), SumTableCol);
    dispatcher.Register(QStringLiteral("click_page"), ClickPage);
    dispatcher.Register(QStringLiteral("return_selected"), OfWithId(&D_T1::ReturnSelected));
    dispatcher.Register(QStringLiteral("return_selected_node"), OfWithId(&D_T1::ReturnSelectedNode));
    dispatcher.Register(QStringLiteral("close"), Close);
    dispatcher.Register(QStringLiteral("reset_detail"), Of(&D_T1::ResetDetail));
    dispatcher.Register(QStringLiteral("select_file"), Of(&D_T1::SelectFile));
    dispatcher.Register(QStringLiteral("get_html_node_text"), Of(&D_T1::GetHtmlNodeText));
    dispatcher.Register(QStringLiteral("get_html_list"), Of(&D_T1::GetHtmlList));
    RegisterPrintWindowActions(dispatcher);
}

bool D_T1::CopyContent(const CXmlNode& action)
{
    QString text = action.GetAttribute(QStringLiteral("values"));
    text.replace(QStringLiteral("{{\\n}}"), QStringLiteral("\r\n")).replace(QStringLiteral("{{\\t}}"), QStringLiteral("\t"));
    const CXmlNode para(action.GetChild(QStringLiteral("para_info")));
    const CXmlNodes children = para.IsNull() ? CXmlNodes() : CXmlNodes(para.GetChildren());
    int filled = 0;
    for (int i = 0; i < children.GetCount(); ++i) {
        const CXmlNode child = children[i];
        if (child.GetName().isEmpty())
            continue;
        QWidget* control = nullptr;
        if (!m_actions.GetControlByRef(*this, child.GetAttribute(QStringLiteral("value")), control))
            return false;
        ++filled;
        text.replace(QStringLiteral("{{p%1}}").arg(filled), GetControlText(control));
    }
    if (filled > 0)
        QGuiApplication::clipboard()->setText(text);
    return true;
}

bool D_T1::RunDllMethod(const CXmlNode&)
{
    return true;
}

bool D_T1::SetDrawMethod(const CXmlNode& action)
{
    m_head.drawMethod = action.GetAttribute(QStringLiteral("values"));
    update();
    return true;
}

bool D_T1::ShowActionMenu(const CXmlNode& action)
{
    // Colours 1 to 30 are the dots 537 to 566, on at most 100 items.
    constexpr int ColourImageBase = IDB_MENU_COLOUR_FIRST - 1;
    constexpr int ColourCount = IDB_MENU_COLOUR_LAST - ColourImageBase;
    constexpr int MaxColouredItems = 100;
    int coloured = 0;
    QMenu menu(this);
    const CXmlNodes items = action.GetChildren();
    for (int i = 0; i < items.GetCount(); ++i) {
        const CXmlNode item = items[i];
        if (item.GetName().isEmpty())
            continue;
        const int id = item.GetAttribute(QStringLiteral("id")).trimmed().toInt();
        if (id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* entry = menu.addAction(item.GetAttribute(QStringLiteral("name")));
        entry->setData(id + ControlIdBase);
        const QWidget* control = GetDlgItem(id + ControlIdBase);
        entry->setEnabled(!control || control->isEnabled());
        const int colour = item.GetAttribute(QStringLiteral("color")).trimmed().toInt();
        if (colour >= 1 && colour <= ColourCount && coloured < MaxColouredItems) {
            entry->setIcon(QIcon(QPixmap::fromImage(LoadWidgetImage(ColourImageBase + colour))));
            ++coloured;
        }
    }
    // The chosen entry clicks its control once the running event is over.
    if (const QAction* chosen = menu.exec(QCursor::pos())) {
        const int windowId = chosen->data().toInt();
        RunAfterEvent([this, windowId] { FireEvent(windowId, FormEvent::Click); });
    }
    return true;
}

bool D_T1::ReturnSelected(const CXmlNode& action, int windowId)
{
    if (!m_pReturnSlot)
        return true;
    const int tableId = action.GetAttribute(QStringLiteral("table_id")).trimmed().toInt();
    auto* grid = qobject_cast<CListCtrlEx*>(GetDlgItem(tableId ? tableId + ControlIdBase : windowId));
    const QList<int> selected = grid ? grid->GetSelectedRows() : QList<int>();
    if (selected.isEmpty())
        return false;
    const int row = selected.first();
    const int column = action.GetAttribute(QStringLiteral("values")).trimmed().toInt();
    const ItemData* record = grid->GetRowKey(row);
    *m_pReturnSlot = column != 0 ? grid->GetItemText(row, column - 1) : (record ? record->strKey : QString());
    RequestClose();
    return true;
}

bool D_T1::ReturnSelectedNode(const CXmlNode& action, int windowId)
{
    if (!m_pReturnSlot)
        return true;
    auto* tree = qobject_cast<QTreeWidget*>(GetDlgItem(windowId));
    const QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
    if (!item)
        return false;
    *m_pReturnSlot = action.GetAttribute(QStringLiteral("values")).trimmed().toInt() != 0
        ? item->text(0)
        : QString::number(item->data(0, kTreeItemDataRole).toInt());
    accept();
    return true;
}

bool D_T1::ResetDetail(const CXmlNode& action)
{
    CListCtrlEx* grid = PlainIdGrid(*this, action, QStringLiteral("target_ids"));
    const int mode = action.GetAttribute(QStringLiteral("values")).trimmed().toInt();
    if (!grid || (mode != 1 && mode != 2))
        return true;
    // A rolled-back event gives the rows their keys and states back.
    m_actions.SaveRowStates(grid);
    if (mode == 1)
        m_actions.m_deletedUids.Forget(grid);
    for (int row = 0; row < grid->GetItemCount(); ++row) {
        if (ItemData* record = grid->GetRowKey(row)) {
            if (mode == 1)
                m_actions.ChangeRowKey(grid, row, QStringLiteral("0"));
            record->nState = mode == 1 ? kRowNew : kRowMarked;
        }
    }
    return true;
}

bool D_T1::SelectFile(const CXmlNode& action)
{
    const QString choice = action.GetAttribute(QStringLiteral("values"));
    const QString filter = choice.isEmpty() ? EventTexts::SelectFileFilter
        : choice == u"pic"                  ? EventTexts::SelectPicFilter
                                            : EventTexts::SelectAnyFilter;
    const QString path = ChooseFileToOpen(this, EventTexts::SelectFileTitle, DialogFilter(filter));
    if (path.isEmpty())
        return false;
    CFormActions::SetTextAndRefresh(PlainIdControl(*this, action, QStringLiteral("target_ids")), path);
    return true;
}

bool D_T1::FindHtmlNodeText(const QString& html, const QString& line, QWidget* target, QWidget* result)
{
    CHtmlElementCollection elements;
    if (!ReadHtmlElements(html, line, elements))
        return false;
    QString text;
    if (!elements.GetElementInner(0, text))
        text = QString::asprintf(EventTexts::HtmlElementsFound, elements.GetElementCount());
    CFormActions::SetControlValue(target, text);
    CFormActions::SetControlValue(result, QString::asprintf(EventTexts::HtmlElementsPassing,
                                                            elements.GetElementCount(),
                                                            elements.GetPassingCount()));
    return true;
}

bool D_T1::GetHtmlNodeText(const CXmlNode& action)
{
    const CXmlNode where(action.GetChild(QStringLiteral("para_info_where")));
    QString html;
    QStringList lines;
    if (where.IsNull() || !ReadHtmlSource(*this, where, html, lines))
        return true;
    QWidget* target = OptionalRefControl(*this, where, QStringLiteral("target_id"));
    QWidget* result = OptionalRefControl(*this, where, QStringLiteral("result_id"));
    for (const QString& line : lines)
        FindHtmlNodeText(html, line, target, result);
    return true;
}

bool D_T1::GetHtmlList(const CXmlNode& action)
{
    const CXmlNode where(action.GetChild(QStringLiteral("para_info_where")));
    QString html;
    QStringList lines;
    if (where.IsNull() || !ReadHtmlSource(*this, where, html, lines))
        return true;
    auto* grid = qobject_cast<CListCtrlEx*>(OptionalRefControl(*this, where, QStringLiteral("table_id")));
    if (!grid)
        return true;
    grid->DeleteAllRows();
    for (const QString& line : lines) {
        CHtmlElementCollection elements;
        if (!ReadHtmlElements(html, line, elements))
            continue;
        // Cells before the line's first row have no row to go into.
        int row = -1;
        int column = 0;
        QString outer;
        QString inner;
        for (int i = 0; elements.GetElementOuter(i, outer) && elements.GetElementInner(i, inner); ++i) {
            if (outer.startsWith(QStringLiteral("<tr")) && outer.endsWith(u'>')) {
                row = grid->InsertRow(grid->GetItemCount(), QString());
                column = 0;
            } else if (row >= 0 && !(inner.startsWith(u'<') && inner.endsWith(u'>'))) {
                grid->SetItemText(row, column++, inner);
            }
        }
    }
    return true;
}
