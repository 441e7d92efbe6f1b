#include "text/ModuleFolder.h"
#include "web/ModuleVersion.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleVersionTest, RunningProgramHasTheBuildVersion)
{
    EXPECT_EQ(GetFileVersionText(QString()), "1.0.0.1");
    EXPECT_EQ(GetFileVersionText(GetModulePath()), "1.0.0.1");
    CModuleVersion version;
    ASSERT_TRUE(version.LoadVersionInfo(QString()));
    EXPECT_EQ(version.m_dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(version.m_dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(version.m_dwFileVersionLS, 0x00000001u);
}

TEST(ModuleVersionTest, OtherFilesHaveNoVersion)
{
    EXPECT_EQ(GetFileVersionText("/bin/sh"), "0.0.0.0");
    EXPECT_EQ(GetFileVersionText("/no/such/file"), "0.0.0.0");
    CModuleVersion version;
    EXPECT_FALSE(version.LoadVersionInfo("/bin/sh"));
    EXPECT_EQ(version.m_wCodePage, 1252);
}

} // namespace
