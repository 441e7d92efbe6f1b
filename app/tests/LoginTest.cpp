// The login dialog against the demo data on SQLite and PostgreSQL, driven
// through its own widgets.
#include "AppTexts.h"
#include "Dialog_Change_Pass.h"
#include "Dialog_Login.h"
#include "ShellFixture.h"
#include "ShellThreads.h"
#include "UserListThread.h"
#include "db/DbTexts.h"
#include "text/AppState.h"
#include "text/IniFile.h"
#include "text/SqlText.h"
#include "text/TextScramble.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include "widgets/ButtonST.h"
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

class Login : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override { ASSERT_TRUE(m_shell.Problem().isEmpty()) << m_shell.Problem().toStdString(); }

    // Types the id and password into a fresh dialog and clicks 登 录.
    bool LogIn(const QString& id, const QString& password)
    {
        Dialog_Login dialog;
        dialog.show();
        if (!QTest::qWaitFor([&] { return dialog.UserListLoaded(); }, 5000))
            return false;
        dialog.m_comboLoginId->setEditText(QString());
        QTest::keyClicks(dialog.m_comboLoginId->lineEdit(), id);
        QTest::keyClicks(dialog.m_editPassword, password);
        QTest::mouseClick(dialog.m_btnOk, Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    }

    int LogRows() { return m_shell.Count(QStringLiteral("SELECT count(1) FROM log_client_login")); }

    ShellFixture m_shell{GetParam()};
};

TEST_P(Login, ListsOnlyActiveUsersAndSelectsTheLastId)
{
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("USER"), QStringLiteral("zh"));
    Dialog_Login dialog;
    dialog.show(); // the list is read once the dialog is on the screen
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.UserListLoaded(); }, 5000));
    QStringList ids;
    for (int i = 0; i < dialog.m_comboLoginId->count(); ++i)
        ids << dialog.m_comboLoginId->itemText(i);
    EXPECT_EQ(ids, QStringList({QString(), QStringLiteral("admin"), QStringLiteral("zhang")}));
    EXPECT_EQ(dialog.m_comboLoginId->currentText(), QStringLiteral("zhang"));
}

// A dialog closed before its list is read is left alone: the list goes
// nowhere, and the thread ends by itself.
TEST_P(Login, DialogGoneBeforeItsListIsLeftAlone)
{
    for (int i = 0; i < 20; ++i) {
        auto* dialog = new Dialog_Login;
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        QCoreApplication::processEvents(); // the list starts once the dialog is painted
        delete dialog;
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return !ShellThreadsRunning(); }, 10000));
    QCoreApplication::processEvents();
}

// The thread reads through the text it was handed, never the application's,
// which the GUI thread may be writing meanwhile (the settings dialog).
TEST_P(Login, UserListReadsOnlyTheTextItWasHanded)
{
    for (const bool handed : {true, false}) {
        CUserListThread thread(handed ? m_shell.ConnectText() : QString());
        theApp().m_strConnectText = ScrambleText(m_shell.ConnectText(), 1);
        QStringList read;
        bool loaded = false;
        QObject::connect(&thread, &CUserListThread::ListRead, [&](const QStringList& ids, bool ok) {
            read = ids;
            loaded = ok;
        });
        thread.start();
        ASSERT_TRUE(thread.wait(10000));
        EXPECT_EQ(loaded, handed);
        EXPECT_EQ(read, handed ? QStringList({"admin", "zhang"}) : QStringList());
    }
}

TEST_P(Login, AdministratorLogsInAndIsRemembered)
{
    ASSERT_TRUE(LogIn(QStringLiteral("admin"), QStringLiteral("1")));
    const AppState& app = theApp();
    EXPECT_EQ(app.m_strUserUid, QStringLiteral("1"));
    EXPECT_EQ(app.m_strUserId, QStringLiteral("admin"));
    EXPECT_EQ(app.m_strUserName, QStringLiteral("系统管理员"));
    EXPECT_EQ(app.m_strPassword, QStringLiteral("1"));
    EXPECT_EQ(app.m_strAuth, QStringLiteral("1,11,12,2,21,22,23,24"));
    EXPECT_EQ(app.m_strDbType, QString::number(GetParam()));
    EXPECT_EQ(ReadIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("USER")),
              QStringLiteral("admin"));
    EXPECT_NE(m_shell.Value(QStringLiteral("SELECT loginTime_0 FROM c_user WHERE uid_0=1")), QString());
    EXPECT_EQ(m_shell.Value(QStringLiteral("SELECT user_uid_0 FROM log_client_login")), QStringLiteral("1"));
    EXPECT_EQ(m_shell.Value(QStringLiteral("SELECT name_0 FROM log_client_login")), QStringLiteral("admin"));
    EXPECT_NE(m_shell.Value(QStringLiteral("SELECT time_0 FROM log_client_login")), QString());
    EXPECT_TRUE(m_shell.m_messages.isEmpty()) << m_shell.m_messages.join('|').toStdString();
}

