#include "text/Cp936.h"
#include "text/IniFile.h"
#include "text/ModuleFolder.h"
#include "FileModes.h"
#include "TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <thread>

namespace {

// The program folder points at a temporary folder while a test runs.
class IniFile : public ::testing::Test
{
protected:
    void SetUp() override { SetModuleFolderOverride(m_folder.path()); }
    void TearDown() override { SetModuleFolderOverride(QString()); }

    TempFolder m_folder;
};

QByteArray Utf16File(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

// Runs work as a user whom file modes bind, on a thread of its own, so a test
// run as root sees a read-only folder as a user does.
void RunBoundByFileModes(const std::function<void()>& work)
{
    std::thread([&] {
        const BoundByFileModes bound;
        work();
    }).join();
}

} // namespace

TEST_F(IniFile, ReadOnlyFolderWritesAWritableFileInPlace)
{
    const struct
    {
        const char* name;
        bool fileExists;
        mode_t fileMode;
        bool written;
    } cases[] = {
        {"file open to all", true, 0666, true},
        {"read-only file", true, 0444, false},
        {"no file", false, 0, false},
    };
    const QByteArray before = Utf16File("[SERVER]\r\nUSER=admin\r\n");
    const QByteArray folder = QFile::encodeName(m_folder.path());
    const QByteArray path = QFile::encodeName(m_folder.file("cfg.ini"));
    for (const auto& c : cases) {
        ::unlink(path.constData());
        if (c.fileExists) {
            m_folder.writeBytes("cfg.ini", before);
            ASSERT_EQ(0, ::chmod(path.constData(), c.fileMode));
        }
        ASSERT_EQ(0, ::chmod(folder.constData(), 0555));
        bool written = !c.written;
        RunBoundByFileModes([&] { written = WriteIniString("cfg.ini", "SERVER", "NAME", QStringLiteral("库")); });
        ASSERT_EQ(0, ::chmod(folder.constData(), 0755));
        EXPECT_EQ(c.written, written) << c.name;
        if (c.written) {
            EXPECT_EQ(QStringLiteral("库"), ReadIniString("cfg.ini", "SERVER", "NAME")) << c.name;
            EXPECT_EQ(QString("admin"), ReadIniString("cfg.ini", "SERVER", "USER")) << c.name;
        } else if (c.fileExists) {
            EXPECT_EQ(before, m_folder.readBytes("cfg.ini")) << c.name;
        } else {
            EXPECT_FALSE(QFile::exists(m_folder.file("cfg.ini"))) << c.name;
        }
    }
}

TEST_F(IniFile, ReadingAMissingFileGivesEmptyAndCreatesNothing)
{
    EXPECT_TRUE(ReadIniString("cfg.ini", "SERVER", "NAME").isEmpty());
    EXPECT_FALSE(QFile::exists(m_folder.file("cfg.ini")));
}

TEST_F(IniFile, FirstWriteCreatesAUtf16FileAndChineseReadsBack)
{
    const QString value = QStringLiteral("服务器 名称=甲;乙");
    EXPECT_TRUE(WriteIniString("cfg.ini", "SERVER", "NAME", value));
    EXPECT_EQ(Utf16File(QStringLiteral("[SERVER]\r\nNAME=") + value + "\r\n"),
              m_folder.readBytes("cfg.ini"));
    EXPECT_EQ(value, ReadIniString("cfg.ini", "server", "name"));
    EXPECT_TRUE(ReadIniString("cfg.ini", "SERVER", "USER").isEmpty());
    EXPECT_TRUE(ReadIniString("cfg.ini", "OTHER", "NAME").isEmpty());
}

TEST_F(IniFile, LongValuesReadBackAsTheirFirst511Characters)
{
    const QString value = QString(600, QChar(u'字'));
    WriteIniString("cfg.ini", "TABLECOLS", "T1_2_3_4", value);
    EXPECT_EQ(value.left(511), ReadIniString("cfg.ini", "TABLECOLS", "T1_2_3_4"));
    // The file keeps the whole value.
    EXPECT_EQ(Utf16File("[TABLECOLS]\r\nT1_2_3_4=" + value + "\r\n"), m_folder.readBytes("cfg.ini"));
}

TEST_F(IniFile, FileWithoutByteOrderMarkStaysCodePage936)
{
    // A GB18030 four-byte character (U+20000) lies outside code page 936; its
    // line is not written, so its bytes stay as they were.
    const QByteArray untouched = QByteArray("; ") + QByteArray("\x95\x32\x82\x36", 4);
    m_folder.writeBytes("cfg.ini", untouched + "\r\n[SERVER]\r\nUSER=" + ToCp936(QStringLiteral("张三")) +
                                       "\r\n");
    EXPECT_EQ(QStringLiteral("张三"), ReadIniString("cfg.ini", "SERVER", "USER"));
    WriteIniString("cfg.ini", "SERVER", "NAME", QStringLiteral("数据库"));
    const QByteArray bytes = m_folder.readBytes("cfg.ini");
    EXPECT_EQ(untouched + "\r\n[SERVER]\r\nUSER=" + ToCp936(QStringLiteral("张三")) + "\r\nNAME=" +
                  ToCp936(QStringLiteral("数据库")) + "\r\n",
              bytes);
    EXPECT_EQ(QStringLiteral("数据库"), ReadIniString("cfg.ini", "SERVER", "NAME"));
}

TEST_F(IniFile, WritingKeepsOtherLinesAndPlacesNewEntries)
{
    m_folder.writeBytes("cfg.ini", Utf16File("; settings\r\n"
                                             "[Server]\r\n"
                                             "Name = old \r\n"
                                             "DType=1\r\n"
                                             "\r\n"
                                             "[TABLECOLS]\r\n"
                                             "T1=80\r\n"));
    WriteIniString("cfg.ini", "SERVER", "NAME", "new");    // in place, key spelling kept
    WriteIniString("cfg.ini", "server", "USER", "admin");  // end of its section
    WriteIniString("cfg.ini", "B7_3", "PNAME", "打印机");   // new section at the end
    EXPECT_EQ(Utf16File(QStringLiteral("; settings\r\n"
                                       "[Server]\r\n"
                                       "Name =new\r\n"
                                       "DType=1\r\n"
                                       "USER=admin\r\n"
                                       "\r\n"
                                       "[TABLECOLS]\r\n"
                                       "T1=80\r\n"
                                       "[B7_3]\r\n"
                                       "PNAME=打印机\r\n")),
              m_folder.readBytes("cfg.ini"));
    EXPECT_EQ(QString("new"), ReadIniString("cfg.ini", "Server", "Name"));
    EXPECT_EQ(QString("1"), ReadIniString("cfg.ini", "SERVER", "DTYPE"));
    EXPECT_EQ(QString("80"), ReadIniString("cfg.ini", "tablecols", "t1"));
}

TEST_F(IniFile, DuplicateKeysAndSectionsUseTheFirstEntry)
{
    const QByteArray bytes = Utf16File("[A]\r\nK=1\r\nK=2\r\n[B]\r\n[a]\r\nK=3\r\nL=4\r\n");
    EXPECT_EQ(QString("1"), ReadIniValue(bytes, "A", "K"));
    EXPECT_EQ(QString("4"), ReadIniValue(bytes, "A", "L"));
    const QByteArray written = WriteIniValue(bytes, "A", "K", "9");
    EXPECT_EQ(Utf16File("[A]\r\nK=9\r\nK=2\r\n[B]\r\n[a]\r\nK=3\r\nL=4\r\n"), written);
    EXPECT_EQ(Utf16File("[A]\r\nK=1\r\nK=2\r\nM=5\r\n[B]\r\n[a]\r\nK=3\r\nL=4\r\n"),
              WriteIniValue(bytes, "A", "M", "5"));
}

TEST(IniFileBroken, BrokenFilesReadAsFarAsTheyMakeSense)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
        QString section;
        QString key;
        QString value;
    } cases[] = {
        {"empty file", QByteArray(), "S", "K", ""},
        {"mark only", QByteArray("\xFF\xFE", 2), "S", "K", ""},
        {"odd byte count", Utf16File("[S]\r\nK=v") + 'x', "S", "K", "v"},
        {"line without =", Utf16File("[S]\r\nnoise\r\nK=v\r\n"), "S", "K", "v"},
        {"key without value", Utf16File("[S]\r\nK\r\n"), "S", "K", ""},
        {"missing ]", Utf16File("[S\r\nK=v\r\n[T]\r\nK=w\r\n"), "T", "K", "w"},
        {"missing ] is no section", Utf16File("[S\r\nK=v\r\n"), "S", "K", ""},
        {"key before any section", Utf16File("K=v\r\n[S]\r\n"), "S", "K", ""},
        {"NUL ends the value", Utf16File(QString("[S]\r\nK=ab") + QChar(u'\0') + "cd\r\n"), "S", "K", "ab"},
        {"NUL in another line", Utf16File(QString("[S]\r\nX") + QChar(u'\0') + "=1\r\nK=v\r\n"), "S", "K", "v"},
        {"LF line breaks", Utf16File("[S]\nK=v\n"), "S", "K", "v"},
        {"comment is no key", Utf16File("[S]\r\n;K=x\r\nK=v\r\n"), "S", "K", "v"},
        {"blanks around names", Utf16File("  [ S ]  \r\n  K  =  v w  \r\n"), "S", "K", "v w"},
        {"code page 936 bytes", QByteArray("[S]\r\nK=\xD6\xD0\xCE\xC4\r\n"), "S", "K", QStringLiteral("中文")},
        {"bad code page bytes", QByteArray("[S]\r\nJ=\xFF\xFF\x80\r\nK=v\r\n"), "S", "K", "v"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, ReadIniValue(c.bytes, c.section, c.key)) << c.name;
}

TEST(IniFileBroken, WritingABrokenFileKeepsItsKeys)
{
    const QByteArray broken =
        Utf16File(QString("[S\r\nA=1\r\nnoise\r\n[T]\r\nB=") + QChar(u'\0') + "2\r\n") + 'x';
    const QByteArray written = WriteIniValue(broken, "T", "C", "3");
    EXPECT_EQ(Utf16File(QString("[S\r\nA=1\r\nnoise\r\n[T]\r\nB=") + QChar(u'\0') + "2\r\nC=3\r\n"),
              written);
    EXPECT_EQ(QString("3"), ReadIniValue(written, "T", "C"));
}
