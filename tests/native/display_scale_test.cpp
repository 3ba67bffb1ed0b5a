#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/DisplayScale.h"
#include "skin/SUIDialogLayout.h"
#include "skin/SUIFrameGeometry.h"
#include "tests/native/TestScale.h"

namespace {

const int kScales[] = {100, 125, 150, 175, 200, 250, 300};

// -1, 0 or 1: how a's far edge stands to b's near edge.
int Order(int a, int b)
{
    return (a > b) - (a < b);
}

// Parts that met in the design still meet, parts apart are still apart and
// parts that overlapped still overlap, on both axes.
void ExpectNeighboursKept(const std::vector<TsuiRect>& designed, const TDisplayScale& scale, const std::string& what)
{
    for (size_t i = 0; i < designed.size(); ++i)
        for (size_t j = 0; j < designed.size(); ++j) {
            if (i == j)
                continue;
            const TsuiRect a = designed[i], b = designed[j];
            const TsuiRect sa = ScaleRect(scale, a), sb = ScaleRect(scale, b);
            SCOPED_TRACE(what + " parts " + std::to_string(i) + " and " + std::to_string(j));
            EXPECT_EQ(Order(sa.right, sb.left), Order(a.right, b.left));
            EXPECT_EQ(Order(sa.bottom, sb.top), Order(a.bottom, b.top));
            EXPECT_EQ(Order(sa.left, sb.left), Order(a.left, b.left));
            EXPECT_EQ(Order(sa.top, sb.top), Order(a.top, b.top));
        }
}

// A made-up form of odd sizes: a caption over a field with a button a gap
// beside it, two boxes that touch, a row one pixel below them, a bar that
// meets the bottom edge, and the client area they all lie in.
std::vector<TsuiRect> SampleForm()
{
    return {{3, 5, 58, 19},     {3, 21, 133, 40},  {135, 17, 161, 42}, {3, 45, 81, 66},
            {81, 45, 161, 66},  {3, 67, 161, 89},  {0, 197, 177, 229}, {0, 0, 177, 229}};
}

std::vector<TsuiRect> DialogParts(int buttonCount)
{
    const TsuiDialogLayout layout = MessageDialogLayout(56, true, buttonCount, 360);
    std::vector<TsuiRect> parts{
        {kDialogPictureLeft, kDialogMessageTop, kDialogPictureLeft + kDialogPictureSize,
         kDialogMessageTop + kDialogPictureSize},
        {layout.textLeft, kDialogMessageTop, layout.textLeft + kDialogMessageWidth, kDialogMessageTop + 56}};
    for (const TsuiDialogButtonPlace& button : layout.buttons)
        parts.push_back({button.left, button.top, button.left + kDialogButtonWidth,
                         button.top + kDialogButtonHeight});
    return parts;
}

} // namespace

TEST(DisplayScale, AtDesignScaleEveryPixelStaysAsDesigned)
{
    const TDisplayScale scale;
    EXPECT_TRUE(scale.IsIdentity());
    for (int v : {-300, -1, 0, 1, 7, 23, 230, 4000}) {
        EXPECT_EQ(scale.Position(v), v);
        EXPECT_EQ(scale.Length(v), v);
    }
    EXPECT_EQ(scale.FontHeight(-11), -11);
    EXPECT_EQ(scale.PatternFactor(), 1);
    EXPECT_EQ(scale.PictureSetPercent(), 100);
    EXPECT_EQ(TDisplayScale(72), scale) << "below the design the program is not made smaller";
}

TEST(DisplayScale, LinesStayWholeAndThePicturesAndPatternsFitTheScale)
{
    struct Case {
        int percent;
        int line;     // a 1-pixel border
        int pattern;  // pinstripe repeat
        int pictures; // picture set
        int font;     // an 11-pixel font
    } cases[] = {
        {100, 1, 1, 100, -11}, {125, 1, 1, 150, -14}, {150, 2, 2, 150, -17}, {175, 2, 2, 200, -19},
        {200, 2, 2, 200, -22}, {250, 3, 3, 200, -28}, {300, 3, 3, 200, -33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.percent) + " %");
        const TDisplayScale scale = AtPercent(c.percent);
        EXPECT_EQ(scale.Length(1), c.line);
        EXPECT_EQ(scale.PatternFactor(), c.pattern);
        EXPECT_EQ(scale.PictureSetPercent(), c.pictures);
        EXPECT_EQ(scale.FontHeight(-11), c.font);
        // Halves round the same way on both sides of zero, so a shape
        // moved left of the origin keeps its size.
        for (int v = -40; v < 40; ++v)
            EXPECT_EQ(scale.Position(v + 40) - scale.Position(v), scale.Position(40) - scale.Position(0)) << v;
    }
}

