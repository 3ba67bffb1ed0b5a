// The own balloon window: where it sits, its region, and what it tells its
// owner on show, click, close, time-out and release.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Application.h"
#include "kit/Pump.h"
#include "kit/Screen.h"
#include "shell/BalloonForm.h"

using namespace support;

namespace {

class RecordingOwner : public IBalloonOwner {
public:
    std::vector<std::string> events;
    void BalloonShown() override { events.push_back("shown"); }
    void BalloonHidden() override { events.push_back("hidden"); }
    void BalloonTimedOut() override { events.push_back("timed out"); }
    void BalloonClicked() override { events.push_back("clicked"); }
};

using Events = std::vector<std::string>;

// Processes messages until the balloon is gone or a generous limit passes.
bool PumpUntilGone()
{
    return WaitUntil([] { return !OwnBalloonExists(); }, 10000);
}

void Click(HWND window, int x, int y)
{
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// A visible window that balloons can point at.
class Control {
public:
    Control(int left, int top, int width, int height)
        : window_(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"control", WS_POPUP | WS_VISIBLE, left, top, width,
                                  height, nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~Control() { DestroyWindow(window_); }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    HWND Handle() const { return window_; }

private:
    HWND window_;
};

const char kTitle[] = "Snapquill";
const char kText[] = "Screenshot successfully saved to shot1.png\r\nAttributes: 1280x800 pixels, 3000 KB";

class BalloonForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Application.Initialize(GetModuleHandleW(nullptr)); }
    void TearDown() override
    {
        DestroyOwnBalloon();
        Application.ProcessMessages();
    }

    void ShowTray(int timeoutMs = 60000, bool fade = false, TSxTrayIconInfoFlags flags = niifInfo)
    {
        ShowOwnBalloon(kTitle, kText, flags, fade, 255, timeoutMs, &owner_, nullptr);
    }

    TBalloonLayout Layout()
    {
        TBalloonLayout layout;
        EXPECT_TRUE(OwnBalloonLayout(layout));
        return layout;
    }

    RecordingOwner owner_;
};

TEST_F(BalloonForm, TrayBalloonSitsInLowerRightOfWorkArea)
{
    ShowTray();
    HWND window = OwnBalloonWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(owner_.events, Events{"shown"});

    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const TBalloonLayout layout = Layout();
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.bottom, work.bottom);
    EXPECT_EQ(r.right - r.left, layout.width);
    EXPECT_EQ(r.bottom - r.top, layout.height);
    // The two-line text is wrapped at 350 and the window is 10 wider than it.
    EXPECT_GT(layout.textWidth, 0);
    EXPECT_LE(layout.textWidth, 350);
    EXPECT_GE(layout.width, layout.textLeft + layout.textWidth + 10);
    EXPECT_EQ(layout.titleLeft, 34);
    EXPECT_EQ(layout.closeLeft, layout.width - 6 - 16);
    EXPECT_TRUE(OwnBalloonShowsPicture());

    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);

    // A rounded rectangle over the whole window, no pointer (a rounded
    // rectangle region leaves out its right and bottom edge).
    RECT box{};
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, layout.width - 1);
    EXPECT_EQ(box.bottom, layout.height - 1);
}

