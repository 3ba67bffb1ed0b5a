#include <gtest/gtest.h>

#include <set>

#include "skin/SUIStyleTable.h"

using namespace SUI_THEME;

TEST(SkinStyles, LookupsAnswerOnlyForTheKeysOwnKind)
{
    EXPECT_EQ(GetStyleColor(MacOS, FormBorderColor), 8355711u);
    EXPECT_EQ(GetStyleInt(MacOS, FormBorderWidthInt), 1);
    EXPECT_EQ(GetStyleInt(MacOS, FormBackgroundColor), -1);
    EXPECT_EQ(GetStyleColor(MacOS, FormBorderWidthInt), 0u);
    EXPECT_FALSE(GetStyleBool(MacOS, FormBorderWidthInt));
    EXPECT_EQ(GetStyleImageName(MacOS, FormBorderWidthInt), "");
    EXPECT_EQ(GetStyleInt(MacOS, ButtonImage), -1);

    EXPECT_TRUE(GetStyleBool(MacOS, ButtonTransparentBool));
    EXPECT_FALSE(GetStyleBool(WinXP, ButtonTransparentBool));
    EXPECT_TRUE(GetStyleBool(Protein, TitleBarButtonTransparentBool));
    EXPECT_EQ(GetStyleInt(BlueGlass, TitleBarButtonRightOffsetInt), -3);
    EXPECT_EQ(GetStyleInt(BlueGlass, FormMinWidthInt), 270);
    EXPECT_EQ(GetStyleInt(WinXP, FormRoundCornerInt), 13);
    EXPECT_EQ(GetStyleColor(DeepBlue, MenuSelectedBorderColor), 0xA04A44u);
    EXPECT_EQ(GetStyleColor(WinXP, ControlFontColor), 13583874u);
    EXPECT_EQ(GetStyleColor(Protein, FormBackgroundColor), 0xFBFBFBu);
}

TEST(SkinStyles, ThemeFileStyleUnknownStylesAndKeysGiveMinusOne)
{
    for (int style : {0, 6, 7, 127}) {
        for (int key = FirstKey; key <= LastKey; ++key) {
            TsuiStyleValue v = GetStyleValue(style, key);
            EXPECT_EQ(v.kind, TsuiThemeKind::Int) << style << " " << key;
            EXPECT_EQ(v.value, -1) << style << " " << key;
            EXPECT_EQ(GetStyleInt(static_cast<TsuiUIStyle>(style), key), -1);
        }
    }
    for (int key : {0, -1, 43}) {
        EXPECT_EQ(GetStyleValue(MacOS, key).value, -1);
        EXPECT_EQ(GetStyleValue(MacOS, key).kind, TsuiThemeKind::Int);
        EXPECT_EQ(ThemeKeyName(key), nullptr);
    }
    // Only the low 7 bits name the style.
    EXPECT_EQ(GetStyleValue(128 + WinXP, FormRoundCornerInt).value, 13);
    EXPECT_EQ(GetStyleValue(128, FormRoundCornerInt).value, -1);
}

TEST(SkinStyles, ImagesAreNamedByStylePrefixExceptTheScrollButton)
{
    EXPECT_EQ(GetStyleImageName(MacOS, ButtonImage), "MACOS_BUTTON");
    EXPECT_EQ(GetStyleImageName(WinXP, TitleBarLeftImage), "WINXP_TITLE_LEFT");
    EXPECT_EQ(GetStyleImageName(Protein, TrackBarBarImage), "PROTEIN_TRACKBAR_BAR");
    EXPECT_EQ(GetStyleImageName(BlueGlass, SideChannelBarImage), "BLUEGLASS_SIDECHENNEL_BAR");
    EXPECT_EQ(GetStyleImageName(DeepBlue, ScrollBarSliderImage), "DEEPBLUE_SCROLLBAR_TRACK");
    EXPECT_EQ(GetStyleImageName(MacOS, TabControlBarImage), "MACOS_TAB_LINE");

    EXPECT_EQ(GetStyleImageName(MacOS, ScrollButtonImage), "MACOS_SCROLLBUTTON");
    EXPECT_EQ(GetStyleImageName(WinXP, ScrollButtonImage), "WINXP_SCROLLBUTTON");
    for (TsuiUIStyle style : {DeepBlue, Protein, BlueGlass})
        EXPECT_EQ(GetStyleImageName(style, ScrollButtonImage), "MORE_SCROLLBUTTON");

    EXPECT_EQ(GetStyleImageName(FromThemeFile, ButtonImage), "");
    EXPECT_EQ(StyleResourceName(WinXP, "COMBOBOX_BUTTON"), "WINXP_COMBOBOX_BUTTON");
    EXPECT_EQ(StyleResourceName(FromThemeFile, "BUTTON"), "");
}

TEST(SkinStyles, EveryKeyHasOneNameEndingInItsKind)
{
    const char* kindWords[] = {"Int", "Color", "Image", "Bool"};
    std::set<std::string> names;
    for (int key = FirstKey; key <= LastKey; ++key) {
        ASSERT_NE(ThemeKeyName(key), nullptr);
        std::string name = ThemeKeyName(key);
        std::string word = kindWords[static_cast<int>(ThemeKeyKind(key))];
        EXPECT_TRUE(name.ends_with(word)) << name;
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(ThemeKeyByName(name), key);
        for (int style = MacOS; style <= BlueGlass; ++style) {
            TsuiStyleValue v = GetStyleValue(style, key);
            EXPECT_EQ(v.kind, ThemeKeyKind(key)) << name;
            EXPECT_EQ(v.image.empty(), v.kind != TsuiThemeKind::Image) << name;
        }
    }
    EXPECT_STREQ(ThemeKeyName(ButtonImage), "ButtonImage");
    EXPECT_STREQ(ThemeKeyName(SideChannelBarImage), "SideChannelBarImage");
    EXPECT_EQ(ThemeKeyByName("formbordercolor"), FormBorderColor);
    EXPECT_EQ(ThemeKeyByName("FormBorder"), 0);
}

TEST(SkinStyles, ThemeFileStyleNeedsALoadedThemeElseDeepBlue)
{
    bool useFile = true;
    EXPECT_EQ(ResolveBuiltInStyle(FromThemeFile, false, useFile), DeepBlue);
    EXPECT_FALSE(useFile);
    EXPECT_EQ(ResolveBuiltInStyle(FromThemeFile, true, useFile), FromThemeFile);
    EXPECT_TRUE(useFile);
    EXPECT_EQ(ResolveBuiltInStyle(WinXP, true, useFile), WinXP);
    EXPECT_FALSE(useFile);
}
