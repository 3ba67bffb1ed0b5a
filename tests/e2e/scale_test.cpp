// The panel at the display scale the test runs at (the prefix's dots per
// inch): its size, its controls inside it and apart with their text whole,
// its pictures without the key colour, clicks on the scaled controls, and a
// move to a monitor of another scale, where the controls take the places
// they have at 100 % times that scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/DisplayScale.h"
#include "kit/Input.h"
#include "kit/Screen.h"
#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

constexpr int kDesignedWidth = 180;
constexpr int kDesignedShort = 190;
constexpr int kDesignedTall = 230;
// The closed format list as designed, in the client area.
constexpr TBounds kDesignedFormatList{0, 82, 169, 24};
// The labels' font: Trebuchet MS, 12 pixels high at 100 %.
constexpr int kLabelFontHeight = 12;

RECT AsRect(const TBounds& b)
{
    return {b.left, b.top, b.left + b.width, b.top + b.height};
}

TBounds AsBounds(const RECT& r)
{
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A window size within two pixels of the scaled design: the frame's
// border and the title bar round on their own.
bool NearSize(int actual, int expected)
{
    return std::abs(actual - expected) <= 2;
}

SIZE OuterSize(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// The controls whose places do not follow their content: the two edits
// and the browse button.
std::vector<HWND> PlacedControls(const Snapquill& program)
{
    return {program.PathEdit(), program.PrefixEdit(), BrowseButton(program)};
}

std::vector<RECT> PlacesOf(const std::vector<HWND>& controls)
{
    std::vector<RECT> places;
    for (HWND control : controls)
        places.push_back(PlaceInParent(control));
    return places;
}

// Each place at the scale is the one at 100 % taken edge by edge.
void ExpectScaledFrom(const std::vector<RECT>& atDesign, const std::vector<RECT>& atScale, const TDisplayScale& scale)
{
    ASSERT_EQ(atDesign.size(), atScale.size());
    for (size_t i = 0; i < atDesign.size(); ++i) {
        const RECT expected = AsRect(scale.Bounds(AsBounds(atDesign[i])));
        EXPECT_TRUE(EqualRect(&atScale[i], &expected))
            << "control " << i << " at " << Describe(atScale[i]) << " instead of " << Describe(expected) << ", "
            << Describe(atDesign[i]) << " at 100 %";
    }
}

// Tells the program it went to a monitor of that scale, suggesting where.
::testing::AssertionResult MoveToScale(const Snapquill& program, HWND main, const TDisplayScale& scale,
                                       const RECT& suggested)
{
    // The rectangle goes where the program can read it.
    void* remote = VirtualAllocEx(program.Process(), nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return ::testing::AssertionFailure() << "no memory in the program";
    const bool written = WriteProcessMemory(program.Process(), remote, &suggested, sizeof suggested, nullptr);
    if (written)
        SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(scale.Dpi(), scale.Dpi()), reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(program.Process(), remote, 0, MEM_RELEASE);
    if (!written)
        return ::testing::AssertionFailure() << "the suggested rectangle could not be written";
    return ::testing::AssertionSuccess();
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
    TGdiObject font(CreateFontW(scale.FontHeight(-kLabelFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
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
        const RECT r = PlaceInParent(child);
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
    EXPECT_TRUE(WaitUntil([&] { return NearSize(OuterSize(main).cy, shortHeight); }))
        << OuterSize(main).cy << " high instead of " << shortHeight;
    EXPECT_TRUE(NearSize(OuterSize(main).cx, scale_.Position(kDesignedWidth))) << OuterSize(main).cx << " wide";
    ExpectLabelsWhole(main, scale_);
    EXPECT_EQ(KeyColouredPixels(main), 0);
    // The closed format list follows the rule of the edits, not its font.
    const RECT format = PlaceInParent(program.FormatCombo());
    EXPECT_EQ(format.bottom - format.top, scale_.Bounds(kDesignedFormatList).height)
        << "the format list at " << Describe(format);

    program.SelectFormat(1);
    const int tallHeight = scale_.Position(kDesignedTall);
    EXPECT_TRUE(WaitUntil([&] { return NearSize(OuterSize(main).cy, tallHeight); }))
        << OuterSize(main).cy << " high instead of " << tallHeight;
    EXPECT_TRUE(ControlsShowInsideAndApart(program));
    EXPECT_EQ(KeyColouredPixels(main), 0);
}

TEST_F(PanelScale, ClicksAtTheScaledPlacesToggleTheBoxesAndMoveTheSlider)
{
    Snapquill program(folder_.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    // On the glyph of "Display Notification", near its left end.
    HWND notify = program.CheckBox(L"Display Notification");
    ASSERT_NE(notify, nullptr);
    RECT boxRect{};
    GetWindowRect(notify, &boxRect);
    const POINT box{boxRect.left + scale_.Position(8), (boxRect.top + boxRect.bottom) / 2};
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
    RECT trackRect{};
    GetWindowRect(slider, &trackRect);
    const POINT track{trackRect.left + scale_.Position(5), (trackRect.top + trackRect.bottom) / 2};
    support::ClickByHand(track);
    EXPECT_TRUE(WaitUntil([&] { return SliderPosition(slider) == 5; }))
        << SliderPosition(slider) << " " << Narrow(ClassNameOf(WindowFromPoint(track))) << " " << track.x << ","
        << track.y << " " << Describe(PlaceInParent(slider));
}

TEST_F(PanelScale, MovedToAMonitorOfAnotherScaleItIsLaidOutAgainWhereTheSystemSuggests)
{
    Snapquill program(folder_.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    // With a JPEG, so that the slider row shows too.
    program.SelectFormat(1);
    ASSERT_TRUE(WaitUntil([&] { return NearSize(OuterSize(main).cy, scale_.Position(kDesignedTall)); }))
        << OuterSize(main).cy;
    const TDisplayScale other(scale_.Dpi() == 96 ? 192 : 96);
    const int width = other.Position(kDesignedWidth), height = other.Position(kDesignedTall);
    const RECT suggested{300, 120, 300 + width, 120 + height};
    const std::vector<RECT> before = PlacesOf(PlacedControls(program));
    ASSERT_TRUE(MoveToScale(program, main, other, suggested));

    RECT outer{};
    GetWindowRect(main, &outer);
    EXPECT_EQ(outer.left, suggested.left);
    EXPECT_EQ(outer.top, suggested.top);
    EXPECT_TRUE(NearSize(outer.right - outer.left, width)) << outer.right - outer.left << " wide instead of " << width;
    EXPECT_TRUE(NearSize(outer.bottom - outer.top, height)) << outer.bottom - outer.top << " high instead of " << height;
    // Whichever of the two scales is 100 %, the other shows its places
    // times the scale.
    const std::vector<RECT> after = PlacesOf(PlacedControls(program));
    if (other.IsIdentity())
        ExpectScaledFrom(after, before, scale_);
    else
        ExpectScaledFrom(before, after, other);
    EXPECT_TRUE(ControlsShowInsideAndApart(program));
    ExpectLabelsWhole(main, other);
    EXPECT_EQ(KeyColouredPixels(main), 0);
}