TEST_P(Login, WrongPasswordSuspendedUserAndEmptyFieldsAreRefused)
{
    struct Case
    {
        const char* id;
        const char* password;
        QString message;
        int logRows;
    };
    const Case cases[] = {
        {"admin", "2", AppText::LoginFailed + AppText::DefaultPassword, 1},
        {"li", "1", AppText::LoginFailed + AppText::DefaultPassword, 1},
        {"ADMIN", "1", AppText::LoginFailed + AppText::DefaultPassword, 1},
        {"", "1", AppText::NoLoginId, 0},
        {"admin", "", AppText::NoPassword + AppText::DefaultPassword, 0},
    };
    for (const Case& c : cases) {
        const int before = LogRows();
        m_shell.m_messages.clear();
        EXPECT_FALSE(LogIn(QString::fromUtf8(c.id), QString::fromUtf8(c.password))) << c.id;
        EXPECT_EQ(m_shell.m_messages, QStringList{c.message}) << c.id;
        EXPECT_EQ(LogRows() - before, c.logRows) << c.id;
    }
    EXPECT_EQ(theApp().m_strUserUid, QString()); // nobody logged in
    // The id of the last attempt that reached the database stays.
    EXPECT_EQ(theApp().m_strUserId, QStringLiteral("ADMIN"));
    EXPECT_EQ(m_shell.Value(QStringLiteral("SELECT user_uid_0 FROM log_client_login")), QStringLiteral("0"));
}

// Typed text is data, never SQL: nothing logs in, nothing runs, and the log
// row keeps the typed id exactly.
TEST_P(Login, InjectionThroughIdOrPasswordIsOnlyText)
{
    const QString tricks[] = {
        QStringLiteral("admin'--"),
        QStringLiteral("' OR '1'='1"),
        QStringLiteral("admin' OR 1=1 --"),
        QStringLiteral("x N'"),
        QStringLiteral("a',"),
        QStringLiteral("'; DELETE FROM c_user; --"),
        QStringLiteral("admin\"; DROP TABLE c_user; --"),
        QStringLiteral("[admin]%"),
        QStringLiteral("admin' AND pass_0 LIKE '%"),
    };
    for (const QString& trick : tricks) {
        const int before = LogRows();
        EXPECT_FALSE(LogIn(trick, QStringLiteral("1"))) << trick.toStdString();
        EXPECT_FALSE(LogIn(QStringLiteral("admin"), trick)) << trick.toStdString();
        EXPECT_EQ(LogRows() - before, 2) << trick.toStdString();
        EXPECT_EQ(m_shell.Count(QStringLiteral("SELECT count(1) FROM log_client_login WHERE name_0='%1'")
                                    .arg(QString(trick).replace(u'\'', QStringLiteral("''")))),
                  1)
            << trick.toStdString();
    }
    EXPECT_EQ(m_shell.Count(QStringLiteral("SELECT count(1) FROM c_user")), 3);
    EXPECT_EQ(theApp().m_strUserUid, QString());
}

// Ids and passwords with quotes and brackets are stored by the password
// dialog in their legacy form and found again by the login as typed.
TEST_P(Login, OddIdsAndPasswordsRoundTripThroughThePasswordDialog)
{
    const QString id = QStringLiteral("o'brien [x]");
    const QString password = QStringLiteral("p'a[s]s%\" N'',");
    {
        CDbConnection db;
        db.SetConnectString(m_shell.ConnectText());
        ASSERT_TRUE(db.Connect());
        ASSERT_TRUE(db.ExecuteCommand(QStringLiteral("INSERT INTO c_user (id_0, name_0, pass_0, state_0) VALUES (?,?,?,?)"),
                                      {id, QStringLiteral("欧"), QString(), AppText::StateActive}));
        db.Close();
    }
    theApp().m_strUserUid = m_shell.Value(QStringLiteral("SELECT uid_0 FROM c_user WHERE name_0='欧'"));
    theApp().m_strPassword.clear();
    EXPECT_FALSE(LogIn(id, password));

    Dialog_Change_Pass change;
    QTest::keyClicks(change.m_editNew, password);
    QTest::keyClicks(change.m_editRepeat, password);
    change.OnOK();
    EXPECT_EQ(change.result(), QDialog::Accepted);
    EXPECT_EQ(m_shell.m_messages.last(), AppText::PassChanged);
    EXPECT_EQ(m_shell.Value(QStringLiteral("SELECT pass_0 FROM c_user WHERE name_0='欧'")),
              LegacyPasswordText(ScrambleText(password, 1)));

    EXPECT_TRUE(LogIn(id, password));
    EXPECT_EQ(theApp().m_strUserName, QStringLiteral("欧"));
    EXPECT_EQ(theApp().m_strUserId, id);
}