TEST_F(BalloonForm, SameBalloonAgainOnlyRestartsTheTimeOut)
{
    ShowTray(60000, true); // fades in
    HWND window = OwnBalloonWindow();
    ASSERT_NE(window, nullptr);
    const RECT before = WindowRect(window);
    owner_.events.clear();

    ShowTray(50, true);
    EXPECT_EQ(OwnBalloonWindow(), window);
    EXPECT_TRUE(IsWindowVisible(window));
    const RECT after = WindowRect(window);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(owner_.events, Events{}); // neither hidden nor shown again

    // Fully opaque at once: no fade on the way.
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) {
        ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, 255);
    }

    // The new, short time-out is the one that runs; the fade is off now.
    ASSERT_TRUE(PumpUntilGone());
    EXPECT_EQ(owner_.events, (Events{"timed out", "hidden"}));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(BalloonForm, NewContentReusesTheWindowAndHidesThePreviousBalloon)
{
    ShowTray();
    HWND window = OwnBalloonWindow();
    ShowOwnBalloon(kTitle, "Another text", niifWarning, false, 255, 60000, &owner_, nullptr);
    EXPECT_EQ(OwnBalloonWindow(), window);
    EXPECT_EQ(owner_.events, (Events{"shown", "hidden", "shown"}));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(BalloonForm, ClickOnBodyTellsTheOwnerAndReleases)
{
    ShowTray();
    HWND window = OwnBalloonWindow();
    const TBalloonLayout layout = Layout();
    Click(window, layout.textLeft + 3, layout.textTop + 3);
    EXPECT_EQ(owner_.events, (Events{"shown", "clicked"}));
    EXPECT_TRUE(OwnBalloonExists()); // released, not yet destroyed
    ASSERT_TRUE(PumpUntilGone());
    EXPECT_EQ(owner_.events, (Events{"shown", "clicked", "hidden"}));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(BalloonForm, ClickOnClosePictureReleasesWithoutClick)
{
    ShowTray();
    HWND window = OwnBalloonWindow();
    const TBalloonLayout layout = Layout();
    Click(window, layout.closeLeft + 8, layout.closeTop + 8);
    ASSERT_TRUE(PumpUntilGone());
    EXPECT_EQ(owner_.events, (Events{"shown", "hidden"}));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(BalloonForm, TimeOutTellsTheOwnerThenReleases)
{
    ShowTray(50);
    ASSERT_TRUE(PumpUntilGone());
    EXPECT_EQ(owner_.events, (Events{"shown", "timed out", "hidden"}));
}

// The alpha values the own balloon window takes, sampled by a timer that
// runs while the fades process messages.
std::vector<int> gAlphaSamples;

void CALLBACK SampleAlpha(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = OwnBalloonWindow();
    BYTE alpha = 0;
    DWORD flags = 0;
    if (window && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) &&
        GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
        if (gAlphaSamples.empty() || gAlphaSamples.back() != alpha)
            gAlphaSamples.push_back(alpha);
}

TEST_F(BalloonForm, FadingBalloonRisesAndFallsThroughTheAlphaSteps)
{
    gAlphaSamples.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, SampleAlpha);
    ShowTray(50, true);
    std::vector<int> fadeIn = gAlphaSamples;
    gAlphaSamples.clear();
    ASSERT_TRUE(PumpUntilGone());
    std::vector<int> fadeOut = gAlphaSamples;
    KillTimer(nullptr, timer);
    EXPECT_EQ(owner_.events, (Events{"shown", "timed out", "hidden"}));

    // In: rising from 0 in steps of 10 to 255; out: falling from 255 by 10.
    ASSERT_GE(fadeIn.size(), 3u) << "no fade-in was seen";
    for (size_t i = 0; i < fadeIn.size(); ++i) {
        EXPECT_TRUE(fadeIn[i] % 10 == 0 || fadeIn[i] == 255) << "fade-in value " << fadeIn[i];
        if (i > 0)
            EXPECT_GT(fadeIn[i], fadeIn[i - 1]);
    }
    ASSERT_GE(fadeOut.size(), 3u) << "no fade-out was seen";
    for (size_t i = 0; i < fadeOut.size(); ++i) {
        EXPECT_EQ(fadeOut[i] % 10, 5) << "fade-out value " << fadeOut[i];
        if (i > 0)
            EXPECT_LT(fadeOut[i], fadeOut[i - 1]);
    }
}

TEST_F(BalloonForm, DetachDestroysAndNothingReachesTheOwnerAfterwards)
{
    ShowTray(50);
    HWND window = OwnBalloonWindow();
    RecordingOwner stranger;
    DetachOwnBalloon(&stranger); // not its balloon
    EXPECT_TRUE(OwnBalloonExists());

    DetachOwnBalloon(&owner_);
    EXPECT_FALSE(OwnBalloonExists());
    EXPECT_FALSE(IsWindow(window));
    PumpFor(200);
    EXPECT_EQ(owner_.events, Events{"shown"});
    EXPECT_TRUE(stranger.events.empty());
}

TEST_F(BalloonForm, WithoutAnchorNothingHappens)
{
    ShowOwnBalloon(kTitle, kText, niifInfo, false, 255, 60000, nullptr, nullptr);
    EXPECT_FALSE(OwnBalloonExists());
    Control control(100, 100, 50, 20);
    ShowOwnBalloon(kTitle, kText, niifInfo, false, 255, 60000, &owner_, control.Handle());
    EXPECT_FALSE(OwnBalloonExists());
}

TEST_F(BalloonForm, ControlNearTopLeftGetsBalloonBelowRightWithPointer)
{
    Control control(20, 20, 100, 24);
    ShowOwnBalloon(kTitle, kText, niifError, false, 255, 60000, nullptr, control.Handle());
    HWND window = OwnBalloonWindow();
    ASSERT_NE(window, nullptr);
    const TBalloonLayout layout = Layout();
    EXPECT_EQ(layout.corner, TBalloonCorner::UpperLeft);
    EXPECT_EQ(layout.titleTop, 28);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.left, 20 + 100 - 23);
    EXPECT_EQ(r.top, 20 + 24 - 5);
    EXPECT_EQ(r.right - r.left, layout.width);
    EXPECT_EQ(r.bottom - r.top, layout.height);

    // Body from 18 down, pointer up to 2.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    RECT box{};
    GetRgnBox(region, &box);
    EXPECT_TRUE(PtInRegion(region, 21, 10)); // inside the pointer
    EXPECT_FALSE(PtInRegion(region, 40, 4)); // above the body, beside the pointer
    EXPECT_TRUE(PtInRegion(region, layout.width / 2, 30));
    DeleteObject(region);
    EXPECT_EQ(box.left, 0);
    EXPECT_GE(box.top, 2);
    EXPECT_LT(box.top, 10);
    EXPECT_EQ(box.right, layout.width - 1);
    EXPECT_EQ(box.bottom, layout.height - 1);
}

TEST_F(BalloonForm, ControlNearBottomRightIsPushedBackOntoTheScreen)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    Control control(screenWidth - 30, screenHeight - 2, 60, 20);
    ShowOwnBalloon(kTitle, kText, niifWarning, false, 255, 60000, nullptr, control.Handle());
    HWND window = OwnBalloonWindow();
    ASSERT_NE(window, nullptr);
    const TBalloonLayout layout = Layout();
    EXPECT_EQ(layout.corner, TBalloonCorner::LowerRight);
    EXPECT_EQ(layout.titleTop, 12);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.left, screenWidth - 30 - layout.width + 23);
    EXPECT_EQ(r.bottom, screenHeight); // would have ended 3 pixels below
    EXPECT_EQ(r.right - r.left, layout.width);
}

