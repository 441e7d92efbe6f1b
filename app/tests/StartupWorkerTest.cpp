// The start-up worker's stages: the kind of the stored connection, the
// dated copies beside an Access (SQLite) database, the stop after a recent
// menu merge, and the installation facts of c_app.
#include "ShellFixture.h"
#include "ShellHelpers.h"
#include "StartupWorker.h"
#include "UpdateServiceServer.h"
#include "UpdateTestSupport.h"
#include "db/DbConnectText.h"
#include "db/tests/DbTestDatabase.h"
#include "text/DateText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include "PlaceholderExpander.h"
#include "web/ShellOpen.h"

#include <gtest/gtest.h>

namespace {

class StartupWorker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_shell.Problem().isEmpty()) << m_shell.Problem().toStdString();
        m_strDatabase = DbAccessPathOf(m_shell.ConnectText());
        m_strBackups = QFileInfo(m_strDatabase).absolutePath() + QStringLiteral("/AutoBackup/");
    }

    // The stages before the updates.
    StartupFacts Run()
    {
        CStartupTasks tasks(m_shell.m_folder.path(), m_shell.m_folder.file(QStringLiteral("tembra")));
        tasks.RunLocalStages();
        return tasks.m_facts;
    }
    QString Copy(int daysAgo) const
    {
        return m_strBackups + QFileInfo(m_strDatabase).fileName() + u'.' + GetDateAfterDaysText(-daysAgo)
            + QStringLiteral(".bak");
    }
    void Execute(const QString& sql)
    {
        CDbConnection db;
        db.SetConnectString(m_shell.ConnectText());
        ASSERT_TRUE(db.Connect());
        ASSERT_TRUE(db.ExecuteCommand(sql)) << db.m_strErrorInfo.toStdString();
        db.Close();
    }

    ShellFixture m_shell{2};
    QString m_strDatabase;
    QString m_strBackups;
};

TEST_F(StartupWorker, ReadsTheInstallationAndBacksUpTheDatabase)
{
    const StartupFacts facts = Run();
    EXPECT_EQ(facts.exeName, QStringLiteral("tembra"));
    EXPECT_EQ(facts.dbType, QStringLiteral("2"));
    EXPECT_TRUE(facts.factsRead);
    EXPECT_EQ(facts.appId, QStringLiteral("3f2a9c1e-5b7d-4e8a-9c6f-1d2b3a4c5e6f"));
    EXPECT_EQ(facts.menuVersion, QStringLiteral("1.0.0.0"));
    EXPECT_EQ(facts.company, QStringLiteral("演示公司"));
    EXPECT_TRUE(QFileInfo(m_shell.m_folder.file(QStringLiteral("update"))).isDir());
    EXPECT_TRUE(QFileInfo::exists(Copy(0)));
    EXPECT_EQ(Copy(0), m_strBackups + QFileInfo(m_strDatabase).fileName() + u'.' + GetTodayText() + ".bak");
}

// The facts of the local stages reach the application while the update
// service still keeps the worker waiting: the login's help link carries the
// application id and a form opened now prints the company.
TEST_F(StartupWorker, FactsArriveWhileTheServiceIsSlow)
{
    QTcpServer slowService;
    ASSERT_TRUE(slowService.listen(QHostAddress::LocalHost));
    QList<QTcpSocket*> held;
    QObject::connect(&slowService, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* socket = slowService.nextPendingConnection())
            held.append(socket);
    });
    const QString appId = QStringLiteral("3f2a9c1e-5b7d-4e8a-9c6f-1d2b3a4c5e6f");
    CStartupWorker worker(m_shell.m_folder.path(), m_shell.m_folder.file(QStringLiteral("tembra")));
    worker.Tasks().m_lookupUrls = {QStringLiteral("http://127.0.0.1:%1/service/readip.aspx").arg(slowService.serverPort())};
    worker.start();

    const AppState& app = theApp();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !held.isEmpty() && app.m_strAppId == appId; }, 20000));
    EXPECT_FALSE(worker.isFinished());
    EXPECT_EQ(app.m_strExeName, QStringLiteral("tembra"));
    EXPECT_EQ(app.m_strDbType, QStringLiteral("2"));
    EXPECT_EQ(app.m_strMenuVersion, QStringLiteral("1.0.0.0"));
    EXPECT_EQ(app.m_strCompany, QStringLiteral("演示公司"));
    QUrl help;
    SetShellOpenerForTests([&](const QUrl& url) {
        help = url;
        return true;
    });
    OpenHelpPage();
    SetShellOpenerForTests({});
    EXPECT_TRUE(help.toString().endsWith(QStringLiteral("&appid=") + appId)) << help.toString().toStdString();
    EXPECT_EQ(CPlaceholderExpander(PlaceholderValues::WithApplication()).ExpandText(QStringLiteral("{{cpy}}")),
              QStringLiteral("演示公司"));

    // The service never answers after all: the worker goes on without it.
    for (QTcpSocket* socket : held)
        socket->abort();
    slowService.close();
    EXPECT_TRUE(worker.wait(30000));
    QCoreApplication::processEvents();
    EXPECT_EQ(app.m_strServiceHost, QString());
    EXPECT_FALSE(app.m_bUpdating);
}

