#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "grid/TreeHelpers.h"

#include "text/MessageSink.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTreeWidget>

namespace
{
// Four rows keyed 16, 17, 41, 42; the last column's texts hold line breaks and tabs.
class ListHelpers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.InsertColumn(0, u"编号"_qs);
        grid.InsertColumn(1, u"名称"_qs);
        grid.InsertColumn(2, u"备注"_qs);
        const int keys[] = {16, 17, 41, 42};
        for (int row = 0; row < 4; ++row) {
            grid.InsertRow(row, QString::number(row + 1));
            grid.SetItemText(row, 1, QStringLiteral("name %1").arg(row));
            grid.SetItemText(row, 2, QStringLiteral("line\r\none\t%1").arg(row));
            grid.SetRowData(row, nullptr, QString::number(keys[row]), kRowUnchanged);
        }
    }

    CListCtrlEx grid;
};

TEST_F(ListHelpers, TicksAndSelectionGiveRowKeys)
{
    grid.SetCheckBoxes(true);
    grid.SetCheck(1, true);
    grid.SetCheck(3, true);
    QString ids = u"x,"_qs;
    GetCheckedListIds(&grid, ids, u","_qs);
    EXPECT_EQ(ids, u"x,17,42,"_qs);

    int index = -1;
    QString key;
    EXPECT_FALSE(GetSelectedListItem(&grid, index));
    EXPECT_FALSE(GetSelectedListItemData(&grid, key));
    grid.SelectRow(3, true);
    grid.SelectRow(2, true);
    ASSERT_TRUE(GetSelectedListItem(&grid, index));
    EXPECT_EQ(index, 2);
    ASSERT_TRUE(GetSelectedListItemData(&grid, key));
    EXPECT_EQ(key, u"41"_qs);
    grid.SelectRow(-1, false);
    EXPECT_FALSE(GetSelectedListItem(&grid, index));
    grid.SelectRow(-1, true);
    EXPECT_EQ(grid.GetSelectedRows().size(), 4);
}

TEST_F(ListHelpers, ColumnTitlesInsideTheColumnsOnly)
{
    EXPECT_EQ(GetListColumnTitle(&grid, 1), u"名称"_qs);
    EXPECT_TRUE(GetListColumnTitle(&grid, -1).isEmpty());
    EXPECT_TRUE(GetListColumnTitle(&grid, 3).isEmpty());
}

TEST_F(ListHelpers, ClipboardTextOfVisibleOrListedColumns)
{
    grid.SetColumnWidth(1, 0);
    const QString visible = ListToClipboardText(&grid, QString());
    EXPECT_EQ(visible.section(u"\r\n"_qs, 0, 0), u"编号\t备注"_qs);
    EXPECT_EQ(visible.section(u"\r\n"_qs, 1, 1), u"1\tlineone0"_qs);
    EXPECT_EQ(visible.count(u"\r\n"_qs), 5);

    // Listed columns in the listed order, hidden ones too; 9 names no column.
    const QString listed = ListToClipboardText(&grid, u"3,2,9"_qs);
    EXPECT_EQ(listed.section(u"\r\n"_qs, 0, 0), u"备注\t名称\t"_qs);
    EXPECT_EQ(listed.section(u"\r\n"_qs, 4, 4), u"lineone3\tname 3\t"_qs);

    ASSERT_TRUE(CopyListToClipboard(&grid, u"1"_qs));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"编号\r\n1\r\n2\r\n3\r\n4\r\n"_qs);
}

TEST_F(ListHelpers, AnEmptyGridCopiesNothingAndSaysSo)
{
    QStringList shown;
    const MessageSink previous = SetMessageSink([&](const QString& text) { shown.append(text); });
    QGuiApplication::clipboard()->setText(u"before"_qs);
    grid.DeleteAllRows();
    EXPECT_FALSE(CopyListToClipboard(&grid, QString()));
    SetMessageSink(previous);
    EXPECT_EQ(shown, QStringList{u"没有记录!"_qs});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"before"_qs);
}

// roots 1 (children 2, 3 (child 4)), 5 (child 6)
class TreeHelpers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int id : {1, 2, 3, 4, 5, 6}) {
            items[id] = new QTreeWidgetItem(QStringList{QString::number(id)});
            items[id]->setData(0, kTreeItemDataRole, id);
            items[id]->setCheckState(0, Qt::Unchecked);
        }
        tree.addTopLevelItem(items[1]);
        tree.addTopLevelItem(items[5]);
        items[1]->addChild(items[2]);
        items[1]->addChild(items[3]);
        items[3]->addChild(items[4]);
        items[5]->addChild(items[6]);
    }

    QTreeWidget tree;
    QTreeWidgetItem* items[7] = {};
};

TEST_F(TreeHelpers, FindsDepthFirstFromTheItemAndItsLaterSiblings)
{
    EXPECT_EQ(FindTreeItemByData(&tree, items[1], 4), items[4]);
    EXPECT_EQ(FindTreeItemByData(&tree, items[1], 6), items[6]);
    EXPECT_EQ(FindTreeItemByData(&tree, items[3], 4), items[4]);
    EXPECT_EQ(FindTreeItemByData(&tree, items[3], 2), nullptr); // an earlier sibling
    EXPECT_EQ(FindTreeItemByData(&tree, items[3], 6), nullptr); // the parent's sibling
    EXPECT_EQ(FindTreeItemByData(&tree, nullptr, 1), nullptr);
}

TEST_F(TreeHelpers, ExpandsSubtreesAndCollectsTickedIds)
{
    ExpandTreeItems(&tree, items[1], true);
    EXPECT_TRUE(items[1]->isExpanded());
    EXPECT_TRUE(items[3]->isExpanded());
    EXPECT_FALSE(items[5]->isExpanded());
    ExpandTreeItems(&tree, nullptr, true);
    EXPECT_TRUE(items[5]->isExpanded());
    ExpandTreeItems(&tree, nullptr, false);
    EXPECT_FALSE(items[3]->isExpanded());

    items[4]->setCheckState(0, Qt::Checked);
    items[1]->setCheckState(0, Qt::Checked);
    items[6]->setCheckState(0, Qt::Checked);
    QString ids = u"0;"_qs;
    GetCheckedTreeIds(&tree, ids, u";"_qs);
    EXPECT_EQ(ids, u"0;1;4;6;"_qs);
}
} // namespace