TEST_F(BalloonForm, WideControlOnTheLeftIsPushedBackFromTheRightEdge)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    Control control(0, 100, screenWidth - 30, 20);
    ShowOwnBalloon(kTitle, kText, niifInfo, false, 255, 60000, nullptr, control.Handle());
    HWND window = OwnBalloonWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Layout().corner, TBalloonCorner::UpperLeft);
    EXPECT_EQ(WindowRect(window).right, screenWidth);
}

TEST_F(BalloonForm, ControlBalloonIsReleasedWhenTheApplicationLosesActivation)
{
    Control control(100, 100, 50, 20);
    ShowOwnBalloon(kTitle, kText, niifInfo, false, 255, 60000, nullptr, control.Handle());
    SendMessageW(OwnBalloonWindow(), WM_ACTIVATEAPP, FALSE, 0);
    ASSERT_TRUE(PumpUntilGone());
}

TEST_F(BalloonForm, TrayBalloonStaysWhenTheApplicationLosesActivation)
{
    ShowTray();
    SendMessageW(OwnBalloonWindow(), WM_ACTIVATEAPP, FALSE, 0);
    PumpFor(100);
    EXPECT_TRUE(OwnBalloonExists());
}

TEST_F(BalloonForm, BalloonWithoutPictureStartsItsTitleAt10)
{
    ShowTray(60000, false, niifNone);
    EXPECT_FALSE(OwnBalloonShowsPicture());
    EXPECT_EQ(Layout().titleLeft, 10);
    ShowTray(60000, false, niifWarning);
    EXPECT_TRUE(OwnBalloonShowsPicture());
    EXPECT_EQ(Layout().titleLeft, 34);
}

