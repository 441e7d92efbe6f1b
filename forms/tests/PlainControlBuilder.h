#pragma once

#include "FormBuilder.h"
#include "db/DbConnection.h"

#include <QFont>

class CXmlNode;
class QWidget;

// A small builder for tests of the form window: push
// buttons ("button"), one-line edits ("textbox"), editable combo boxes
// ("droplist", items from "value" split at ";") and grids ("table"), each
// with "id", "pos", "value", "disabled" and "hidden". Other elements are
// skipped; a root id of "-1" builds nothing.
class CPlainControlBuilder : public IFormBuilder
{
public:
    void Build(D_T1& form) override;
    std::unique_ptr<IFormBuilder> NewForForm() const override;
    const QFont& DefaultFont() const override { return m_font; }
    CDbConnection& Database() override { return m_db; }

private:
    static QWidget* Create(D_T1& form, const CXmlNode& element, int windowId);

    QFont m_font;
    CDbConnection m_db;
};
