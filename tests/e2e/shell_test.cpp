// The program in the notification area: its icon follows Ctrl+F12, "-notray"
// and Exit, a saved shot is announced in a balloon, and a second start only
// brings the running copy forward.
#include "tests/e2e/Support.h"

#include <commctrl.h>
#include <shellapi.h>

using namespace e2e;

namespace {

void PressCtrlF12()
{
    INPUT inputs[4] = {};
    const WORD keys[4] = {VK_CONTROL, VK_F12, VK_F12, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, inputs, sizeof(INPUT));
}

// The hidden window through which the program's icon talks to the shell.
HWND IconWindowOf(const Snapquill& program)
{
    for (HWND window : TopLevelWindowsOf(program.Id()))
        if (ClassNameOf(window) == L"TSxTrayIconWindow")
            return window;
    return nullptr;
}

// The shell knows an icon by its window and number: a modification that
// changes nothing succeeds exactly while the icon is in the notification
// area.
bool IconShown(HWND iconWindow)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = iconWindow;
    data.uID = 1;
    data.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// A balloon of the shell: a visible balloon-styled tooltip of another process.
bool ShellBalloonShown(DWORD programId)
{
    HWND found = nullptr;
    struct Search {
        DWORD programId;
        HWND* found;
    } search{programId, &found};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->programId && IsWindowVisible(window) && ClassNameOf(window) == L"tooltips_class32" &&
                (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON)) {
                *s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return found != nullptr;
}

} // namespace

TEST(NotificationArea, IconFollowsCtrlF12AndGoesWithExit)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    HWND icon = IconWindowOf(program);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IconShown(icon); }));

    PressCtrlF12();
    EXPECT_TRUE(WaitUntil([&] { return !IconShown(icon); })) << "Ctrl+F12 removes the icon";
    PressCtrlF12();
    EXPECT_TRUE(WaitUntil([&] { return IconShown(icon); })) << "a second Ctrl+F12 brings it back";

    DWORD exitCode = 1;
    ASSERT_TRUE(program.Close(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(IconShown(icon)) << "the icon goes with the program";
}

TEST(NotificationArea, HideNoTrayStartsWithNeitherWindowNorIcon)
{
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-hide -notray");
    ASSERT_NE(program.WaitUntilReady(false), nullptr);
    HWND icon = IconWindowOf(program);
    ASSERT_NE(icon, nullptr);
    PumpFor(500);
    EXPECT_FALSE(program.ShowsAnyWindow());
    EXPECT_FALSE(IconShown(icon));
    PressCtrlF12();
    EXPECT_TRUE(WaitUntil([&] { return IconShown(icon); })) << "Ctrl+F12 shows the icon";
    EXPECT_FALSE(program.ShowsAnyWindow());
}

TEST(NotificationArea, SavedShotIsAnnouncedOnlyWithIconAndNotifications)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    HWND icon = IconWindowOf(program);
    ASSERT_TRUE(WaitUntil([&] { return IconShown(icon); }));
    ASSERT_TRUE(WaitUntil([&] { return !ShellBalloonShown(program.Id()); }));

    // Notifications off (as designed): no balloon.
    PressPrintScreen();
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp"));
    EXPECT_FALSE(WaitUntil([&] { return ShellBalloonShown(program.Id()); }, 4000));

    program.Click(L"Display Notification");
    PumpFor(kSettle);
    PressPrintScreen();
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot2.bmp"));
    EXPECT_TRUE(WaitUntil([&] { return ShellBalloonShown(program.Id()); }, 8000)) << "no balloon after the shot";
    ASSERT_TRUE(WaitUntil([&] { return !ShellBalloonShown(program.Id()); }, 20000));

    // Icon off: notifications are not shown even when switched on.
    PressCtrlF12();
    ASSERT_TRUE(WaitUntil([&] { return !IconShown(icon); }));
    PressPrintScreen();
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot3.bmp"));
    EXPECT_FALSE(WaitUntil([&] { return ShellBalloonShown(program.Id()); }, 4000));
}

TEST(SingleInstance, SecondStartEndsAtOnceAndBringsTheFirstForward)
{
    ScratchFolder folder;
    Snapquill first(folder.Path());
    ASSERT_NE(first.WaitUntilReady(), nullptr);
    PatternWindow other({700, 300}, {120, 80}, WS_OVERLAPPEDWINDOW, 0);
    ASSERT_TRUE(other.MakeForeground());

    Snapquill second(folder.Path());
    ASSERT_TRUE(second.Started()) << second.StartError();
    DWORD exitCode = 1;
    ASSERT_TRUE(second.WaitForExit(kPatience, exitCode)) << "the second copy did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitUntil([&] {
        DWORD owner = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &owner);
        return owner == first.Id();
    })) << "the running copy was not brought forward";
    EXPECT_TRUE(first.Running());

    // The first copy still takes shots: the second one took no hotkeys away.
    PressPrintScreen();
    EXPECT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp"));
}
