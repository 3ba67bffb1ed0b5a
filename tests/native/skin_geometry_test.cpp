#include <gtest/gtest.h>

#include "skin/SUIGeometry.h"

TEST(SkinGeometry, StripsAreCutIntoEqualFramesCountedFromOne)
{
    // The 306-pixel title-button strip of 18 frames.
    EXPECT_EQ(FrameColumns(306, 18, 1).left, 0);
    EXPECT_EQ(FrameColumns(306, 18, 1).width, 17);
    EXPECT_EQ(FrameColumns(306, 18, 18).left, 289);
    EXPECT_EQ(FrameColumns(306, 18, 18).left + FrameColumns(306, 18, 18).width - 1, 305);
    // A width that does not divide: frames keep the width rounded down.
    EXPECT_EQ(FrameColumns(253, 3, 3).left, 168);
    EXPECT_EQ(FrameColumns(253, 3, 3).width, 84);
}

TEST(SkinGeometry, MenuItemsMeasureCaptionShortcutBarAndForty)
{
    const TsuiMenuMetrics macOS{20, 12, 26};
    EXPECT_EQ(MeasureMenuItem(macOS, false, 24, 0).width, 24 + 66);
    EXPECT_EQ(MeasureMenuItem(macOS, false, 24, 0).height, 20);
    EXPECT_EQ(MeasureMenuItem(macOS, true, 0, 0).height, 12);
    EXPECT_EQ(MeasureMenuItem({21, 5, 26}, false, 30, 35).width, 30 + 35 + 26 + 40);
}
