// The program in the notification area: its icon follows Ctrl+F12, "-notray"
// and Exit, a saved shot is announced in a balloon, and a second start only
// brings the running copy forward.
#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"

#include <commctrl.h>
#include <shellapi.h>

using namespace e2e;

namespace {

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

// A balloon of the shell: a visible balloon-styled tooltip of another
// process; its text too when text is given.
bool ShellBalloonShown(DWORD programId, std::wstring* text = nullptr)
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
    if (found && text)
        *text = TextOf(found);
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

    Press({VK_CONTROL, VK_F12});
    EXPECT_TRUE(WaitUntil([&] { return !IconShown(icon); })) << "Ctrl+F12 removes the icon";
    Press({VK_CONTROL, VK_F12});
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
    Press({VK_CONTROL, VK_F12});
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
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp"));
    EXPECT_FALSE(WaitUntil([&] { return ShellBalloonShown(program.Id()); }, 4000));

    program.Click(L"Display Notification");
    ASSERT_TRUE(program.WaitUntilSettled());
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot2.bmp"));
    EXPECT_TRUE(WaitUntil([&] { return ShellBalloonShown(program.Id()); }, 8000)) << "no balloon after the shot";
    ASSERT_TRUE(WaitUntil([&] { return !ShellBalloonShown(program.Id()); }, 20000));

    // Icon off: notifications are not shown even when switched on.
    Press({VK_CONTROL, VK_F12});
    ASSERT_TRUE(WaitUntil([&] { return !IconShown(icon); }));
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot3.bmp"));
    EXPECT_FALSE(WaitUntil([&] { return ShellBalloonShown(program.Id()); }, 4000));
}

TEST(NotificationArea, TheBalloonNamesAShotOfAnyScript)
{
    ScratchFolder scratch;
    const fs::path folder = scratch.Path() / L"Bilder-\u00dcberblick-\u65e5\u672c";
    fs::create_directory(folder);
    Snapquill program(folder);
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    HWND prefix = program.PrefixEdit();
    ASSERT_NE(prefix, nullptr);
    SendMessageW(prefix, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u0441\u043d\u0438\u043c\u043e\u043a-"));
    program.Click(L"Display Notification");
    ASSERT_TRUE(program.WaitUntilSettled());
    ASSERT_TRUE(WaitUntil([&] { return !ShellBalloonShown(program.Id()); }));

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    ASSERT_TRUE(WaitForFile(folder / L"\u0441\u043d\u0438\u043c\u043e\u043a-1.bmp"));
    std::wstring text;
    ASSERT_TRUE(WaitUntil([&] { return ShellBalloonShown(program.Id(), &text); }, 8000)) << "no balloon";
    EXPECT_NE(text.find(L"successfully saved to \u0441\u043d\u0438\u043c\u043e\u043a-1.bmp"), std::wstring::npos)
        << Narrow(text);
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
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp"));
}

TEST(SingleInstance, SecondStartShowsTheHiddenFirstCopysPanel)
{
    ScratchFolder folder;
    Snapquill first(folder.Path(), L"-hide");
    HWND main = first.WaitUntilReady(false);
    ASSERT_NE(main, nullptr);
    ASSERT_FALSE(IsWindowVisible(main));

    Snapquill second(folder.Path());
    ASSERT_TRUE(second.Started()) << second.StartError();
    DWORD exitCode = 1;
    ASSERT_TRUE(second.WaitForExit(kPatience, exitCode)) << "the second copy did not end";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && GetForegroundWindow() == main; }))
        << "the first copy's panel was not brought forward";
    // The first copy still takes shots: the second one took no hotkeys away.
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp"));
}

namespace {

// A window's class, caption and process, for the messages of failed checks.
std::wstring Described(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return ClassNameOf(window) + L" \"" + TextOf(window) + L"\" of process " + std::to_wstring(process);
}

// Right-clicks the icon, as the shell reports it, and waits for the menu.
HWND OpenTrayMenu(const Snapquill& program)
{
    HWND icon = IconWindowOf(program);
    if (!icon)
        return nullptr;
    PostMessageW(icon, 0xB05A, 1, WM_RBUTTONDOWN);
    PostMessageW(icon, 0xB05A, 1, WM_RBUTTONUP);
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = OpenMenuOf(program)) != nullptr; });
    return menu;
}

// Picks the item that many steps down from the top of the open menu.
void ChooseItem(const Snapquill& program, int stepsDown)
{
    for (int i = 0; i < stepsDown; ++i) {
        PressKey(VK_DOWN);
        PumpFor(50);
    }
    PressKey(VK_RETURN);
    WaitUntil([&] { return OpenMenuOf(program) == nullptr; });
}

// Opens the sub-menu of the item stepsDown down and chooses its item
// subStepsDown below the first.
void ChooseSubItem(const Snapquill& program, int stepsDown, int subStepsDown)
{
    for (int i = 0; i < stepsDown; ++i) {
        PressKey(VK_DOWN);
        PumpFor(50);
    }
    PressKey(VK_RIGHT);
    PumpFor(200);
    ChooseItem(program, subStepsDown);
}

