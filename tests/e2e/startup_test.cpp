// Starting and ending snapquill.exe: its window and panel as they come up,
// the "-hide" switch, a PrintScreen key already taken by another program,
// and closing the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include <shlobj.h>

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

// The program's message about keys it could not take: its window, its text
// and how many buttons it has.
struct HotkeyNotice {
    HWND window = nullptr;
    std::string text;
    int buttons = 0;
};

HotkeyNotice ReadNotice(HWND window)
{
    HotkeyNotice notice{window};
    for (HWND child : ChildrenOf(window)) {
        const std::string text = Narrow(TextOf(child));
        if (ClassNameOf(child) == L"TsuiButton")
            ++notice.buttons;
        else if (text.rfind("Hotkey", 0) == 0)
            notice.text = text;
    }
    return notice;
}

HotkeyNotice WaitForHotkeyNotice(const Snapquill& program, DWORD timeoutMs = kPatience)
{
    HotkeyNotice notice;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(program.Id()))
                if (IsWindowVisible(window) && TextOf(window) == L"Snapquill - Hotkeys")
                    notice = ReadNotice(window);
            return notice.window != nullptr;
        },
        timeoutMs);
    return notice;
}

// Windows 11's switch that gives PrintScreen to its screen capture, set for
// the test and removed again after it.
class SnippingSetting {
public:
    explicit SnippingSetting(DWORD value)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        RegSetValueExW(key_, kName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    ~SnippingSetting()
    {
        RegDeleteValueW(key_, kName);
        RegCloseKey(key_);
    }
    SnippingSetting(const SnippingSetting&) = delete;
    SnippingSetting& operator=(const SnippingSetting&) = delete;
    DWORD Value() const
    {
        DWORD value = 0xFFFFFFFF, size = sizeof value;
        RegQueryValueExW(key_, kName, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
        return value;
    }

private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Keyboard";
    static constexpr const wchar_t* kName = L"PrintScreenKeyForSnippingEnabled";
    HKEY key_ = nullptr;
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
    const COLORREF border = RGB(0x7F, 0x7F, 0x7F), face = RGB(0xE7, 0xE7, 0xE7);
    const int bottom = rect.bottom - 1, right = rect.right - 1, middle = rect.top + 100;
    const struct {
        POINT at;
        COLORREF colour;
    } framePixels[] = {
        {{rect.left, middle}, border},         {{right, middle}, border},         {{rect.left + 90, bottom}, border},
        {{rect.left + 1, middle}, face},       {{rect.left + 2, middle}, face},   {{rect.left + 90, bottom - 2}, face},
    };
    for (const auto& p : framePixels)
        EXPECT_EQ(ScreenPixel(p.at), p.colour) << "at (" << p.at.x - rect.left << ", " << p.at.y - rect.top << ")";

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

    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    const fs::path file = folder.Path() / L"shot1.bmp";
    ASSERT_TRUE(WaitForFile(file)) << "PrintScreen wrote no file";
    EXPECT_TRUE(IsBmpOfTheScreen(file));
    EXPECT_FALSE(program.ShowsAnyWindow());
}

// The sign-in entry starts programs in the Windows system folder, where a
// user may not write: a first start there saves into the Pictures folder.
TEST(Startup, AFirstStartInTheWindowsFolderSavesIntoPictures)
{
    wchar_t system[MAX_PATH] = {}, pictures[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, 0, pictures)));
    int n = 1;
    while (fs::exists(fs::path(pictures) / (L"shot" + std::to_wstring(n) + L".bmp")))
        ++n;
    const fs::path file = fs::path(pictures) / (L"shot" + std::to_wstring(n) + L".bmp");

    Snapquill program(system, L"-hide");
    ASSERT_NE(program.WaitUntilReady(false), nullptr);
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_TRUE(WaitForFile(file)) << "no shot in " << Narrow(pictures);
    EXPECT_FALSE(fs::exists(fs::path(system) / L"shot1.bmp"));
    std::error_code ignored;
    fs::remove(file, ignored);
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

TEST(Startup, AKeyHeldElsewhereIsNamedAndTakenOnceItIsFree)
{
    auto holder = std::make_unique<HotkeyHolder>(0, VK_SNAPSHOT);
    ASSERT_TRUE(holder->Held()) << "the test could not take PrintScreen for itself";
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr) << "the program did not start fully";