// A database that fails while its facts are read gives the fallbacks; one
// that holds no row of them leaves the facts as they were.
TEST_F(StartupWorker, FactsOfADatabaseThatFails)
{
    CStartupTasks tasks(m_shell.m_folder.path(), m_shell.m_folder.file(QStringLiteral("tembra")));
    tasks.m_facts.menuVersion = QStringLiteral("3.0.0.0");
    tasks.m_facts.company = QStringLiteral("原来");
    Execute(QStringLiteral("DELETE FROM c_app"));
    tasks.RunLocalStages();
    EXPECT_EQ(tasks.m_facts.appId, QString());
    EXPECT_EQ(tasks.m_facts.menuVersion, QStringLiteral("3.0.0.0"));
    EXPECT_EQ(tasks.m_facts.company, QStringLiteral("原来"));

    Execute(QStringLiteral("DROP TABLE c_app"));
    tasks.RunLocalStages();
    EXPECT_EQ(tasks.m_facts.appId, QString());
    EXPECT_EQ(tasks.m_facts.menuVersion, QStringLiteral("10.0.0.0"));
    EXPECT_EQ(tasks.m_facts.company, QStringLiteral("未连接到数据库"));
}

TEST_F(StartupWorker, KeepsOneGoodCopyADayForTwoWeeks)
{
    QDir().mkpath(m_strBackups);
    struct Case
    {
        int daysAgo;
        bool good;
        bool kept;
    };
    const Case cases[] = {
        {1, true, true},    {2, false, false},  {14, true, true},  {15, true, false},
        {114, true, false}, {115, true, true},  {40, false, false},
    };
    m_shell.m_folder.writeBytes(QStringLiteral("bad"), "no database");
    for (const Case& c : cases) {
        const QString source = c.good ? m_strDatabase : m_shell.m_folder.file(QStringLiteral("bad"));
        ASSERT_TRUE(QFile::copy(source, Copy(c.daysAgo)));
    }
    Run();
    for (const Case& c : cases)
        EXPECT_EQ(QFileInfo::exists(Copy(c.daysAgo)), c.kept) << c.daysAgo;

    // Today's copy is made once a day.
    Execute(QStringLiteral("UPDATE c_app SET company_0='改过' WHERE uid_0=1"));
    const QDateTime made = QFileInfo(Copy(0)).lastModified();
    const QByteArray bytes = [&] {
        QFile f(Copy(0));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    Run();
    QFile again(Copy(0));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), bytes);
    EXPECT_EQ(QFileInfo(Copy(0)).lastModified(), made);
}

// Without an update service the update stages find nothing new and take
// the update folder away again.
TEST_F(StartupWorker, UpdateStagesRunLastAndTidyUp)
{
    CStartupTasks tasks(m_shell.m_folder.path(), m_shell.m_folder.file(QStringLiteral("tembra")));
    tasks.m_lookupUrls.clear();
    tasks.RunStartupTasks();
    EXPECT_TRUE(tasks.m_facts.factsRead);
    EXPECT_EQ(tasks.m_facts.serviceHost, QString());
    EXPECT_FALSE(tasks.m_facts.updating);
    EXPECT_FALSE(QFileInfo::exists(m_shell.m_folder.file(QStringLiteral("update"))));
    EXPECT_TRUE(QFileInfo::exists(Copy(0)));
}

