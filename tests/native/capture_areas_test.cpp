#include <gtest/gtest.h>

#include "app/CaptureAreas.h"

namespace {

// A primary monitor with a taskbar at the bottom, a second one to its right
// that is shorter, and a third left of the primary (negative coordinates)
// with a bar docked at its top.
const std::vector<TMonitorArea> kThreeMonitors{
    {{0, 0, 1280, 800}, {0, 0, 1280, 760}, true},
    {{1280, 0, 2304, 768}, {1280, 0, 2304, 768}, false},
    {{-1920, -280, 0, 800}, {-1920, -250, 0, 800}, false},
};
const TScreenRect kVirtual{-1920, -280, 2304, 800};

TScreenRect Shot(int x, int y, TCaptureScreens mode, bool taskbar)
{
    return ScreenCaptureRect(kThreeMonitors, kVirtual, x, y, mode, taskbar);
}

} // namespace

TEST(ScreenCaptureRect, EachModeTakesItsScreen)
{
    struct Case {
        const char* what;
        int x, y;
        TCaptureScreens mode;
        bool taskbar;
        TScreenRect expected;
    } cases[] = {
        {"primary whole", 2000, 100, TCaptureScreens::Primary, true, {0, 0, 1280, 800}},
        {"primary work area", 2000, 100, TCaptureScreens::Primary, false, {0, 0, 1280, 760}},
        {"pointer on the second", 1280, 767, TCaptureScreens::UnderPointer, true, {1280, 0, 2304, 768}},
        {"pointer on the primary's last pixel", 1279, 799, TCaptureScreens::UnderPointer, true, {0, 0, 1280, 800}},
        {"pointer left of the primary", -1, 0, TCaptureScreens::UnderPointer, false, {-1920, -250, 0, 800}},
        {"pointer above all, nearest is the left one", -100, -1000, TCaptureScreens::UnderPointer, true,
         {-1920, -280, 0, 800}},
        {"pointer in the gap below the second", 2000, 790, TCaptureScreens::UnderPointer, true,
         {1280, 0, 2304, 768}},
        {"all screens, taskbars included", 0, 0, TCaptureScreens::All, false, kVirtual},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Shot(c.x, c.y, c.mode, c.taskbar), c.expected);
    }
}

TEST(ScreenCaptureRect, OddMonitorListsStillGiveAScreen)
{
    // The first monitor stands in when none says it is primary, and the
    // virtual screen when there is no list at all.
    std::vector<TMonitorArea> noPrimary{{{100, 0, 900, 600}, {100, 0, 900, 560}, false}};
    EXPECT_EQ(ScreenCaptureRect(noPrimary, kVirtual, 0, 0, TCaptureScreens::Primary, false),
              (TScreenRect{100, 0, 900, 560}));
    EXPECT_EQ(ScreenCaptureRect({}, kVirtual, 0, 0, TCaptureScreens::UnderPointer, true), kVirtual);
    // An empty work area (not reported) falls back to the whole monitor.
    std::vector<TMonitorArea> noWorkArea{{{0, 0, 800, 600}, {}, true}};
    EXPECT_EQ(ScreenCaptureRect(noWorkArea, kVirtual, 0, 0, TCaptureScreens::Primary, false),
              (TScreenRect{0, 0, 800, 600}));
}

TEST(WindowCaptureRect, VisibleBoundsWinAndEverythingIsClippedToTheScreens)
{
    const TScreenRect screens{-1920, -280, 2304, 800};
    struct Case {
        const char* what;
        std::optional<TScreenRect> visible;
        TScreenRect window;
        TScreenRect expected;
    } cases[] = {
        {"no visible bounds: the window rectangle", std::nullopt, {10, 20, 410, 320}, {10, 20, 410, 320}},
        {"invisible resize borders left out", TScreenRect{107, 100, 893, 593}, {100, 100, 900, 600},
         {107, 100, 893, 593}},
        {"maximised: its rectangle reaches past the monitor", TScreenRect{0, 0, 1280, 760}, {-8, -8, 1288, 768},
         {0, 0, 1280, 760}},
        {"empty visible bounds are not believed", TScreenRect{}, {10, 20, 410, 320}, {10, 20, 410, 320}},
        {"across two monitors", TScreenRect{-300, 50, 300, 450}, {-307, 50, 307, 457}, {-300, 50, 300, 450}},
        {"partly off every screen", std::nullopt, {2000, 700, 2600, 1000}, {2000, 700, 2304, 800}},
        {"wholly off screen", std::nullopt, {5000, 5000, 5400, 5300}, {}},
        {"no area", std::nullopt, {10, 10, 10, 50}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WindowCaptureRect(c.visible, c.window, screens), c.expected);
    }
}
