#include "UpdateCheck.h"
#include "UpdateServiceServer.h"
#include "UpdateTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString kVersionPath = "/service/v.aspx";
const QString kMenuVersionTarget = "/service/v1.aspx?type=2&app_id=0123456789abcdef0123456789abcdef0123";
const QString kUpdaterTarget = "/service/dl.aspx?id=up.exe";
const QString kProgramTarget = "/service/dl.aspx?id=tembra.exe";

class UpdateCheck : public ::testing::Test
{
protected:
    UpdateCheck() : seams(folder.installation.programFolder) {}

    QString VersionTarget()
    {
        const QString url = CUpdateCheck(folder.installation, seams).VersionRequestUrl(service.Host());
        return url.mid(url.indexOf(kVersionPath));
    }

    // The service offers `version` with a new program and a new `up`.
    void Offer(const QString& version)
    {
        service.Serve(VersionTarget(), version.toUtf8());
        service.Serve(kMenuVersionTarget, "8");
        service.Serve(kUpdaterTarget, newUpdater);
        service.Serve(kProgramTarget, newProgram);
    }

    UpdateCheckResult Run() { return CUpdateCheck(folder.installation, seams).Run(service.Host()); }

    QString Downloaded() const { return folder.temp.path() + "update/tembra"; }

    void ExpectNothingInstalled()
    {
        EXPECT_TRUE(seams.started.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(Downloaded()));
        EXPECT_EQ(ReadBytes(folder.installation.programPath), folder.runningBytes);
        EXPECT_TRUE(QDir(folder.temp.path() + "update").entryList(QDir::Files).isEmpty());
    }

    ProgramFolder folder;
    RecordingSeams seams;
    UpdateServiceServer service;
    QByteArray newProgram = ProgramBytes("new program");
    QByteArray newUpdater = ProgramBytes("new up");
};

TEST_F(UpdateCheck, ServiceHostIsTheFirstShortNonEmptyReply)
{
    const QString base = "http://" + service.Host();
    service.Serve("/second", QByteArray(21, 'x'));
    service.Serve("/third", "10.1.2.3\r\n");
    service.Serve("/fourth", "10.9.9.9");

    EXPECT_EQ(CUpdateCheck::FindServiceHost({base + "/first", base + "/second", base + "/third", base + "/fourth"}),
              "10.1.2.3");
    EXPECT_EQ(service.Requests(), QStringList({"/first", "/second", "/third"}));
    EXPECT_EQ(CUpdateCheck::FindServiceHost({base + "/first"}), "");
}

TEST_F(UpdateCheck, VersionRequestCarriesTheInstallationFacts)
{
    folder.installation.hostName = "my pc";
    folder.installation.stockRows = "";
    folder.installation.materialRows = "12";
    const struct
    {
        QString company;
        QString sent;
    } cases[] = {
        {"公司", "%e5%85%ac%e5%8f%b8"},
        {"", "test0"},
        {"A", "test0"},
    };
    for (const auto& c : cases) {
        folder.installation.company = c.company;
        EXPECT_EQ(CUpdateCheck(folder.installation, seams).VersionRequestUrl("h:1"),
                  "http://h:1/service/v.aspx?v=3.7.7.1-7-12-0&id=00-11-22-33-44-55&name=%6d%79%20%70%63"
                  "&ip=10.0.0.5&type=2&c=" + c.sent + "&app=0123456789abcdef0123456789abcdef0123")
            << c.company.toStdString();
    }
}