TEST_P(Login, PasswordChangeChecksBeforeStoring)
{
    ASSERT_TRUE(LogIn(QStringLiteral("zhang"), QStringLiteral("1")));
    struct Case
    {
        const char* old;
        const char* fresh;
        const char* repeat;
        QString message;
    };
    const Case cases[] = {
        {"2", "x", "x", AppText::WrongOldPass},
        {"1", "", "", AppText::EmptyNewPass},
        {"1", "x", "y", AppText::PassMismatch},
        {"1", " ", " ", AppText::PassChanged}, // blanks are a password
    };
    for (const Case& c : cases) {
        m_shell.m_messages.clear();
        Dialog_Change_Pass change;
        QTest::keyClicks(change.m_editOld, QString::fromUtf8(c.old));
        QTest::keyClicks(change.m_editNew, QString::fromUtf8(c.fresh));
        QTest::keyClicks(change.m_editRepeat, QString::fromUtf8(c.repeat));
        change.OnOK();
        EXPECT_EQ(m_shell.m_messages, QStringList{c.message}) << c.fresh;
    }
    EXPECT_EQ(theApp().m_strPassword, QStringLiteral(" "));
    EXPECT_TRUE(LogIn(QStringLiteral("zhang"), QStringLiteral(" ")));
    EXPECT_FALSE(LogIn(QStringLiteral("zhang"), QStringLiteral("1")));
}

// A database that cannot be opened is said so, and nothing is written.
TEST_P(Login, DatabaseThatCannotBeOpenedIsReported)
{
    theApp().m_strConnectText = ScrambleText(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/nonexistent/x.mdb;Jet OLEDB:Database Password=;"), 1);
    const QByteArray before = m_shell.m_folder.readBytes(QStringLiteral("cfg.ini"));
    EXPECT_FALSE(LogIn(QStringLiteral("admin"), QStringLiteral("1")));
    ASSERT_EQ(m_shell.m_messages.size(), 1);
    EXPECT_TRUE(m_shell.m_messages.first().startsWith(AppText::NoDatabase));
    EXPECT_EQ(m_shell.m_folder.readBytes(QStringLiteral("cfg.ini")), before);
    EXPECT_EQ(theApp().m_strUserUid, QString());
}

// A database whose login query fails (damaged pages, an empty file, a
// missing view) is not a wrong password: the database's error is shown.
TEST_P(Login, FailingLoginQueryShowsTheDatabaseError)
{
    std::vector<std::pair<const char*, std::function<void()>>> damages;
    if (GetParam() == 2) {
        const QString copy = m_shell.m_folder.file(QStringLiteral("damaged.mdb"));
        const auto useCopy = [copy](const QByteArray& bytes) {
            QFile file(copy);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
            theApp().m_strConnectText = ScrambleText(DbTestDatabase::AccessText(copy), 1);
        };
        damages.emplace_back("empty file", [useCopy] { useCopy(QByteArray()); });
        damages.emplace_back("damaged pages", [useCopy] {
            // A valid header and first page, then pages of noise.
            QByteArray bytes = QByteArray::fromHex("53514c69746520666f726d6174203300") + QByteArray(4096 * 8, '\xa5');
            bytes[16] = 0x10; // page size 4096
            bytes[17] = 0x00;
            bytes[18] = bytes[19] = 1;
            bytes[21] = 64, bytes[22] = 32, bytes[23] = 32;
            bytes[31] = 9; // 9 pages
            useCopy(bytes);
        });
    }
    damages.emplace_back("missing view", [this] {
        CDbConnection db;
        db.SetConnectString(m_shell.ConnectText());
        ASSERT_TRUE(db.Connect());
        ASSERT_TRUE(db.ExecuteCommand(QStringLiteral("DROP VIEW view_c_user"))) << db.m_strErrorInfo.toStdString();
        db.Close();
    });
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        damage();
        m_shell.m_messages.clear();
        EXPECT_FALSE(LogIn(QStringLiteral("admin"), QStringLiteral("1")));
        ASSERT_EQ(m_shell.m_messages.size(), 1);
        EXPECT_TRUE(m_shell.m_messages.first().startsWith(DbText::kData)) << m_shell.m_messages.first().toStdString();
        EXPECT_FALSE(m_shell.m_messages.first().contains(AppText::LoginFailed));
        EXPECT_EQ(theApp().m_strUserUid, QString());
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, Login, ::testing::Values(2, 3), [](const auto& info) {
    return info.param == 2 ? std::string("Sqlite") : std::string("PostgreSql");
});

} // namespace
