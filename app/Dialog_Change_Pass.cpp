#include "Dialog_Change_Pass.h"

#include "AppTexts.h"
#include "db/DbConnection.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "text/SqlText.h"
#include "text/TextScramble.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

Dialog_Change_Pass::Dialog_Change_Pass(QWidget* parent)
    : QDialog(parent), m_db(std::make_unique<CDbConnection>())
{
    m_db->Configure();
    setWindowTitle(AppText::ChangePassTitle);
    auto* form = new QFormLayout(this);
    const auto addEdit = [&](const QString& label, int id) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(id));
        edit->setEchoMode(QLineEdit::Password);
        form->addRow(label, edit);
        return edit;
    };
    m_editOld = addEdit(AppText::OldPassLabel, 1102);
    m_editNew = addEdit(AppText::NewPassLabel, 1106);
    m_editRepeat = addEdit(AppText::NewPassLabel, 1103);
    auto* ok = new QPushButton(AppText::ChangePassButton, this);
    auto* cancel = new QPushButton(AppText::Cancel, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Dialog_Change_Pass::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
}

Dialog_Change_Pass::~Dialog_Change_Pass() = default;

void Dialog_Change_Pass::OnOK()
{
    AppState& app = theApp();
    const QString newPassword = m_editNew->text();
    if (m_editOld->text() != app.m_strPassword) {
        ShowMessage(AppText::WrongOldPass);
        return;
    }
    if (newPassword.isEmpty()) {
        ShowMessage(AppText::EmptyNewPass);
        return;
    }
    if (newPassword != m_editRepeat->text()) {
        ShowMessage(AppText::PassMismatch);
        return;
    }
    if (!m_db->Connect())
        return;
    const QString stored = LegacyPasswordText(ScrambleText(newPassword, 1));
    const bool changed = m_db->ExecuteCommand(AppText::UpdatePassword, {stored, app.m_strUserUid.toLongLong()});
    m_db->Close();
    if (!changed) {
        ShowMessage(AppText::PassNotChanged);
        return;
    }
    app.m_strPassword = newPassword;
    ShowMessage(AppText::PassChanged);
    accept();
}
