#include "Dialog_Login.h"

#include "AppTexts.h"
#include "Dialog_IpCfg.h"
#include "HostFacts.h"
#include "ShellButtons.h"
#include "ShellPictures.h"
#include "ShellThreads.h"
#include "UpdateInstallation.h"
#include "UserListThread.h"
#include "db/DbConnectText.h"
#include "db/DbConnection.h"
#include "text/AppState.h"
#include "text/IniFile.h"
#include "text/MessageSink.h"
#include "text/SqlText.h"
#include "text/TextScramble.h"
#include "web/ShellOpen.h"
#include "widgets/ButtonST.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace {

constexpr int kScrambleKey = 1;
const QColor kButtonText(50, 50, 50);
const QColor kBackground(240, 240, 240);
const QColor kFrame(0, 204, 255);
constexpr int kBannerHeight = 80;

} // namespace

Dialog_Login::Dialog_Login(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint)
{
    OnInitDialog();
}

CButtonST* Dialog_Login::CreateButton(int id, const QRect& rect, const QString& caption, const QIcon& icon,
                                      const QString& tip)
{
    CButtonST* button = CreateShellButton(this, id, rect, caption, icon, tip, id == IdOk ? CButtonST::BS_DEFPUSHBUTTON : 0);
    button->SetColor(CButtonST::BTNST_COLOR_FG_OUT, RefFromColor(kButtonText));
    button->setFont(font());
    return button;
}

void Dialog_Login::OnInitDialog()
{
    setWindowIcon(ShellPictures::AppIcon());
    m_btnSettings = CreateButton(IdSettings, QRect(15, 180, 80, 38), AppText::SettingsCaption,
                                 ShellPictures::SettingsIcon(), AppText::SettingsTip);
    m_btnHelp = CreateButton(IdHelp, QRect(165, 180, 80, 38), AppText::HelpCaption,
                             ShellPictures::HelpIcon(), AppText::HelpTip);
    m_btnOk = CreateButton(IdOk, QRect(310, 180, 80, 38), AppText::LoginCaption,
                           ShellPictures::LoginIcon(), AppText::LoginTip);
    m_btnClose = CreateButton(IdCancel, QRect(377, 2, 40, 32), QString(),
                              ShellPictures::CloseIcon(), AppText::CloseTip);
    connect(m_btnSettings, &CButtonST::clicked, this, &Dialog_Login::OnSettings);
    connect(m_btnHelp, &CButtonST::clicked, this, &Dialog_Login::OnHelp);
    connect(m_btnOk, &CButtonST::clicked, this, &Dialog_Login::OnOK);
    connect(m_btnClose, &CButtonST::clicked, this, &QDialog::reject);

    setWindowTitle(AppText::LoginTitle);

    m_comboLoginId = new QComboBox(this);
    m_comboLoginId->setObjectName(QString::number(IdLoginId));
    m_comboLoginId->setEditable(true);
    m_comboLoginId->setGeometry(130, 98, 220, 21);
    m_editPassword = new QLineEdit(this);
    m_editPassword->setObjectName(QString::number(IdPassword));
    m_editPassword->setEchoMode(QLineEdit::Password);
    m_editPassword->setGeometry(130, 125, 220, 21);
    setTabOrder(m_comboLoginId, m_editPassword);
    setTabOrder(m_editPassword, m_btnOk);

    move(0, 0);
    setFixedSize(419, 224);
    // The list is read once the dialog is up; the user can type meanwhile.
    connect(this, &Dialog_Login::FirstPainted, this, &Dialog_Login::LoadUserList);
}

void Dialog_Login::LoadUserList()
{
    m_strLastLoginId = ReadIniString(AppText::IniFile, AppText::IniSection, AppText::IniUser);
    // The stored settings are set up here, on the GUI thread; the thread gets
    // the plain text.
    CDbConnection settings;
    settings.Configure();
    auto* thread = new CUserListThread(UnscrambleText(theApp().m_strConnectText, kScrambleKey));
    connect(thread, &CUserListThread::ListRead, this, &Dialog_Login::FillUserList);
    StartShellThread(thread);
}

void Dialog_Login::FillUserList(const QStringList& ids, bool loaded)
{
    m_bListLoaded = true;
    if (!loaded) {
        m_comboLoginId->setEditText(m_strLastLoginId);
        return;
    }
    const QString typed = m_comboLoginId->currentText();
    if (m_comboLoginId->count() < 2) {
        m_comboLoginId->clear();
        m_comboLoginId->addItem(QString());
        m_comboLoginId->addItems(ids);
        m_comboLoginId->setCurrentIndex(0);
    }
    const int last = m_strLastLoginId.isEmpty() ? -1
                                                : m_comboLoginId->findText(m_strLastLoginId, Qt::MatchStartsWith);
    if (!typed.isEmpty())
        m_comboLoginId->setEditText(typed); // what the user typed meanwhile stays
    else if (last >= 0)
        m_comboLoginId->setCurrentIndex(last);
}

