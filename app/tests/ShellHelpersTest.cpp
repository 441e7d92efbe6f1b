// The shell's small helpers: versions, file ages, dates, folders, the header
// gradient, favourites lists, and the program checks of the start.
#include "FavouriteList.h"
#include "MainApp.h"
#include "ShellFixture.h"
#include "ShellHelpers.h"
#include "TempFolder.h"
#include "UpdateInstallation.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QThread>

#include <gtest/gtest.h>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

TEST(ShellHelpers, CompareVersionsByNumberPerPart)
{
    struct Case
    {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"10.0.0.0", "9.0.0.0", 1}, {"3.7.7.1", "3.7.10", -1}, {"1.2", "1.2.0", 0}, {"3.7", "3.7.0.0", 0},
        {"", "0", 0},               {"1.x.3", "1.0.3", 0},     {"2a.1", "2.1", 0},  {"1.2.3.4", "1.2.3.5", -1},
        {"99999999999999999999", "1", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(CompareVersions(QString::fromUtf8(c.a), QString::fromUtf8(c.b))), c.sign) << c.a << " " << c.b;
        EXPECT_EQ(Sign(CompareVersions(QString::fromUtf8(c.b), QString::fromUtf8(c.a))), -c.sign) << c.b << " " << c.a;
    }
}

TEST(ShellHelpers, FileAgeDatesAndTimes)
{
    TempFolder folder;
    folder.writeBytes(QStringLiteral("new.txt"), "x");
    const qint64 age = GetFileAgeSeconds(folder.file(QStringLiteral("new.txt")));
    EXPECT_GE(age, 0);
    EXPECT_LE(age, 5);
    EXPECT_EQ(GetFileAgeSeconds(folder.file(QStringLiteral("missing.txt"))), -1);

    EXPECT_EQ(GetDateAfterDaysText(0), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    EXPECT_EQ(GetDateAfterDaysText(-15), QDate::currentDate().addDays(-15).toString(QStringLiteral("yyyy-MM-dd")));

    QFile file(folder.file(QStringLiteral("new.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2022, 3, 1), QTime(7, 5)), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(GetFileTimeText(folder.file(QStringLiteral("new.txt"))), QStringLiteral("2022-03-01 7:5"));
    EXPECT_EQ(GetFileTimeText(folder.file(QStringLiteral("missing.txt"))), QString());
}

TEST(ShellHelpers, EmptyFolderDeletesFilesAndLeavesSubFolders)
{
    TempFolder folder;
    folder.writeBytes(QStringLiteral("a.txt"), "a");
    folder.writeBytes(QStringLiteral("b.bin"), "b");
    QFile::setPermissions(folder.file(QStringLiteral("b.bin")), QFileDevice::ReadOwner);
    QDir().mkpath(folder.file(QStringLiteral("sub")));
    folder.writeBytes(QStringLiteral("sub/c.txt"), "c");
    EmptyFolder(folder.file(QString()).chopped(1));
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("a.txt"))));
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("b.bin"))));
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("sub/c.txt"))));
}

TEST(ShellHelpers, RemoveUpdateFolderOnlyWhenUpdating)
{
    TempFolder folder;
    SetModuleFolderOverride(folder.path());
    const AppState saved = theApp();
    QDir().mkpath(folder.file(QStringLiteral("update")));
    folder.writeBytes(QStringLiteral("update/tembra"), "new");
    CMainApp app;
    theApp().m_bUpdating = false;
    app.ExitInstance();
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("update/tembra"))));
    theApp().m_bUpdating = true;
    app.ExitInstance();
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("update"))));
    theApp() = saved;
    SetModuleFolderOverride(QString());
}

TEST(ShellHelpers, GradientBandsRunFromStartToEnd)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        FillVerticalGradient(painter, 0, 0, 9, 10, QColor(0, 0, 0), QColor(100, 200, 250), 2);
    }
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(9, 2), QColor(20, 40, 50));
    EXPECT_EQ(image.pixelColor(5, 9), QColor(80, 160, 200));
}

TEST(ShellHelpers, FavouriteLists)
{
    struct Case
    {
        const char* list;
        const char* uid;
        const char* added;
        const char* removed;
    };
    const Case cases[] = {
        {"", "5", "5", ""},
        {"5", "7", "5,7", "5"},           // a list of one entry is kept
        {"5", "5", "5", ""},
        {"21,22,23", "22", "21,23,22", "21,23"},
        {"12,2,21", "2", "12,21,2", "12,21"}, // whole entries only
        {"3", "33", "3,33", "3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AddFavourite(QString::fromUtf8(c.list), QString::fromUtf8(c.uid)), QString::fromUtf8(c.added)) << c.list;
        EXPECT_EQ(RemoveFavourite(QString::fromUtf8(c.list), QString::fromUtf8(c.uid)), QString::fromUtf8(c.removed))
            << c.list;
    }
}

TEST(ShellHelpers, ProgramChecksOfTheStart)
{
    EXPECT_EQ(CMainApp::CheckProgramName(QStringLiteral("tembra")), QString());
    EXPECT_EQ(CMainApp::CheckProgramName(QStringLiteral("Tembra")), QString());
    for (const char* name : {"TEMBRA", "tembra2", "tEmbra", "tembra.exe"}) {
        const QString message = CMainApp::CheckProgramName(QString::fromUtf8(name));
        EXPECT_TRUE(message.startsWith(QStringLiteral("主程序名不能改为 ") + QString::fromUtf8(name) + u' ')) << name;
    }
    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs", "NFS"})
        EXPECT_TRUE(CMainApp::IsNetworkFileSystem(QString::fromUtf8(type))) << type;
    for (const char* type : {"ext4", "xfs", "btrfs", "tmpfs", "overlay", ""})
        EXPECT_FALSE(CMainApp::IsNetworkFileSystem(QString::fromUtf8(type))) << type;
}

// The restart after saved settings starts the file the program runs from,
// under its own name, in its own folder.
TEST(ShellHelpers, StartProgramFileRunsItInItsFolder)
{
    TempFolder folder;
    const QString program = folder.file(QStringLiteral("Tembra"));
    folder.writeBytes(QStringLiteral("Tembra"), "#!/bin/sh\necho started > started.tmp\nmv started.tmp started.txt\n");
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(StartProgramFile(program));
    const QString marker = folder.file(QStringLiteral("started.txt"));
    for (int i = 0; i < 500 && !QFileInfo::exists(marker); ++i)
        QThread::msleep(10);
    EXPECT_EQ(folder.readBytes(QStringLiteral("started.txt")), "started\n");
    EXPECT_FALSE(StartProgramFile(folder.file(QStringLiteral("tembra"))));
}

// This test program is not called tembra: the start refuses it with the
// name shown as it is, before any window or thread.
TEST(ShellHelpers, StartRefusesAnotherProgramName)
{
    QStringList messages;
    SetMessageSink([&](const QString& text) { messages << text; });
    CMainApp app;
    EXPECT_FALSE(app.InitInstance());
    SetMessageSink({});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("app_shell_helpers_test")));
}

} // namespace