    const HotkeyNotice notice = WaitForHotkeyNotice(program);
    ASSERT_NE(notice.window, nullptr) << "no message about the key";
    EXPECT_EQ(notice.text.rfind("Hotkey registering failed!\\r\\nPrintScreen\\r\\n", 0), 0u) << notice.text;
    EXPECT_NE(notice.text.find("Another program holds the key"), std::string::npos) << notice.text;
    EXPECT_EQ(notice.buttons, 1);
    PressEnterOn(notice.window);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(notice.window); })) << "OK does not close the message";

    // Alt+PrintScreen was free and works at once; PrintScreen once let go.
    EXPECT_TRUE(Press({VK_MENU, VK_SNAPSHOT}));
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp"));
    ASSERT_TRUE(program.WaitUntilSettled());
    holder.reset();
    EXPECT_TRUE(WaitUntil([&] {
        EXPECT_TRUE(PressKey(VK_SNAPSHOT));
        return WaitForFile(folder.Path() / L"shot2.bmp", 500);
    })) << "PrintScreen is not taken once it is free";
    EXPECT_TRUE(IsBmpOfTheScreen(folder.Path() / L"shot2.bmp"));
    ASSERT_TRUE(program.WaitUntilSettled());
    EXPECT_EQ(WaitForHotkeyNotice(program, 500).window, nullptr) << "the message came again";
    EXPECT_TRUE(program.Close()) << "the program did not end when its window was closed";
}

TEST(Startup, WhenWindowsScreenCaptureHoldsTheKeyTheDefaultButtonTurnsItOff)
{
    SnippingSetting snipping(1);
    auto holder = std::make_unique<HotkeyHolder>(MOD_ALT, VK_SNAPSHOT);
    ASSERT_TRUE(holder->Held());
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-hide"); // as started at sign-in
    ASSERT_TRUE(program.Started()) << program.StartError();
    const HotkeyNotice notice = WaitForHotkeyNotice(program);
    ASSERT_NE(notice.window, nullptr) << "no message about the key while hidden";
    EXPECT_EQ(notice.text.rfind("Hotkey registering failed!\\r\\nAlt+PrintScreen\\r\\n", 0), 0u) << notice.text;
    EXPECT_NE(notice.text.find("\"Use the Print screen key to open screen capture\""), std::string::npos)
        << notice.text;
    EXPECT_EQ(notice.buttons, 2);
    EXPECT_EQ(snipping.Value(), 1u) << "changed before the user chose";

    holder.reset(); // as Windows lets go of the key once the setting is off
    PressEnterOn(notice.window);
    EXPECT_TRUE(WaitUntil([&] { return snipping.Value() == 0; })) << "the default button left the setting on";
    EXPECT_TRUE(Press({VK_MENU, VK_SNAPSHOT}));
    EXPECT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp")) << "Alt+PrintScreen is not taken";
}

TEST(Startup, CtrlPrintScreenHeldElsewhereIsNamedAndTakenOnceItIsFree)
{
    auto holder = std::make_unique<HotkeyHolder>(MOD_CONTROL, VK_SNAPSHOT);
    ASSERT_TRUE(holder->Held()) << "the test could not take Ctrl+PrintScreen for itself";
    ScratchFolder folder;
    Snapquill program(folder.Path(), L"-hide");
    ASSERT_TRUE(program.Started()) << program.StartError();
    const HotkeyNotice notice = WaitForHotkeyNotice(program);
    ASSERT_NE(notice.window, nullptr) << "no message about the key";
    EXPECT_EQ(notice.text.rfind("Hotkey registering failed!\\r\\nCtrl+PrintScreen\\r\\n", 0), 0u) << notice.text;
    PressEnterOn(notice.window);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(notice.window); })) << "OK does not close the message";
    EXPECT_TRUE(PressKey(VK_SNAPSHOT));
    ASSERT_TRUE(WaitForFile(folder.Path() / L"shot1.bmp")) << "PrintScreen does not work beside the missing key";
    ASSERT_TRUE(program.WaitUntilSettled());

    holder.reset();
    auto overlayShown = [&] {
        for (HWND window : TopLevelWindowsOf(program.Id()))
            if (IsWindowVisible(window) && ClassNameOf(window) == L"SnapquillRegion")
                return true;
        return false;
    };
    // Pressed once the program holds the key again: a press repeated while
    // the overlay is slow to open would open it a second time.
    ASSERT_TRUE(WaitUntil([] { return !HotkeyHolder(MOD_CONTROL, VK_SNAPSHOT).Held(); }))
        << "Ctrl+PrintScreen is not taken once it is free";
    EXPECT_TRUE(Press({VK_CONTROL, VK_SNAPSHOT}));
    ASSERT_TRUE(WaitUntil(overlayShown)) << "Ctrl+PrintScreen opens no overlay";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !overlayShown(); }));
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

    EXPECT_TRUE(Press({VK_MENU, VK_F4}));
    DWORD exitCode = 0xFFFFFFFF;
    ASSERT_TRUE(program.WaitForExit(kPatience, exitCode)) << "Alt+F4 did not end the program";
    EXPECT_EQ(exitCode, 0u);
}
