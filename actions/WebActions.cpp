// Web, text conversion and command actions: a value of the form opened as a
// link, turned into money words or URL coding, sent to a web server, or put
// into a command line; the result goes into a control.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "Dialog_CommandBusy.h"
#include "WebTexts.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "text/MoneyWords.h"
#include "text/NumberText.h"
#include "web/CommandProcess.h"
#include "web/CommandRunner.h"
#include "web/HttpClient.h"
#include "web/ShellOpen.h"
#include "web/UrlCoding.h"
#include "xml/XmlNode.h"

#include <QUrl>

namespace {

// An amount as people write it: "1,234.50" is 1234.5.
double AmountValue(const QString& text)
{
    return TextToDouble(QString(text).remove(u','));
}

} // namespace

bool CFormActions::OpenUrl(const CXmlNode& action, D_T1& form)
{
    QString value;
    if (!GetActionValue(action.GetChild(QStringLiteral("para_info")), form, QStringLiteral("url_id"), value))
        return false;
    if (!OpenWithShell(value)) {
        m_db.m_strError = WebTexts::OpenUrlFailed.arg(value);
        return false;
    }
    return true;
}

namespace {

// The common steps of the three conversions: the value, the result control,
// the converted text into it.
template <typename Convert>
bool ConvertInto(CFormActions& actions, const CXmlNode& action, D_T1& form, Convert convert)
{
    const CXmlNode para = action.GetChild(QStringLiteral("para_info"));
    QString value;
    if (!actions.GetActionValue(para, form, QStringLiteral("num_id"), value) || value.isEmpty())
        return false;
    const QString resultRef = para.GetAttribute(QStringLiteral("result_id"));
    if (resultRef.isEmpty()) {
        actions.m_db.m_strError += WebTexts::NoResultControl;
        return false;
    }
    QWidget* result = nullptr;
    if (!actions.GetControlByRef(form, resultRef, result))
        return false;
    SetControlText(result, convert(value));
    return true;
}

} // namespace

bool CFormActions::GetDaxie(const CXmlNode& action, D_T1& form)
{
    return ConvertInto(*this, action, form, [](const QString& value) { return FormatMoneyChinese(AmountValue(value)); });
}

bool CFormActions::UrlEncode(const CXmlNode& action, D_T1& form)
{
    return ConvertInto(*this, action, form, [](const QString& value) { return ::UrlEncode(value); });
}

bool CFormActions::UrlDecode(const CXmlNode& action, D_T1& form)
{
    return ConvertInto(*this, action, form, [](const QString& value) { return HexDecodeUtf8(value); });
}

namespace {

// The URL, the request data and the result control of the web actions.
struct WebRequest
{
    QString url;
    QString data;
    QWidget* result = nullptr;
};

bool PrepareRequest(CFormActions& actions, const CXmlNode& para, D_T1& form, WebRequest& request)
{
    if (!actions.GetActionValue(para, form, QStringLiteral("url_id"), request.url) || request.url.isEmpty())
        return false;
    const QString resultRef = para.GetAttribute(QStringLiteral("result_id"));
    if (resultRef.isEmpty()) {
        actions.m_db.m_strError += WebTexts::NoResultControl;
        return false;
    }
    // Data from a control that is not there is sent as no data.
    QWidget* dataControl = nullptr;
    const QString savedError = actions.m_db.m_strError;
    if (actions.GetControlByRef(form, para.GetAttribute(QStringLiteral("value_id")), dataControl))
        request.data = GetControlText(dataControl);
    actions.m_db.m_strError = savedError;
    return actions.GetControlByRef(form, resultRef, request.result);
}

} // namespace

bool CFormActions::GetHtml(const CXmlNode& action, D_T1& form, bool post)
{
    WebRequest request;
    if (!PrepareRequest(*this, action.GetChild(QStringLiteral("para_info")), form, request))
        return false;
    QString reply;
    QString message;
    SetControlText(request.result, HttpRequest(request.url, request.data, reply, message, post) ? reply : message);
    return true;
}

