#include "Dialog_IpCfg.h"

#include "AppTexts.h"
#include "ShellHelpers.h"
#include "ShellThreads.h"
#include "StartupWorker.h"
#include "db/DbConnectText.h"
#include "db/DbConnection.h"
#include "db/DbFetch.h"
#include "text/IniFile.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kScrambleKey = 1;
// "driver={SQL Server};Server=" is followed by the address.
constexpr int kServerFieldLength = 27;

Dialog_IpCfg::Restarter& CurrentRestarter()
{
    static Dialog_IpCfg::Restarter restarter;
    return restarter;
}

void RestartProgram(const QString& programPath)
{
    StartProgramFile(programPath);
    std::fflush(nullptr);
    std::_Exit(-1);
}

QString TextBetween(const QString& text, const QString& after, const QString& before)
{
    const qsizetype start = text.indexOf(after);
    if (start < 0)
        return QString();
    const qsizetype from = start + after.size();
    const qsizetype end = text.indexOf(before, from);
    return end < 0 ? text.mid(from) : text.mid(from, end - from);
}

QString IniPath()
{
    return GetModuleFolder() + AppText::IniFile;
}

} // namespace

Dialog_IpCfg::Dialog_IpCfg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(AppText::IpCfgTitle);
    setMinimumWidth(440);
    m_radioNetwork = new QRadioButton(AppText::NetworkInstance, this);
    m_btnPostgreSql = new QPushButton(AppText::TestDatabase, this);
    m_btnPostgreSql->setCheckable(true);
    m_radioAccess = new QRadioButton(AppText::AccessDatabase, this);
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(m_radioNetwork, IdNetwork);
    kinds->addButton(m_btnPostgreSql, IdPostgreSql);
    kinds->addButton(m_radioAccess, IdAccess);
    connect(m_radioNetwork, &QRadioButton::clicked, this, &Dialog_IpCfg::OnNetworkInstance);
    connect(m_btnPostgreSql, &QPushButton::clicked, this, &Dialog_IpCfg::OnPostgreSqlInstance);
    connect(m_radioAccess, &QRadioButton::clicked, this, &Dialog_IpCfg::OnAccessDatabase);

    auto* grid = new QGridLayout(this);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(m_radioNetwork);
    kindRow->addWidget(m_btnPostgreSql);
    kindRow->addWidget(m_radioAccess);
    grid->addLayout(kindRow, 0, 0, 1, 3);
    int row = 1;
    const auto addField = [&](const QString& label, QLineEdit*& edit) {
        auto* text = new QLabel(label, this);
        edit = new QLineEdit(this);
        grid->addWidget(text, row, 0);
        grid->addWidget(edit, row, 1, 1, 2);
        ++row;
        return text;
    };
    m_networkLabels = {addField(AppText::AddressLabel, m_editAddress), addField(AppText::PortLabel, m_editPort),
                       addField(AppText::DatabaseLabel, m_editDatabase), addField(AppText::UserLabel, m_editUser),
                       addField(AppText::PassLabel, m_editPassword)};
    m_editPassword->setEchoMode(QLineEdit::Password);
    m_labelPath = new QLabel(AppText::PathLabel, this);
    m_editPath = new QLineEdit(this);
    m_btnBrowse = new QPushButton(AppText::Browse, this);
    connect(m_btnBrowse, &QPushButton::clicked, this, &Dialog_IpCfg::OnBrowse);
    grid->addWidget(m_labelPath, row, 0);
    grid->addWidget(m_editPath, row, 1);
    grid->addWidget(m_btnBrowse, row, 2);
    ++row;
    m_btnOk = new QPushButton(AppText::TestAndSave, this);
    auto* cancel = new QPushButton(AppText::Cancel, this);
    connect(m_btnOk, &QPushButton::clicked, this, &Dialog_IpCfg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOk);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, 3);
    OnInitDialog();
}

void Dialog_IpCfg::SetRestarter(Restarter restarter)
{
    CurrentRestarter() = std::move(restarter);
}

void Dialog_IpCfg::OnInitDialog()
{
    m_strAppName = ReadIniString(AppText::IniFile, AppText::IniSection, AppText::IniAppName);
    const QString kindText = ReadIniString(AppText::IniFile, AppText::IniSection, AppText::IniDbType);
    m_nKind = kindText.toInt();
    if (m_nKind != 2 && m_nKind != 3)
        m_nKind = 1;
    ChooseKind(m_nKind);
    const QString text = UnscrambleText(ReadIniString(AppText::IniFile, AppText::IniSection, AppText::IniName),
                                        kScrambleKey);
    if (m_nKind == 2) {
        QString path = text;
        if (path.contains(AppText::AccessPrefix)) {
            path.remove(AppText::AccessPrefix);
            path.remove(AppText::AccessPassword);
            path.remove(AppText::AccessPasswordOld);
            path.remove(AppText::AccessPasswordEmpty);
            m_editPath->setText(path);
        }
        return;
    }
    // Without stored settings every kind is offered as it stands.
    if (kindText != QStringLiteral("1") && kindText != QStringLiteral("3"))
        return;
    // An installation on a database server is not switched to a file.
    for (QWidget* access : {static_cast<QWidget*>(m_radioAccess), static_cast<QWidget*>(m_labelPath),
                            static_cast<QWidget*>(m_editPath)})
        access->hide();
    m_radioNetwork->setText(AppText::FillInParameters);
    m_editPort->setText(AppText::DefaultPort);
    const bool hosted = IsDbLookupServiceText(text);
    if (text.contains(AppText::SqlServerServer) || hosted) {
        const QString address = TextBetween(text, AppText::SqlServerServer, QStringLiteral(","));
        m_editAddress->setText(address);
        m_editPort->setText(TextBetween(text.mid(text.indexOf(AppText::SqlServerServer) + kServerFieldLength),
                                        QStringLiteral(","), AppText::DatabaseField));
        m_editDatabase->setText(TextBetween(text, AppText::DatabaseField, AppText::UidField));
        if (hosted || address.contains(AppText::ServiceAddressPath)) {
            m_editAddress->setText(AppText::HostedInstance);
            m_editPort->clear();
        }
    }
}

