// The panel at the display scale the test runs at (the prefix's dots per
// inch): its size, its controls' places and fonts, its pictures without the
// key colour, clicks at the scaled places, and a move to a monitor of
// another scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/PanelLayout.h"
#include "core/DisplayScale.h"
#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"
#include "tests/support/Input.h"
#include "tests/support/Screen.h"

using namespace e2e;

namespace {

constexpr int kDesignedWidth = 180;
constexpr int kDesignedShort = 190;
constexpr int kDesignedTall = 230;

RECT ClientBounds(HWND main, HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT AsRect(const TBounds& b)
{
    return {b.left, b.top, b.left + b.width, b.top + b.height};
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

bool Near(int actual, int expected)
{
    return std::abs(actual - expected) <= 2;
}

SIZE OuterSize(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// The controls whose places do not follow their content.
void ExpectPlacedAt(const Snapquill& program, HWND main, const TDisplayScale& scale)
{
    struct Placed {
        HWND control;
        TBounds designed;
    } placed[] = {
        {program.PathEdit(), layout::edPath},
        {program.PrefixEdit(), layout::edFile},
        {BrowseButton(program), layout::btnBrowse},
    };
    for (const Placed& p : placed) {
        const RECT actual = ClientBounds(main, p.control), expected = AsRect(scale.Bounds(p.designed));
        EXPECT_TRUE(EqualRect(&actual, &expected)) << Describe(actual) << " instead of " << Describe(expected);
    }
}

// Pure or nearly pure magenta: the key colour, or a blend of it.
int KeyColouredPixels(HWND main)
{
    const SIZE size = OuterSize(main);
    RECT area{};
    GetWindowRect(main, &area);
    support::TCanvasBitmap canvas(size.cx, size.cy);
    support::CopyScreen(area, canvas);
    int count = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF c = canvas.Pixel(x, y);
            count += GetRValue(c) > 160 && GetBValue(c) > 160 && GetGValue(c) < 100;
        }
    return count;
}

// Each label as wide as its text in the labels' font at the scale, so that
// none is cut.
void ExpectLabelsWhole(HWND main, const TDisplayScale& scale)
{
    TGdiObject font(CreateFontW(scale.FontHeight(-layout::kLabelFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, L"Trebuchet MS"));
    TWindowDC screen(nullptr);
    TSelectObject selected(screen.Handle(), font.Handle());
    int labels = 0;
    for (HWND child : ChildrenOf(main)) {
        if (ClassNameOf(child) != L"TLabel" || !IsWindowVisible(child))
            continue;
        ++labels;
        const std::wstring text = TextOf(child);
        RECT needed{0, 0, 0, 0};
        DrawTextW(screen.Handle(), text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const RECT r = ClientBounds(main, child);
        EXPECT_GE(r.right - r.left, needed.right) << Narrow(text) << " is cut";
        EXPECT_GE(r.bottom - r.top, needed.bottom) << Narrow(text) << " is cut";
    }
    EXPECT_GE(labels, 3);
}

class PanelScale : public ::testing::Test {
protected:
    const TDisplayScale scale_{static_cast<int>(GetDpiForSystem())};
    CleanSettings settings_;
    ScratchFolder folder_;
};

} // namespace

TEST_F(PanelScale, ThePanelIsItsDesignedSizeTimesTheScaleWithItsTextWholeAndNoKeyColour)
{
    Snapquill program(folder_.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    const int shortHeight = scale_.Position(kDesignedShort);
    EXPECT_TRUE(WaitUntil([&] { return Near(OuterSize(main).cy, shortHeight); }))
        << OuterSize(main).cy << " high instead of " << shortHeight;
    EXPECT_TRUE(Near(OuterSize(main).cx, scale_.Position(kDesignedWidth))) << OuterSize(main).cx << " wide";
    ExpectPlacedAt(program, main, scale_);
    ExpectLabelsWhole(main, scale_);
    EXPECT_EQ(KeyColouredPixels(main), 0);

    program.SelectFormat(1);
    const int tallHeight = scale_.Position(kDesignedTall);
    EXPECT_TRUE(WaitUntil([&] { return Near(OuterSize(main).cy, tallHeight); }))
        << OuterSize(main).cy << " high instead of " << tallHeight;
    EXPECT_EQ(KeyColouredPixels(main), 0);
}

TEST_F(PanelScale, ClicksAtTheScaledPlacesToggleTheBoxesAndMoveTheSlider)
{
    Snapquill program(folder_.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    // On the glyph of "Display Notification", near its left end.
    POINT box{scale_.Position(layout::chkNotify.left + 8), scale_.Position(layout::chkNotify.top + 10)};
    ClientToScreen(main, &box);
    ASSERT_FALSE(program.IsChecked(L"Display Notification"));
    support::ClickByHand(box);
    EXPECT_TRUE(WaitUntil([&] { return program.IsChecked(L"Display Notification"); }));

    program.SelectFormat(2);
    HWND slider = QualitySlider(program);
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return OuterSize(main).cy == scale_.Position(kDesignedTall); }))
        << OuterSize(main).cy;
    ASSERT_EQ(SliderPosition(slider), 7);
    // On the track left of the slider: one page (2) down.
    POINT track{scale_.Position(layout::tbQuality.left + 5), scale_.Position(layout::tbQuality.top + 10)};
    ClientToScreen(main, &track);
    support::ClickByHand(track);
    EXPECT_TRUE(WaitUntil([&] { return SliderPosition(slider) == 5; }))
        << SliderPosition(slider) << " " << Narrow(ClassNameOf(WindowFromPoint(track))) << " " << track.x << ","
        << track.y << " " << Describe(ClientBounds(main, slider));
}

TEST_F(PanelScale, MovedToAMonitorOfAnotherScaleItIsLaidOutAgainWhereTheSystemSuggests)
{
    Snapquill program(folder_.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    const TDisplayScale other(scale_.Dpi() == 96 ? 192 : 96);
    const int width = other.Position(kDesignedWidth), height = other.Position(kDesignedShort);
    const RECT suggested{300, 120, 300 + width, 120 + height};
    // The rectangle goes where the program can read it.
    void* remote = VirtualAllocEx(program.Process(), nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    ASSERT_TRUE(WriteProcessMemory(program.Process(), remote, &suggested, sizeof suggested, nullptr));
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(other.Dpi(), other.Dpi()), reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(program.Process(), remote, 0, MEM_RELEASE);

    RECT outer{};
    GetWindowRect(main, &outer);
    EXPECT_EQ(outer.left, suggested.left);
    EXPECT_EQ(outer.top, suggested.top);
    EXPECT_TRUE(Near(outer.right - outer.left, width)) << outer.right - outer.left << " wide instead of " << width;
    EXPECT_TRUE(Near(outer.bottom - outer.top, height)) << outer.bottom - outer.top << " high instead of " << height;
    ExpectPlacedAt(program, main, other);
    ExpectLabelsWhole(main, other);
    EXPECT_EQ(KeyColouredPixels(main), 0);
}
