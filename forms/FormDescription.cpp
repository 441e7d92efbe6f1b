#include "FormDescription.h"

#include "FormTexts.h"

#include <QRegularExpression>

namespace {

// An id as it goes into a path. A number stays a number, as the stored
// descriptions expect ("0" matches id='0' and id='00'); any other text
// becomes a quoted literal, so that an id from an opener cannot change the
// meaning of the path.
QString XPathValue(const QString& id)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+$"));
    if (number.match(id).hasMatch())
        return id;
    if (!id.contains(u'\''))
        return u'\'' + id + u'\'';
    if (!id.contains(u'"'))
        return u'"' + id + u'"';
    // Both quotes: concat() of pieces, each quoted by the other mark.
    QStringList pieces;
    for (const QString& piece : id.split(u'\''))
        pieces << u'\'' + piece + u'\'';
    return QStringLiteral("concat(%1)").arg(pieces.join(QStringLiteral(",\"'\",")));
}

} // namespace

const QString CFormDescription::EmptyForm = QStringLiteral("<html version='1.0' id='0'></html>");

bool CFormDescription::LoadForm(const QString& text, QString& error)
{
    if (!LoadXml(text)) {
        error = FormTexts::NotXml;
        return false;
    }
    if (CXmlNode(GetRoot()).GetName() != u"html") {
        CreateDom();
        error = FormTexts::NoHtmlRoot;
        return false;
    }
    error.clear();
    return true;
}

CXmlNodePtr CFormDescription::GetHead() const
{
    return CXmlNode(GetRoot()).GetChild(QStringLiteral("head"));
}

CXmlNodePtr CFormDescription::GetInitAction() const
{
    const CXmlNode action = CXmlNode(GetHead()).GetChild(QStringLiteral("ACTION"));
    return action.GetChild(QStringLiteral("INIT"));
}

std::optional<int> CFormDescription::FindHotKeyValue(int key) const
{
    const CXmlNode hotKeys = CXmlNode(GetHead()).GetChild(QStringLiteral("HOTKEY"));
    const CXmlNodes entries = CXmlNode(hotKeys.GetChild(QStringLiteral("para_info"))).GetChildren();
    for (int i = 0; i < entries.GetCount(); ++i) {
        const CXmlNode entry = entries[i];
        if (entry.GetAttributeInt(QStringLiteral("id"), 0) == key)
            return entry.GetAttributeInt(QStringLiteral("value"), 0);
    }
    return std::nullopt;
}

CXmlNodePtr CFormDescription::FindEventAction(const QString& formId, const QString& kind,
                                              int controlId, const QString& event) const
{
    if (kind.isEmpty() || event.isEmpty())
        return std::make_shared<CXmlNode>();
    return SelectSingleNode(QStringLiteral("//html[@id=%1]/body/dialog/%2[@id=%3]/ACTION/%4")
                                .arg(XPathValue(formId), kind)
                                .arg(controlId)
                                .arg(event));
}

CXmlNodePtr CFormDescription::FindPopupForm(const CXmlNode& base, const QString& id)
{
    // Walked, with the id compared as the text it is: no value of an opener
    // ever becomes part of a path.
    const CXmlNodes children = base.GetChildren();
    for (int i = 0; i < children.GetCount(); ++i) {
        const CXmlNodePtr popup = children[i];
        if (popup->GetName() != u"popup")
            continue;
        const CXmlNodes forms = popup->GetChildren();
        for (int j = 0; j < forms.GetCount(); ++j) {
            const CXmlNodePtr form = forms[j];
            QString formId;
            if (form->GetName() == u"html" && form->ReadAttribute(QStringLiteral("id"), formId) && formId == id)
                return form;
        }
    }
    return std::make_shared<CXmlNode>();
}
