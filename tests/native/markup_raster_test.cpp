#include <gtest/gtest.h>

#include <algorithm>

#include "app/MarkupRaster.h"

namespace {

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kRed = 0xFF0000;

// A frozen screen part at negative coordinates, all of one colour.
struct TCanvas {
    std::vector<uint32_t> pixels;
    TPixelSpan span;
    TCanvas(const TScreenRect& area, uint32_t colour)
        : pixels(size_t(area.Width()) * area.Height(), colour), span{pixels.data(), area.Width(), area.Height(), area.left, area.top}
    {
    }
    uint32_t At(int x, int y) const { return pixels[size_t(y - span.top) * span.width + (x - span.left)]; }
};

TMark Mark(TMarkTool tool, std::vector<TScreenPoint> points, int width = 4)
{
    TMark mark;
    mark.tool = tool;
    mark.points = std::move(points);
    mark.width = width;
    return mark;
}

TCoverage Ink(const TScreenRect& area)
{
    return {area, std::vector<uint8_t>(size_t(area.Width()) * area.Height(), 255)};
}

bool IsPartial(uint32_t pixel)
{
    return pixel != kGrey && pixel != kRed;
}

} // namespace

TEST(MarkupDraw, ARectangleOnWholePixelsIsItsColourWithHardEdgesAndAnUntouchedInside)
{
    TCanvas canvas({-20, -10, 20, 30}, kGrey);
    const TScreenRect outer{-15, -5, 5, 11}, inner{-11, -1, 1, 7};
    DrawMark(canvas.span, Mark(TMarkTool::Rectangle, {{4, 10}, {-15, -5}}), canvas.span.Area());
    for (int y = -10; y < 30; ++y)
        for (int x = -20; x < 20; ++x) {
            const bool frame = outer.Contains(x, y) && !inner.Contains(x, y);
            ASSERT_EQ(canvas.At(x, y), frame ? kRed : kGrey) << x << ", " << y;
        }
}

TEST(MarkupDraw, StrokesAreSmoothAndAPolylineIsNoDarkerWhereItCrossesItself)
{
    TCanvas canvas({0, 0, 40, 40}, kGrey);
    DrawMark(canvas.span, Mark(TMarkTool::Line, {{2, 5}, {30, 5}}, 2), canvas.span.Area());
    EXPECT_EQ(canvas.At(10, 5), kRed) << "on the line";
    EXPECT_EQ(canvas.At(10, 4), 0xC04040u) << "half covered";
    EXPECT_EQ(canvas.At(10, 6), 0xC04040u);
    EXPECT_EQ(canvas.At(10, 3), kGrey);
    DrawMark(canvas.span, Mark(TMarkTool::Line, {{2, 10}, {30, 38}}, 4), canvas.span.Area());
    EXPECT_GE(std::count_if(canvas.pixels.begin(), canvas.pixels.end(), IsPartial), 2 * 28 + 4)
        << "a diagonal's edges are partly covered";

    TCanvas once({0, 0, 40, 20}, kGrey), twice({0, 0, 40, 20}, kGrey);
    DrawMark(once.span, Mark(TMarkTool::Pen, {{5, 10}, {35, 10}}), once.span.Area());
    DrawMark(twice.span, Mark(TMarkTool::Pen, {{5, 10}, {35, 10}, {5, 10}, {35, 10}}), twice.span.Area());
    EXPECT_EQ(once.At(20, 10), kRed);
    EXPECT_EQ(twice.At(20, 12), once.At(20, 12)) << "the edge where the strokes lie over each other";
}

TEST(MarkupDraw, TheMarkerDarkensLikeInkSoTextStaysReadable)
{
    TCanvas canvas({0, 0, 40, 20}, 0xFFFFFF);
    canvas.pixels[10 * 40 + 20] = 0x000000; // a dark pixel of text under the band
    TMark marker = Mark(TMarkTool::Marker, {{5, 10}, {35, 10}, {5, 10}}, 2);
    marker.colour = 0xFFFF00;
    DrawMark(canvas.span, marker, canvas.span.Area());
    EXPECT_EQ(canvas.At(20, 10), 0x000000u) << "text stays dark";
    EXPECT_EQ(canvas.At(10, 10), 0xFFFF1Au) << "white goes most of the way to yellow";
    EXPECT_EQ(canvas.At(10, 13), 0xFFFF1Au) << "the band is four times the width";
    EXPECT_EQ(canvas.At(10, 16), 0xFFFFFFu);
}