TEST(DisplayScale, NeighbouringPartsNeitherOverlapNorOpenAGapAtAnyScale)
{
    for (int percent : kScales) {
        SCOPED_TRACE(std::to_string(percent) + " %");
        const TDisplayScale scale = AtPercent(percent);
        ExpectNeighboursKept(SampleForm(), scale, "form");
        // Touching parts of odd sizes, as a border, a face and pieces of a
        // picture lie side by side.
        ExpectNeighboursKept({{0, 0, 1, 1}, {1, 0, 4, 1}, {4, 0, 5, 1}, {5, 0, 12, 1}, {12, 0, 13, 1}}, scale,
                             "row");
        for (int buttons = 1; buttons <= 3; ++buttons)
            ExpectNeighboursKept(DialogParts(buttons), scale, "dialog");
        TsuiFacePiece pieces[4];
        ButtonCornerPieces(scale.Position(30), scale.Position(22), scale.Position(73), scale.Position(25), pieces);
        std::vector<TsuiRect> targets;
        for (const TsuiFacePiece& piece : pieces)
            targets.push_back({piece.x, piece.y, piece.x + piece.source.Width(), piece.y + piece.source.Height()});
        for (size_t i = 0; i < targets.size(); ++i)
            for (size_t j = i + 1; j < targets.size(); ++j)
                EXPECT_TRUE(targets[i].right <= targets[j].left || targets[j].right <= targets[i].left ||
                            targets[i].bottom <= targets[j].top || targets[j].bottom <= targets[i].top)
                    << "button corners " << i << " and " << j << " overlap";
    }
}

TEST(DisplayScale, TheScaledFrameHasOneBorderThicknessAllRoundAndTheFaceBesideIt)
{
    for (int percent : kScales) {
        SCOPED_TRACE(std::to_string(percent) + " %");
        const TDisplayScale scale = AtPercent(percent);
        // The main window's frame: border 1 in a frame of 3, title bar 23,
        // no menu bar.
        const int width = scale.Position(180), height = scale.Position(230), border = scale.Length(1);
        const int frame = scale.Position(3), title = scale.Position(23);
        const TsuiFrameFills fills = FrameFills(width, height, border, title, 0, frame);
        auto paints = [](const std::vector<TsuiRect>& parts, int x, int y) {
            for (const TsuiRect& r : parts)
                if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                    return true;
            return false;
        };
        int wrong = 0;
        for (int y = title; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool inBorder = x < border || x >= width - border || y >= height - border;
                const bool inFrame = x < frame || x >= width - frame || y >= height - frame;
                wrong += paints(fills.border, x, y) != inBorder;
                wrong += paints(fills.face, x, y) != (inFrame && !inBorder);
            }
        EXPECT_EQ(wrong, 0) << "pixels where border and face disagree with a " << border << "-pixel border in a "
                            << frame << "-pixel frame";
    }
}

TEST(DisplayScale, TitleButtonsKeepTheirGapsAndTheCaptionItsRoomAtEveryScale)
{
    for (int percent : kScales) {
        SCOPED_TRACE(std::to_string(percent) + " %");
        const TDisplayScale scale = AtPercent(percent);
        const int button = scale.Length(17);
        const std::vector<TsuiTitleButtonShape> shapes{
            {true, true, button, button}, {true, false, button, button}, {true, false, button, button}};
        const TsuiTitleLayout layout = LayoutTitleBar(scale.Position(174), scale.Position(1), scale.Position(3),
                                                      scale.Position(-2), 0, false, shapes, scale);
        // Right to left, one scaled pixel apart; the caption starts after
        // the control box and ends before the first right-hand button.
        EXPECT_EQ(layout.buttons[1].left - layout.buttons[2].right, scale.Length(1));
        EXPECT_EQ(layout.buttons[0].right + scale.Length(5), layout.captionLeft);
        EXPECT_EQ(layout.captionLeft + layout.captionRoom, layout.buttons[2].left);
    }
}
