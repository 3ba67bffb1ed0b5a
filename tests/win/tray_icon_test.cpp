// The notification-area icon against Wine's shell desktop, whose taskbar has
// a notification area: the icon's window gets the shell's callback messages
// as the shell would send them, and the icon's presence is asked of the
// shell itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlwapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Menus.h"
#include "shell/BalloonForm.h"
#include "shell/SxTrayIcon.h"

namespace {

// The protected shell operations, for the tests.
class TestTrayIcon : public TSxTrayIcon {
public:
    using TSxTrayIcon::AddIcon;
    using TSxTrayIcon::DeleteIcon;
    using TSxTrayIcon::FillIconData;
    using TSxTrayIcon::ModifyIcon;
};

// Whether the shell has an icon for this window and id: a modify that
// changes nothing succeeds only for an icon it knows.
bool IconPresent(HWND window)
{
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = window;
    data.uID = TSxTrayIcon::kIconId;
    data.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// Sends the shell's callback message for one notification.
void Notify(const TSxTrayIcon& icon, UINT notification)
{
    SendMessageA(icon.WindowHandle(), TSxTrayIcon::kCallbackMessage, 0, notification);
}

class TrayIcon : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Application.Handle())
            Application.Initialize(GetModuleHandleA(nullptr));
    }

    void SetUp() override
    {
        ASSERT_NE(FindWindowA("Shell_TrayWnd", nullptr), nullptr) << "the desktop has no taskbar";
        ASSERT_NE(icon_.WindowHandle(), nullptr);
        icon_.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
        icon_.OnClick = [this] { log_.push_back("click"); };
        icon_.OnDblClick = [this] { log_.push_back("dblclick"); };
        icon_.OnMouseDown = [this](TMouseButton button, TShiftState, int, int) {
            log_.push_back(button == mbLeft ? "down left" : "down right");
        };
        icon_.OnMouseUp = [this](TMouseButton button, TShiftState, int, int) {
            log_.push_back(button == mbLeft ? "up left" : "up right");
        };
        icon_.OnFail = [this](bool&) { ++failures_; };
        failures_ = 0;
    }

    TestTrayIcon icon_;
    std::vector<std::string> log_;
    int failures_ = 0;
};

using Log = std::vector<std::string>;

TEST_F(TrayIcon, LeftButtonDownAndUpRaiseMouseDownClickMouseUp)
{
    Notify(icon_, WM_LBUTTONDOWN);
    Notify(icon_, WM_LBUTTONUP);
    EXPECT_EQ(log_, (Log{"down left", "click", "up left"}));
}

TEST_F(TrayIcon, ButtonUpAfterDoubleClickRaisesNoSecondClick)
{
    Notify(icon_, WM_LBUTTONDOWN);
    Notify(icon_, WM_LBUTTONUP);
    Notify(icon_, WM_LBUTTONDBLCLK);
    Notify(icon_, WM_LBUTTONUP);
    EXPECT_EQ(log_, (Log{"down left", "click", "up left", "dblclick", "up left"}));
}

TEST_F(TrayIcon, RightButtonRaisesNoClick)
{
    Notify(icon_, WM_RBUTTONDOWN);
    Notify(icon_, WM_RBUTTONUP);
    Notify(icon_, WM_RBUTTONDBLCLK);
    EXPECT_EQ(log_, (Log{"down right", "up right", "dblclick"}));
}

TEST_F(TrayIcon, MouseEventsCarryTheCursorPosition)
{
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    int moveX = -1, moveY = -1, downX = -1, downY = -1;
    icon_.OnMouseMove = [&](TShiftState, int x, int y) {
        moveX = x;
        moveY = y;
    };
    icon_.OnMouseDown = [&](TMouseButton, TShiftState, int x, int y) {
        downX = x;
        downY = y;
    };
    Notify(icon_, WM_MOUSEMOVE);
    Notify(icon_, WM_LBUTTONDOWN);
    EXPECT_EQ(moveX, cursor.x);
    EXPECT_EQ(moveY, cursor.y);
    EXPECT_EQ(downX, cursor.x);
    EXPECT_EQ(downY, cursor.y);
}

