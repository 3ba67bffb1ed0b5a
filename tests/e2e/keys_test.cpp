// The program with the keyboard alone: the Apps key and Shift+F10 open the
// program's menu from the panel, Escape closes the About box, and closing
// the folder picker or the region overlay gives the focus back where it
// was, so that the keyboard goes on working without a click.
#include "tests/e2e/SettingsSupport.h"
#include "tests/e2e/Support.h"

#include "kit/PatternWindow.h"

using namespace e2e;

namespace {

HWND OverlayOf(const Snapquill& program)
{
    for (HWND window : TopLevelWindowsOf(program.Id()))
        if (IsWindowVisible(window) && ClassNameOf(window) == L"SnapquillRegion")
            return window;
    return nullptr;
}

HWND FocusIn(HWND main)
{
    return FocusOf(GetWindowThreadProcessId(main, nullptr));
}

void ClickAt(HWND window)
{
    const POINT centre = CentreOf(window);
    MovePointer(centre);
    MovePointer(centre, MOUSEEVENTF_LEFTDOWN);
    MovePointer(centre, MOUSEEVENTF_LEFTUP);
}

// Presses keys while the menu is closed and waits for it; true when the
// program's menu came up, where the title bar's round button opens it (an
// edit's own menu would open at the field).
::testing::AssertionResult KeysOpenTheMenu(const Snapquill& program, std::initializer_list<WORD> keys)
{
    if (!Press(keys))
        return ::testing::AssertionFailure() << "the keys could not be pressed";
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = OpenMenuOf(program)) != nullptr; }, 3000))
        return ::testing::AssertionFailure() << "no menu opens";
    RECT opened{}, bar{};
    GetWindowRect(menu, &opened);
    GetWindowRect(program.TitleBar(), &bar);
    if (opened.left != bar.left || opened.top != bar.bottom)
        return ::testing::AssertionFailure() << "a menu opens at (" << opened.left << ", " << opened.top
                                             << "), not below the title bar at (" << bar.left << ", "
                                             << bar.bottom << ")";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(KeyboardReach, AppsAndShiftF10OpenTheMenuFromThePanelAndEscapeClosesAbout)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    HWND field = program.PrefixEdit();
    ClickAt(field);
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(main) == field; })) << "a click does not focus the field";

    EXPECT_TRUE(KeysOpenTheMenu(program, {VK_APPS})) << "Apps in the file name field";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenuOf(program) == nullptr; })) << "Escape leaves the menu open";

    PressKey(VK_TAB); // to the folder field, the first in the tab order
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(main) != field; })) << "Tab does not move on";
    ASSERT_TRUE(KeysOpenTheMenu(program, {VK_SHIFT, VK_F10})) << "Shift+F10 on " << Narrow(ClassNameOf(FocusIn(main)));
    PressKey(VK_DOWN); // Hide is lit first; About is next
    PumpFor(50);
    PressKey(VK_DOWN);
    PumpFor(50);
    PressKey(VK_RETURN);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = AboutBoxOf(program)) != nullptr; })) << "About shows no box";
    ASSERT_TRUE(WaitUntil([&] { return IsChild(about, FocusIn(about)) != FALSE; })) << "the box has no focus";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return AboutBoxOf(program) == nullptr; }, 3000)) << "Escape does not close About";
    EXPECT_TRUE(IsWindowVisible(main));
}

TEST(KeyboardReach, ThePickerGivesTheFocusBackToTheButtonAndTheOverlayTheActiveWindowBack)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    HWND browse = BrowseButton(program);
    ASSERT_NE(browse, nullptr);

    HWND dialog = OpenFolderPicker(program);
    ASSERT_NE(dialog, nullptr) << "the browse button opened no folder picker";
    ASSERT_TRUE(PressPickerButton(dialog, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 3000)) << "the panel is not active again";
    EXPECT_TRUE(WaitUntil([&] { return FocusIn(main) == browse; }, 3000))
        << "the focus is on " << Narrow(ClassNameOf(FocusIn(main))) << " \"" << Narrow(TextOf(FocusIn(main)))
        << "\", not on the browse button";
    // Tab works at once, without a click.
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusIn(main) != browse && IsChild(main, FocusIn(main)); }, 3000))
        << "Tab does not move the focus on";

    PatternWindow other({600, 300}, {200, 120}, WS_OVERLAPPEDWINDOW, 0);
    ASSERT_TRUE(other.MakeForeground());
    ASSERT_TRUE(Press({VK_CONTROL, VK_SNAPSHOT}));
    ASSERT_TRUE(WaitUntil([&] { return OverlayOf(program) != nullptr; })) << "no overlay";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return OverlayOf(program) == nullptr; })) << "Escape leaves the overlay open";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.Handle(); }, 3000))
        << "the window active before the overlay is not active again";
}
