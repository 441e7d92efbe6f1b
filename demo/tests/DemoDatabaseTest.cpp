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

// Under a window manager the head's place holds the title bar and the frame
// too (30 and 8 pixels are common): every shown control of every demo form
// and popup stays inside what is left, with the form's own margin (the
// smallest left edge of its controls) to the right and below.
TEST(DemoFormDescriptions, EveryFormLeavesRoomForATitleBarAndFrame)
{
    constexpr int TitleBar = 30, Frame = 8;
    const auto numbers = [](const pugi::xml_node& node) {
        QList<int> values;
        for (const QString& part : QString::fromUtf8(node.attribute("pos").value()).split(u','))
            values << part.toInt();
        return values;
    };
    QDirIterator it(DemoSourceFolder() + QStringLiteral("/forms"), {QStringLiteral("*.xml")}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(path.toLocal8Bit().constData())) << path.toStdString();
        for (const pugi::xpath_node& found : document.select_nodes("//html[head[@pos!='0']]")) {
            const pugi::xml_node form = found.node();
            const QList<int> place = numbers(form.child("head"));
            ASSERT_EQ(place.size(), 4) << path.toStdString();
            QList<QList<int>> shown;
            int margin = place[2] - place[0];
            for (const pugi::xml_node& control : form.child("body").child("dialog").children()) {
                const QList<int> pos = numbers(control);
                if (pos.size() != 4 || control.attribute("hidden").as_int() != 0)
                    continue;
                shown << pos;
                margin = qMin(margin, pos[0]);
            }
            const int clientWidth = place[2] - place[0] - 2 * Frame;
            const int clientHeight = place[3] - place[1] - TitleBar - Frame;
            for (const QList<int>& pos : std::as_const(shown)) {
                EXPECT_LE(pos[2] + margin, clientWidth)
                    << path.toStdString() << " " << form.child("head").attribute("title").value() << ": a control at "
                    << pos[0] << "," << pos[1];
                EXPECT_LE(pos[3] + margin, clientHeight)
                    << path.toStdString() << " " << form.child("head").attribute("title").value() << ": a control at "
                    << pos[0] << "," << pos[1];
            }
        }
    }
}

// The delivery note prints its money one character per cell (from the
// right, split_size wide): every cell of the widest amount sits in a
// printed box with its unit above, 分 at the right.
TEST(DemoFormDescriptions, DeliveryNoteMoneyCellsHaveBoxesAndUnits)
{
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file((DemoSourceFolder() + QStringLiteral("/forms/64_delivery_note.xml")).toLocal8Bit().constData()));
    const pugi::xml_node print = document.select_node("//print_para").node();
    const pugi::xml_node money = print.find_child_by_attribute("wnd_type", "CNY");
    ASSERT_TRUE(money);
    const auto rect = [](const pugi::xml_node& item) {
        const QStringList parts = QString::fromUtf8(item.attribute("pos").value()).split(',');
        return QList<int>{parts.value(0).toInt(), parts.value(1).toInt(), parts.value(2).toInt(), parts.value(3).toInt()};
    };
    const QList<int> cells = rect(money);
    const int size = money.attribute("split_size").as_int();
    ASSERT_GT(size, 0);
    QList<int> verticals;
    QList<int> horizontals;
    QStringList units;
    for (const pugi::xml_node& item : print.children()) {
        const QList<int> r = rect(item);
        if (QString::fromUtf8(item.attribute("wnd_type").value()) == "line") {
            if (r[0] == r[2] && r[1] <= cells[1] && r[3] >= cells[3])
                verticals << r[0];
            if (r[1] == r[3] && r[0] <= cells[0] && r[2] >= cells[2])
                horizontals << r[1];
        } else if (r[0] >= cells[0] && r[2] <= cells[2] && r[3] == cells[1]) {
            units << QString::fromUtf8(item.attribute("value").value());
        }
    }
    const int count = (cells[2] - cells[0]) / size;
    EXPECT_EQ(cells[0] + count * size, cells[2]);
    for (int k = 0; k <= count; ++k)
        EXPECT_TRUE(verticals.contains(cells[2] - k * size)) << k;
    EXPECT_TRUE(horizontals.contains(cells[1]));
    EXPECT_TRUE(horizontals.contains(cells[3]));
    EXPECT_EQ(units.size(), count);
    EXPECT_EQ(units.mid(units.size() - 3), (QStringList{"元", "角", "分"}));
}

} // namespace
