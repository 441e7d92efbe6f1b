// The database settings dialog: what each kind stores, and that a setting
// which cannot be used or stored leaves cfg.ini exactly as it was.
#include "AppTexts.h"
#include "DemoDatabase.h"
#include "Dialog_IpCfg.h"
#include "ShellFixture.h"
#include "text/IniFile.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class SettingsDialog : public ::testing::Test
{
protected:
    SettingsDialog()
    {
        Dialog_IpCfg::SetRestarter([this](const QString& program) {
            ++m_restarts;
            m_strRestarted = program;
        });
    }
    ~SettingsDialog() override { Dialog_IpCfg::SetRestarter({}); }

    void SetUp() override
    {
        ASSERT_TRUE(m_shell.Problem().isEmpty()) << m_shell.Problem().toStdString();
        WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("APPNAME"),
                       QStringLiteral("演示"));
    }

    QString Ini(const char* key)
    {
        return ReadIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QString::fromUtf8(key));
    }
    QByteArray IniBytes() { return m_shell.m_folder.readBytes(QStringLiteral("cfg.ini")); }

    void FillNetwork(Dialog_IpCfg& dialog, const QString& address, const QString& port, const QString& database,
                     const QString& user, const QString& password)
    {
        dialog.m_editAddress->setText(address);
        dialog.m_editPort->setText(port);
        dialog.m_editDatabase->setText(database);
        dialog.m_editUser->setText(user);
        dialog.m_editPassword->setText(password);
    }

    ShellFixture m_shell{2};
    int m_restarts = 0;
    QString m_strRestarted;
};

TEST_F(SettingsDialog, AccessFileIsTestedStoredScrambledAndRestarts)
{
    QString failure;
    const QString path = m_shell.m_folder.file(QStringLiteral("其它 data.mdb"));
    ASSERT_TRUE(MakeDemoSqliteFile(DemoSourceFolder(), path, failure)) << failure.toStdString();
    Dialog_IpCfg dialog;
    QTest::mouseClick(dialog.m_radioAccess, Qt::LeftButton);
    dialog.m_editPath->setText(path);
    QTest::mouseClick(dialog.m_btnOk, Qt::LeftButton);
    EXPECT_EQ(m_shell.m_messages, QStringList{AppText::Saved});
    EXPECT_EQ(m_restarts, 1);
    // The program restarts under the name it runs by, here this test's own.
    EXPECT_EQ(m_strRestarted, GetModulePath());
    EXPECT_EQ(Ini("DTYPE"), QStringLiteral("2"));
    EXPECT_EQ(Ini("NAME"), ScrambleText(AppText::AccessPrefix + path + AppText::AccessPassword, 1));
    EXPECT_EQ(Ini("APPNAME"), QStringLiteral("演示"));
}

TEST_F(SettingsDialog, UnusableSettingsLeaveCfgIniUntouched)
{
    const QByteArray before = IniBytes();
    m_shell.m_folder.writeBytes(QStringLiteral("not a database.mdb"), QByteArray(4096, 'x'));
    struct Case
    {
        int kind;
        QString address, port, database, user, password, path;
        QString message;
    };
    const Case cases[] = {
        {2, {}, {}, {}, {}, {}, QString(), AppText::NoAccessPath},
        {2, {}, {}, {}, {}, {}, m_shell.m_folder.file(QStringLiteral("missing.mdb")), AppText::CannotConnect},
        {2, {}, {}, {}, {}, {}, m_shell.m_folder.file(QStringLiteral("not a database.mdb")), AppText::CannotConnect},
        {1, QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("db"), QStringLiteral("sa"), QString(),
         {}, AppText::IncompleteSettings},
        {1, QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("db"), QStringLiteral("sa"),
         QStringLiteral("pw"), {}, AppText::CannotConnect},
        {3, QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("db"), QStringLiteral("u"),
         QStringLiteral("pw"), {}, AppText::CannotConnect},
    };
    for (const Case& c : cases) {
        m_shell.m_messages.clear();
        Dialog_IpCfg dialog;
        if (c.kind == 2) {
            dialog.OnAccessDatabase();
            dialog.m_editPath->setText(c.path);
        } else {
            c.kind == 1 ? dialog.OnNetworkInstance() : dialog.OnPostgreSqlInstance();
            FillNetwork(dialog, c.address, c.port, c.database, c.user, c.password);
        }
        dialog.OnOK();
        EXPECT_EQ(m_shell.m_messages, QStringList{c.message}) << c.kind << ' ' << c.path.toStdString();
        EXPECT_EQ(IniBytes(), before);
    }
    EXPECT_EQ(m_restarts, 0);
}