// Older settings carry an empty Access password; the path is read from the
// text itself, so no character of it is cut off.
TEST_F(StartupWorker, EmptyAccessPasswordKeepsTheWholePath)
{
    m_shell.WriteSettings(2, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + m_strDatabase
                                 + QStringLiteral(";Jet OLEDB:Database Password=;"));
    const StartupFacts facts = Run();
    EXPECT_TRUE(QFileInfo::exists(Copy(0)));
    EXPECT_EQ(facts.company, QStringLiteral("演示公司"));
}

// When the live database itself does not open, no copy is judged by it.
TEST_F(StartupWorker, DatabaseThatDoesNotOpenCostsNoCopies)
{
    QDir().mkpath(m_strBackups);
    m_shell.m_folder.writeBytes(QStringLiteral("bad"), "no database");
    ASSERT_TRUE(QFile::copy(m_shell.m_folder.file(QStringLiteral("bad")), Copy(3)));
    ASSERT_TRUE(QFile::copy(m_strDatabase, Copy(20)));
    QFile::remove(m_strDatabase);
    ASSERT_TRUE(QFile::copy(m_shell.m_folder.file(QStringLiteral("bad")), m_strDatabase));
    const StartupFacts facts = Run();
    EXPECT_TRUE(QFileInfo::exists(Copy(3)));
    EXPECT_TRUE(QFileInfo::exists(Copy(20)));
    EXPECT_FALSE(QFileInfo::exists(Copy(0)));
    EXPECT_EQ(facts.appId, QString());
    EXPECT_EQ(facts.company, QStringLiteral("未连接到数据库"));
}

// The database file with its second half of pages overwritten: it opens and
// its tables are listed, but reading them fails.
QByteArray DamagedPages(const QByteArray& sound)
{
    const int pageSize = (static_cast<unsigned char>(sound[16]) << 8) | static_cast<unsigned char>(sound[17]);
    QByteArray damaged = sound;
    const qsizetype pages = sound.size() / pageSize;
    for (qsizetype at = (pages / 2) * pageSize; at < damaged.size(); ++at)
        damaged[at] = '\xa5';
    return damaged;
}

// An empty or damaged database "opens"; neither is a good copy, and neither
// is ever copied over the good ones.
TEST_F(StartupWorker, DamagedDatabasesAreNeverGoodCopies)
{
    QFile live(m_strDatabase);
    ASSERT_TRUE(live.open(QIODevice::ReadOnly));
    const QByteArray sound = live.readAll();
    live.close();
    const QByteArray damagedBytes[] = {QByteArray(), DamagedPages(sound)};
    QDir().mkpath(m_strBackups);

    // Damaged copies are dropped.
    for (int day = 0; day < 2; ++day) {
        QFile copy(Copy(day + 1));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(damagedBytes[day]);
    }
    Run();
    EXPECT_FALSE(QFileInfo::exists(Copy(1)));
    EXPECT_FALSE(QFileInfo::exists(Copy(2)));
    EXPECT_TRUE(QFileInfo::exists(Copy(0)));

    // A damaged live database is copied nowhere and costs no good copy.
    for (const QByteArray& damaged : damagedBytes) {
        SCOPED_TRACE(damaged.size());
        QFile::remove(Copy(0));
        ASSERT_TRUE(QFile::copy(m_strDatabase, Copy(20)) || QFileInfo::exists(Copy(20)));
        ASSERT_TRUE(live.open(QIODevice::WriteOnly));
        live.write(damaged);
        live.close();
        Run();
        EXPECT_FALSE(QFileInfo::exists(Copy(0)));
        EXPECT_FALSE(QFileInfo::exists(Copy(0) + ".part"));
        EXPECT_TRUE(QFileInfo::exists(Copy(20)));
    }
}