bool EmptyTheClipboard()
{
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    CloseClipboard();
    return true;
}

// The size of the device-independent bitmap on the clipboard; 0 x 0 for none.
SIZE ClipboardBitmapSize()
{
    SIZE size{};
    if (!OpenClipboard(nullptr))
        return size;
    if (HGLOBAL data = GetClipboardData(CF_DIB))
        if (const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data))) {
            size = {header->biWidth, header->biHeight};
            GlobalUnlock(data);
        }
    CloseClipboard();
    return size;
}

} // namespace

TEST(NotificationArea, TrayMenuIsTheSkinnedMenuAndItsItemsWork)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);

    HWND menu = OpenTrayMenu(program);
    ASSERT_NE(menu, nullptr) << "a right click on the icon opens no menu";
    if (GetEnvironmentVariableW(L"SNAPQUILL_PAUSE_MENU", nullptr, 0))
        PumpFor(4000); // for a look at the open menu
    // The items measure themselves: 20 high, the separator 12. Under the
    // mouse an item shows the blue selection picture, whose rows tell where
    // the item begins and ends.
    RECT frame{};
    GetWindowRect(menu, &frame);
    const int x = frame.right - 10; // right of every caption
    struct Band {
        int top = 0;
        int bottom = -1; // none
        int Height() const { return bottom - top + 1; }
    };
    auto blue = [&](int row) {
        const COLORREF c = ScreenPixel({x, row});
        return GetBValue(c) > GetRValue(c) + 60;
    };
    // An item lights up once the menu has seen the pointer come; a busy
    // machine may take its time to draw it.
    auto selectedBand = [&](int y) {
        EXPECT_TRUE(support::PlacePointer({x, y})) << "the pointer does not stay at " << y;
        PumpFor(300);
        WaitUntil([&] { return blue(y); }, 3000);
        Band band;
        if (blue(y)) {
            band.top = band.bottom = y;
            while (band.top > frame.top && blue(band.top - 1))
                --band.top;
            while (band.bottom < frame.bottom && blue(band.bottom + 1))
                ++band.bottom;
        }
        return band;
    };
    const Band hide = selectedBand(frame.top + 12);
    EXPECT_EQ(hide.Height(), 20) << "Hide from " << hide.top - frame.top;
    const Band about = selectedBand(hide.bottom + 10);
    EXPECT_EQ(about.Height(), 20) << "About";
    EXPECT_EQ(about.top, hide.bottom + 1);
    // Capture is passed over: its sub-menu, opening to the left at the
    // screen's edge, would cover the items.
    const int captureBottom = about.bottom + 20;
    EXPECT_EQ(selectedBand(captureBottom + 6).Height(), 0) << "the separator is never selected";
    const Band exit = selectedBand(captureBottom + 12 + 10);
    EXPECT_EQ(exit.Height(), 20) << "Exit";
    EXPECT_EQ(exit.top, captureBottom + 1 + 12) << "Capture is 20 high and the separator 12";
    SetCursorPos(0, 0);
    PumpFor(200);

    ChooseItem(program, 1); // Hide
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }))
        << "Hide does not hide the window; the menu is " << (OpenMenuOf(program) ? "open" : "closed")
        << ", the foreground window " << Described(GetForegroundWindow());
    ASSERT_NE(OpenTrayMenu(program), nullptr);
    ChooseItem(program, 1); // Show
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "Show does not show the window";

    // About: the skinned message box, 169 high; Enter is its OK button.
    ASSERT_NE(OpenTrayMenu(program), nullptr);
    ChooseItem(program, 2);
    HWND aboutBox = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND window : TopLevelWindowsOf(program.Id()))
            if (IsWindowVisible(window) && TextOf(window) == L"About...")
                aboutBox = window;
        return aboutBox != nullptr;
    })) << "About shows no box";
    if (aboutBox) {
        RECT box{};
        GetWindowRect(aboutBox, &box);
        EXPECT_EQ(box.bottom - box.top, 169);
        EXPECT_EQ(GetWindowLongW(aboutBox, GWL_STYLE) & WS_CAPTION, 0) << "the frame is the skin's";
        SetForegroundWindow(aboutBox);
        PumpFor(300);
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(aboutBox) || !IsWindowVisible(aboutBox); }))
            << "Enter does not close the About box";
    }

    // Capture: "All screens", then "Copy to clipboard too" (past a line).
    ASSERT_NE(OpenTrayMenu(program), nullptr);
    ChooseSubItem(program, 3, 2);
    ASSERT_NE(OpenTrayMenu(program), nullptr);
    ChooseSubItem(program, 3, 3);
    ASSERT_TRUE(EmptyTheClipboard());
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp"));
    EXPECT_TRUE(WaitUntil([] { return ClipboardBitmapSize().cx == 1280; })) << "no copy on the clipboard";
    EXPECT_EQ(ClipboardBitmapSize().cy, 800);
    ASSERT_TRUE(program.WaitUntilSettled());

    ASSERT_NE(OpenTrayMenu(program), nullptr);
    ChooseItem(program, 4); // Exit, past Capture and the separator
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(kPatience, exitCode)) << "Exit does not end the program";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(StoresNumber(L"CaptureScreens", 2));
    EXPECT_TRUE(StoresNumber(L"CopyToClipboard", 1));
}