// The PostgreSQL text carries tabs; scrambled, some lengths turn one into a
// line break, which a cfg.ini line cannot hold. Such a text is refused with
// a message instead of being stored broken.
TEST_F(SettingsDialog, PostgreSqlInstanceIsStoredWhenItReadsBack)
{
    const QString host = qEnvironmentVariable("TEMBRA_TEST_PG_HOST");
    const QString port = qEnvironmentVariable("TEMBRA_TEST_PG_PORT");
    const QString user = qEnvironmentVariable("TEMBRA_TEST_PG_USER");
    ASSERT_FALSE(host.isEmpty() || port.isEmpty() || user.isEmpty());
    struct Case
    {
        QString password;
        bool stored;
    };
    for (const Case& c : {Case{QStringLiteral("xyz"), true}, Case{QStringLiteral("x"), false}}) {
        m_shell.m_messages.clear();
        const QByteArray before = IniBytes();
        Dialog_IpCfg dialog;
        QTest::mouseClick(dialog.m_btnPostgreSql, Qt::LeftButton);
        FillNetwork(dialog, host, port, QStringLiteral("postgres"), user, c.password);
        dialog.OnOK();
        const QString text = AppText::PostgreSqlText.arg(c.password, QStringLiteral("postgres"), host, port, user);
        if (c.stored) {
            EXPECT_EQ(m_shell.m_messages, QStringList{AppText::Saved});
            EXPECT_EQ(Ini("DTYPE"), QStringLiteral("3"));
            EXPECT_EQ(Ini("NAME"), ScrambleText(text, 1));
        } else {
            EXPECT_EQ(m_shell.m_messages, QStringList{AppText::NotSaved});
            EXPECT_EQ(IniBytes(), before);
        }
    }
    EXPECT_EQ(m_restarts, 1);
}

TEST_F(SettingsDialog, ShowsWhatIsStored)
{
    struct Case
    {
        QString kind;
        QString text;
        QString path, address, port, database;
    };
    const QString path = QStringLiteral("/srv/数据/shop.mdb");
    const Case cases[] = {
        {QStringLiteral("2"), AppText::AccessPrefix + path + AppText::AccessPassword, path, {}, {}, {}},
        {QStringLiteral("2"), AppText::AccessPrefix + path + AppText::AccessPasswordOld, path, {}, {}, {}},
        {QStringLiteral("2"), AppText::AccessPrefix + path + AppText::AccessPasswordEmpty, path, {}, {}, {}},
        {QStringLiteral("1"), AppText::SqlServerText.arg("db.example", " 1433", "erp", "sa", "pw"), {},
         QStringLiteral("db.example"), QStringLiteral(" 1433"), QStringLiteral("erp")},
        {QStringLiteral("3"), AppText::PostgreSqlText.arg("pw", "erp", "pg.example", "5432", "u"), {}, {},
         AppText::DefaultPort, {}},
    };
    for (const Case& c : cases) {
        WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("DTYPE"), c.kind);
        WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("NAME"),
                       ScrambleText(c.text, 1));
        Dialog_IpCfg dialog;
        EXPECT_EQ(dialog.m_nKind, c.kind.toInt());
        EXPECT_EQ(dialog.m_editPath->text(), c.path) << c.text.toStdString();
        EXPECT_EQ(dialog.m_editAddress->text(), c.address) << c.text.toStdString();
        EXPECT_EQ(dialog.m_editPort->text(), c.port) << c.text.toStdString();
        EXPECT_EQ(dialog.m_editDatabase->text(), c.database) << c.text.toStdString();
        EXPECT_EQ(dialog.m_editPath->isReadOnly(), c.kind != QStringLiteral("2"));
    }
}

// A database server's settings offer no Access file: its radio button, the
// path label and the path box are hidden with the browse button. Without
// stored settings every kind is offered.
TEST_F(SettingsDialog, NetworkKindsHideTheAccessControls)
{
    struct Case
    {
        QString kind; // DTYPE; empty: none stored
        bool accessShown;
    };
    for (const Case& c : {Case{QStringLiteral("1"), false}, Case{QStringLiteral("3"), false},
                          Case{QStringLiteral("2"), true}, Case{QString(), true}}) {
        WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("DTYPE"), c.kind);
        Dialog_IpCfg dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        const QString what = c.kind.isEmpty() ? QStringLiteral("none") : c.kind;
        EXPECT_EQ(dialog.m_radioAccess->isVisible(), c.accessShown) << what.toStdString();
        EXPECT_EQ(dialog.m_editPath->isVisible(), c.accessShown) << what.toStdString();
        EXPECT_EQ(dialog.m_btnBrowse->isVisible(), c.kind == QStringLiteral("2")) << what.toStdString();
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        const bool pathLabelShown = std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
            return label->text() == AppText::PathLabel && label->isVisible();
        });
        EXPECT_EQ(pathLabelShown, c.accessShown) << what.toStdString();
        EXPECT_EQ(dialog.m_radioNetwork->text(),
                  c.accessShown ? AppText::NetworkInstance : AppText::FillInParameters);
    }
}

} // namespace
