// Opening a menu entry's stored form: reading and decoding c_menu_dh.form_0,
// the redirecting head, and what reaches the opened window.
#include "D_T1.h"
#include "EventTexts.h"
#include "FormTexts.h"
#include "PlainControlBuilder.h"
#include "StoredFormOpener.h"
#include "db/DbConnection.h"
#include "db/DbSchema.h"
#include "db/DbTexts.h"
#include "db/tests/DbTestDatabase.h"
#include "text/AppState.h"
#include "text/Cp936.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"
#include "text/TreeItems.h"
#include "web/FileHelpers.h"
#include "web/LzwDecode.h"
#include "web/LzwEncode.h"
#include "web/LzwTexts.h"
#include "TempFolder.h"

#include <QApplication>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QByteArray Stored(const QString& form)
{
    return LzwEncode(QByteArray(reinterpret_cast<const char*>(form.utf16()), form.size() * 2), 12);
}

QString Form(const QString& head, int buttonId)
{
    return QStringLiteral("<html version='1.0' id='0'>%1<body><dialog><button id='%2' pos='1,1,80,20' value='b'/>"
                          "</dialog></body></html>")
        .arg(head)
        .arg(buttonId);
}

// On SQLite and PostgreSQL (the test parameter, 2 or 3).
class StoredFormOpener : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        SetModuleFolderOverride(m_programFolder.path());
        ASSERT_FALSE(m_database.ConnectText().isEmpty()) << m_database.Problem().toStdString();
        theApp().m_strConnectText = ScrambleText(m_database.ConnectText(), 1);
        SetStoredFormSetUp([](D_T1& form) { form.SetBuilder(std::make_unique<CPlainControlBuilder>()); });
        SetMessageSink([this](const QString& text) { m_messages << text; });
        m_db.SetConnectString(m_database.ConnectText());
        ASSERT_TRUE(m_db.Connect());
        ASSERT_TRUE(m_db.ExecuteScript(DbSchemaScript(GetParam())));
        AddEntry(1, 0, QByteArray()); // a folder
        AddEntry(10, 1, Stored(Form(QStringLiteral("<head title='十' type='t10'/>"), 5)));
        AddEntry(11, 1, Stored(Form(QStringLiteral("<head type='t11' popup='x:25:3;4:7'/>"), 6)));
        AddEntry(12, 1, Stored(Form(QStringLiteral("<head type='t12' popup='x:25'/>"), 6)));
        AddEntry(13, 1, Stored(Form(QStringLiteral("<head popup='x:99'/>"), 6)));
        AddEntry(14, 1, Stored(Form(QStringLiteral("<head popup='x:1 or 1=1'/>"), 6)));
        AddEntry(15, 1, Stored(QStringLiteral("<html version='1'/>"))); // 19 characters
        AddEntry(16, 0, Stored(Form(QString(), 6)));                     // not a leaf in the table
        AddEntry(17, 1, QByteArray("\x05\x00\x00\x00\x09garbage", 12));
        AddEntry(18, 1, QByteArray());
        AddEntry(19, 1, QByteArray::fromHex("ffffff7f19610086010000")); // declares 2 GB
        AddEntry(20, 1, Stored(QStringLiteral("这不是表单描述，只是一段普通的文字而已，不是XML")));
        AddEntry(21, 1, Stored(Form(QStringLiteral("<head popup='x:17'/>"), 6)));
        AddEntry(25, 0, Stored(Form(QStringLiteral("<head title='二十五' type='t25'/>"), 7)));

        m_tree.setColumnCount(1);
        auto* folder = new QTreeWidgetItem(&m_tree, {QStringLiteral("文件夹")});
        folder->setData(0, kTreeItemDataRole, 1);
        for (const int uid : {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 30}) { // 30: no row
            auto* item = new QTreeWidgetItem(folder, {QStringLiteral("项%1").arg(uid)});
            item->setData(0, kTreeItemDataRole, uid);
        }
    }
    void TearDown() override
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<D_T1*>(widget))
                delete widget;
        }
        m_db.Close();
        SetStoredFormSetUp({});
        SetMessageSink({});
        theApp() = AppState();
        SetModuleFolderOverride(QString());
    }

    void AddEntry(int uid, int leaf, const QByteArray& form)
    {
        ASSERT_TRUE(m_db.ExecuteCommand(
            QStringLiteral("INSERT INTO c_menu_dh (uid_0, leaf_0, name_0, form_0) VALUES (?,?,?,?)"),
            {uid, leaf, QStringLiteral("项%1").arg(uid), form.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(form)}))
            << m_db.m_strErrorInfo.toStdString();
    }

    // Selects the entry and opens it; the opened window or null.
    D_T1* Open(int uid)
    {
        m_tree.setCurrentItem(FindTreeItemByData(&m_tree, m_tree.topLevelItem(0), uid));
        StoredMenuForm stored;
        if (!ReadSelectedMenuForm(&m_tree, stored))
            return nullptr;
        return StartPopupFormThread(stored);
    }

    TempFolder m_programFolder;
    DbTestDatabase m_database{GetParam()};
    CDbConnection m_db;
    QTreeWidget m_tree;
    QStringList m_messages;
};