bool CFormActions::Post2Html(const CXmlNode& action, D_T1& form)
{
    const CXmlNode para = action.GetChild(QStringLiteral("para_info"));
    WebRequest request;
    if (!PrepareRequest(*this, para, form, request))
        return false;
    const bool keepOpen = para.GetAttributeInt(QStringLiteral("login"), 0) != 0;
    // A page that keeps its login goes on talking to the server it logged in to.
    if (keepOpen && !form.m_httpConnection) {
        const QUrl url(request.url);
        form.m_httpConnection = std::make_unique<HttpConnection>();
        form.m_httpConnection->m_strServer = url.host();
        form.m_httpConnection->m_nPort = url.port(url.scheme() == u"https" ? 443 : 80);
    }
    QString reply;
    QString message;
    const bool ok = HttpRequestEx(form.m_httpSession, form.m_httpConnection.get(), request.url, request.data,
                                  reply, message, para.GetAttribute(QStringLiteral("code")),
                                  para.GetAttributeBool(QStringLiteral("is_post"), false), keepOpen);
    if (!keepOpen)
        form.m_httpConnection.reset();
    SetControlText(request.result, ok ? reply : message);
    return ok;
}

bool CFormActions::Cmd(const CXmlNode& action, D_T1& form)
{
    QString command = action.GetAttribute(QStringLiteral("values"));
    // Values go in only at the end, each quoted for the shell where it
    // stands, so that no form value can become a command of its own.
    QList<QPair<QString, QString>> values;
    const QString tableId = action.GetAttribute(QStringLiteral("table_id"));
    if (!tableId.isEmpty()) {
        QWidget* control = nullptr;
        if (!GetControlByRef(form, tableId, control))
            return false;
        auto* grid = qobject_cast<CListCtrlEx*>(control);
        int row = -1;
        if (!grid || !GetSelectedListItem(grid, row))
            return false;
        const ItemData* record = grid->GetRowKey(row);
        const QString marker = QStringLiteral("{{\x01uid}}");
        command.replace(QStringLiteral("{{id?uid}}"), marker);
        values.append({marker, record ? record->strKey : QString()});
    }
    const CXmlNodes children = CXmlNode(action.GetChild(QStringLiteral("para_info_where"))).GetChildren();
    for (int i = 0; i < children.GetCount(); ++i) {
        const CXmlNode child = children[i];
        QWidget* control = nullptr;
        if (!GetControlByRef(form, child.GetAttribute(QStringLiteral("value")), control))
            return false;
        const QString value = GetWindowValue(control);
        QString fragment;
        if (!value.isEmpty()) {
            const QString marker = QStringLiteral("{{\x01self%1}}").arg(i + 1);
            fragment = child.GetAttribute(QStringLiteral("where"));
            fragment.replace(QStringLiteral("{{self}}"), marker);
            values.append({marker, value});
        }
        command.replace(QStringLiteral("{{p%1}}").arg(i + 1), fragment);
    }
    // The form-wide values are quoted like the controls' values.
    values.append(form.FormTokenValues(command));
    // The user sees the command with the values as typed; the shell gets
    // them through variables, where it reads nothing of them.
    const QString shown = ShowShellValues(command, values);
    command = FillShellValues(command, values);

    // However long the command runs, the form waits for it; the user can
    // end it from the busy window, which fails the event. Any exit status is
    // the command's answer (a grep without a match ends with 1), and one that
    // cannot be started answers nothing.
    CCommandProcess process;
    QString output;
    if (process.Start(command)) {
        if (!Dialog_CommandBusy::WaitFor(process, shown, &form)) {
            m_db.m_strError = WebTexts::CommandCancelled.arg(shown);
            m_db.m_strErrorInfo = process.Output();
            return false;
        }
        output = process.Output();
    }
    const QString targetRef = action.GetAttribute(QStringLiteral("target_ids"));
    QWidget* target = nullptr;
    const QString savedError = m_db.m_strError;
    if (!targetRef.isEmpty() && GetControlByRef(form, targetRef, target))
        SetControlValue(target, output);
    m_db.m_strError = savedError;
    return true;
}

void RegisterWebActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("open_url"), Handler(&CFormActions::OpenUrl));
    dispatcher.Register(QStringLiteral("get_daxie"), Handler(&CFormActions::GetDaxie));
    dispatcher.Register(QStringLiteral("UrlEncode"), Handler(&CFormActions::UrlEncode));
    dispatcher.Register(QStringLiteral("UrlDecode"), Handler(&CFormActions::UrlDecode));
    dispatcher.Register(QStringLiteral("get_html"), [](D_T1& form, const CXmlNode& action, int, const QString&) {
        return form.m_actions.GetHtml(action, form, false);
    });
    dispatcher.Register(QStringLiteral("post_html"), [](D_T1& form, const CXmlNode& action, int, const QString&) {
        return form.m_actions.GetHtml(action, form, true);
    });
    dispatcher.Register(QStringLiteral("post2_html"), Handler(&CFormActions::Post2Html));
    dispatcher.Register(QStringLiteral("cmd"), Handler(&CFormActions::Cmd));
}
