#pragma once

#include "FormBuilder.h"

class CXmlNode;
class QWidget;

// The controls a form can have before the full builder is in place: push
// buttons ("button"), one-line edits ("textbox"), editable combo boxes
// ("droplist", items from "value" split at ";") and grids ("table"), each
// with "id", "pos", "value", "disabled" and "hidden". Other elements are
// skipped; a root id of "-1" builds nothing.
class CPlainControlBuilder : public IFormBuilder
{
public:
    void Build(D_T1& form) override;
    std::unique_ptr<IFormBuilder> NewForForm() const override;

private:
    static QWidget* Create(D_T1& form, const CXmlNode& element, int windowId);
};
