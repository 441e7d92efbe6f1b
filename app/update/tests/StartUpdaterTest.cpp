#include "TempFolder.h"
#include "UpdateSeams.h"
#include "UpdateTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A stand-in for `up` that notes its argument, its folder and its standard input.
const QByteArray kNotingUpdater = "#!/bin/sh\n"
                                  "echo \"$1 $(pwd)/ $(readlink /proc/self/fd/0)\" > noted.tmp\n"
                                  "mv noted.tmp noted.txt\n";

TEST(StartUpdater, StartsUpDetachedInItsFolderWithTheSwitch)
{
    TempFolder folder;
    WriteBytes(folder.path() + "up", kNotingUpdater);
    QFile::setPermissions(folder.path() + "up", QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(StartUpdater(folder.path(), "d"), 1);

    const QString noted = folder.path() + "noted.txt";
    for (int i = 0; i < 500 && !QFileInfo::exists(noted); ++i)
        QThread::msleep(10);
    const QString canonical = QFileInfo(folder.path()).canonicalFilePath() + "/";
    EXPECT_EQ(QString::fromUtf8(ReadBytes(noted)).trimmed(), "-d " + canonical + " /dev/null");
}

TEST(StartUpdater, MissingOrUnusableUpIsReported)
{
    TempFolder folder;
    EXPECT_EQ(StartUpdater(folder.path(), "d"), -1);
    WriteBytes(folder.path() + "up", kNotingUpdater); // not executable
    EXPECT_EQ(StartUpdater(folder.path(), "d"), -1);
}

} // namespace
