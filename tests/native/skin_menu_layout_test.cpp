#include <gtest/gtest.h>

#include "skin/SUIMenuLayout.h"

namespace {

const TsuiMenuMetrics kProgramMenu{20, 12, 26}; // the tray menu (MacOS)
const int kDpis[] = {96, 120, 144, 168, 192, 240, 288};

bool Inside(const TsuiRect& inner, const TsuiRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace

TEST(SkinMenuLayout, AtTheDesignScaleEveryPlaceIsTheDesignedOne)
{
    const TDisplayScale design;
    EXPECT_EQ(MeasureMenuItem(kProgramMenu, design, false, 24, 0).width, 24 + 66);
    EXPECT_EQ(MeasureMenuItem(kProgramMenu, design, false, 24, 0).height, 20);
    EXPECT_EQ(MeasureMenuItem(kProgramMenu, design, true, 0, 0).height, 12);
    EXPECT_EQ(MeasureMenuItem({21, 5, 26}, design, false, 30, 35).width, 30 + 35 + 26 + 40);

    const TsuiMenuItemPlaces p = MenuItemPlaces({21, 5, 26}, design, 120, 21);
    EXPECT_EQ(p.bar, (TsuiRect{0, 0, 26, 21}));
    EXPECT_EQ(p.rest, (TsuiRect{26, 0, 120, 21}));
    EXPECT_EQ(p.caption, (TsuiPoint{30, 4}));
    EXPECT_EQ(p.shortCutRight, 104);
    EXPECT_EQ(p.separatorLine, (TsuiRect{30, 2, 118, 3}));
    EXPECT_EQ(p.mark, (TsuiRect{4, 3, 20, 19}));
    EXPECT_EQ(p.radioDot, (TsuiRect{9, 8, 16, 15}));
    EXPECT_EQ(p.imageFrame, (TsuiRect{2, 1, 21, 20}));
    EXPECT_EQ(p.line, 1);
}

TEST(SkinMenuLayout, ItemsGrowWithTheScaleAndTheirPartsStayInsideWithoutOverlap)
{
    for (int dpi : kDpis) {
        const TDisplayScale scale(dpi);
        SCOPED_TRACE(dpi);
        const TsuiItemSize item = MeasureMenuItem(kProgramMenu, scale, false, 50, 0);
        const TsuiItemSize line = MeasureMenuItem(kProgramMenu, scale, true, 0, 0);
        EXPECT_EQ(item.height, scale.Length(20));
        EXPECT_EQ(line.height, scale.Length(12));
        EXPECT_EQ(item.width, 50 + scale.Length(66)) << "text measured with the scaled font, the rest scaled";
        EXPECT_NEAR(item.height, 20.0 * dpi / 96, 0.5);

        const TsuiMenuItemPlaces p = MenuItemPlaces(kProgramMenu, scale, item.width, item.height);
        const TsuiRect whole{0, 0, item.width, item.height};
        EXPECT_EQ(p.bar.right, p.rest.left) << "bar and the rest meet";
        EXPECT_EQ(p.bar.Width() + p.rest.Width(), item.width);
        EXPECT_TRUE(Inside(p.mark, p.bar)) << "the check mark sits on the bar";
        EXPECT_EQ(p.mark.Width(), scale.Length(kMenuMarkSize)) << "as wide as the mark's picture";
        EXPECT_TRUE(Inside(p.radioDot, p.mark));
        EXPECT_TRUE(Inside(p.imageFrame, whole));
        EXPECT_GT(p.caption.x, p.bar.right) << "the caption right of the bar";
        EXPECT_EQ(p.caption.y, scale.Position(4));
        EXPECT_EQ(p.line, dpi < 144 ? 1 : dpi < 240 ? 2 : 3) << "whole pixels";
        EXPECT_EQ(p.shortCutRight, item.width - scale.Length(16));
        EXPECT_TRUE(Inside(p.subMenuArrow, whole)) << "the sub-menu arrow within the item";
        EXPECT_GT(p.subMenuArrow.left, p.shortCutRight) << "right of the shortcut text";
        EXPECT_EQ(p.subMenuArrow.Width(), scale.Length(4));
        EXPECT_NEAR(p.subMenuArrow.top + p.subMenuArrow.bottom, item.height, 1) << "centred";

        const TsuiMenuItemPlaces s = MenuItemPlaces(kProgramMenu, scale, item.width, line.height);
        EXPECT_EQ(s.separatorLine.Height(), s.line);
        EXPECT_TRUE(Inside(s.separatorLine, {s.bar.right, 0, item.width, line.height}))
            << "the separator line right of the bar, within its item";
    }
}