void Dialog_IpCfg::ShowNetworkFields(bool shown)
{
    for (QLineEdit* edit : {m_editAddress, m_editPort, m_editDatabase, m_editUser, m_editPassword})
        edit->setReadOnly(!shown);
    m_editPath->setReadOnly(shown);
    m_btnBrowse->setVisible(!shown);
}

void Dialog_IpCfg::ChooseKind(int kind)
{
    m_nKind = kind;
    ShowNetworkFields(kind != 2);
    (kind == 1 ? static_cast<QAbstractButton*>(m_radioNetwork)
     : kind == 3 ? static_cast<QAbstractButton*>(m_btnPostgreSql)
                 : static_cast<QAbstractButton*>(m_radioAccess))
        ->setChecked(true);
}

void Dialog_IpCfg::OnNetworkInstance()
{
    ChooseKind(1);
}

void Dialog_IpCfg::OnPostgreSqlInstance()
{
    ChooseKind(3);
}

void Dialog_IpCfg::OnAccessDatabase()
{
    ChooseKind(2);
}

void Dialog_IpCfg::OnBrowse()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), AppText::BrowseFilter, nullptr,
                                                      QFileDialog::ReadOnly);
    if (!path.isEmpty())
        m_editPath->setText(path);
}

void Dialog_IpCfg::OnOK()
{
    QString storedText;
    QString testText;
    if (m_nKind == 2) {
        const QString path = m_editPath->text();
        if (path.isEmpty()) {
            ShowMessage(AppText::NoAccessPath);
            return;
        }
        storedText = AppText::AccessPrefix + path + AppText::AccessPassword;
        testText = storedText;
    } else {
        const QString address = m_editAddress->text();
        const QString port = m_editPort->text();
        const QString database = m_editDatabase->text();
        const QString user = m_editUser->text();
        const QString password = m_editPassword->text();
        if (address.isEmpty() || port.isEmpty() || database.isEmpty() || user.isEmpty() || password.isEmpty()) {
            ShowMessage(AppText::IncompleteSettings);
            return;
        }
        const auto fill = [&](const QString& host) {
            return m_nKind == 1 ? AppText::SqlServerText.arg(host, port, database, user, password)
                                : AppText::PostgreSqlText.arg(password, database, host, port, user);
        };
        if (IsDbLookupServiceText(address)) {
            storedText = address;
            testText = UnscrambleText(DbFetchText(address.trimmed()).trimmed(), kScrambleKey);
        } else {
            const QString host = address.indexOf(u'/', 2) >= 0 ? DbFetchText(address).trimmed() : address;
            storedText = fill(address);
            testText = fill(host);
        }
    }

    CDbConnection db;
    const bool opened = ConnectAndProbe(db, testText);
    db.Close();
    if (!opened) {
        ShowMessage(AppText::CannotConnect);
        return;
    }
    if (!SaveSettings(storedText)) {
        ShowMessage(AppText::NotSaved);
        return;
    }
    ShowMessage(AppText::Saved);
    // The program starts again under the name it runs by ("tembra" or "Tembra").
    const QString program = GetModulePath();
    if (CurrentRestarter())
        CurrentRestarter()(program);
    else
        RestartProgram(program);
}

bool Dialog_IpCfg::SaveSettings(const QString& storedText)
{
    QFile file(IniPath());
    const bool existed = file.exists();
    QByteArray before;
    if (existed && file.open(QIODevice::ReadOnly)) {
        before = file.readAll();
        file.close();
    }
    const QString scrambled = ScrambleText(storedText, kScrambleKey);
    WriteIniString(AppText::IniFile, AppText::IniSection, AppText::IniDbType, QString::number(m_nKind));
    WriteIniString(AppText::IniFile, AppText::IniSection, AppText::IniName, scrambled);
    WriteIniString(AppText::IniFile, AppText::IniSection, AppText::IniAppName, m_strAppName);
    if (ReadIniString(AppText::IniFile, AppText::IniSection, AppText::IniName) == scrambled
        && ReadIniString(AppText::IniFile, AppText::IniSection, AppText::IniDbType) == QString::number(m_nKind))
        return true;
    // Settings that do not read back are not left half in place.
    if (!existed) {
        QFile::remove(IniPath());
    } else if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(before);
        file.close();
    }
    return false;
}
