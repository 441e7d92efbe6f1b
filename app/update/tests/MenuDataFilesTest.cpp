#include "MenuDataFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuDataFiles, ReadsWholeLinesAndRefusesDamagedOnes)
{
    const struct
    {
        QString menu;
        QString buttons;
        QString problem; // empty: read
    } cases[] = {
        {"1,1,0,1,0,销售,1,t\n2,2,1,1,1,订单,1,t\n", "1,2,1001,保存\n", ""},
        {"\n1,1,0,1,0,a,1,t\r\n\n", "\r\n1,2,1001,a\r\n", ""},
        {"1,1,0,1,0,a,1", "", "dh_menu.txt 第 1 行格式不对"},
        {"1,1,0,1,0,a,1,t\n2,1,0,1,0,a,b,1,t\n", "", "dh_menu.txt 第 2 行格式不对"},
        {"x,1,0,1,0,a,1,t\n", "", "dh_menu.txt 第 1 行格式不对"},
        {" 1,1,0,1,0,a,1,t\n", "", "dh_menu.txt 第 1 行格式不对"},
        {"", "1,2,1001\n", "menu_button.txt 第 1 行格式不对"},
        {"", "1,2;drop,1001,a\n", "menu_button.txt 第 1 行格式不对"},
    };
    for (const auto& c : cases) {
        MenuDataFiles files;
        EXPECT_EQ(files.Read(c.menu, c.buttons), c.problem.isEmpty()) << c.menu.toStdString();
        EXPECT_EQ(files.Problem(), c.problem) << c.menu.toStdString();
    }

    MenuDataFiles files;
    ASSERT_TRUE(files.Read("\n1,1,0,1,0,a,1,t\r\n\n", "\r\n1,2,1001,a\r\n"));
    // The "\r" of a menu line stays with its last field; button fields lose it.
    EXPECT_EQ(files.MenuLines(), QStringList({"1,1,0,1,0,a,1,t\r"}));
    EXPECT_EQ(files.Buttons(), QList<QStringList>({{"1", "2", "1001", "a"}}));
}

TEST(MenuDataFiles, UnchangedMeansTheWholeLineIsAnInstalledRow)
{
    const QString dump =
        MenuDataFiles::Dump({"1", "1", "0", "1", "0", "销售", "1", "t", "12", "2", "1", "1", "1", "订单", "1", "t"});
    EXPECT_EQ(dump, "1,1,0,1,0,销售,1,t\r\n12,2,1,1,1,订单,1,t");

    MenuDataFiles files;
    ASSERT_TRUE(files.Read("1,1,0,1,0,销售,1,t\n"      // unchanged
                           "2,2,1,1,1,订单,1,t\n"      // a substring of row 12, yet changed
                           "12,2,1,1,1,订单,1,t\n"     // unchanged
                           "13,1,0,1,0,销售,1,t\n",    // new
                           ""));
    EXPECT_EQ(files.ChangedUids(dump), QStringList({"2", "13"}));
    EXPECT_EQ(MenuDataFiles::Dump({}), "");
}

} // namespace
