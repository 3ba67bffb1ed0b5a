#include <gtest/gtest.h>

#include "skin/SUIFrameGeometry.h"

TEST(SkinFrame, FrameFillsForBorderOneAndThree)
{
    // The program's window: 180 x 230 outside, border 1, title bar 20.
    TsuiFrameFills one = FrameFills(180, 230, 1, 20, 0);
    EXPECT_EQ(one.border, (std::vector<TsuiRect>{{0, 0, 1, 230}, {0, 229, 180, 230}, {179, 0, 180, 230}}));
    EXPECT_EQ(one.face, (std::vector<TsuiRect>{{1, 20, 3, 229}, {1, 227, 179, 229}, {177, 20, 179, 229}}))
        << "a 2-pixel face band inside the 1-pixel border";
    EXPECT_TRUE(one.menuBar.empty());
    TsuiFrameFills three = FrameFills(180, 230, 3, 26, 22);
    EXPECT_EQ(three.face, (std::vector<TsuiRect>{{3, 26, 3, 227}, {3, 227, 177, 227}, {177, 26, 177, 227}}))
        << "nothing left for the face";
    EXPECT_EQ(three.menuBar, (std::vector<TsuiRect>{{3, 29, 3, 51}, {177, 29, 177, 51}}));
    EXPECT_TRUE(FrameFills(180, 230, 4, 20, 0).face.empty());
}

TEST(SkinFrame, TitlePicturesFormTheTopEdge)
{
    const std::vector<TsuiBlit> s = TitleStrips(180, 1, 48, 23, 48, 23, 49, 23);
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].source, (TsuiRect{1, 0, 3, 23})) << "left strip: L's columns B to 3, where the bar shows them";
    EXPECT_EQ(s[0].target, (TsuiRect{1, 0, 3, 23}));
    EXPECT_EQ(s[1].source, (TsuiRect{45, 0, 47, 23})) << "right strip: R's columns wR - 3 to wR - B";
    EXPECT_EQ(s[1].target, (TsuiRect{177, 0, 179, 23}));
    EXPECT_EQ(s[2].target, (TsuiRect{2, 0, 48, 3})) << "top strip: L from its column 2";
    EXPECT_EQ(s[2].source, (TsuiRect{2, 0, 48, 3}));
    EXPECT_EQ(s[3].target, (TsuiRect{132, 0, 177, 3})) << "R's column 0 at x = W - wR";
    EXPECT_EQ(s[3].source, (TsuiRect{0, 0, 45, 3}));
    EXPECT_EQ(s[4].target, (TsuiRect{48, 0, 132, 3})) << "C stretched between";
    EXPECT_EQ(TitleStrips(180, 1, 48, 23, 2, 23, 49, 23)[1].source, (TsuiRect{0, 0, 2, 23}))
        << "a right picture narrower than 3 is stretched into its strip";
}

TEST(SkinFrame, RegionIsRoundOnlyAtTheTop)
{
    const TsuiRegionShape square = WindowRegionShape(180, 230, 0);
    EXPECT_EQ(square.roundRect, (TsuiRect{0, 0, 181, 231}));
    EXPECT_EQ(square.bottomLeft.Width(), 0);
    const TsuiRegionShape round = WindowRegionShape(180, 230, 11);
    EXPECT_EQ(round.ellipse, 11);
    EXPECT_EQ(round.bottomLeft, (TsuiRect{0, 208, 22, 230}));
    EXPECT_EQ(round.bottomRight, (TsuiRect{158, 208, 180, 230}));
}

TEST(SkinFrame, TitleButtonsFromTheRightControlBoxAtTheLeft)
{
    // MacOS on the program's window: control box visible, close and
    // minimise hidden, bar 174 wide, buttons 17 x 17 at 4 - 3 = 1.
    std::vector<TsuiTitleButtonShape> program = {{true, true, 17, 17}, {false, false, 17, 17}, {false, false, 17, 17}};
    TsuiTitleLayout layout = LayoutTitleBar(174, 1, 3, -2, 0, false, program);
    EXPECT_EQ(layout.buttons[0], (TsuiRect{3, 1, 20, 18}));
    EXPECT_EQ(layout.captionLeft, 25);
    EXPECT_EQ(layout.buttons[1].Width(), 0) << "hidden buttons are not placed";
    EXPECT_EQ(layout.captionRoom, 174 + 1 - 2 - 25);

    // Right-hand buttons in collection order leftwards, with the interval.
    std::vector<TsuiTitleButtonShape> three = {{true, false, 17, 17}, {true, false, 17, 17}, {true, true, 17, 17}};
    layout = LayoutTitleBar(200, 1, 3, -2, 4, false, three);
    EXPECT_EQ(layout.buttons[0], (TsuiRect{177, 1, 194, 18})) << "x = 200 + 1 - 2 - (17 + 1 + 4)";
    EXPECT_EQ(layout.buttons[1], (TsuiRect{155, 1, 172, 18}));
    EXPECT_EQ(layout.captionRoom, 155 - 25);
    // The application icon instead of the control box; no left part at all.
    EXPECT_EQ(LayoutTitleBar(200, 1, 3, -2, 0, true, three).captionLeft, 24);
    EXPECT_EQ(LayoutTitleBar(200, 1, 0, 0, 0, false, {}).captionLeft, 6);
}

TEST(SkinFrame, CaptionsAreShortenedWithDotsToTheirRoom)
{
    auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 5; }; // 5 pixels a byte
    EXPECT_EQ(ShortenCaption("Snapquill", 45, width), "Snapquill");
    EXPECT_EQ(ShortenCaption("Snapquill", 44, width), "Snapq...");
    EXPECT_EQ(ShortenCaption("Snapquill", 0, width), "...") << "an empty room: the dots alone";
    EXPECT_EQ(ShortenCaption("Ab\xC3\xBC\xC3\xBCxyz", 40, width), "Ab\xC3\xBC...") << "never half a character";
}
