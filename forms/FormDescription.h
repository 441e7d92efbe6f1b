#pragma once

#include "xml/XmlDocument.h"

#include <QString>

#include <optional>

// A form description: an XML document with the root "html", holding "head"
// (window settings, background, HOTKEY, ACTION/INIT), "body/dialog" (the
// controls with their ACTION lists per event) and "popup/html" sub-forms.
// The lookups here are the paths the form runtime reads.
class CFormDescription : public CXmlDocument
{
public:
    // The empty form.
    static const QString EmptyForm;

    // Parses the text; false with the reason when it is not XML or its root
    // is not "html" (the document is then empty).
    bool LoadForm(const QString& text, QString& error);

    // The root's own "head" (a sub-form's head never stands in for it).
    CXmlNodePtr GetHead() const;
    // head/ACTION/INIT: the actions of the form-open step.
    CXmlNodePtr GetInitAction() const;
    // The description id of the control that function key 1..24 clicks.
    std::optional<int> FindHotKeyValue(int key) const;

    // //html[@id=form]/body/dialog/kind[@id=control]/ACTION/event
    CXmlNodePtr FindEventAction(const QString& formId, const QString& kind, int controlId,
                                const QString& event) const;
    // popup/html[@id=id] below base (the root, or a control's body).
    static CXmlNodePtr FindPopupForm(const CXmlNode& base, const QString& id);
};
