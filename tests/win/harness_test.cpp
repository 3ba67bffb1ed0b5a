// Proves that the test harness gives Win32 programs what Snapquill needs: a
// screen of known size with a taskbar, and global hotkeys fed by SendInput.
#include <gtest/gtest.h>
#include <windows.h>

#include "kit/Input.h"

using namespace support;

namespace {

// Waits up to timeoutMs for a WM_HOTKEY, dispatching everything else.
int WaitForHotkey(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_HOTKEY)
                return static_cast<int>(msg.wParam);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return -1;
}

class HotkeyWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateWindowExW(0, L"STATIC", L"harness", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override
    {
        UnregisterHotKey(window_, 1);
        UnregisterHotKey(window_, 2);
        DestroyWindow(window_);
    }
    HWND window_ = nullptr;
};

} // namespace

TEST_F(HotkeyWindow, PrintScreenAndAltPrintScreenArriveAsHotkeys)
{
    ASSERT_TRUE(RegisterHotKey(window_, 1, 0, VK_SNAPSHOT));
    ASSERT_TRUE(RegisterHotKey(window_, 2, MOD_ALT, VK_SNAPSHOT));
    ASSERT_TRUE(PressKey(VK_SNAPSHOT));
    EXPECT_EQ(WaitForHotkey(5000), 1);
    ASSERT_TRUE(Press({VK_MENU, VK_SNAPSHOT}));
    EXPECT_EQ(WaitForHotkey(5000), 2);
}

TEST_F(HotkeyWindow, HotkeyHeldByAnotherWindowIsRefused)
{
    ASSERT_TRUE(RegisterHotKey(window_, 1, 0, VK_SNAPSHOT));
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(RegisterHotKey(other, 1, 0, VK_SNAPSHOT));
    DestroyWindow(other);
}

TEST(Screen, VirtualDisplayHasKnownSizeAndTaskbar)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 800);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    int width = work.right - work.left, height = work.bottom - work.top;
    EXPECT_TRUE(width < 1280 || height < 800) << "the work area should leave out the taskbar";
    EXPECT_NE(FindWindowW(L"Shell_TrayWnd", nullptr), nullptr);
}