namespace {

void ClickAt(HWND window)
{
    const POINT centre = CentreOf(window);
    MovePointer(centre);
    MovePointer(centre, MOUSEEVENTF_LEFTDOWN);
    MovePointer(centre, MOUSEEVENTF_LEFTUP);
}

// Another window takes the foreground, then the given one gets it back.
::testing::AssertionResult ActivateAgain(HWND window, const PatternWindow& other)
{
    if (!other.MakeForeground())
        return ::testing::AssertionFailure() << "the other window does not come forward";
    if (!WaitUntil([&] {
            SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        }))
        return ::testing::AssertionFailure() << "the window does not come back to the foreground";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(Keyboard, WindowsGiveTheFocusBackToTheirControlWhenActivatedAgain)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    PatternWindow other({700, 300}, {120, 80}, WS_OVERLAPPEDWINDOW, 0);

    HWND field = program.PrefixEdit();
    ClickAt(field);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(GetWindowThreadProcessId(main, nullptr)) == field; })) << "a click does not focus the field";
    ASSERT_TRUE(ActivateAgain(main, other));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(GetWindowThreadProcessId(main, nullptr)) == field; }, 3000)) << "the field lost its caret";

    ASSERT_NE(OpenTrayMenu(program), nullptr);
    ChooseItem(program, 2); // About
    HWND aboutBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : TopLevelWindowsOf(program.Id()))
            if (IsWindowVisible(window) && TextOf(window) == L"About...")
                aboutBox = window;
        return aboutBox != nullptr;
    })) << "About shows no box";
    ASSERT_TRUE(WaitUntil([&] { return IsChild(aboutBox, FocusOf(GetWindowThreadProcessId(aboutBox, nullptr))) != FALSE; })) << "OK has no focus";
    ASSERT_TRUE(ActivateAgain(aboutBox, other));
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(aboutBox) || !IsWindowVisible(aboutBox); }))
        << "Space does not press OK after the box was activated again";
}

TEST(Keyboard, TheTrayMenuAnswersTheLettersOfItsItemsAndOfItsSubMenu)
{
    CleanSettings clean;
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"", StoredSettings::Keep);
    ASSERT_NE(program.WaitUntilReady(), nullptr);
    ASSERT_NE(OpenTrayMenu(program), nullptr);
    PressKey('C'); // Capture
    PumpFor(200);
    PressKey('S'); // Screen under the pointer
    EXPECT_TRUE(WaitUntil([&] { return OpenMenuOf(program) == nullptr; })) << "S chose nothing";
    ASSERT_NE(OpenTrayMenu(program), nullptr);
    PressKey('E'); // Exit
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(kPatience, exitCode)) << "E does not choose Exit";
    EXPECT_TRUE(StoresNumber(L"CaptureScreens", 1));
}

TEST(Keyboard, CaptureRegionInTheMenuOpensTheOverlayOnceTheMenuHasClosed)
{
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-hide");
    ASSERT_NE(program.WaitUntilReady(false), nullptr);
    // A picture where the menu opens, under it.
    HWND menu = OpenTrayMenu(program);
    ASSERT_NE(menu, nullptr);
    RECT menuRect{};
    GetWindowRect(menu, &menuRect);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenuOf(program) == nullptr; }));
    PatternWindow under({menuRect.left - 10, menuRect.top - 10},
                        {menuRect.right - menuRect.left + 20, menuRect.bottom - menuRect.top + 20}, WS_POPUP,
                        WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    ASSERT_TRUE(under.WaitUntilOnScreen());

    ASSERT_NE(OpenTrayMenu(program), nullptr);
    PressKey('C'); // Capture
    PumpFor(200);
    PressKey('R'); // Capture region
    HWND overlay = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : TopLevelWindowsOf(program.Id()))
            if (IsWindowVisible(window) && ClassNameOf(window) == L"SnapquillRegion")
                overlay = window;
        return overlay != nullptr;
    })) << "no overlay";
    // The frozen picture shows what was under the menu, dimmed.
    const COLORREF bright = under.Colours().topLeft;
    const COLORREF dimmed = RGB(GetRValue(bright) / 2, GetGValue(bright) / 2, GetBValue(bright) / 2);
    const POINT whereTheMenuWas{menuRect.left + 5, menuRect.top + 5};
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(whereTheMenuWas) == dimmed; }, 3000))
        << "the overlay shows " << std::hex << ScreenPixel(whereTheMenuWas) << " where the menu was";
    RECT covered{};
    GetWindowRect(overlay, &covered);
    EXPECT_EQ(covered.right - covered.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(covered.bottom - covered.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_NE(GetWindowLongW(overlay, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(overlay); })) << "Escape does not close it";
    PumpFor(kSettle);
    EXPECT_TRUE(folder.Entries().empty());
}
