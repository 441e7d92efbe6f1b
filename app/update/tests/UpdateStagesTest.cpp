#include "UpdateServiceServer.h"
#include "UpdateCheck.h"
#include "UpdateStages.h"
#include "UpdateTestSupport.h"
#include "db/DbConnection.h"
#include "db/DbSchema.h"
#include "db/tests/DbTestDatabase.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The stages in the worker's order, on an SQLite installation whose c_app
// holds a newer published program.
class UpdateStages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(database.ConnectText().isEmpty()) << database.Problem().toStdString();
        CDbConnection db;
        db.SetConnectString(database.ConnectText());
        ASSERT_TRUE(db.Connect());
        ASSERT_TRUE(db.ExecuteScript(DbSchemaScript(2)));
        ASSERT_TRUE(db.Execute("INSERT INTO c_app(uid_0,app_0,ver_0,ver_1) VALUES(1,'"
                               + folder.installation.appId + "','3.7.7.5','7')"));
        ASSERT_TRUE(db.WriteBlobs("SELECT uid_0,exe_0 FROM c_app WHERE uid_0=1", {"exe_0"}, {published},
                                  {int(published.size())}));
        folder.installation.connectText = database.ConnectText();
        lookup = {"http://" + service.Host() + "/service/readip.aspx"};
    }

    QString VersionTarget()
    {
        const QString url = CUpdateCheck(folder.installation, seams).VersionRequestUrl(service.Host());
        return url.mid(url.indexOf("/service/"));
    }

    DbTestDatabase database{2};
    ProgramFolder folder;
    RecordingSeams seams{folder.installation.programFolder};
    UpdateServiceServer service;
    QStringList lookup;
    QByteArray published = ProgramBytes("published");
};

TEST_F(UpdateStages, WithoutTheServiceTheDatabaseUpdates)
{
    const UpdateStagesResult result = RunUpdateStages(folder.installation, seams, lookup);

    EXPECT_TRUE(result.serviceHost.isEmpty());
    EXPECT_EQ(ReadBytes(folder.temp.path() + "update/tembra"), published);
    EXPECT_EQ(seams.started.size(), 1);
    EXPECT_FALSE(result.updating);
}

TEST_F(UpdateStages, TheServiceComesFirstAndTheMenuDataAfterIt)
{
    service.Serve("/service/readip.aspx", service.Host().toUtf8() + "\r\n");
    service.Serve(VersionTarget(), "3.7.7.1"); // as new as the running program
    service.Serve("/service/v1.aspx?type=2&app_id=" + folder.installation.appId, "7");

    const UpdateStagesResult result = RunUpdateStages(folder.installation, seams, lookup);

    EXPECT_EQ(result.serviceHost, service.Host());
    // Told before the slow requests, without the line end.
    EXPECT_EQ(seams.notedHosts, QStringList{service.Host()});
    EXPECT_FALSE(result.updaterStarted);
    EXPECT_TRUE(seams.started.isEmpty()); // the database is not asked
    EXPECT_FALSE(QFileInfo::exists(folder.temp.path() + "update/tembra"));
    EXPECT_EQ(seams.updateFolderRemovals, 1); // the menu data is current
}

} // namespace
