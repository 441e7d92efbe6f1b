#include "text/ModuleFolder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(ModuleFolder, IsTheExecutablesFolderWithTrailingSlash)
{
    const QString folder = GetModuleFolder();
    ASSERT_TRUE(folder.endsWith('/'));
    EXPECT_EQ(folder + "core_module_folder_test", GetModulePath());
    EXPECT_EQ(folder, QCoreApplication::applicationDirPath() + "/");
}

TEST(ModuleFolder, OverrideAddsSlashAndClears)
{
    const QString real = GetModuleFolder();
    SetModuleFolderOverride("/tmp/some");
    EXPECT_EQ("/tmp/some/", GetModuleFolder());
    SetModuleFolderOverride("/tmp/other/");
    EXPECT_EQ("/tmp/other/", GetModuleFolder());
    SetModuleFolderOverride(QString());
    EXPECT_EQ(real, GetModuleFolder());
}