TEST_F(TrayIcon, MiddleButtonAndUnknownNotificationsAreIgnored)
{
    icon_.OnMouseMove = [this](TShiftState, int, int) { log_.push_back("move"); };
    Notify(icon_, WM_MBUTTONDOWN);
    Notify(icon_, WM_MBUTTONUP);
    Notify(icon_, WM_MBUTTONDBLCLK);
    Notify(icon_, 0x400);
    EXPECT_TRUE(log_.empty());
}

// Closes a popup menu once it is on the screen, and notes that it was.
bool gMenuSeen = false;

void CALLBACK CloseMenuWhenUp(HWND, UINT, UINT_PTR, DWORD)
{
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
        gMenuSeen = true;
        EndMenu();
    }
}

TEST_F(TrayIcon, RightButtonUpShowsTheMenuOnlyAfterARightButtonDown)
{
    int chosen = 0;
    TPopupMenu menu;
    menu.Add("Exit", [&] { ++chosen; });
    icon_.SetPopupMenu(&menu);
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenuWhenUp);
    ASSERT_NE(timer, 0u);

    gMenuSeen = false;
    Notify(icon_, WM_RBUTTONUP);
    EXPECT_FALSE(gMenuSeen);
    EXPECT_EQ(log_, (Log{"up right"}));

    Notify(icon_, WM_RBUTTONDOWN);
    Notify(icon_, WM_RBUTTONUP);
    EXPECT_TRUE(gMenuSeen);
    EXPECT_EQ(log_, (Log{"up right", "down right", "up right"}));

    // The button-up was used up by the menu.
    gMenuSeen = false;
    Notify(icon_, WM_RBUTTONUP);
    EXPECT_FALSE(gMenuSeen);

    KillTimer(nullptr, timer);
    EXPECT_EQ(chosen, 0);
    icon_.SetPopupMenu(nullptr);
}

TEST_F(TrayIcon, DoubleClickClicksTheDefaultItemFirst)
{
    TPopupMenu menu;
    menu.Add("Settings", [this] { log_.push_back("item 0"); });
    menu.Add("Open folder", [this] { log_.push_back("item 1"); });
    menu.Add("Exit", [this] { log_.push_back("item 2"); });
    menu.SetDefaultItem(1);
    icon_.SetPopupMenu(&menu);
    Notify(icon_, WM_LBUTTONDBLCLK);
    EXPECT_EQ(log_, (Log{"item 1", "dblclick"}));
    icon_.SetPopupMenu(nullptr);
}

TEST_F(TrayIcon, DoubleClickWithoutDefaultItemOnlyRaisesOnDblClick)
{
    TPopupMenu menu;
    menu.Add("Settings", [this] { log_.push_back("item 0"); });
    icon_.SetPopupMenu(&menu);
    Notify(icon_, WM_LBUTTONDBLCLK);
    EXPECT_EQ(log_, (Log{"dblclick"}));
    icon_.SetPopupMenu(nullptr);
}

TEST_F(TrayIcon, BalloonNotificationsRaiseTheBalloonEvents)
{
    icon_.OnBalloonShow = [this] { log_.push_back("show"); };
    icon_.OnBalloonHide = [this] { log_.push_back("hide"); };
    icon_.OnBalloonTimeout = [this] { log_.push_back("timeout"); };
    icon_.OnBalloonUserClick = [this] { log_.push_back("user click"); };
    Notify(icon_, 0x402);
    Notify(icon_, 0x403);
    Notify(icon_, 0x404);
    Notify(icon_, 0x405);
    // The own balloon window reports the same way.
    IBalloonOwner& owner = icon_;
    owner.BalloonShown();
    owner.BalloonHidden();
    owner.BalloonTimedOut();
    owner.BalloonClicked();
    EXPECT_EQ(log_, (Log{"show", "hide", "timeout", "user click", "show", "hide", "timeout", "user click"}));
}

