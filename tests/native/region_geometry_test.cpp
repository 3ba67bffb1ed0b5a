#include <gtest/gtest.h>

#include <algorithm>

#include "app/RegionGeometry.h"

namespace {

// A primary monitor at the origin and one left of it, reaching above it.
const TScreenRect kVirtual{-1920, -280, 1280, 800};

int Area(const std::vector<TScreenRect>& parts)
{
    int area = 0;
    for (const TScreenRect& part : parts)
        area += part.Width() * part.Height();
    return area;
}

} // namespace

TEST(SelectionRect, EveryDirectionOfTheDragSelectsTheSamePixels)
{
    const TScreenRect expected{600, 300, 800, 400};
    struct Case {
        const char* what;
        TScreenPoint press, release;
    } cases[] = {
        {"down and right", {600, 300}, {800, 400}},
        {"up and left", {800, 400}, {600, 300}},
        {"down and left", {800, 300}, {600, 400}},
        {"up and right", {600, 400}, {800, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SelectionRect(c.press, c.release, kVirtual), expected);
    }
    EXPECT_EQ(SelectionRect({-5, -3}, {5, 3}, kVirtual), (TScreenRect{-5, -3, 5, 3})) << "across the origin";
    EXPECT_EQ(SelectionRect({10, 10}, {11, 11}, kVirtual).Width(), 1) << "one pixel";
}

TEST(SelectionRect, NoWidthOrNoHeightSelectsNothing)
{
    EXPECT_TRUE(SelectionRect({600, 300}, {600, 400}, kVirtual).Empty());
    EXPECT_TRUE(SelectionRect({600, 300}, {800, 300}, kVirtual).Empty());
    EXPECT_TRUE(SelectionRect({600, 300}, {600, 300}, kVirtual).Empty());
    EXPECT_TRUE(SelectionRect({1279, 799}, {1279, 700}, kVirtual).Empty()) << "the last column is no width either";
}

TEST(SelectionRect, ItStaysOnTheVirtualScreenAndReachesItsLastPixels)
{
    // The pointer stops on the last column and row: ending there takes them.
    EXPECT_EQ(SelectionRect({1000, 600}, {1279, 799}, kVirtual), (TScreenRect{1000, 600, 1280, 800}));
    EXPECT_EQ(SelectionRect({1279, 799}, {1000, 600}, kVirtual), (TScreenRect{1000, 600, 1280, 800}));
    EXPECT_EQ(SelectionRect({1000, 600}, {1278, 798}, kVirtual), (TScreenRect{1000, 600, 1278, 798}));
    // Points off the screen (a press reported before a monitor went away).
    EXPECT_EQ(SelectionRect({-3000, -500}, {-1900, -200}, kVirtual), (TScreenRect{-1920, -280, -1900, -200}));
    EXPECT_EQ(SelectionRect({1200, 700}, {5000, 5000}, kVirtual), (TScreenRect{1200, 700, 1280, 800}));
    EXPECT_TRUE(SelectionRect({2000, 0}, {3000, 100}, kVirtual).Empty()) << "wholly off the screen";
}

TEST(MovedPointer, ArrowsMoveOneOrTenPixelsAndStopAtTheScreensEdges)
{
    EXPECT_EQ(MovedPointer({100, 100}, 1, 0, false, kVirtual), (TScreenPoint{101, 100}));
    EXPECT_EQ(MovedPointer({100, 100}, 0, -1, false, kVirtual), (TScreenPoint{100, 99}));
    EXPECT_EQ(MovedPointer({100, 100}, -1, 0, true, kVirtual), (TScreenPoint{90, 100}));
    EXPECT_EQ(MovedPointer({100, 100}, 0, 1, true, kVirtual), (TScreenPoint{100, 110}));
    EXPECT_EQ(MovedPointer({1275, 795}, 1, 1, true, kVirtual), (TScreenPoint{1279, 799}));
    EXPECT_EQ(MovedPointer({1279, 799}, 1, 1, false, kVirtual), (TScreenPoint{1279, 799}));
    EXPECT_EQ(MovedPointer({-1915, -275}, -1, -1, true, kVirtual), (TScreenPoint{-1920, -280}));
}

TEST(MagnifierSource, ItIsCentredOnThePointerAndHoldsOnlyScreenPixels)
{
    EXPECT_EQ(MagnifierSource({100, 100}, 15, kVirtual), (TScreenRect{93, 93, 108, 108}));
    EXPECT_EQ(MagnifierSource({-1920, -280}, 15, kVirtual), (TScreenRect{-1920, -280, -1905, -265}));
    EXPECT_EQ(MagnifierSource({1279, 799}, 15, kVirtual), (TScreenRect{1265, 785, 1280, 800}));
    EXPECT_EQ(MagnifierSource({1275, -279}, 15, kVirtual), (TScreenRect{1265, -280, 1280, -265}));
    EXPECT_EQ(MagnifierSource({5, 5}, 15, {0, 0, 10, 12}), (TScreenRect{0, 0, 10, 12})) << "a tiny screen";
}

TEST(BoxBesidePointer, TheBoxStaysOnThePointersMonitor)
{
    const TScreenRect primary{0, 0, 1280, 800};
    EXPECT_EQ(BoxBesidePointer({100, 100}, 140, 180, 20, primary), (TScreenPoint{120, 120}));
    EXPECT_EQ(BoxBesidePointer({1200, 700}, 140, 180, 20, primary), (TScreenPoint{1040, 500})) << "flipped";
    EXPECT_EQ(BoxBesidePointer({1200, 100}, 140, 180, 20, primary), (TScreenPoint{1040, 120}));
    EXPECT_EQ(BoxBesidePointer({100, 700}, 140, 780, 20, primary), (TScreenPoint{120, 0})) << "tall: pushed in";
    const TScreenRect left{-1920, -280, 0, 800};
    EXPECT_EQ(BoxBesidePointer({-10, -270}, 140, 180, 20, left), (TScreenPoint{-170, -250}));
    EXPECT_EQ(BoxBesidePointer({5, 5}, 140, 180, 20, {0, 0, 100, 100}), (TScreenPoint{0, 0})) << "larger";
}

TEST(Difference, TheChangedPartsOfAGrowingOrMovingSelection)
{
    const TScreenRect a{0, 0, 100, 100};
    const TScreenRect grown{0, 0, 120, 110};
    EXPECT_TRUE(Difference(a, grown).empty());
    EXPECT_EQ(Area(Difference(grown, a)), 120 * 110 - 100 * 100);
    const TScreenRect moved{50, 50, 150, 150};
    const auto parts = Difference(a, moved);
    EXPECT_EQ(Area(parts), 100 * 100 - 50 * 50);
    for (const TScreenRect& part : parts)
        EXPECT_TRUE(Intersection(part, moved).Empty()) << "a part overlaps what stays";
    EXPECT_EQ(Difference(a, {200, 200, 300, 300}), std::vector<TScreenRect>{a});
    EXPECT_TRUE(Difference({}, a).empty());
    EXPECT_EQ(Inflated(a, 2), (TScreenRect{-2, -2, 102, 102}));
}