TEST(MarkupDraw, NothingIsDrawnOutsideTheClipOrTheMarkBounds)
{
    TMark text = Mark(TMarkTool::Text, {{-30, -30}});
    text.ink = Ink({-30, -30, -10, -20});
    TMark step = Mark(TMarkTool::Step, {{-20, -20}});
    step.ink = Ink({-16, -22, -8, -18}); // across the clip's right edge
    TMark pixelate = Mark(TMarkTool::Pixelate, {});
    pixelate.blocksArea = {-40, -40, 0, -24};
    pixelate.blocks.assign(BlockCount(40, 8) * BlockCount(16, 8), 0x123456);
    const TMark marks[] = {Mark(TMarkTool::Rectangle, {{-28, -40}, {-5, -8}}), Mark(TMarkTool::Ellipse, {{-40, -40}, {-5, -8}}),
                           Mark(TMarkTool::Line, {{-40, -30}, {-3, -3}}, 8), Mark(TMarkTool::Arrow, {{-45, -5}, {-5, -45}}, 8),
                           Mark(TMarkTool::Pen, {{-40, -30}, {-20, -5}, {-3, -40}}, 8),
                           Mark(TMarkTool::Marker, {{-40, -30}, {-20, -5}, {-3, -40}}, 8), text, step, pixelate};
    const TScreenRect clip{-30, -35, -12, -15};
    for (const TMark& mark : marks) {
        SCOPED_TRACE(int(mark.tool));
        TCanvas whole({-60, -60, 20, 20}, kGrey), clipped({-60, -60, 20, 20}, kGrey);
        DrawMark(whole.span, mark, whole.span.Area());
        DrawMark(clipped.span, mark, clip);
        const TScreenRect bounds = MarkBounds(mark);
        int changed = 0;
        for (int y = -60; y < 20; ++y)
            for (int x = -60; x < 20; ++x) {
                changed += clipped.At(x, y) != kGrey;
                EXPECT_TRUE(whole.At(x, y) == kGrey || bounds.Contains(x, y)) << x << ", " << y;
                EXPECT_EQ(clipped.At(x, y), clip.Contains(x, y) ? whole.At(x, y) : kGrey) << x << ", " << y;
            }
        EXPECT_GT(changed, 0);
    }
}

TEST(MarkupDraw, AStepIsADiscWithItsNumberInWhiteOrOnLightColoursInBlack)
{
    for (const uint32_t colour : {kRed, 0xFFFF00u}) {
        TCanvas canvas({0, 0, 60, 60}, kGrey);
        TMark step = Mark(TMarkTool::Step, {{30, 30}});
        step.colour = colour;
        step.ink = Ink({29, 29, 31, 31});
        DrawMark(canvas.span, step, canvas.span.Area());
        EXPECT_EQ(canvas.At(29, 29), colour == kRed ? 0xFFFFFFu : 0u);
        EXPECT_EQ(canvas.At(30, 17), colour) << "within the radius of 14";
        EXPECT_EQ(canvas.At(30, 15), kGrey);
    }
}

TEST(MarkupArrow, TheHeadIsAtTheReleaseAndAtMostHalfTheArrow)
{
    const TArrowHead head = ArrowHead({0, 0}, {100, 0}, 4);
    EXPECT_DOUBLE_EQ(head.tipX, 100.5);
    EXPECT_DOUBLE_EQ(head.tipY, 0.5);
    EXPECT_DOUBLE_EQ(head.leftX, 82.5);
    EXPECT_NEAR(head.leftY, 0.5 - 10.8, 1e-9) << "left of the way it points";
    EXPECT_NEAR(head.rightY, 0.5 + 10.8, 1e-9);
    const TArrowHead shortOne = ArrowHead({0, 10}, {0, 0}, 8);
    EXPECT_DOUBLE_EQ(shortOne.leftY, 5.5);
    EXPECT_DOUBLE_EQ(shortOne.leftX, 0.5 - 3.0);
}

