#include <gtest/gtest.h>

#include "app/MarkupGeometry.h"

namespace {

// A monitor left of the primary one, reaching above it.
const TScreenRect kVirtual{-1920, -280, 1280, 800};
const TScreenRect kSelection{-300, -200, -100, -50};

} // namespace

TEST(MarkupHandles, HandlesWinOverTheInsideAndReachBeyondTheEdges)
{
    EXPECT_EQ(HandleRect(kSelection, TSelectionPart::Top, 8), (TScreenRect{-204, -204, -196, -196}));
    EXPECT_TRUE(HandleRect(kSelection, TSelectionPart::Inside, 8).Empty());
    EXPECT_EQ(PartAt(kSelection, {-300, -200}, 8), TSelectionPart::TopLeft);
    EXPECT_EQ(PartAt(kSelection, {-97, -47}, 8), TSelectionPart::BottomRight) << "just outside the corner";
    EXPECT_EQ(PartAt(kSelection, {-100, -125}, 8), TSelectionPart::Right);
    EXPECT_EQ(PartAt(kSelection, {-200, -51}, 8), TSelectionPart::Bottom);
    EXPECT_EQ(PartAt(kSelection, {-303, -125}, 8), TSelectionPart::Left);
    EXPECT_EQ(PartAt(kSelection, {-296, -190}, 8), TSelectionPart::Inside) << "beside a handle";
    EXPECT_EQ(PartAt(kSelection, {-305, -125}, 8), TSelectionPart::None);
    EXPECT_EQ(PartAt(kSelection, {-200, -40}, 8), TSelectionPart::None);
}

TEST(MarkupHandles, DraggingResizesMovesAndStaysOnTheVirtualScreen)
{
    using P = TSelectionPart;
    EXPECT_EQ(DraggedSelection(kSelection, P::Right, 50, 30, kVirtual), (TScreenRect{-300, -200, -50, -50}));
    EXPECT_EQ(DraggedSelection(kSelection, P::TopLeft, -10, 20, kVirtual), (TScreenRect{-310, -180, -100, -50}));
    EXPECT_EQ(DraggedSelection(kSelection, P::Left, 250, 0, kVirtual), (TScreenRect{-100, -200, -50, -50}))
        << "the left side dragged over the right one";
    EXPECT_EQ(DraggedSelection(kSelection, P::Bottom, 0, -150, kVirtual), (TScreenRect{-300, -200, -100, -199}))
        << "one pixel at least";
    EXPECT_EQ(DraggedSelection(kSelection, P::BottomRight, 5000, 5000, kVirtual), (TScreenRect{-300, -200, 1280, 800}));
    EXPECT_EQ(DraggedSelection(kSelection, P::TopLeft, -5000, -5000, kVirtual), (TScreenRect{-1920, -280, -100, -50}));
    EXPECT_EQ(DraggedSelection(kSelection, P::Inside, 40, -10, kVirtual), (TScreenRect{-260, -210, -60, -60}));
    EXPECT_EQ(DraggedSelection(kSelection, P::Inside, -5000, -5000, kVirtual), (TScreenRect{-1920, -280, -1720, -130}))
        << "moved against the corner, its size kept";
    EXPECT_EQ(DraggedSelection(kSelection, P::Inside, 5000, 0, kVirtual), (TScreenRect{1080, -200, 1280, -50}));
    EXPECT_EQ(DraggedSelection({-2000, -300, 1300, 900}, P::Inside, 10, 10, kVirtual), kVirtual) << "larger than it";
}

TEST(MarkupStrip, ItGoesBelowThenAboveThenInsideAndStaysOnTheMonitor)
{
    const TScreenRect monitor{-1920, -280, 0, 800};
    // Middle of the monitor: below, right edges aligned.
    EXPECT_EQ(StripPlace({-1200, 100, -800, 300}, 300, 40, 8, monitor), (TScreenPoint{-1100, 308}));
    // Bottom edge: above.
    EXPECT_EQ(StripPlace({-1200, 600, -800, 780}, 300, 40, 8, monitor), (TScreenPoint{-1100, 552}));
    // The whole monitor: inside at its bottom.
    EXPECT_EQ(StripPlace(monitor, 300, 40, 8, monitor), (TScreenPoint{-300, 752}));
    // Corners: moved wholly onto the monitor.
    EXPECT_EQ(StripPlace({-1920, -280, -1820, -200}, 300, 40, 8, monitor), (TScreenPoint{-1920, -192})) << "top left";
    EXPECT_EQ(StripPlace({-100, -280, 0, -200}, 300, 40, 8, monitor), (TScreenPoint{-300, -192})) << "top right";
    EXPECT_EQ(StripPlace({-1920, 700, -1820, 800}, 300, 40, 8, monitor), (TScreenPoint{-1920, 652})) << "bottom left";
    EXPECT_EQ(StripPlace({-100, 700, 50, 800}, 300, 40, 8, monitor), (TScreenPoint{-300, 652})) << "bottom right, past it";
    EXPECT_EQ(StripPlace({-1900, 0, -1800, 100}, 3000, 40, 8, monitor), (TScreenPoint{-1920, 108})) << "wider than it";
}

TEST(MarkupShift, LinesSnapToTheNearest45DegreesAndShapesToSquares)
{
    const TScreenPoint press{-10, 20};
    EXPECT_EQ(SnappedTo45(press, {90, 40}), (TScreenPoint{90, 20})) << "11 degrees: horizontal";
    EXPECT_EQ(SnappedTo45(press, {-50, -80}), (TScreenPoint{-10, -80})) << "68 degrees: vertical";
    EXPECT_EQ(SnappedTo45(press, {90, -60}), (TScreenPoint{90, -80})) << "39 degrees: diagonal";
    EXPECT_EQ(SnappedTo45(press, {-70, 110}), (TScreenPoint{-100, 110}));
    EXPECT_EQ(SnappedTo45(press, press), press);
    EXPECT_EQ(SquareCorner(press, {30, 0}), (TScreenPoint{30, -20}));
    EXPECT_EQ(SquareCorner(press, {-20, 70}), (TScreenPoint{-60, 70}));
}
