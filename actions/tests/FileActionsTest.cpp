// Files in records: upload and download round trips, the upload log, the
// size limits, file names from the database, opening files and pictures.
#include "ActionFormTest.h"
#include "FileChooser.h"
#include "QvPicture.h"
#include "grid/ListCtrlEx.h"
#include "TempFolder.h"
#include "text/ModuleFolder.h"
#include "web/ShellOpen.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QUrl>

namespace {

const char* const DocumentForm =
    "<table id='7' pos='0,0,400,200'><PARA><col_info><col id='1' name='名称' width='80'/>"
    "<col id='2' name='路径' width='200'/></col_info></PARA></table>"
    "<button id='20' pos='0,210,60,230' value='上传'><ACTION><CLICK><upload><para_info table_id='7' "
    "select_table='doc' file_field_name='file_name_0' img_field_name='file_0'/></upload></CLICK></ACTION></button>"
    "<button id='21' pos='70,210,130,230' value='下载'><ACTION><CLICK><download><para_info table_id='7' "
    "select_table='doc' file_field_name='file_name_0' img_field_name='file_0'/></download></CLICK></ACTION></button>"
    "<textbox id='30' pos='0,240,300,260' value=''/>"
    "<textbox id='31' pos='0,270,300,290' value=''/>"
    "<button id='22' pos='140,210,200,230' value='打开'><ACTION><CLICK><open_file><para_info url_id='30'/>"
    "</open_file></CLICK></ACTION></button>"
    "<button id='23' pos='210,210,270,230' value='打开行'><ACTION><CLICK><open_file><para_info table_id='7' col='2'/>"
    "</open_file></CLICK></ACTION></button>"
    "<pic id='40' pos='420,0,520,100'/>"
    "<button id='24' pos='280,210,340,230' value='看图'><ACTION><CLICK><show_pic><para_info url_id='30' target='40'/>"
    "</show_pic></CLICK></ACTION></button>"
    "<button id='25' pos='350,210,410,230' value='传图'><ACTION><CLICK>"
    "<upload_pic values=\"SELECT * FROM doc WHERE name_0='-' {{p1}}\"><para_info_where source_id='30' "
    "img_field_name='file_0' max='1'><p value='31' where=\" OR name_0='{{self}}'\"/></para_info_where></upload_pic>"
    "</CLICK></ACTION></button>"
    "<button id='26' pos='420,210,480,230' value='取图'><ACTION><CLICK>"
    "<download_pic table_id='7' target_ids='40' values='SELECT file_0 FROM doc WHERE uid_0={{id?uid}}'>"
    "<para_info_where img_field_name='file_0'/></download_pic></CLICK></ACTION></button>";

class FileActionsTest : public ActionFormTest
{
protected:
    void SetUp() override
    {
        ActionFormTest::SetUp();
        if (HasFatalFailure())
            return;
        SetModuleFolderOverride(m_program.path());
        SetShellOpenerForTests([this](const QUrl& url) {
            m_opened << url.toLocalFile();
            return m_shellWorks;
        });
        SetFileToOpenChooserForTests([this](const QString&, const QString&) { return m_chosen; });
        Exec("CREATE TABLE doc (uid_0 " + KeyColumn() + ", name_0 VARCHAR(50), file_name_0 VARCHAR(260), file_0 "
             + BlobType() + ", date_up_0 " + (GetParam() == 3 ? "TIMESTAMP" : "DATETIME")
             + ", up_user_uid_0 INTEGER)");
        Exec("INSERT INTO doc (name_0) VALUES ('x')");
        Exec("INSERT INTO doc (name_0) VALUES ('y')");
        Open(DocumentForm);
        SelectRecord(1);
    }

    void TearDown() override
    {
        SetFileToOpenChooserForTests({});
        SetShellOpenerForTests({});
        SetModuleFolderOverride(QString());
        ActionFormTest::TearDown();
    }

    CListCtrlEx* Grid() { return qobject_cast<CListCtrlEx*>(Control(7)); }

    // One grid row for the record uid, selected.
    void SelectRecord(int uid, const QString& path = QString())
    {
        CListCtrlEx* grid = Grid();
        grid->DeleteAllRows();
        grid->InsertRow(0, "记录");
        grid->SetItemText(0, 1, path);
        grid->SetRowData(0, nullptr, QString::number(uid), 0);
        grid->SelectRow(0, true);
    }

    void SetText(int id, const QString& text) { CFormActions::SetTextAndRefresh(Control(id), text); }

