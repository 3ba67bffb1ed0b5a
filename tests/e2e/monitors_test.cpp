// Shots on two monitors side by side (a 1280x800 primary and a 1024x768
// right of it): each of the three screen modes, and a window that spans
// both. Runs on the two-monitor display of tools/wine-run.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

const RECT kPrimary{0, 0, 1280, 800};
const RECT kSecond{1280, 0, 2304, 768};

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

std::vector<RECT> MonitorRects()
{
    std::vector<RECT> rects;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Settings as a user leaves them, with the screens of PrintScreen chosen.
::testing::AssertionResult StoreScreensMode(const ScratchFolder& folder, DWORD mode)
{
    auto stored = StoreSettings({folder.Text(), L"shot", 0, 7, 90, 1, 0});
    if (!stored)
        return stored;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return ::testing::AssertionFailure() << "cannot open the settings key";
    const LONG result = RegSetValueExW(key, L"CaptureScreens", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                                       sizeof mode);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return ::testing::AssertionFailure() << "cannot store CaptureScreens";
    return ::testing::AssertionSuccess();
}

class TwoMonitors : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::vector<RECT> monitors = MonitorRects();
        ASSERT_EQ(monitors.size(), 2u) << "the test display should have two monitors";
        ASSERT_TRUE(SameRect(monitors[0], kPrimary) || SameRect(monitors[1], kPrimary));
        ASSERT_TRUE(SameRect(monitors[0], kSecond) || SameRect(monitors[1], kSecond));
    }

    // One PrintScreen with the given mode, the pointer at the given place.
    Image ShotWithMode(DWORD mode, POINT pointer)
    {
        ScratchFolder folder;
        EXPECT_TRUE(StoreScreensMode(folder, mode));
        Snapquill program(folder.Path(), L"-hide", StoredSettings::Keep);
        EXPECT_NE(program.WaitUntilReady(false), nullptr);
        SetCursorPos(pointer.x, pointer.y);
        PumpFor(100);
        EXPECT_TRUE(PressKey(VK_SNAPSHOT));
        Image image;
        const fs::path file = folder.Path() / L"shot1.bmp";
        if (WaitForFile(file))
            EXPECT_EQ(DecodeBmp(ReadFileBytes(file), image), "");
        else
            ADD_FAILURE() << "no shot with mode " << mode;
        return image;
    }

    CleanSettings clean_;
    // A picture on each monitor, the second one's near its far corner.
    PatternWindow onPrimary_{{300, 200}, {120, 90}, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW};
    PatternWindow onSecond_{{2100, 600}, {150, 100}, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW};
};

POINT Minus(POINT point, const RECT& origin)
{
    return {point.x - origin.left, point.y - origin.top};
}

} // namespace

TEST_F(TwoMonitors, EachModeTakesItsScreensWithThePixelsOfBoth)
{
    ASSERT_TRUE(onPrimary_.WaitUntilOnScreen());
    ASSERT_TRUE(onSecond_.WaitUntilOnScreen()) << "nothing can be drawn on the second monitor";

    const Image primary = ShotWithMode(0, {1500, 300});
    EXPECT_EQ(primary.width, 1280);
    EXPECT_EQ(primary.height, 800);
    EXPECT_TRUE(ShowsPattern(primary, onPrimary_.ClientOrigin(), onPrimary_.ClientSize(), true));

    const Image underPointer = ShotWithMode(1, {1500, 300});
    EXPECT_EQ(underPointer.width, 1024);
    EXPECT_EQ(underPointer.height, 768);
    EXPECT_TRUE(ShowsPattern(underPointer, Minus(onSecond_.ClientOrigin(), kSecond), onSecond_.ClientSize(), true));

    const Image all = ShotWithMode(2, {10, 10});
    EXPECT_EQ(all.width, 2304);
    EXPECT_EQ(all.height, 800);
    EXPECT_TRUE(ShowsPattern(all, onPrimary_.ClientOrigin(), onPrimary_.ClientSize(), true));
    EXPECT_TRUE(ShowsPattern(all, onSecond_.ClientOrigin(), onSecond_.ClientSize(), true));
    if (all.Contains(2303, 799)) {
        EXPECT_EQ(all.At(1280, 768), Rgb{}) << "below the shorter monitor is not black";
        EXPECT_EQ(all.At(2303, 799), Rgb{});
    }
}

TEST_F(TwoMonitors, AWindowAcrossBothMonitorsIsTakenWhole)
{
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-hide");
    ASSERT_NE(program.WaitUntilReady(false), nullptr);
    PatternWindow across({1180, 300}, {200, 120}, WS_OVERLAPPEDWINDOW, 0);
    ASSERT_TRUE(across.MakeForeground());
    ASSERT_TRUE(across.WaitUntilOnScreen());

    EXPECT_TRUE(Press({VK_MENU, VK_SNAPSHOT}));
    const fs::path file = folder.Path() / L"shot1.bmp";
    ASSERT_TRUE(WaitForFile(file));
    Image image;
    ASSERT_EQ(DecodeBmp(ReadFileBytes(file), image), "");
    const RECT frame = across.WindowRect();
    EXPECT_EQ(image.width, frame.right - frame.left);
    EXPECT_EQ(image.height, frame.bottom - frame.top);
    const POINT origin = across.ClientOrigin();
    EXPECT_TRUE(ShowsPattern(image, {origin.x - frame.left, origin.y - frame.top}, across.ClientSize(), true));
}

