#include "Dialog_TextBox_Info.h"

#include "FormTexts.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int EditId = 1102;
constexpr int OkId = 1;

} // namespace

Dialog_TextBox_Info::Dialog_TextBox_Info(QWidget* parent)
    : QDialog(parent)
    , m_pEdit(new QPlainTextEdit(this))
{
    setWindowTitle(FormTexts::TextDetailCaption);
    resize(420, 300);
    m_pEdit->setGeometry(8, 8, 404, 246);
    auto* ok = new QPushButton(FormTexts::TextDetailOk, this);
    ok->setGeometry(332, 264, 80, 28);
    connect(ok, &QPushButton::clicked, this, &Dialog_TextBox_Info::OnOK);
    m_resizer.Hook(this, [this, ok](int id) -> QWidget* {
        if (id == EditId)
            return m_pEdit;
        return id == OkId ? ok : nullptr;
    });
}

int Dialog_TextBox_Info::DoModal()
{
    OnInitDialog();
    return exec();
}

void Dialog_TextBox_Info::OnInitDialog()
{
    m_resizer.SetAnchor(EditId, CWndResizer::ANCHOR_ALL);
    m_resizer.SetAnchor(OkId, CWndResizer::ANCHOR_RIGHT | CWndResizer::ANCHOR_BOTTOM);
    m_resizer.InvokeOnResized();
    // A text of bare line feeds and one of CR LF both show one break per line.
    QString text = m_strText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_pEdit->setPlainText(text);
}

void Dialog_TextBox_Info::OnOK()
{
    if (m_pResult)
        *m_pResult = m_pEdit->toPlainText().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    accept();
}
