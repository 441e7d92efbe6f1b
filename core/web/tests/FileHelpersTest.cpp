#include "text/Cp936.h"
#include "web/FileHelpers.h"
#include "TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(FileHelpersTest, BinaryRoundTrip)
{
    TempFolder folder;
    const QByteArray bytes("a\0b\r\n\xff", 6);
    WriteWholeFile(folder.file("bin"), bytes);
    EXPECT_EQ(ReadWholeFile(folder.file("bin")), bytes);
    WriteWholeFile(folder.file("bin"), "x");
    EXPECT_EQ(ReadWholeFile(folder.file("bin")), "x"); // truncated, not overwritten in place
    WriteWholeFile(folder.file("empty"), QByteArray());
    EXPECT_TRUE(ReadWholeFile(folder.file("empty")).isEmpty());
}

TEST(FileHelpersTest, FailuresRaiseFileException)
{
    TempFolder folder;
    EXPECT_THROW(ReadWholeFile(folder.file("missing")), FileException);
    EXPECT_THROW(WriteWholeFile(folder.file("no/such/folder/f"), "x"), FileException);
    QString text = "kept";
    EXPECT_THROW(ReadGb2312File(folder.file("missing"), text), FileException);
    EXPECT_EQ(text, "kept");
    try {
        ReadWholeFile(folder.file("missing"));
    } catch (const FileException& e) {
        EXPECT_EQ(e.Path(), folder.file("missing"));
        EXPECT_FALSE(e.Reason().isEmpty());
    }
}

TEST(FileHelpersTest, CodePage936Files)
{
    TempFolder folder;
    WriteGb2312File(folder.file("gb"), QStringLiteral("中文ab"));
    EXPECT_EQ(folder.readBytes("gb"), QByteArray("\xd6\xd0\xce\xc4" "ab"));
    QString text;
    ASSERT_TRUE(ReadGb2312File(folder.file("gb"), text));
    EXPECT_EQ(text, QStringLiteral("中文ab"));

    folder.writeBytes("short", "x");
    text = "kept";
    EXPECT_FALSE(ReadGb2312File(folder.file("short"), text));
    EXPECT_EQ(text, "kept");
}

TEST(FileHelpersTest, CrlfTurnsOnlyLoneLineFeeds)
{
    TempFolder folder;
    WriteTextFileCrlf(folder.file("log"), QStringLiteral("\n失败\nb\r\nc\r\r\n\n"));
    EXPECT_EQ(folder.readBytes("log"), QByteArray("\r\n\xca\xa7\xb0\xdc\r\nb\r\nc\r\r\n\r\n"));
    // Appending keeps what is there and writes the same way.
    AppendTextFileCrlf(folder.file("log"), QStringLiteral("d\n失败"));
    AppendTextFileCrlf(folder.file("new log"), QStringLiteral("e\n"));
    EXPECT_EQ(folder.readBytes("log"), QByteArray("\r\n\xca\xa7\xb0\xdc\r\nb\r\nc\r\r\n\r\nd\r\n\xca\xa7\xb0\xdc"));
    EXPECT_EQ(folder.readBytes("new log"), QByteArray("e\r\n"));
}

TEST(FileHelpersTest, CreateFolderMakesOneLevel)
{
    TempFolder folder;
    CreateFolder(folder.file("sub"));
    EXPECT_TRUE(QDir(folder.file("sub")).exists());
    CreateFolder(folder.file("a/b"));
    EXPECT_FALSE(QDir(folder.file("a")).exists());
}

} // namespace