    TempFolder m_program;
    TempFolder m_files;
    QString m_chosen;
    QStringList m_opened;
    bool m_shellWorks = true;
};

TEST_P(FileActionsTest, UploadAndDownloadGiveTheSameBytesBack)
{
    QByteArray big(10 * 1024 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(QRandomGenerator::global()->bounded(256));
    const struct {
        QString name;
        QByteArray bytes;
    } cases[] = {
        {"empty.txt", QByteArray()},
        {"one.bin", QByteArray("\0", 1)},
        {"中文 文件名.pdf", "%PDF- 中文"},
        {"big.bin", big},
    };
    for (const auto& c : cases) {
        m_files.writeBytes(c.name, c.bytes);
        m_chosen = m_files.file(c.name);
        m_messages.clear();
        m_opened.clear();
        Fire(20);
        // Above 2 MiB the upload is refused and the record keeps its file.
        if (c.bytes.size() > 2 * 1024 * 1024) {
            ASSERT_EQ(m_messages, QStringList{"文件太大，只能上传小于2M的文件"});
            EXPECT_EQ(Value("SELECT file_name_0 FROM doc WHERE uid_0=1"), "中文 文件名.pdf");
            continue;
        }
        ASSERT_EQ(m_messages, QStringList{"上传成功"}) << c.name.toStdString();
        EXPECT_EQ(Value("SELECT file_name_0 FROM doc WHERE uid_0=1"), c.name);
        EXPECT_EQ(Value("SELECT up_user_uid_0 FROM doc WHERE uid_0=1"), "1");
        EXPECT_NE(Value("SELECT date_up_0 FROM doc WHERE uid_0=1"), "");
        EXPECT_EQ(Value("SELECT up_user_uid_0 FROM doc WHERE uid_0=2"), "");

        QFile::remove(m_program.file("temp/" + c.name));
        Fire(21);
        const QString written = m_program.path() + "temp/" + c.name;
        EXPECT_EQ(m_opened, QStringList{written});
        EXPECT_EQ(m_program.readBytes("temp/" + c.name), c.bytes) << c.name.toStdString();
    }
}

TEST_P(FileActionsTest, TheLimitIsTwoMegabytesInclusive)
{
    m_files.writeBytes("exact.bin", QByteArray(2 * 1024 * 1024, 'a'));
    m_files.writeBytes("over.bin", QByteArray(2 * 1024 * 1024 + 1, 'b'));
    m_chosen = m_files.file("exact.bin");
    Fire(20);
    EXPECT_EQ(Value("SELECT file_name_0 FROM doc WHERE uid_0=1"), "exact.bin");
    m_chosen = m_files.file("over.bin");
    Fire(20);
    EXPECT_EQ(m_messages.last(), "文件太大，只能上传小于2M的文件");
    EXPECT_EQ(Value("SELECT file_name_0 FROM doc WHERE uid_0=1"), "exact.bin");
}

TEST_P(FileActionsTest, HostileFileNamesAreStoredAsTheyAreAndWrittenOnlyIntoTheFolder)
{
    // A name with apostrophes and SQL in it goes into the record unchanged.
    const QString hostile = "it's'); DROP TABLE doc; --.txt";
    m_files.writeBytes(hostile, "data");
    m_chosen = m_files.file(hostile);
    Fire(20);
    EXPECT_EQ(Value("SELECT file_name_0 FROM doc WHERE uid_0=1"), hostile);
    EXPECT_EQ(Value("SELECT COUNT(*) FROM doc"), "2");

    // Names kept in the record with folders in them: only the last part is
    // used, inside the temp folder.
    for (const QString stored : {"../../escape.txt", "/tmp/abs.txt", "..\\..\\win.txt"}) {
        Exec("UPDATE doc SET file_name_0='" + stored + "' WHERE uid_0=1");
        m_opened.clear();
        Fire(21);
        const QString base = QString(stored).replace('\\', '/').section('/', -1);
        EXPECT_EQ(m_opened, QStringList{m_program.path() + "temp/" + base}) << stored.toStdString();
        EXPECT_EQ(m_program.readBytes("temp/" + base), "data");
    }
    EXPECT_FALSE(QFile::exists(QDir(m_program.path()).absoluteFilePath("../escape.txt")));
    // A name that names no file is refused.
    Exec("UPDATE doc SET file_name_0='..' WHERE uid_0=1");
    m_opened.clear();
    Fire(21);
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_TRUE(m_messages.last().contains("不能用作文件名")) << m_messages.last().toStdString();
}

TEST_P(FileActionsTest, NothingSelectedCancelledOrUnreadableStopsQuietlyOrClearly)
{
    // No file chosen: nothing happens, nothing is said.
    m_chosen.clear();
    Fire(20);
    EXPECT_TRUE(m_messages.isEmpty());
    // A chosen file that cannot be read is named.
    m_chosen = m_files.file("missing.txt");
    Fire(20);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains("missing.txt"));
    // No selected row.
    Grid()->SelectRow(-1, false);
    m_messages.clear();
    Fire(21);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_TRUE(m_opened.isEmpty());
    // A key that is no number never reaches the SQL.
    SelectRecord(1);
    Grid()->GetRowKey(0)->strKey = "1 OR 1=1";
    Fire(21);
    EXPECT_TRUE(m_opened.isEmpty());
    ASSERT_FALSE(m_messages.isEmpty());
    EXPECT_TRUE(m_messages.last().contains("不是数字"));
}

TEST_P(FileActionsTest, OpenFileOpensExistingFilesAndNamesMissingOnes)
{
    m_files.writeBytes("a.txt", "a");
    SetText(30, m_files.file("a.txt"));
    Fire(22);
    EXPECT_EQ(m_opened, QStringList{m_files.file("a.txt")});
    EXPECT_TRUE(m_messages.isEmpty());

    SetText(30, "");
    Fire(22);
    EXPECT_EQ(m_messages.last(), "文件名为空，不能打开! ");

    SetText(30, m_files.file("gone.txt"));
    Fire(22);
    EXPECT_EQ(m_messages.last(), "打开文件(" + m_files.file("gone.txt") + ")出错！\n文件是否存在？\n err:2 ");

    // The path from the grid's second column (col 2).
    SelectRecord(1, m_files.file("a.txt"));
    m_opened.clear();
    Fire(23);
    EXPECT_EQ(m_opened, QStringList{m_files.file("a.txt")});
    Grid()->SelectRow(-1, false);
    Fire(23);
    EXPECT_EQ(m_messages.last(), "请选择记录！");
}

// A picture in a file and in a record shows in the picture control; one that
// cannot be read leaves it empty and the list goes on.
TEST_P(FileActionsTest, PicturesShowFromFilesAndRecords)
{
    QImage red(20, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    m_files.writeBytes("red.png", png);
    auto* picture = qobject_cast<QvPicture*>(Control(40));
    ASSERT_TRUE(picture);
    auto isRed = [&] { return picture->RenderImage().pixel(50, 50) == qRgb(255, 0, 0); };

    SetText(30, m_files.file("red.png"));
    Fire(24);
    EXPECT_TRUE(isRed());
    SetText(30, m_files.file("none.png"));
    Fire(24);
    EXPECT_FALSE(isRed());
    EXPECT_TRUE(m_messages.isEmpty());

    // upload_pic stores it in the record the query picks ('y' through the
    // fragment; an apostrophe in the text stays inside its literal);
    // download_pic shows it again.
    SetText(30, m_files.file("red.png"));
    SetText(31, "y");
    Fire(25);
    EXPECT_EQ(m_messages, QStringList{"上传成功"});
    SelectRecord(2);
    Fire(26);
    EXPECT_TRUE(isRed());
    Exec("UPDATE doc SET file_0=NULL");
    Exec("UPDATE doc SET name_0='it''s' WHERE uid_0=1");
    SetText(31, "it's");
    Fire(25);
    EXPECT_EQ(Value("SELECT uid_0 FROM doc WHERE file_0 IS NOT NULL"), "1");
    // The limit of max='1'.
    m_files.writeBytes("big.png", QByteArray(1024 * 1024 + 1, 'x'));
    SetText(30, m_files.file("big.png"));
    Fire(25);
    EXPECT_EQ(m_messages.last(), "文件太大，只能上传小于1M的文件");
    // A record without a picture leaves the control empty.
    SelectRecord(2);
    m_messages.clear();
    Fire(26);
    EXPECT_FALSE(isRed());
}

TEST_P(FileActionsTest, DownloadTellsWhenTheShellCannotOpenTheFile)
{
    m_files.writeBytes("a.txt", "a");
    m_chosen = m_files.file("a.txt");
    Fire(20);
    m_shellWorks = false;
    m_messages.clear();
    Fire(21);
    EXPECT_EQ(m_messages, QStringList{"ShellExecute failed to open this link!"});
    EXPECT_EQ(m_program.readBytes("temp/a.txt"), "a");
}

TEMBRA_ACTION_KINDS(FileActionsTest);

} // namespace
