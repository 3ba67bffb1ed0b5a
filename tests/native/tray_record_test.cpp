#include <gtest/gtest.h>

#include "core/TrayRecord.h"

TEST(TrayRecord, CutTextKeepsShortTextsAndCutsLongOnes)
{
    EXPECT_EQ(CutText("", 127), "");
    EXPECT_EQ(CutText("Snapquill", 127), "Snapquill");
    EXPECT_EQ(CutText(std::string(127, 'a'), 127), std::string(127, 'a'));
    EXPECT_EQ(CutText(std::string(128, 'a'), 127), std::string(127, 'a'));
    EXPECT_EQ(CutText(std::string(200, 'b'), kTrayTipChars).size(), 127u);
    EXPECT_EQ(CutText(std::string(300, 'c'), kTrayInfoChars).size(), 255u);
    EXPECT_EQ(CutText(std::string(100, 'd'), kTrayInfoTitleChars).size(), 63u);
    EXPECT_EQ(CutText("abcdef", 3), "abc");
    EXPECT_EQ(CutText("abcdef", 0), "");
}

TEST(TrayRecord, CutTextCountsBytesNotCharacters)
{
    // 8-bit texts: a character above 127 is one byte like any other.
    EXPECT_EQ(CutText("\xe4\xf6\xfc\xdf", 2), "\xe4\xf6");
}

TEST(TrayRecord, InfoFlagsMapToTheShellsNumbers)
{
    EXPECT_EQ(ShellInfoFlags(niifError), 3u);
    EXPECT_EQ(ShellInfoFlags(niifInfo), 1u);
    EXPECT_EQ(ShellInfoFlags(niifNone), 0u);
    EXPECT_EQ(ShellInfoFlags(niifWarning), 2u);
}

TEST(TrayRecord, LegacyShellBelowMajorVersionFiveOrWithoutVersion)
{
    EXPECT_TRUE(IsLegacyShell(false, 0));
    EXPECT_TRUE(IsLegacyShell(false, 6));
    EXPECT_TRUE(IsLegacyShell(true, 0));
    EXPECT_TRUE(IsLegacyShell(true, 4));
    EXPECT_FALSE(IsLegacyShell(true, 5));
    EXPECT_FALSE(IsLegacyShell(true, 6));
}