TEST(MarkupPixelate, BlocksAreTheWholeBlocksMeanEvenWhereTheSelectionCutsThem)
{
    const TScreenRect area{-20, 0, 0, 17};
    EXPECT_EQ(BlockCount(20, 8), 2);
    EXPECT_EQ(BlockCount(5, 8), 1);
    EXPECT_EQ(BlockRect(area, 8, 1, 1), (TScreenRect{-10, 8, 0, 17}));
    EXPECT_EQ(PixelateArea({-3, 5}, {-1, 5}, 8, {-4, 0, 100, 100}), (TScreenRect{-4, 2, 4, 10}))
        << "grown to a block and kept on the screen";

    TCanvas frozen(area, 0);
    for (size_t i = 0; i < frozen.pixels.size(); ++i)
        frozen.pixels[i] = uint32_t(i * i * 7 % 256) | 0x405000u; // a different mean in every block
    TMark mark = Mark(TMarkTool::Pixelate, {});
    mark.blocksArea = area;
    mark.blocks = BlockAverages(frozen.span, area, 8);
    ASSERT_EQ(mark.blocks.size(), 4u);
    ASSERT_NE(mark.blocks[0], mark.blocks[3]);
    for (int block = 0; block < 4; ++block) {
        const TScreenRect rect = BlockRect(area, 8, block % 2, block / 2);
        uint32_t sum = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                sum += frozen.At(x, y) & 0xFF;
        const uint32_t count = uint32_t(rect.Width() * rect.Height());
        EXPECT_EQ(mark.blocks[block], 0x405000u | (sum + count / 2) / count) << block;
    }
    TCanvas canvas(area, kGrey);
    DrawMark(canvas.span, mark, {-15, 3, 0, 17});
    EXPECT_EQ(canvas.At(-15, 3), mark.blocks[0]) << "cut by the selection, still the whole block's mean";
    EXPECT_EQ(canvas.At(-16, 3), kGrey);
    EXPECT_EQ(canvas.At(-1, 16), mark.blocks[3]);
}

TEST(MarkupSmoothing, CornersAreRoundedAndTheEndsKept)
{
    const std::vector<TPathPoint> path = SmoothedStroke({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_DOUBLE_EQ(path.front().x, 0.5);
    EXPECT_DOUBLE_EQ(path.back().y, 10.5);
    EXPECT_TRUE(std::none_of(path.begin(), path.end(), [](TPathPoint p) { return p.x == 10.5 && p.y == 0.5; }))
        << "the corner is cut off";
    EXPECT_EQ(SmoothedStroke({{3, 4}, {3, 4}}).size(), 1u) << "a dot";
}

TEST(MarkupList, StepsCountOnThroughUndoAndRedo)
{
    TMarkList list;
    EXPECT_EQ(list.NextStepNumber(), 1);
    for (int number : {1, 2}) {
        TMark step = Mark(TMarkTool::Step, {{0, 0}});
        step.number = number;
        list.Add(step);
    }
    list.Add(Mark(TMarkTool::Line, {{0, 0}, {5, 5}}));
    EXPECT_EQ(list.NextStepNumber(), 3);
    EXPECT_TRUE(list.Undo() && list.Undo());
    EXPECT_EQ(list.NextStepNumber(), 2);
    EXPECT_TRUE(list.Redo());
    EXPECT_EQ(list.NextStepNumber(), 3);
    EXPECT_TRUE(list.Undo() && list.Undo());
    EXPECT_FALSE(list.Undo());
    EXPECT_EQ(list.NextStepNumber(), 1);
    list.Add(Mark(TMarkTool::Rectangle, {{0, 0}, {5, 5}}));
    EXPECT_FALSE(list.CanRedo()) << "a new mark drops what could be redone";
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.NextStepNumber(), 1);
}