TEST_F(TwoMonitors, ARegionDraggedAcrossBothMonitorsHoldsThePixelsOfBoth)
{
    ASSERT_TRUE(onPrimary_.WaitUntilOnScreen());
    ASSERT_TRUE(onSecond_.WaitUntilOnScreen()) << "nothing can be drawn on the second monitor";
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-hide");
    ASSERT_NE(program.WaitUntilReady(false), nullptr);
    SetCursorPos(100, 100);
    PumpFor(100);

    // From the primary's pattern to past the second one's, the overlay
    // dimming the first pattern once it is up.
    const POINT from = onPrimary_.ClientOrigin();
    const POINT secondOrigin = onSecond_.ClientOrigin();
    const POINT to{secondOrigin.x + onSecond_.ClientSize().cx + 10, secondOrigin.y + onSecond_.ClientSize().cy + 10};
    ASSERT_TRUE(Press({VK_CONTROL, VK_SNAPSHOT}));
    const COLORREF bright = onPrimary_.Colours().topLeft;
    ASSERT_TRUE(WaitUntil([&] {
        return ScreenPixel(from) == RGB(GetRValue(bright) / 2, GetGValue(bright) / 2, GetBValue(bright) / 2);
    })) << "no overlay";
    MovePointerOnDesktop(from);
    PumpFor(100);
    MovePointerOnDesktop(from, MOUSEEVENTF_LEFTDOWN);
    PumpFor(100);
    MovePointerOnDesktop({1400, 400});
    PumpFor(100);
    MovePointerOnDesktop(to);
    PumpFor(100);
    MovePointerOnDesktop(to, MOUSEEVENTF_LEFTUP);

    const fs::path file = folder.Path() / L"shot1.bmp";
    ASSERT_TRUE(WaitForFile(file)) << "no region written";
    Image image;
    ASSERT_EQ(DecodeBmp(ReadFileBytes(file), image), "");
    EXPECT_EQ(image.width, to.x - from.x);
    EXPECT_EQ(image.height, to.y - from.y);
    EXPECT_TRUE(ShowsPattern(image, {0, 0}, onPrimary_.ClientSize(), false));
    EXPECT_TRUE(ShowsPattern(image, {secondOrigin.x - from.x, secondOrigin.y - from.y}, onSecond_.ClientSize(), true));
    EXPECT_EQ(image.At(0, 0), kTopLeft);
    EXPECT_EQ(image.At(onPrimary_.ClientSize().cx - 1, onPrimary_.ClientSize().cy - 1), kBottomRight);
}

// The mark-up on the second monitor: its strip stays wholly on that
// monitor, and the marked-up pixels are that monitor's.
TEST_F(TwoMonitors, AMarkUpOnTheSecondMonitorKeepsItsStripThereAndWritesItsPixels)
{
    ASSERT_TRUE(onSecond_.WaitUntilOnScreen()) << "nothing can be drawn on the second monitor";
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-hide");
    ASSERT_NE(program.WaitUntilReady(false), nullptr);
    SetCursorPos(100, 100);
    PumpFor(100);
    const POINT from = onSecond_.ClientOrigin();
    const POINT to{from.x + onSecond_.ClientSize().cx, from.y + onSecond_.ClientSize().cy};
    ASSERT_TRUE(Press({VK_CONTROL, VK_SHIFT, VK_SNAPSHOT}));
    const COLORREF bright = onSecond_.Colours().topLeft;
    ASSERT_TRUE(WaitUntil([&] {
        return ScreenPixel(from) == RGB(GetRValue(bright) / 2, GetGValue(bright) / 2, GetBValue(bright) / 2);
    })) << "no overlay";
    for (const auto& [start, end] : {std::pair{from, to}, std::pair{POINT{from.x + 10, from.y + 10},
                                                                    POINT{from.x + 40, from.y + 30}}}) {
        MovePointerOnDesktop(start);
        PumpFor(100);
        MovePointerOnDesktop(start, MOUSEEVENTF_LEFTDOWN);
        PumpFor(100);
        MovePointerOnDesktop(end);
        PumpFor(100);
        MovePointerOnDesktop(end, MOUSEEVENTF_LEFTUP);
        PumpFor(200);
        if (start.x == from.x)
            ASSERT_TRUE(PressKey('R'));
    }
    HWND strip = nullptr;
    for (HWND window : TopLevelWindowsOf(program.Id()))
        for (HWND child : ChildrenOf(window))
            if (IsWindowVisible(child) && ClassNameOf(child) == L"SnapquillMarkupStrip")
                strip = child;
    ASSERT_NE(strip, nullptr) << "no tool strip";
    RECT place{};
    GetWindowRect(strip, &place);
    EXPECT_TRUE(place.left >= kSecond.left && place.right <= kSecond.right && place.top >= kSecond.top &&
                place.bottom <= kSecond.bottom)
        << "the strip is at " << place.left << ", " << place.top << " to " << place.right << ", " << place.bottom;
    ASSERT_TRUE(PressKey(VK_RETURN));

    const fs::path file = folder.Path() / L"shot1.bmp";
    ASSERT_TRUE(WaitForFile(file)) << "no mark-up written";
    Image image;
    ASSERT_EQ(DecodeBmp(ReadFileBytes(file), image), "");
    EXPECT_EQ(image.width, onSecond_.ClientSize().cx);
    EXPECT_EQ(image.At(10, 10), (Rgb{255, 0, 0}));
    EXPECT_EQ(image.At(0, 0), kTopLeft);
    EXPECT_EQ(image.At(onSecond_.ClientSize().cx - 1, onSecond_.ClientSize().cy - 1), kBottomRight);
}