TEST_F(TrayIcon, ActiveIconIsInTheNotificationArea)
{
    EXPECT_FALSE(IconPresent(icon_.WindowHandle()));
    icon_.SetActive(true);
    EXPECT_TRUE(IconPresent(icon_.WindowHandle()));
    EXPECT_EQ(failures_, 0);
    // Setting the same value again calls nothing.
    icon_.SetActive(true);
    EXPECT_EQ(failures_, 0);
    // Tip and icon changes are accepted by the shell while it is there.
    icon_.SetTip("Snapquill");
    icon_.SetIcon(LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(failures_, 0);
    icon_.SetActive(false);
    EXPECT_FALSE(IconPresent(icon_.WindowHandle()));
    EXPECT_EQ(failures_, 0);
}

TEST_F(TrayIcon, SecondAddIsRefusedAndReported)
{
    icon_.SetActive(true);
    ASSERT_EQ(failures_, 0);
    icon_.SetShowDesignTime(true);
    EXPECT_EQ(failures_, 1);
    icon_.SetShowDesignTime(false);
    EXPECT_EQ(failures_, 1);
    EXPECT_TRUE(IconPresent(icon_.WindowHandle()));
    icon_.SetActive(false);
}

TEST_F(TrayIcon, ShowDesignTimeWhileInactiveAddsNothing)
{
    icon_.SetShowDesignTime(true);
    EXPECT_FALSE(IconPresent(icon_.WindowHandle()));
    EXPECT_EQ(failures_, 0);
}

TEST_F(TrayIcon, FailedCallIsRepeatedWhileOnFailAsksForIt)
{
    int attempts = 0;
    icon_.OnFail = [&](bool& doRetry) {
        ++attempts;
        EXPECT_FALSE(doRetry);
        doRetry = attempts < 3;
    };
    // The icon is not there, so the shell refuses every modify.
    icon_.SetTip("Snapquill");
    EXPECT_EQ(attempts, 3);
}

TEST_F(TrayIcon, FailedCallWithoutRetryIsReportedOnce)
{
    icon_.SetTip("Snapquill");
    EXPECT_EQ(failures_, 1);
    // Without a handler the failure is dropped.
    icon_.OnFail = nullptr;
    icon_.SetTip("Snapquill 2");
    EXPECT_EQ(failures_, 1);
}

TEST_F(TrayIcon, InfoTitleCallsTheShellOnlyWhenItChanges)
{
    // Inactive: every shell call fails, so each one shows as a failure.
    icon_.SetInfoTitle("Saved");
    EXPECT_EQ(failures_, 1);
    icon_.SetInfoTitle("Saved");
    EXPECT_EQ(failures_, 1);
    icon_.SetInfoTitle("Saved again");
    EXPECT_EQ(failures_, 2);
    EXPECT_EQ(icon_.InfoTitle(), "Saved again");
}

TEST_F(TrayIcon, InfoTextAndOtherStoredPropertiesNeverCallTheShell)
{
    icon_.SetInfoText("shot1.png");
    icon_.SetInfoText("shot2.png");
    icon_.SetInfoTimeout(5000);
    icon_.SetInfoFlags(niifWarning);
    icon_.SetUseOwnInfo(true);
    icon_.SetFadeEffect(false);
    EXPECT_EQ(failures_, 0);
    EXPECT_EQ(icon_.InfoText(), "shot2.png");
}

TEST_F(TrayIcon, IconIsACopyOwnedByTheComponent)
{
    HICON source = CreateIcon(nullptr, 16, 16, 1, 1, std::vector<BYTE>(32, 0xFF).data(),
                              std::vector<BYTE>(32, 0x00).data());
    ASSERT_NE(source, nullptr);
    icon_.SetIcon(source);
    EXPECT_NE(icon_.Icon(), nullptr);
    EXPECT_NE(icon_.Icon(), source);
    DestroyIcon(source);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon_.Icon(), &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

TEST_F(TrayIcon, RecordIsFilledForTheShell)
{
    icon_.SetTip(std::string(200, 't'));
    const NOTIFYICONDATAW& record = icon_.Record();
    EXPECT_EQ(std::wstring(record.szTip), std::wstring(127, L't'));
    EXPECT_EQ(record.hWnd, icon_.WindowHandle());
    EXPECT_EQ(record.uID, TSxTrayIcon::kIconId);
    EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uCallbackMessage, 0xB05Au);
    EXPECT_EQ(record.hIcon, icon_.Icon());
    // Wine's Shell32.dll is version 6: balloons and the long record.
    EXPECT_FALSE(TSxTrayIcon::LegacyShell());
    EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
}

TEST_F(TrayIcon, ShellBalloonTextsAreCutToTheirFields)
{
    icon_.SetActive(true);
    icon_.SetInfoTimeout(3000);
    icon_.ShowBalloon(std::string(300, 'x'), std::string(100, 'y'), niifInfo);
    const NOTIFYICONDATAW& record = icon_.Record();
    EXPECT_EQ(std::wstring(record.szInfo), std::wstring(255, L'x'));
    EXPECT_EQ(std::wstring(record.szInfoTitle), std::wstring(63, L'y'));
    EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(record.uTimeout, 3000u);
    EXPECT_EQ(failures_, 0);
    EXPECT_FALSE(OwnBalloonExists());
    icon_.SetActive(false);
}

TEST_F(TrayIcon, ShowBalloonUsesInfoTextTitleAndFlags)
{
    icon_.SetActive(true);
    // Names in any script reach the shell as they are.
    icon_.SetInfoText("\xd1\x81\xd0\xbd\xd0\xb8\xd0\xbc\xd0\xbe\xd0\xba-1.png \xe6\x97\xa5\xe6\x9c\xac");
    icon_.SetInfoTitle("Snapquill");
    icon_.SetInfoFlags(niifWarning);
    icon_.ShowBalloon();
    const NOTIFYICONDATAW& record = icon_.Record();
    EXPECT_STREQ(record.szInfo, L"\u0441\u043d\u0438\u043c\u043e\u043a-1.png \u65e5\u672c");
    EXPECT_STREQ(record.szInfoTitle, L"Snapquill");
    EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(failures_, 0);
    icon_.SetActive(false);
}

TEST_F(TrayIcon, ShellBalloonWhileInactiveIsReportedAsFailure)
{
    icon_.ShowBalloon("text", "title", niifError);
    // Taking down an old balloon and showing the new one: two refused calls.
    EXPECT_EQ(failures_, 2);
    EXPECT_EQ(icon_.Record().dwInfoFlags, static_cast<DWORD>(NIIF_ERROR));
}

TEST_F(TrayIcon, OwnBalloonBelongsToTheIconUntilItIsDestroyed)
{
    {
        TestTrayIcon icon;
        icon.SetUseOwnInfo(true);
        icon.SetFadeEffect(false);
        icon.ShowBalloon("shot1.png", "Snapquill", niifInfo);
        EXPECT_TRUE(OwnBalloonExists());
    }
    EXPECT_FALSE(OwnBalloonExists());
}

TEST_F(TrayIcon, TaskbarCreatedBringsBackAnActiveIcon)
{
    icon_.SetActive(true);
    ASSERT_TRUE(IconPresent(icon_.WindowHandle()));
    // The taskbar forgets the icon, as a new one would not know it.
    NOTIFYICONDATAW record = icon_.Record();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &record));
    ASSERT_FALSE(IconPresent(icon_.WindowHandle()));
    SendMessageA(icon_.WindowHandle(), TSxTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(IconPresent(icon_.WindowHandle()));
    EXPECT_EQ(failures_, 0);
    icon_.SetActive(false);
}