TEST_P(StoredFormOpener, OpensTheLeafsFormWithItsValues)
{
    D_T1* form = Open(10);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->parentWidget());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("十"));
    EXPECT_EQ(form->m_strMenuUid, QStringLiteral("10"));
    EXPECT_EQ(form->m_strMenuName, QStringLiteral("项10"));
    EXPECT_EQ(form->m_strType, QStringLiteral("t10"));
    EXPECT_EQ(form->m_strDisabledIds, QString());
    EXPECT_TRUE(form->GetDlgItem(5 + D_T1::ControlIdBase));
}

TEST_P(StoredFormOpener, RedirectingHeadOpensTheOtherEntrysForm)
{
    struct Case
    {
        int uid;
        QString menuUid, disabled, hidden, type;
        int control; // a control of the opened form; 0: the empty form
    };
    const Case cases[] = {
        {11, QStringLiteral("25"), QStringLiteral("3;4"), QStringLiteral("7"), QStringLiteral("t11"), 7},
        {12, QStringLiteral("25"), QString(), QString(), QStringLiteral("t12"), 7},
        {13, QStringLiteral("99"), QString(), QString(), QString(), 0},
        {14, QStringLiteral("1 or 1=1"), QString(), QString(), QString(), 0},
    };
    for (const Case& c : cases) {
        D_T1* form = Open(c.uid);
        ASSERT_TRUE(form) << c.uid;
        EXPECT_EQ(form->m_strMenuUid, c.menuUid) << c.uid;
        EXPECT_EQ(form->m_strMenuName, QStringLiteral("项%1").arg(c.uid));
        EXPECT_EQ(form->m_strDisabledIds, c.disabled) << c.uid;
        EXPECT_EQ(form->m_strHiddenIds, c.hidden) << c.uid;
        EXPECT_EQ(form->m_strType, c.type) << c.uid;
        EXPECT_EQ(form->GetDlgItem(6 + D_T1::ControlIdBase), nullptr) << c.uid;
        if (c.control) {
            EXPECT_TRUE(form->GetDlgItem(c.control + D_T1::ControlIdBase)) << c.uid;
        }
        delete form;
    }
}

TEST_P(StoredFormOpener, OpensNothingWithoutAUsableForm)
{
    for (const int uid : {1, 15, 16, 17, 18})
        EXPECT_EQ(Open(uid), nullptr) << uid;
    m_tree.setCurrentItem(nullptr);
    EXPECT_EQ(Open(0), nullptr);
    // A database that cannot be opened opens nothing either.
    theApp().m_strConnectText = ScrambleText(DbTestDatabase::AccessText(QStringLiteral("/nonexistent/x.mdb")), 1);
    EXPECT_EQ(Open(10), nullptr);
}

// A folder, no selection, and an entry that has no form by design (no leaf
// row) open nothing without a word.
TEST_P(StoredFormOpener, EntriesWithoutAFormByDesignStayQuiet)
{
    for (const int uid : {0, 1, 16, 30}) {
        SCOPED_TRACE(uid);
        m_tree.setCurrentItem(uid ? FindTreeItemByData(&m_tree, m_tree.topLevelItem(0), uid) : nullptr);
        EXPECT_TRUE(OpenSelectedMenuForm(&m_tree));
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(m_programFolder.file(LogFileName)));
}