TEST_F(UpdateCheck, NewerProgramIsDownloadedAndTheUpdaterStarted)
{
    Offer("3.7.7.2");
    service.AnnounceNoLength(kProgramTarget); // a whole close-delimited reply is taken

    const UpdateCheckResult result = Run();

    EXPECT_TRUE(result.updaterStarted);
    EXPECT_EQ(result.programVersion, "3.7.7.2");
    EXPECT_EQ(result.menuVersion, "8");
    EXPECT_EQ(ReadBytes(Downloaded()), newProgram);
    EXPECT_TRUE(QFileInfo(Downloaded()).isExecutable());
    EXPECT_EQ(ReadBytes(folder.temp.path() + "up"), newUpdater);
    EXPECT_TRUE(QFileInfo(folder.temp.path() + "up").isExecutable());
    ASSERT_EQ(seams.started.size(), 1);
    EXPECT_EQ(seams.started[0], qMakePair(folder.temp.path(), QString("d")));
    // Every file is asked for once. The program's reply ends where the
    // connection closes, and on a loaded machine Qt's HTTP layer now and then
    // takes that close for a dropped connection and sends the GET again by
    // itself: that file may come twice.
    for (const QString& target : {VersionTarget(), kUpdaterTarget, kMenuVersionTarget})
        EXPECT_EQ(service.CountOf(target), 1) << target.toStdString();
    EXPECT_GE(service.CountOf(kProgramTarget), 1);
    EXPECT_LE(service.CountOf(kProgramTarget), 2);
    EXPECT_EQ(service.Requests().size(), 3 + service.CountOf(kProgramTarget));
}

TEST_F(UpdateCheck, ProgramNotNewerDownloadsNothing)
{
    for (const QString version : {"3.7.7.1", "3.7.6.9", "3.7.7.01"}) {
        Offer(version);
        const UpdateCheckResult result = Run();
        EXPECT_FALSE(result.updaterStarted) << version.toStdString();
        EXPECT_EQ(result.menuVersion, "8");
        EXPECT_EQ(service.CountOf(kProgramTarget) + service.CountOf(kUpdaterTarget), 0);
        ExpectNothingInstalled();
    }
}

TEST_F(UpdateCheck, WithoutServiceHostOrVersionNothingIsAsked)
{
    EXPECT_EQ(CUpdateCheck(folder.installation, seams).Run("").programVersion, "");
    EXPECT_TRUE(service.Requests().isEmpty());

    service.Serve(VersionTarget(), "3.7.7.2-but-far-too-long");
    service.Serve(kMenuVersionTarget, "8");
    const UpdateCheckResult result = Run();
    EXPECT_EQ(result.programVersion, "");
    EXPECT_EQ(result.menuVersion, "8");
    ExpectNothingInstalled();
}

TEST_F(UpdateCheck, CutOrDamagedDownloadsReplaceNothing)
{
    for (const bool announced : {true, false}) {
        for (const qsizetype cut : {qsizetype(0), qsizetype(1), qsizetype(4), qsizetype(64), qsizetype(120),
                                    newProgram.size() / 2, newProgram.size() - 1}) {
            SCOPED_TRACE(announced ? "length announced" : "close-delimited");
            Offer("3.7.7.2");
            service.CutAfter(kProgramTarget, cut);
            service.CutAfter(kUpdaterTarget, std::min(cut, newUpdater.size() - 1));
            if (!announced) {
                service.AnnounceNoLength(kProgramTarget);
                service.AnnounceNoLength(kUpdaterTarget);
            }

            EXPECT_FALSE(Run().updaterStarted) << cut;
            ExpectNothingInstalled();
            EXPECT_EQ(ReadBytes(folder.temp.path() + "up"), folder.updaterBytes);
        }
    }
    Offer("3.7.7.2");
    service.Serve(kProgramTarget, "<html>error</html>");
    service.Serve(kUpdaterTarget, "");
    EXPECT_FALSE(Run().updaterStarted);
    ExpectNothingInstalled();
    EXPECT_EQ(ReadBytes(folder.temp.path() + "up"), folder.updaterBytes);
}

// A service whose new program still reports the old version would otherwise
// replace and restart the program at every start.
TEST_F(UpdateCheck, SameOfferIsInstalledOnlyOnceUnlessDeclined)
{
    Offer("3.7.7.2");
    ASSERT_TRUE(Run().updaterStarted);

    // Declined in `up`: the running program is still the old one.
    EXPECT_TRUE(Run().updaterStarted);

    // Installed, yet the program still reports 3.7.7.1.
    WriteBytes(folder.installation.programPath, ReadBytes(Downloaded()));
    QDir(folder.temp.path() + "update").removeRecursively();
    EXPECT_FALSE(Run().updaterStarted);
    EXPECT_EQ(seams.started.size(), 2);
    EXPECT_EQ(service.CountOf(kProgramTarget), 2);

    // A later version is offered again.
    Offer("3.7.7.3");
    EXPECT_TRUE(Run().updaterStarted);
}

} // namespace
