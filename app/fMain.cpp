#include "app/fMain.h"

#include <windowsx.h>

#include "app/Capture.h"
#include "app/FileNaming.h"
#include "app/fMainLayout.h"
#include "core/Exception.h"
#include "framework/Application.h"
#include "framework/Files.h"
#include "framework/Resources.h"
#include "framework/Unicode.h"
#include "imaging/Bitmap.h"
#include "resources/StringIds.h"

bool Capturing = false;
int32_t JpgQuality = 90;
int32_t PngLevel = 7;
TfmMain* fmMain = nullptr;

static const char kAboutText[] = "Snapquill v1.1\r\nby the Snapquill developers";

enum THotKeyId { hkScreen = 1, hkWindow = 2, hkTrayIcon = 3 };

TfmMain::TfmMain()
{
    fmMain = this;
    RECT outer{0, 0, layout::kClientWidth, layout::kClientHeight};
    const DWORD style = WS_POPUP | WS_DLGFRAME | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    CreateForm({"Snapquill",
                {layout::kLeft, layout::kTop, outer.right - outer.left, outer.bottom - outer.top},
                style,
                exStyle,
                L"Trebuchet MS",
                11});
    Application.SetMainForm(this);
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    CreatePanel();
    CreateMenu();
    RunGuarded([this] { FormCreate(); });
    // Ended only now: a quit message posted earlier would close the error box.
    if (hotkeysFailed_)
        Application.Terminate();
}

TfmMain::~TfmMain()
{
    RunGuarded([this] { FormDestroy(); });
    if (fmMain == this)
        fmMain = nullptr;
    if (Application.MainForm() == this)
        Application.SetMainForm(nullptr);
}

void TfmMain::CreatePanel()
{
    labelFont_ = TGdiObject(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_DONTCARE, L"Trebuchet MS"));
    HFONT labelFont = static_cast<HFONT>(labelFont_.Handle());
    lblPath.Create(*this, layout::lblPath, "Images Folder:", labelFont);
    edPath.Create(*this, layout::edPath, "", true, nullptr);
    btnBrowse.Create(*this, layout::btnBrowse, "...", nullptr);
    lblFormat.Create(*this, layout::lblFormat, "File Format:", labelFont);
    cbType.Create(*this, layout::cbType, {"BMP Format", "JPG Format", "PNG Format"}, 0, layout::kComboItemHeight,
                  nullptr);
    lblFile.Create(*this, layout::lblFile, "Filename:", labelFont);
    edFile.Create(*this, layout::edFile, "shot", false, labelFont);
    ckTaskbar.Create(*this, layout::ckTaskbar, "Include Taskbar", true, nullptr);
    chkNotify.Create(*this, layout::chkNotify, "Display Notification", false, nullptr);
    lblQuality.Create(*this, layout::lblQuality, "JPG Quality: ", labelFont);
    tbQuality.Create(*this, layout::tbQuality, 1, 3, 2, 2, 1);
    SetTabOrder({&edPath, &cbType, &btnBrowse, &ckTaskbar, &chkNotify, &tbQuality, &edFile});
}

void TfmMain::CreateMenu()
{
    mnuHide = Popup.Add("Hide", [this] { mnuHideClick(); });
    mnuAbout = Popup.Add("About", [this] { mnuAboutClick(); });
    Separator = Popup.Add("-");
    mnuExit = Popup.Add("Exit", [this] { mnuExitClick(); });
}

void TfmMain::FormCreate()
{
    if (!RegisterHotKeys()) {
        Hide();
        hotkeysFailed_ = true;
        throw Exception(LoadStr(IDS_HOTKEY_FAILED));
    }
    started_ = true;
    edPath.SetText(CurrentDirectory());
    Application.OnMinimize = [this] { AppMinimize(); };
}

void TfmMain::FormDestroy()
{
    if (!started_)
        return;
    UnregisterHotKeys();
}

bool TfmMain::RegisterHotKeys()
{
    return RegisterHotKey(Handle(), hkScreen, 0, VK_SNAPSHOT) &&
           RegisterHotKey(Handle(), hkWindow, MOD_ALT, VK_SNAPSHOT) &&
           RegisterHotKey(Handle(), hkTrayIcon, MOD_CONTROL, VK_F12);
}

void TfmMain::UnregisterHotKeys()
{
    UnregisterHotKey(Handle(), hkScreen);
    UnregisterHotKey(Handle(), hkWindow);
    UnregisterHotKey(Handle(), hkTrayIcon);
}

void TfmMain::WMHotKey(int id)
{
    switch (id) {
    case hkScreen:
    case hkWindow:
        if (!Capturing)
            CaptureAndSave(MakeFileName(edPath.Text()), id == hkWindow);
        break;
    case hkTrayIcon:
        SetTrayActive(!TrayActive());
        break;
    }
}

std::string TfmMain::MakeFileName(const std::string& folder) const
{
    return ::MakeFileName(folder, edFile.Text(), cbType.ItemIndex(), FileOrFolderExists);
}

void TfmMain::CaptureAndSave(const std::string& fileName, bool windowMode)
{
    std::exception_ptr failure;
    {
        TBitmap bitmap;
        Capturing = true;
        try {
            if (windowMode)
                CaptureWindow(bitmap, GetForegroundWindow());
            else
                CaptureScreen(bitmap, ckTaskbar.Checked());
            TCaptureSettings settings{edPath.Text(), edFile.Text(), cbType.ItemIndex(), ckTaskbar.Checked(),
                                      JpgQuality, PngLevel};
            SaveCapture(bitmap, fileName, settings);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    // Later shots wait until this one has settled, whatever happened.
    PumpWait(500);
    Capturing = false;
    if (failure)
        std::rethrow_exception(failure);
}

void TfmMain::AppMinimize()
{
    Hide();
}

void TfmMain::TrayDblClick()
{
    Show();
    BringToFront();
}

void TfmMain::mnuHideClick()
{
    if (Visible()) {
        Hide();
        Popup.SetCaption(mnuHide, "&Show");
    } else {
        Show();
        BringToFront();
        Popup.SetCaption(mnuHide, "&Hide");
    }
}

void TfmMain::mnuAboutClick()
{
    MessageBoxW(Handle(), Utf8ToWide(kAboutText).c_str(), L"About...", MB_OK | MB_ICONINFORMATION);
}

void TfmMain::mnuExitClick()
{
    Application.Terminate();
}

void TfmMain::FormClose(TCloseAction&) {}

void TfmMain::PaintTitleBar()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT bar{0, 0, layout::kClientWidth, layout::kTitleBarHeight};
    FillRect(dc, &bar, GetSysColorBrush(COLOR_ACTIVECAPTION));
    HGDIOBJ oldFont = SelectObject(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    DrawTextW(dc, L"Snapquill", -1, &bar, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    EndPaint(Handle(), &ps);
}

bool TfmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_HOTKEY:
        WMHotKey(static_cast<int>(wParam));
        return true;
    case WM_PAINT:
        PaintTitleBar();
        return true;
    case WM_NCHITTEST: {
        // The title bar moves the window.
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(Handle(), &p);
        if (p.y >= 0 && p.y < layout::kTitleBarHeight) {
            result = HTCAPTION;
            return true;
        }
        return false;
    }
    case WM_NCRBUTTONUP:
        if (wParam == HTCAPTION) {
            Popup.Popup(Handle(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return true;
        }
        return false;
    }
    return false;
}