TEST_F(TrayIcon, TaskbarCreatedLeavesAnInactiveIconOut)
{
    SendMessageA(icon_.WindowHandle(), TSxTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_FALSE(IconPresent(icon_.WindowHandle()));
    EXPECT_EQ(failures_, 0);
}

TEST_F(TrayIcon, DestroyingAnActiveIconRemovesItFromTheNotificationArea)
{
    HWND window;
    {
        TestTrayIcon icon;
        icon.SetActive(true);
        window = icon.WindowHandle();
        ASSERT_TRUE(IconPresent(window));
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IconPresent(window));
}

TEST(TrayIconVersion, IsReadFromTheDllAndZeroWithoutIt)
{
    DLLVERSIONINFO info;
    ASSERT_TRUE(GetDllVersion("Shell32.dll", info));
    EXPECT_EQ(info.cbSize, sizeof(info));
    EXPECT_GE(info.dwMajorVersion, 5u);

    EXPECT_FALSE(GetDllVersion("snapquill-no-such-library.dll", info));
    EXPECT_EQ(info.cbSize, 0u);
    EXPECT_EQ(info.dwMajorVersion, 0u);
    // A library without DllGetVersion.
    EXPECT_FALSE(GetDllVersion("kernel32.dll", info));
    EXPECT_EQ(info.cbSize, 0u);
}

} // namespace