TEST_F(StartupWorker, StopsAfterARecentMenuMerge)
{
    QDir().mkpath(m_shell.m_folder.file(QStringLiteral("update")));
    const QString menu = m_shell.m_folder.file(QStringLiteral("update/dh_menu.txt"));
    struct Case
    {
        int age; // seconds; -1: no file
        bool factsRead;
    };
    for (const Case& c : {Case{100, false}, Case{0, true}, Case{301, true}, Case{-1, true}}) {
        QFile::remove(menu);
        if (c.age >= 0) {
            m_shell.m_folder.writeBytes(QStringLiteral("update/dh_menu.txt"), "1");
            QFile file(menu);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-c.age), QFileDevice::FileModificationTime));
        }
        EXPECT_EQ(Run().factsRead, c.factsRead) << c.age;
    }
}

TEST_F(StartupWorker, CleansTheFactsUp)
{
    struct Case
    {
        QString app, company;
        QString appId, cleanCompany;
    };
    const QString id36 = QStringLiteral("3f2a9c1e-5b7d-4e8a-9c6f-1d2b3a4c5e6f");
    const Case cases[] = {
        {id36, QStringLiteral("演示 公司 甲"), id36, QStringLiteral("演示-公司-甲")},
        {id36.left(35), QStringLiteral("a"), QString(), QStringLiteral("a")},
        {id36, QString(31, u'公'), id36, QString()},
        {id36, QString(30, u'公'), id36, QString(30, u'公')},
    };
    for (const Case& c : cases) {
        Execute(QStringLiteral("UPDATE c_app SET app_0='%1', company_0='%2' WHERE uid_0=1").arg(c.app, c.company));
        const StartupFacts facts = Run();
        EXPECT_EQ(facts.appId, c.appId);
        EXPECT_EQ(facts.company, c.cleanCompany);
    }
}

// The kind comes from the connection text; only an Access text is backed up.
TEST_F(StartupWorker, KindOfTheStoredConnection)
{
    struct Case
    {
        int kind;
        QString text;
    };
    const Case cases[] = {
        {1, DbTestDatabase::SqlServerText(QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("db"),
                                          QStringLiteral("sa"), QStringLiteral("pw"))},
        {3, DbTestDatabase::PostgreSqlText(QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("db"),
                                           QStringLiteral("u"), QStringLiteral("pw"))},
    };
    QDir(m_strBackups).removeRecursively();
    for (const Case& c : cases) {
        m_shell.WriteSettings(c.kind, c.text);
        const StartupFacts facts = Run();
        EXPECT_EQ(facts.dbType, QString::number(c.kind));
        EXPECT_FALSE(QFileInfo::exists(m_shell.m_folder.file(QStringLiteral("AutoBackup"))));
        EXPECT_FALSE(QFileInfo::exists(m_strBackups));
    }
}

// With a service that offers a newer program, the worker downloads it and
// starts `up` (here a stand-in that notes its argument) from the program folder.
TEST_F(StartupWorker, ServiceOfferingANewerProgramStartsTheUpdater)
{
    UpdateServiceServer service;
    service.Serve("/service/readip.aspx", service.Host().toUtf8());
    service.ServeAnyQuery("/service/v.aspx", "999.0.0.0");
    service.ServeAnyQuery("/service/v1.aspx", "1.0.0.0");
    service.Serve("/service/dl.aspx?id=tembra.exe", ProgramBytes("new"));
    const QString folder = m_shell.m_folder.path();
    WriteBytes(folder + "up", "#!/bin/sh\necho \"$1\" > noted.tmp\nmv noted.tmp noted.txt\n");
    QFile::setPermissions(folder + "up", QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    CStartupTasks tasks(folder, m_shell.m_folder.file(QStringLiteral("tembra")));
    tasks.m_lookupUrls = QStringList{"http://" + service.Host() + "/service/readip.aspx"};
    tasks.RunStartupTasks();

    EXPECT_EQ(tasks.m_facts.serviceHost, service.Host());
    EXPECT_EQ(ReadBytes(folder + "update/tembra"), ProgramBytes("new"));
    for (int i = 0; i < 500 && !QFileInfo::exists(folder + "noted.txt"); ++i)
        QThread::msleep(10);
    EXPECT_EQ(ReadBytes(folder + "noted.txt"), "-d\n");
    // The version request carries the facts just read.
    EXPECT_EQ(service.Requests().value(1).section(u'&', -1), "app=3f2a9c1e-5b7d-4e8a-9c6f-1d2b3a4c5e6f");
}

} // namespace