// The colour on the screen at a point of the balloon window.
COLORREF ScreenPixel(HWND window, int x, int y)
{
    UpdateWindow(window);
    PumpFor(200); // lets the display catch up
    const RECT r = WindowRect(window);
    return support::ScreenPixel({r.left + x, r.top + y});
}

TEST_F(BalloonForm, PaintsPictureBackgroundAndFrame)
{
    ShowTray(60000, false, niifError);
    HWND window = OwnBalloonWindow();
    TBalloonLayout layout = Layout();
    // Left part of the red disc; its corner is transparent.
    EXPECT_EQ(ScreenPixel(window, layout.iconLeft + 2, layout.iconTop + 8), RGB(204, 0, 0));
    EXPECT_EQ(ScreenPixel(window, layout.iconLeft + 5, layout.iconTop + 1), RGB(204, 0, 0));
    EXPECT_EQ(ScreenPixel(window, layout.iconLeft, layout.iconTop), GetSysColor(COLOR_INFOBK));
    // The frame along the top edge.
    EXPECT_EQ(ScreenPixel(window, layout.width / 2, 0), GetSysColor(COLOR_INFOTEXT));

    ShowTray(60000, false, niifNone);
    layout = Layout();
    // Where the disc's top was, above the title that now starts at 10.
    EXPECT_EQ(ScreenPixel(window, layout.iconLeft + 5, layout.iconTop + 1), GetSysColor(COLOR_INFOBK));
}

TEST_F(BalloonForm, ClosePictureLightsUpUnderTheMouse)
{
    ShowTray();
    HWND window = OwnBalloonWindow();
    const TBalloonLayout layout = Layout();
    const int x = layout.closeLeft + 1;
    const int y = layout.closeTop + 1;
    EXPECT_EQ(ScreenPixel(window, x, y), GetSysColor(COLOR_INFOBK));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(layout.closeLeft + 8, layout.closeTop + 8));
    EXPECT_EQ(ScreenPixel(window, x, y), RGB(200, 40, 40));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(layout.textLeft + 3, layout.textTop + 3));
    EXPECT_EQ(ScreenPixel(window, x, y), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(owner_.events, Events{"shown"});
}

TEST_F(BalloonForm, PicturesAreInTheModule)
{
    for (const wchar_t* name : {L"IDB_BALLOON_ERROR", L"IDB_BALLOON_INFO", L"IDB_BALLOON_WARNING",
                                L"IDB_BUTTON_CLOSE_INACTIVE", L"IDB_BUTTON_CLOSE_ACTIVE"}) {
        HANDLE picture = LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        ASSERT_NE(picture, nullptr);
        BITMAP info{};
        GetObjectW(picture, sizeof(info), &info);
        EXPECT_EQ(info.bmWidth, 16);
        EXPECT_EQ(info.bmHeight, 16);
        EXPECT_EQ(info.bmBitsPixel, 24);
        DeleteObject(picture);
    }
}

} // namespace