namespace {

// A 16 x 16, 32-bit icon file in memory: directory, one entry, the image.
std::vector<BYTE> IconFileBytes()
{
    const int size = 16;
    std::vector<BYTE> image(40 + size * size * 4 + size * 4, 0);
    auto put32 = [&image](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            image[at + i] = static_cast<BYTE>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, size);
    put32(8, size * 2); // colour rows and mask rows
    image[12] = 1;
    image[14] = 32;
    for (int p = 0; p < size * size; ++p) {
        image[40 + p * 4 + 2] = 0xFF; // red
        image[40 + p * 4 + 3] = 0xFF;
    }
    std::vector<BYTE> file = {0, 0, 1, 0, 1, 0, size, size, 0, 0, 1, 0, 32, 0};
    uint32_t bytes = static_cast<uint32_t>(image.size()), offset = 22;
    for (uint32_t v : {bytes, offset})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<BYTE>(v >> (8 * i)));
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

} // namespace

TEST(TrayIconInterface, AnsweredByItsIdAndDrivesTheComponent)
{
    TSxTrayIcon icon;
    ISxTrayIcon* face = nullptr;
    ASSERT_EQ(icon.GetInterface(IID_ISxTrayIcon, reinterpret_cast<void**>(&face)), S_OK);
    ASSERT_NE(face, nullptr);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(icon.GetInterface(IID_IStream, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);

    int clicks = 0, fails = 0;
    icon.OnClick = [&] { ++clicks; };
    icon.OnFail = [&](bool&) { ++fails; };
    face->Click();
    EXPECT_EQ(clicks, 1);

    face->SetTipW(L"Tip from a wide string");
    EXPECT_EQ(icon.Tip(), "Tip from a wide string");
    EXPECT_EQ(fails, 0) << "setting the tip this way does not call the shell";

    BOOL active = TRUE;
    face->GetActive(&active);
    EXPECT_FALSE(active);
    face->SetActive(TRUE);
    EXPECT_TRUE(icon.Active());

    std::vector<BYTE> file = IconFileBytes();
    IStream* stream = SHCreateMemStream(file.data(), static_cast<UINT>(file.size()));
    ASSERT_NE(stream, nullptr);
    HICON before = icon.Icon();
    EXPECT_EQ(face->LoadIconFromStream(stream), S_OK);
    stream->Release();
    EXPECT_NE(icon.Icon(), nullptr);
    EXPECT_NE(icon.Icon(), before);

    BYTE junk[8] = {1, 2, 3};
    IStream* bad = SHCreateMemStream(junk, sizeof junk);
    EXPECT_EQ(face->LoadIconFromStream(bad), E_FAIL);
    bad->Release();
    face->SetActive(FALSE);
}
