#include "DatabaseUpdate.h"
#include "db/tests/DbTestDatabase.h"
#include "UpdateTestSupport.h"
#include "UpdateTexts.h"
#include "VersionPublisher.h"
#include "db/DbConnection.h"
#include "db/DbSchema.h"
#include "text/AppState.h"
#include "text/TextScramble.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Publishing from one program folder and fetching into another through a
// database of each kind.
class PublishAndFetch : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        database = std::make_unique<DbTestDatabase>(GetParam());
        ASSERT_FALSE(database->ConnectText().isEmpty()) << database->Problem().toStdString();
        db.SetConnectString(database->ConnectText());
        ASSERT_TRUE(db.Connect()) << db.m_strErrorInfo.toStdString();
        ASSERT_TRUE(db.ExecuteScript(DbSchemaScript(GetParam())));
        ASSERT_TRUE(db.Execute("INSERT INTO c_app(uid_0,ver_0) VALUES(1,'3.7.7.1')"));
        ASSERT_TRUE(db.Execute("INSERT INTO c_app(uid_0) VALUES(2)"));
        publisherFolder.installation.runningVersion = "3.7.7.10";
        for (ProgramFolder* folder : {&publisherFolder, &fetcherFolder})
            folder->installation.connectText = database->ConnectText();
        fetcherFolder.installation.runningVersion = "3.7.7.2";
    }
    void TearDown() override { db.Close(); }

    bool Publish()
    {
        const UpdateInstallation& from = publisherFolder.installation;
        return CVersionPublisher(from.programFolder, from.programPath, from.runningVersion, "2026-12-10 9:5",
                                 from.connectText, publisherSeams)
            .PublishNewVersion();
    }
    bool Fetch() { return CDatabaseUpdate(fetcherFolder.installation, fetcherSeams).UpdateFromDatabase(); }

    QString Value(const QString& sql)
    {
        QString value = "<none>";
        db.QueryValue(sql, value);
        return value;
    }
    QString Fetched() const { return fetcherFolder.temp.path() + "update/tembra"; }

    std::unique_ptr<DbTestDatabase> database;
    CDbConnection db;
    ProgramFolder publisherFolder, fetcherFolder;
    RecordingSeams publisherSeams, fetcherSeams;
};

TEST_P(PublishAndFetch, PublishedProgramAndUpdaterReachAnotherInstallation)
{
    ASSERT_TRUE(Publish());
    EXPECT_EQ(publisherSeams.questions, QStringList({UpdateTexts::MsgPublishCaption + "|" + UpdateTexts::MsgPublishQuestion}));
    EXPECT_EQ(publisherSeams.messages, QStringList({UpdateTexts::MsgPublished}));
    EXPECT_EQ(Value("SELECT ver_0 FROM c_app WHERE uid_0=1"), "3.7.7.10");
    EXPECT_EQ(Value("SELECT date_exe_0 FROM c_app WHERE uid_0=1"), "2026-12-10 9:5");
    EXPECT_NE(Value("SELECT date_up_0 FROM c_app WHERE uid_0=1"), "");

    EXPECT_TRUE(Fetch());
    EXPECT_EQ(ReadBytes(Fetched()), publisherFolder.runningBytes);
    EXPECT_TRUE(QFileInfo(Fetched()).isExecutable());
    EXPECT_EQ(ReadBytes(fetcherFolder.temp.path() + "up"), publisherFolder.updaterBytes);
    ASSERT_EQ(fetcherSeams.started.size(), 1);
    EXPECT_EQ(fetcherSeams.started[0], qMakePair(fetcherFolder.temp.path(), QString("d")));

    // Once it runs the published version, nothing is fetched again.
    fetcherFolder.installation.runningVersion = "3.7.7.10";
    QDir(fetcherFolder.temp.path() + "update").removeRecursively();
    EXPECT_FALSE(Fetch());
    EXPECT_FALSE(QFileInfo::exists(Fetched()));
    EXPECT_EQ(fetcherSeams.started.size(), 1);
}

TEST_P(PublishAndFetch, NothingIsPublishedWhenItWouldNotServe)
{
    publisherSeams.answer = false;
    EXPECT_FALSE(Publish()); // declined

    publisherSeams.answer = true;
    QFile::remove(publisherFolder.temp.path() + "up");
    EXPECT_FALSE(Publish());
    EXPECT_EQ(publisherSeams.messages, QStringList({UpdateTexts::MsgUpdaterMissing}));
    EXPECT_EQ(publisherSeams.questions.size(), 1); // asked once, before up went missing

    publisherFolder.installation.runningVersion = "3.7.7.1";
    EXPECT_TRUE(Publish());
    EXPECT_EQ(publisherSeams.messages.last(), UpdateTexts::MsgNoNewVersion);

    EXPECT_EQ(Value("SELECT ver_0 FROM c_app WHERE uid_0=1"), "3.7.7.1");
    EXPECT_EQ(Value("SELECT count(*) FROM c_app WHERE exe_0 IS NOT NULL"), "0");
}

TEST_P(PublishAndFetch, FetchInstallsNothingFromAnUnusablePublication)
{
    // A newer version without a program, then a program that is no program.
    ASSERT_TRUE(db.Execute("UPDATE c_app SET ver_0='3.7.7.10' WHERE uid_0=1"));
    EXPECT_FALSE(Fetch());
    ASSERT_TRUE(db.WriteBlobs("SELECT uid_0,exe_0 FROM c_app WHERE uid_0=1", {"exe_0"}, {QByteArray("MZ....")}, {6}));
    EXPECT_FALSE(Fetch());
    EXPECT_FALSE(QFileInfo::exists(Fetched()));
    EXPECT_EQ(ReadBytes(fetcherFolder.temp.path() + "up"), fetcherFolder.updaterBytes);
    EXPECT_TRUE(fetcherSeams.started.isEmpty());
}

TEST_P(PublishAndFetch, FailedWriteStartsNoUpdater)
{
    ASSERT_TRUE(Publish());
    // A file where the update folder belongs: the program cannot be written.
    WriteBytes(fetcherFolder.temp.path() + "update", "in the way");

    EXPECT_FALSE(Fetch());
    EXPECT_EQ(ReadBytes(fetcherFolder.temp.path() + "update"), "in the way");
    EXPECT_TRUE(fetcherSeams.started.isEmpty());
}

TEST_P(PublishAndFetch, DatabaseThatDoesNotOpenEndsTheRun)
{
    fetcherFolder.installation.connectText = DbTestDatabase::AccessText(fetcherFolder.temp.path() + "no/such.mdb");
    EXPECT_TRUE(Fetch());
    EXPECT_TRUE(fetcherSeams.started.isEmpty());
}

// The worker's text is the one it was handed when it started: without one it
// opens nothing, and never the application's text, which the login dialog
// writes on the GUI thread meanwhile.
TEST_P(PublishAndFetch, EmptyConnectionTextOpensNothing)
{
    ASSERT_TRUE(Publish());
    const AppState saved = theApp();
    theApp().m_strConnectText = ScrambleText(database->ConnectText(), 1);
    fetcherFolder.installation.connectText.clear();
    EXPECT_TRUE(Fetch());
    theApp() = saved;
    EXPECT_TRUE(fetcherSeams.started.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Fetched()));
}

INSTANTIATE_TEST_SUITE_P(Kinds, PublishAndFetch, ::testing::Values(2, 3),
                         [](const auto& info) { return info.param == 2 ? "Access" : "PostgreSql"; });

} // namespace
