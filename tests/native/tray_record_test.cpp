#include <gtest/gtest.h>

#include "core/TrayRecord.h"

TEST(TrayRecord, CutTextKeepsShortTextsAndCutsLongOnesByUtf16Units)
{
    EXPECT_EQ(CutText(u"", 127), u"");
    EXPECT_EQ(CutText(u"Snapquill", 127), u"Snapquill");
    EXPECT_EQ(CutText(std::u16string(128, u'a'), kTrayTipChars), std::u16string(127, u'a'));
    EXPECT_EQ(CutText(std::u16string(300, u'c'), kTrayInfoChars).size(), 255u);
    EXPECT_EQ(CutText(u"abcdef", 0), u"");
    // Cyrillic and CJK are one unit each; a character outside the basic
    // plane is two and is never cut in half.
    EXPECT_EQ(CutText(u"\u0441\u043d\u0438\u043c\u043e\u043a", 3), u"\u0441\u043d\u0438");
    EXPECT_EQ(CutText(u"ab\U0001F4F7", 3), u"ab");
    EXPECT_EQ(CutText(u"ab\U0001F4F7", 4), u"ab\U0001F4F7");
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
