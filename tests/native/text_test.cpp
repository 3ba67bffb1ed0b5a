#include <gtest/gtest.h>

#include "core/Text.h"

TEST(FormatText, FillsPlaceholdersInOrder)
{
    EXPECT_EQ(FormatText("Screenshot successfully saved to %s\r\nAttributes: %dx%d pixels, %d KB",
                         {std::string("shot4.png"), int64_t(1024), int64_t(768), int64_t(2)}),
              "Screenshot successfully saved to shot4.png\r\nAttributes: 1024x768 pixels, 2 KB");
    EXPECT_EQ(FormatText("Failed to get data for '%s'", {std::string("JPG")}), "Failed to get data for 'JPG'");
    EXPECT_EQ(FormatText("%d%% of %s", {int64_t(-1), std::string("x")}), "-1% of x");
}

TEST(FormatText, LeavesUnmatchedPlaceholders)
{
    EXPECT_EQ(FormatText("%s and %d", {}), "%s and %d");
    EXPECT_EQ(FormatText("%d", {std::string("text")}), "%d");
    EXPECT_EQ(FormatText("trailing %", {}), "trailing %");
}

TEST(ErrorBoxText, AppendsFullStopAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(ErrorBoxText("Stream write error"), "Stream write error.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Really!"), "Really!"); // '!' sorts before '.'
    EXPECT_EQ(ErrorBoxText("Failed to get data for 'JPG'"), "Failed to get data for 'JPG'");
    EXPECT_EQ(ErrorBoxText("version 1"), "version 1.");
    EXPECT_EQ(ErrorBoxText("Hotkey registering failed!\r\nPlease restart the application."),
              "Hotkey registering failed!\r\nPlease restart the application.");
    EXPECT_EQ(ErrorBoxText("写真"), "写真.");
    EXPECT_EQ(ErrorBoxText(""), "");
}