// A stored form that is there but cannot be opened says why, in a message
// box and in the log file, and opens no window.
TEST_P(StoredFormOpener, DamagedStoredFormIsReportedWithItsReason)
{
    const struct
    {
        int uid;
        QString reason;
    } cases[] = {
        {17, LzwTexts::Damaged},
        {19, LzwTexts::TooLong.arg(0x7fffffff).arg(kMaxDecodedBytes)},
        {20, FormTexts::NotXml},
        {21, LzwTexts::Damaged}, // redirected to entry 17
        {18, FormTexts::MenuFormEmpty},
        {15, FormTexts::MenuFormTooShort},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uid);
        m_messages.clear();
        QFile::remove(m_programFolder.file(LogFileName));
        m_tree.setCurrentItem(FindTreeItemByData(&m_tree, m_tree.topLevelItem(0), c.uid));

        EXPECT_TRUE(OpenSelectedMenuForm(&m_tree));

        const QString text = FormTexts::MenuFormUnusable.arg(QStringLiteral("项%1").arg(c.uid), c.reason);
        EXPECT_EQ(m_messages, QStringList{text});
        EXPECT_TRUE(FromCp936(ReadWholeFile(m_programFolder.file(LogFileName)))
                        .startsWith(QString(text).replace(u'\n', QStringLiteral("\r\n"))));
        for (QWidget* widget : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<D_T1*>(widget), nullptr);
    }
}

// A database that is gone or locked by another program is reported with
// its cause: the database's text for the user and the driver's message.
TEST_P(StoredFormOpener, UnreachableOrLockedDatabaseIsReportedWithItsCause)
{
    const QString name = QStringLiteral("项10");
    const QString sql = FormTexts::SelectLeafForm.arg(10);
    const auto expectReported = [&](const QString& cause, const QString& detail) {
        m_messages.clear();
        QFile::remove(m_programFolder.file(LogFileName));
        m_tree.setCurrentItem(FindTreeItemByData(&m_tree, m_tree.topLevelItem(0), 10));

        EXPECT_TRUE(OpenSelectedMenuForm(&m_tree));

        ASSERT_EQ(m_messages.size(), 1);
        const QString prefix = FormTexts::MenuFormUnusable.arg(name, cause + u'\n');
        EXPECT_TRUE(m_messages[0].startsWith(prefix)) << m_messages[0].toStdString();
        EXPECT_TRUE(m_messages[0].contains(detail, Qt::CaseInsensitive)) << m_messages[0].toStdString();
        EXPECT_FALSE(m_messages[0].contains(sql)) << "the SQL is for the log";
        EXPECT_TRUE(FromCp936(ReadWholeFile(m_programFolder.file(LogFileName)))
                        .startsWith(QString(m_messages[0]).replace(u'\n', QStringLiteral("\r\n"))));
        for (QWidget* widget : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<D_T1*>(widget), nullptr);
    };

    // Held by another connection until it ends its transaction.
    if (GetParam() == 2) {
        ASSERT_TRUE(m_db.ExecuteCommand(QStringLiteral("BEGIN EXCLUSIVE"))) << m_db.m_strErrorInfo.toStdString();
        expectReported(DbText::kQuery + u'\n' + DbText::kLocked, QStringLiteral("database is locked"));
        EXPECT_TRUE(m_db.ExecuteCommand(QStringLiteral("COMMIT")));
    } else {
        m_db.BeginTrans();
        ASSERT_TRUE(m_db.ExecuteCommand(QStringLiteral("LOCK TABLE c_menu_dh IN ACCESS EXCLUSIVE MODE")))
            << m_db.m_strErrorInfo.toStdString();
        expectReported(DbText::kQuery + u'\n' + DbText::kLocked, QStringLiteral("lock timeout"));
        m_db.RollbackTrans();
    }

    // Gone: the database file removed, or no server where the text points.
    const QString connectText = theApp().m_strConnectText;
    if (GetParam() == 2) {
        const QString gone = m_database.Folder() + QStringLiteral("gone.mdb");
        theApp().m_strConnectText = ScrambleText(DbTestDatabase::AccessText(gone), 1);
        expectReported(DbText::kConnect.trimmed(), gone);
    } else {
        theApp().m_strConnectText = ScrambleText(
            DbTestDatabase::PostgreSqlText(QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("x"),
                                           QStringLiteral("x"), QStringLiteral("x")),
            1);
        expectReported(DbText::kConnect.trimmed(), QStringLiteral("connect"));
    }

    // Back again, the form opens.
    theApp().m_strConnectText = connectText;
    m_tree.setCurrentItem(FindTreeItemByData(&m_tree, m_tree.topLevelItem(0), 10));
    EXPECT_TRUE(OpenSelectedMenuForm(&m_tree));
    int opened = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        opened += qobject_cast<D_T1*>(widget) != nullptr;
    EXPECT_EQ(opened, 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, StoredFormOpener, ::testing::Values(2, 3),
                         [](const auto& info) { return info.param == 2 ? "SQLite" : "PostgreSQL"; });

} // namespace
