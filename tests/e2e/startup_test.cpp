// Starting and ending snapquill.exe: its window and panel as they come up,
// the "-hide" switch, a PrintScreen key already taken by another program,
// and closing the window.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

std::wstring ComboItem(HWND combo, int index)
{
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return L"";
    std::wstring text(length + 1, L'\0');
    length = SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length == CB_ERR ? 0 : length);
    return text;
}

bool IsBmpOfTheScreen(const fs::path& file)
{
    BmpInfo info;
    return ReadBmpInfo(ReadFileBytes(file), info).empty() && info.width == 1280 && info.height == 800;
}

// A window of the test that holds a hotkey while it lives.
class HotkeyHolder {
public:
    HotkeyHolder(UINT modifiers, UINT key)
    {
        window_ = CreateWindowExW(0, L"STATIC", L"hotkey holder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
        held_ = window_ && RegisterHotKey(window_, 1, modifiers, key);
    }
    ~HotkeyHolder()
    {
        if (held_)
            UnregisterHotKey(window_, 1);
        if (window_)
            DestroyWindow(window_);
    }
    HotkeyHolder(const HotkeyHolder&) = delete;
    HotkeyHolder& operator=(const HotkeyHolder&) = delete;
    bool Held() const { return held_; }

private:
    HWND window_ = nullptr;
    bool held_ = false;
};

} // namespace

TEST(Startup, TheWindowComesUpWithItsPanel)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);

    EXPECT_EQ(Narrow(TextOf(main)), "Snapquill");
    EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect{};
    GetWindowRect(main, &rect);
    EXPECT_EQ(rect.left, 246);
    EXPECT_EQ(rect.top, 140);
    EXPECT_EQ(rect.right - rect.left, 180);
    EXPECT_EQ(rect.bottom - rect.top, 190) << "BMP needs no slider row";
    EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & WS_CAPTION, 0) << "the system caption is gone";

    // The skinned frame: a 1-pixel grey border, the face colour inside it,
    // the title bar 20 high across the top of the client area.
    HWND bar = program.TitleBar();
    ASSERT_NE(bar, nullptr);
    RECT barRect{};
    GetWindowRect(bar, &barRect);
    EXPECT_EQ(barRect.left - rect.left, 3);
    EXPECT_EQ(barRect.top - rect.top, 3);
    EXPECT_EQ(barRect.right - barRect.left, 174);
    EXPECT_EQ(barRect.bottom - barRect.top, 20);
    {
        HDC screen = GetDC(nullptr);
        const int bottom = rect.bottom - 1, right = rect.right - 1, middle = rect.top + 100;
        EXPECT_EQ(GetPixel(screen, rect.left, middle), RGB(0x7F, 0x7F, 0x7F));
        EXPECT_EQ(GetPixel(screen, right, middle), RGB(0x7F, 0x7F, 0x7F));
        EXPECT_EQ(GetPixel(screen, rect.left + 90, bottom), RGB(0x7F, 0x7F, 0x7F));
        EXPECT_EQ(GetPixel(screen, rect.left + 1, middle), RGB(0xE7, 0xE7, 0xE7));
        EXPECT_EQ(GetPixel(screen, rect.left + 2, middle), RGB(0xE7, 0xE7, 0xE7));
        EXPECT_EQ(GetPixel(screen, rect.left + 90, bottom - 2), RGB(0xE7, 0xE7, 0xE7));
        ReleaseDC(nullptr, screen);
    }

    EXPECT_EQ(Narrow(TextOf(program.PathEdit())), Narrow(folder.Text()));
    EXPECT_EQ(Narrow(TextOf(program.PrefixEdit())), "shot");
    HWND combo = program.FormatCombo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Narrow(ComboItem(combo, 0)), "BMP Format");
    EXPECT_EQ(Narrow(ComboItem(combo, 1)), "JPG Format");
    EXPECT_EQ(Narrow(ComboItem(combo, 2)), "PNG Format");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(program.IsChecked(L"Include Taskbar"));
    ASSERT_NE(program.CheckBox(L"Display Notification"), nullptr);
    EXPECT_FALSE(program.IsChecked(L"Display Notification"));
}

TEST(Startup, HideShowsNoWindowAndShotsStillWork)
{
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-hide");
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady(false);
    ASSERT_NE(main, nullptr);
    PumpFor(500);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(program.ShowsAnyWindow());

    PressPrintScreen();
    const fs::path file = folder.Path() / L"shot1.bmp";
    ASSERT_TRUE(WaitForFile(file)) << "PrintScreen wrote no file";
    EXPECT_TRUE(IsBmpOfTheScreen(file));
    EXPECT_FALSE(program.ShowsAnyWindow());
}

TEST(Startup, HideInCapitalsIsNoSwitch)
{
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-HIDE");
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady(true);
    ASSERT_NE(main, nullptr) << "the window did not show";
    EXPECT_TRUE(IsWindowVisible(main));
}

TEST(Startup, PrintScreenHeldByAnotherProgramEndsItAfterTheError)
{
    HotkeyHolder holder(0, VK_SNAPSHOT);
    ASSERT_TRUE(holder.Held()) << "the test could not take PrintScreen for itself";
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();

    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(Narrow(TextOf(box)), "Snapquill");
    EXPECT_EQ(Narrow(MessageBoxText(box)), "Hotkey registering failed!\\r\\nPlease restart the application.");
    HWND main = program.MainWindow();
    EXPECT_FALSE(main && IsWindowVisible(main)) << "the main window shows behind the error";

    ASSERT_TRUE(DismissMessageBox(box));
    DWORD exitCode = 0xFFFFFFFF;
    ASSERT_TRUE(program.WaitForExit(kPatience, exitCode)) << "the program did not end after the error";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{});
}

TEST(Startup, ClosingTheWindowEndsTheProgram)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr);

    DWORD exitCode = 0xFFFFFFFF;
    ASSERT_TRUE(program.Close(exitCode)) << "the program did not end when its window was closed";
    EXPECT_EQ(exitCode, 0u);
}

TEST(Startup, AltF4EndsTheProgram)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND main = program.WaitUntilReady();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] {
        SetForegroundWindow(main);
        return GetForegroundWindow() == main;
    })) << "the window could not be brought to the foreground";

    PressAltF4();
    DWORD exitCode = 0xFFFFFFFF;
    ASSERT_TRUE(program.WaitForExit(kPatience, exitCode)) << "Alt+F4 did not end the program";
    EXPECT_EQ(exitCode, 0u);
}
