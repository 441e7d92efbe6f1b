#include "MenuDataFiles.h"

#include <gtest/gtest.h>

namespace {

QStringList FailuresOf(const MenuDataFiles& files)
{
    QStringList failures;
    for (const MenuDataProblem& problem : files.Problems())
        failures.append(problem.failure);
    return failures;
}

QStringList MenuUidsOf(const MenuDataFiles& files)
{
    QStringList uids;
    for (const QString& line : files.MenuLines())
        uids.append(MenuDataFiles::MenuFields(line).first());
    return uids;
}

// A damaged line is left out and noted; the lines around it are still used.
TEST(MenuDataFiles, UsesGoodLinesAndNotesDamagedOnes)
{
    const struct
    {
        QString menu;
        QString buttons;
        QStringList menuUids;
        int buttonCount;
        QStringList failures;
    } cases[] = {
        {"1,1,0,1,0,销售,1,t\n2,2,1,1,1,订单,1,t\n", "1,2,1001,保存\n", {"1", "2"}, 1, {}},
        {"\n1,1,0,1,0,a,1,t\r\n\n", "\r\n1,2,1001,a\r\n", {"1"}, 1, {}},
        // A blank line of a "\r\n" file in the middle.
        {"1,1,0,1,0,a,1,t\r\n\r\n2,1,0,1,0,a,1,t\r\n", "1,2,1001,a\r\n\r\n2,2,1002,b\r\n", {"1", "2"}, 2, {}},
        {"1,1,0,1,0,a,1", "", {}, 0, {"dh_menu.txt 第 1 行格式不对"}},
        {"1,1,0,1,0,a,1,t\n2,1,0,1,0,a,b,1,t\n3,1,0,1,0,a,1,t\n", "", {"1", "3"}, 0, {"dh_menu.txt 第 2 行格式不对"}},
        {"x,1,0,1,0,a,1,t\n", "", {}, 0, {"dh_menu.txt 第 1 行格式不对"}},
        {" 1,1,0,1,0,a,1,t\n", "", {}, 0, {"dh_menu.txt 第 1 行格式不对"}},
        {"../6,1,0,1,0,a,1,t\n7,1,0,1,0,a,1,t\n", "", {"7"}, 0, {"dh_menu.txt 第 1 行格式不对"}},
        {"", "1,2,1001\n2,2,1002,b\n", {}, 1, {"menu_button.txt 第 1 行格式不对"}},
        {"6,2,1\n", "1,2;drop,1001,a\n", {}, 0, {"dh_menu.txt 第 1 行格式不对", "menu_button.txt 第 1 行格式不对"}},
    };
    for (const auto& c : cases) {
        MenuDataFiles files;
        files.Read(c.menu, c.buttons);
        EXPECT_EQ(MenuUidsOf(files), c.menuUids) << c.menu.toStdString();
        EXPECT_EQ(files.Buttons().size(), c.buttonCount) << c.buttons.toStdString();
        EXPECT_EQ(FailuresOf(files), c.failures) << c.menu.toStdString();
    }

    MenuDataFiles files;
    files.Read("\n1,1,0,1,0,a,1,\r\n2,1,0,1,0,a\rb,1,t\r\n6,2,1\r\n", "\r\n1,2,1001,a\r\n");
    // A "\r\n" line end is no part of the last field, which may be empty; a
    // "\r" inside a line stays.
    EXPECT_EQ(files.MenuLines(), QStringList({"1,1,0,1,0,a,1,", "2,1,0,1,0,a\rb,1,t"}));
    EXPECT_EQ(MenuDataFiles::MenuFields(files.MenuLines().first()).last(), "");
    EXPECT_EQ(files.Buttons(), QList<QStringList>({{"1", "2", "1001", "a"}}));
    // The problem names the line without its end.
    ASSERT_EQ(files.Problems().size(), 1);
    EXPECT_EQ(files.Problems().first().line, "6,2,1");
}

// A line is unchanged when it is a row of the dump of the installed menu,
// whatever the line ends of either; only the other lines fetch their forms.
TEST(MenuDataFiles, UnchangedMeansTheLineIsARowOfTheDump)
{
    const QString dump =
        MenuDataFiles::Dump({"1", "1", "0", "1", "0", "销售", "1", "t", "12", "2", "1", "1", "1", "订单", "1", "t"});
    EXPECT_EQ(dump, "1,1,0,1,0,销售,1,t\r\n12,2,1,1,1,订单,1,t");
    EXPECT_EQ(MenuDataFiles::Dump({}), "");

    const struct
    {
        const char* name;
        QString menu;
        QStringList changed;
    } cases[] = {
        {"lines ending in \\n", "1,1,0,1,0,销售,1,t\n12,2,1,1,1,订单,1,t\n13,1,0,1,0,销售,1,t\n", {"13"}},
        // Row 12 holds these lines as a text, but they are other entries' data.
        {"a line inside a row", "2,2,1,1,1,订单,1,t\n", {"2"}},
        {"a cleared time", "12,2,1,1,1,订单,1,\n", {"12"}},
        {"a renamed entry", "12,2,1,1,1,订单录入,1,t\n", {"12"}},
        // The dump's last row has no line end at all.
        {"lines ending in \\r\\n", "1,1,0,1,0,销售,1,t\r\n12,2,1,1,1,订单,1,t\r\n", {}},
        {"no line end after the last line", "1,1,0,1,0,销售,1,t\r\n12,2,1,1,1,订单,1,t", {}},
    };
    for (const auto& c : cases) {
        MenuDataFiles files;
        files.Read(c.menu, "");
        EXPECT_EQ(files.ChangedUids(dump), c.changed) << c.name;
    }
}

} // namespace