void Dialog_Login::OnOK()
{
    const QString loginId = m_comboLoginId->currentText();
    const QString password = m_editPassword->text();
    if (loginId.isEmpty()) {
        ShowMessage(AppText::NoLoginId);
        return;
    }
    if (password.isEmpty()) {
        ShowMessage(AppText::NoPassword + AppText::DefaultPassword);
        return;
    }
    const QString stored = LegacyPasswordText(ScrambleText(password, kScrambleKey));

    CDbConnection db;
    db.Configure();
    if (!db.Connect()) {
        ShowMessage(AppText::NoDatabase + db.m_strErrorInfo);
        return;
    }
    AppState& app = theApp();
    app.m_strDbType = db.GetDbTypeText();

    QStringList row;
    db.m_strError.clear();
    const bool found = db.QueryAllToList(AppText::SelectLoginUser, row, {loginId, stored}) > 0 && row.size() >= 4;
    app.m_strUserId = loginId;
    if (!found && !db.m_strError.isEmpty()) {
        // The query itself failed (a damaged database, a missing table): that
        // is no wrong password, and the user must learn the database's reason.
        const QString error = db.m_strError + db.m_strErrorInfo;
        db.Close();
        ShowMessage(error);
        return;
    }
    if (found) {
        app.m_strUserUid = row.at(0);
        app.m_strAuth = row.at(1);
        app.m_strUserName = row.at(2);
        app.m_strPassword = password;
        const QString& stamp = app.m_strDbType == QStringLiteral("1") ? AppText::StampLoginSqlServer
            : app.m_strDbType == QStringLiteral("2")                  ? AppText::StampLoginSqlite
                                                                      : AppText::StampLoginPostgreSql;
        db.ExecuteCommand(stamp, {app.m_strUserUid.toLongLong()});
        WriteLoginLog(db, app.m_strUserUid, loginId);
        db.Close();
        WriteIniString(AppText::IniFile, AppText::IniSection, AppText::IniUser, loginId);
        accept();
        return;
    }
    WriteLoginLog(db, QStringLiteral("0"), loginId);
    db.Close();
    ShowMessage(AppText::LoginFailed + AppText::DefaultPassword);
    m_editPassword->setFocus();
}

void Dialog_Login::WriteLoginLog(CDbConnection& db, const QString& userUid, const QString& loginId)
{
    QString hostName;
    QString ip;
    QString mac;
    GetHostNameAndIp(hostName, ip);
    GetMacAddress(mac);
    const QVariantList values = {userUid.toLongLong(), loginId, ip, hostName, mac};
    const QString kind = db.GetDbTypeText();
    if (kind == QStringLiteral("1")) {
        QString version;
        if (!db.QueryValue(AppText::SelectServerVersion, version))
            return;
        db.ExecuteCommand(CompareVersions(version, AppText::ServerVersionWithAddress) < 0
                              ? AppText::LogLoginSqlServerOld
                              : AppText::LogLoginSqlServer,
                          values);
        return;
    }
    db.ExecuteCommand(kind == QStringLiteral("2") ? AppText::LogLoginSqlite : AppText::LogLoginPostgreSql, values);
}

void Dialog_Login::OnSettings()
{
    Dialog_IpCfg settings(this);
    settings.exec();
}

void Dialog_Login::OnHelp()
{
    OpenHelpPage();
}

void Dialog_Login::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.drawPixmap(0, 0, ShellPictures::LoginBanner(width(), kBannerHeight));
    painter.setPen(kButtonText);
    painter.drawText(QRect(60, 98, 66, 21), Qt::AlignVCenter | Qt::AlignRight, AppText::LoginIdLabel);
    painter.drawText(QRect(60, 125, 66, 21), Qt::AlignVCenter | Qt::AlignRight, AppText::PasswordLabel);
    painter.setPen(kFrame);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!m_bPainted) {
        m_bPainted = true;
        // Queued: the picture reaches the screen when this paint ends.
        QTimer::singleShot(0, this, &Dialog_Login::FirstPainted);
    }
}

void Dialog_Login::mousePressEvent(QMouseEvent* event)
{
    // The window has no caption: it is dragged by its body.
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
    QDialog::mousePressEvent(event);
}
