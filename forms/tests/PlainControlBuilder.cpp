#include "PlainControlBuilder.h"

#include "text/ColorRectText.h"
#include "D_T1.h"
#include "text/TextSplit.h"

#include <QComboBox>
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
        QWidget* control = Create(element, &form);
        if (!control)
            continue;
        const RectLTRB pos = ParseRectText(element.GetAttribute(QStringLiteral("pos")));
        control->setGeometry(pos.left, pos.top, pos.width(), pos.height());
        if (element.GetAttributeInt(QStringLiteral("hidden"), 0) != 0)
            control->hide();
        form.AddControl(element.GetAttributeInt(QStringLiteral("id"), 0), control);
    }
}

QWidget* CPlainControlBuilder::Create(const CXmlNode& element, QWidget* parent)
{
    const QString tag = element.GetName();
    const QString value = element.GetAttribute(QStringLiteral("value"));
    if (tag == u"textbox")
        return new QLineEdit(value, parent);
    if (tag == u"button") {
        auto* button = new QPushButton(value, parent);
        // Enter is the form's to handle, never a default button's.
        button->setAutoDefault(false);
        button->setEnabled(element.GetAttributeInt(QStringLiteral("disabled"), 0) != 1);
        return button;
    }
    if (tag == u"droplist") {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        if (!value.isEmpty()) {
            QStringList items;
            SplitAtChar(value, QStringLiteral(";"), items);
            combo->addItems(items);
        }
        combo->setCurrentIndex(-1);
        return combo;
    }
    if (tag == u"table")
        return new QTableWidget(parent);
    return nullptr;
}
