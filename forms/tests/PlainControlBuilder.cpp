#include "PlainControlBuilder.h"

#include "ControlNotifier.h"
#include "D_T1.h"
#include "DropListBox.h"
#include "text/ColorRectText.h"
#include "text/TextSplit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

void CPlainControlBuilder::Build(D_T1& form)
{
    CXmlNode root = form.m_pDoc ? CXmlNode(form.m_pDoc->GetRoot()) : CXmlNode();
    if (root.IsNull() || root.GetAttribute(QStringLiteral("id")) == u"-1")
        return;
    const CXmlNode body = root.GetChild(QStringLiteral("body"), true);
    const CXmlNodes elements = CXmlNode(body.GetChild(QStringLiteral("dialog"), true)).GetChildren();
    for (int i = 0; i < elements.GetCount(); ++i) {
        const CXmlNode element = elements[i];
        const int id = element.GetAttributeInt(QStringLiteral("id"), 0);
        QWidget* control = Create(form, element, id + D_T1::ControlIdBase);
        if (!control)
            continue;
        const RectLTRB pos = ParseRectText(element.GetAttribute(QStringLiteral("pos")));
        control->setGeometry(pos.left, pos.top, pos.width(), pos.height());
        if (element.GetAttributeInt(QStringLiteral("hidden"), 0) != 0)
            control->hide();
        form.AddControl(id, element.GetName(), control, element);
    }
}

std::unique_ptr<IFormBuilder> CPlainControlBuilder::NewForForm() const
{
    return std::make_unique<CPlainControlBuilder>();
}

QWidget* CPlainControlBuilder::Create(D_T1& form, const CXmlNode& element, int windowId)
{
    const QString tag = element.GetName();
    const QString value = element.GetAttribute(QStringLiteral("value"));
    if (tag == u"textbox") {
        auto* edit = new QLineEdit(value, &form);
        ControlNotifier::HookEdit(form, windowId, edit);
        return edit;
    }
    if (tag == u"button") {
        auto* button = new QPushButton(value, &form);
        // Enter is the form's to handle, never a default button's.
        button->setAutoDefault(false);
        button->setEnabled(element.GetAttributeInt(QStringLiteral("disabled"), 0) != 1);
        ControlNotifier::HookButton(form, windowId, button);
        return button;
    }
    if (tag == u"droplist") {
        auto* combo = new CDropListBox(&form);
        combo->setEditable(true);
        if (!value.isEmpty()) {
            QStringList items;
            SplitAtChar(value, QStringLiteral(";"), items);
            combo->addItems(items);
        }
        combo->setCurrentIndex(-1);
        ControlNotifier::HookDropList(form, windowId, combo);
        return combo;
    }
    if (tag == u"table") {
        auto* table = new QTableWidget(&form);
        ControlNotifier::HookItemView(form, windowId, table);
        return table;
    }
    return nullptr;
}
