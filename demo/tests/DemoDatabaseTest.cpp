// The demo database as the loader stores it: the records the demo forms
// read their files from, and the form descriptions themselves.
#include "DemoDatabase.h"
#include "XlsxTemplate.h"
#include "db/DbConnection.h"
#include "db/tests/DbTestDatabase.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <pugixml.hpp>

namespace {

class DemoDatabaseTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        m_database = std::make_unique<DbTestDatabase>(GetParam());
        ASSERT_FALSE(m_database->ConnectText().isEmpty()) << m_database->Problem().toStdString();
        m_db.SetConnectString(m_database->ConnectText());
        ASSERT_TRUE(m_db.Connect()) << m_db.m_strErrorInfo.toStdString();
        QString failure;
        ASSERT_TRUE(LoadDemoData(m_db, GetParam(), DemoSourceFolder(), failure)) << failure.toStdString();
    }
    void TearDown() override { m_db.Close(); }

    std::unique_ptr<DbTestDatabase> m_database;
    CDbConnection m_db;
};

TEST_P(DemoDatabaseTest, StoredSpreadsheetTemplateOpensAndTakesCells)
{
    QList<QByteArray> stored;
    QList<int> sizes;
    ASSERT_TRUE(m_db.ReadBlobs(QStringLiteral("SELECT file_0 FROM demo_xltx WHERE file_name_0='销售报表.xltx'"),
                               {QStringLiteral("file_0")}, stored, sizes))
        << m_db.m_strErrorInfo.toStdString();
    ASSERT_EQ(stored.size(), 1);
    CXlsxTemplate workbook;
    ASSERT_TRUE(workbook.Open(stored[0])) << workbook.Detail().toStdString();
    workbook.SetCell(2, 1, QStringLiteral("一月"));
    QByteArray saved;
    EXPECT_TRUE(workbook.Save(saved)) << workbook.Detail().toStdString();
    // The package relations (a dot-file in its folder) are stored too.
    CZipArchive zip;
    ASSERT_TRUE(zip.Open(saved));
    QByteArray relations;
    EXPECT_TRUE(zip.Read(QStringLiteral("_rels/.rels"), relations));
    EXPECT_TRUE(relations.contains("officeDocument"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DemoDatabaseTest, ::testing::Values(2, 3),
                         [](const auto& info) { return info.param == 2 ? "SQLite" : "PostgreSQL"; });

// Every grid column of a demo form is built only when it has an id; one
// without shows an empty grid with no headers.
TEST(DemoFormDescriptions, EveryGridColumnHasAnId)
{
    QDirIterator it(DemoSourceFolder() + QStringLiteral("/forms"), {QStringLiteral("*.xml")}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(path.toLocal8Bit().constData())) << path.toStdString();
        for (const pugi::xpath_node& column : document.select_nodes("//col_info/col[not(@col_id) or @col_id='0']"))
            EXPECT_NE(column.node().attribute("id").as_int(), 0)
                << path.toStdString() << ": " << column.node().attribute("title").value();
    }
}

} // namespace
