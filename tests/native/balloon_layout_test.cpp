#include <gtest/gtest.h>

#include <vector>

#include "core/BalloonLayout.h"

namespace {

// A text of `length` pixels on one line, 13 pixels per line, broken into
// as many lines of the wrap width as it needs. Records the wrap widths asked.
struct FakeText {
    int length;
    std::vector<int>* asked;
    int lineHeight = 13;
    TBalloonSize operator()(int wrapWidth) const
    {
        asked->push_back(wrapWidth);
        const int lines = (length + wrapWidth - 1) / wrapWidth;
        return {std::min(length, wrapWidth), lineHeight * lines};
    }
};

TBalloonLayoutInput Input(int titleWidth, int textLength, std::vector<int>& asked)
{
    TBalloonLayoutInput in;
    in.title = {titleWidth, 13};
    in.measureText = FakeText{textLength, &asked};
    in.closeWidth = 16;
    in.hasIcon = true;
    in.screenWidth = 1280;
    in.screenHeight = 800;
    in.workArea = {0, 0, 1280, 780};
    return in;
}

TBalloonLayoutInput ControlInput(TBalloonRect control, std::vector<int>& asked)
{
    // Title 100 wide, text 500 long: wrapped at 350 into two lines, so every
    // balloon below is 370 x 85.
    TBalloonLayoutInput in = Input(100, 500, asked);
    in.trayAnchor = false;
    in.control = control;
    return in;
}

void ExpectPointer(const TBalloonLayout& l, TBalloonPoint a, TBalloonPoint b, TBalloonPoint c)
{
    EXPECT_EQ(l.pointer[0], a);
    EXPECT_EQ(l.pointer[1], b);
    EXPECT_EQ(l.pointer[2], c);
}

void ExpectRect(const TBalloonRect& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

} // namespace

TEST(BalloonLayout, TrayBalloonSitsInLowerRightOfWorkArea)
{
    std::vector<int> asked;
    const TBalloonLayout l = LayoutBalloon(Input(100, 500, asked));
    ASSERT_EQ(asked, std::vector<int>{350});
    EXPECT_EQ(l.titleLeft, 34);
    EXPECT_EQ(l.titleTop, 12);
    EXPECT_EQ(l.textLeft, 10);
    EXPECT_EQ(l.textTop, 33);
    EXPECT_EQ(l.textWidth, 350);
    EXPECT_EQ(l.textHeight, 26);
    EXPECT_EQ(l.iconLeft, 10);
    EXPECT_EQ(l.iconTop, 10);
    EXPECT_EQ(l.width, 370);
    EXPECT_EQ(l.height, 69);
    EXPECT_EQ(l.closeLeft, 348);
    EXPECT_EQ(l.closeTop, 6);
    EXPECT_EQ(l.left, 910);
    EXPECT_EQ(l.top, 711);
    EXPECT_EQ(l.corner, TBalloonCorner::None);
    ExpectRect(l.body, 0, 0, 370, 69);
}

TEST(BalloonLayout, TrayBalloonFollowsAnOffsetWorkArea)
{
    std::vector<int> asked;
    TBalloonLayoutInput in = Input(100, 500, asked);
    in.workArea = {40, 30, 1000, 700};
    const TBalloonLayout l = LayoutBalloon(in);
    EXPECT_EQ(l.left, 1000 - 370);
    EXPECT_EQ(l.top, 700 - 69);
}

TEST(BalloonLayout, ShortTextIsStillWrappedAt350AndTakesItsOwnWidth)
{
    std::vector<int> asked;
    const TBalloonLayout l = LayoutBalloon(Input(50, 100, asked));
    ASSERT_EQ(asked, std::vector<int>{350});
    EXPECT_EQ(l.textWidth, 100);
    EXPECT_EQ(l.textHeight, 13);
    // Widest label right edge (10 + 100) + 10.
    EXPECT_EQ(l.width, 120);
    EXPECT_EQ(l.closeLeft, 98);
}

TEST(BalloonLayout, LongTitleWidensTheTextAndMakesRoomForTheClosePicture)
{
    std::vector<int> asked;
    const TBalloonLayout l = LayoutBalloon(Input(400, 1000, asked));
    // Title right edge 434 minus text left 10.
    ASSERT_EQ(asked, std::vector<int>{424});
    EXPECT_EQ(l.textWidth, 424);
    EXPECT_EQ(l.textHeight, 39);
    // 434 + 5 + 16 + 6 beats 434 + 10.
    EXPECT_EQ(l.width, 461);
    EXPECT_EQ(l.closeLeft, 439);
}

TEST(BalloonLayout, BalloonWithoutPictureStartsTheTitleAt10)
{
    std::vector<int> asked;
    TBalloonLayoutInput in = Input(100, 100, asked);
    in.hasIcon = false;
    const TBalloonLayout l = LayoutBalloon(in);
    EXPECT_EQ(l.titleLeft, 10);
    EXPECT_EQ(l.width, 110 + 5 + 16 + 6);
    EXPECT_EQ(l.closeLeft, 115);
}

// A balloon pointing at a control in each quarter of the screen: the
// corner its pointer leaves from, where it lands, and its rows moved down
// past the pointer when it hangs below the control.
TEST(BalloonLayout, ControlInEachQuarterOfTheScreen)
{
    const struct {
        const char* name;
        TBalloonRect control;
        TBalloonCorner corner;
        int left, top, rowsDown;
        TBalloonRect body;
        TBalloonPoint pointer[3];
    } cases[] = {
        {"lower left", {100, 600, 180, 625}, TBalloonCorner::LowerLeft, 157, 520, 0, {0, 0, 370, 71},
         {{20, 69}, {20, 85}, {30, 69}}},
        {"lower right", {1000, 600, 1080, 625}, TBalloonCorner::LowerRight, 653, 520, 0, {0, 0, 370, 71},
         {{340, 69}, {350, 85}, {350, 69}}},
        {"upper left", {100, 100, 180, 125}, TBalloonCorner::UpperLeft, 157, 120, 16, {0, 18, 370, 85},
         {{20, 2}, {20, 18}, {30, 18}}},
        {"upper right", {1000, 100, 1080, 125}, TBalloonCorner::UpperRight, 653, 120, 16, {0, 18, 370, 85},
         {{350, 2}, {350, 18}, {340, 18}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> asked;
        const TBalloonLayout l = LayoutBalloon(ControlInput(c.control, asked));
        EXPECT_EQ(l.corner, c.corner);
        EXPECT_EQ(l.titleTop, 12 + c.rowsDown);
        EXPECT_EQ(l.iconTop, 10 + c.rowsDown);
        EXPECT_EQ(l.textTop, 33 + c.rowsDown);
        EXPECT_EQ(l.closeTop, 7 + c.rowsDown);
        EXPECT_EQ(l.width, 370);
        EXPECT_EQ(l.height, 85);
        EXPECT_EQ(l.left, c.left);
        EXPECT_EQ(l.top, c.top);
        ExpectRect(l.body, c.body.left, c.body.top, c.body.right, c.body.bottom);
        ExpectPointer(l, c.pointer[0], c.pointer[1], c.pointer[2]);
    }
}

TEST(BalloonLayout, CornerChoiceHalvesWithIntegerDivision)
{
    std::vector<int> asked;
    // Centre 600 + 81/2 = 640 is not left of 1280/2: right.
    EXPECT_EQ(LayoutBalloon(ControlInput({600, 100, 681, 125}, asked)).corner, TBalloonCorner::UpperRight);
    // 600 + 79/2 = 639: left.
    EXPECT_EQ(LayoutBalloon(ControlInput({600, 100, 679, 125}, asked)).corner, TBalloonCorner::UpperLeft);
    // Vertically: 380 + 41/2 = 400 is not above 800/2: lower.
    EXPECT_EQ(LayoutBalloon(ControlInput({100, 380, 180, 421}, asked)).corner, TBalloonCorner::LowerLeft);
    EXPECT_EQ(LayoutBalloon(ControlInput({100, 380, 180, 419}, asked)).corner, TBalloonCorner::UpperLeft);
}

TEST(BalloonLayout, PushedBackOntoTheScreenAtLeftAndRight)
{
    std::vector<int> asked;
    // Left would be -50 + 50 - 23 = -23.
    TBalloonLayout l = LayoutBalloon(ControlInput({-50, 100, 0, 125}, asked));
    EXPECT_EQ(l.corner, TBalloonCorner::UpperLeft);
    EXPECT_EQ(l.left, 0);
    EXPECT_EQ(l.top, 120);
    // Left would be 1200 - 23 = 1177, right edge 1547.
    l = LayoutBalloon(ControlInput({0, 600, 1200, 625}, asked));
    EXPECT_EQ(l.corner, TBalloonCorner::LowerLeft);
    EXPECT_EQ(l.left, 1280 - 370);
    EXPECT_EQ(l.top, 520);
    // The pointer stays where the table puts it.
    ExpectPointer(l, {20, 69}, {20, 85}, {30, 69});
}

TEST(BalloonLayout, PushedBackOntoTheScreenAtTopAndBottom)
{
    std::vector<int> asked;
    // A tall control reaching down to 780: top would be 775, bottom 860.
    TBalloonLayout l = LayoutBalloon(ControlInput({100, 0, 180, 780}, asked));
    EXPECT_EQ(l.corner, TBalloonCorner::UpperLeft);
    EXPECT_EQ(l.top, 800 - 85);
    // On a screen 100 high a control at 60 gets a balloon at 60 - 85 + 5.
    TBalloonLayoutInput in = ControlInput({10, 60, 50, 80}, asked);
    in.screenHeight = 100;
    l = LayoutBalloon(in);
    EXPECT_EQ(l.corner, TBalloonCorner::LowerLeft);
    EXPECT_EQ(l.top, 0);
}

TEST(BalloonLayout, TitleLosesOuterBlanksAndControlCharacters)
{
    EXPECT_EQ(BalloonTitleText("  \tSaved\r\n"), "Saved");
    EXPECT_EQ(BalloonTitleText("a  b"), "a  b");
    EXPECT_EQ(BalloonTitleText(" \x01 "), "");
    EXPECT_EQ(BalloonTitleText(""), "");
}

TEST(BalloonLayout, AtEveryScaleThePartsGrowWithoutOverlapAndThePointerStaysOnTheBody)
{
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const TDisplayScale scale(dpi);
        SCOPED_TRACE(dpi);
        std::vector<int> asked;
        // Title and text as a font of the scale measures them; pictures of
        // the scale's size.
        TBalloonLayoutInput in = Input(scale.Length(100), 0, asked);
        in.measureText = FakeText{scale.Length(500), &asked, scale.Length(13)};
        in.title.height = scale.Length(13);
        in.closeWidth = scale.Length(16);
        in.scale = scale;
        const TBalloonLayout tray = LayoutBalloon(in);
        EXPECT_EQ(asked.back(), scale.Length(350)) << "the minimum wrap width scaled";
        EXPECT_EQ(tray.iconLeft, scale.Position(10));
        EXPECT_LE(tray.iconLeft + scale.Length(16), tray.titleLeft) << "the picture left of the title";
        EXPECT_EQ(tray.titleTop, scale.Position(12));
        EXPECT_GE(tray.textTop, tray.titleTop + in.title.height) << "the text below the title";
        EXPECT_GE(tray.closeLeft, tray.titleLeft + in.title.width) << "the close picture right of the title";
        EXPECT_LE(tray.closeLeft + in.closeWidth, tray.width);
        EXPECT_LE(tray.textLeft + tray.textWidth, tray.width);
        EXPECT_EQ(tray.height, tray.textTop + tray.textHeight + scale.Length(10));
        EXPECT_NEAR(tray.width, 370.0 * dpi / 96, 2.0) << "the designed 370 pixels scaled";
        EXPECT_NEAR(tray.height, (12 + 13 + 8 + 2 * 13 + 10) * dpi / 96.0, 3.0);
        EXPECT_EQ(tray.cornerEllipse, scale.Length(7));
        EXPECT_EQ(tray.left + tray.width, 1280);

        in.trayAnchor = false;
        for (const TBalloonRect& control : {TBalloonRect{100, 100, 160, 120}, TBalloonRect{1000, 700, 1060, 720}}) {
            in.control = control;
            const TBalloonLayout l = LayoutBalloon(in);
            for (const TBalloonPoint& p : l.pointer) {
                EXPECT_GE(p.x, 0);
                EXPECT_LE(p.x, l.width);
                EXPECT_GE(p.y, 0);
                EXPECT_LE(p.y, l.height);
            }
            int onBody = 0;
            for (const TBalloonPoint& p : l.pointer)
                onBody += p.y >= l.body.top && p.y <= l.body.bottom;
            EXPECT_EQ(onBody, 2) << "the pointer's base on the body, its tip beyond";
            EXPECT_GE(l.titleTop, l.body.top) << "the title on the body";
            EXPECT_LE(l.textTop + l.textHeight, l.body.bottom) << "the text on the body";
        }
    }
}
