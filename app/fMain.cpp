#include "app/fMain.h"

#include <windowsx.h>

#include "app/Capture.h"
#include "app/FileNaming.h"
#include "app/HotKeyNotice.h"
#include "app/RegionOverlay.h"
#include "app/fMainLayout.h"
#include "core/Exception.h"
#include "core/InstanceRules.h"
#include "core/Text.h"
#include "framework/Clipboard.h"
#include "framework/Application.h"
#include "framework/Files.h"
#include "framework/Registry.h"
#include "framework/Resources.h"
#include "core/ScopeExit.h"
#include "core/Unicode.h"
#include "imaging/Bitmap.h"
#include "resources/StringIds.h"
#include "shell/JvSelectDirectory.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

bool Capturing = false;
int32_t JpgQuality = 90;
int32_t PngLevel = 7;
TfmMain* fmMain = nullptr;

static const char kAboutText[] = "Snapquill v1.1\r\nby the Snapquill developers";
static const char kTrayTip[] = "Snapquill - by the Snapquill developers";

// Posted once at start when a hotkey could not be taken.
constexpr UINT WM_HOTKEY_NOTICE = WM_APP + 1;
// Posted by the menu's "Capture region", so that the capture starts once the
// menu has closed.
constexpr UINT WM_CAPTURE_REGION = WM_APP + 2;
// What the screen is given to draw again where the menu was, before the
// region capture copies it.
constexpr unsigned kMenuGoneMs = 150;
constexpr unsigned kHotKeyRetryMs = 3000;

// The "Capture" sub-menu: its items in order, the screens as radio items.
struct TScreensItem {
    const char* caption;
    TCaptureScreens mode;
};
constexpr TScreensItem kScreensItems[] = {
    {"Primary screen", TCaptureScreens::Primary},
    {"Screen under the pointer", TCaptureScreens::UnderPointer},
    {"All screens", TCaptureScreens::All},
};
constexpr int kCopyToClipboardItem = 4; // after the radio items and a line; then a line and "Capture region"

TfmMain::TfmMain()
{
    fmMain = this;
    RECT outer{0, 0, layout::kClientWidth, layout::kClientHeight};
    // A dialog frame; the skinned frame takes the caption away, which
    // leaves the 3-pixel frame on every side.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
    AdjustWindowRectEx(&outer, style & ~WS_CAPTION, FALSE, exStyle);
    CreateForm({"Snapquill",
                {layout::kLeft, layout::kTop, outer.right - outer.left, outer.bottom - outer.top},
                style,
                exStyle,
                L"Trebuchet MS",
                layout::kPanelFontHeight});
    Application.SetMainForm(this);
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    OnDestroy = [this] { FormDestroy(); };
    CreateMenu();
    CreateSkinFrame();
    CreatePanel();
    designedHeight_ = layout::kTallHeight;
    if (const TDisplayScale scale = WindowScale(Handle()); !scale.IsIdentity())
        ApplyScale(scale);
    // The guard runs before the icon appears, so that a refused copy shows
    // nothing at all.
    InstanceControl.SetEnabled(true);
    InstanceControl.SetMaxInstances(1);
    InstanceControl.OnMaxInstancesReached = [this](TadpInstanceControl&, uint32_t handle) {
        MaxInstancesReached(handle);
    };
    RunGuarded([this] { InstanceControl.Loaded(); });
    if (!InstanceControl.Refused())
        SetUpTrayIcon();
    RunGuarded([this] { FormCreate(); });
    // Posted only now: the panel's set-up processes messages, and the
    // message belongs after the window has come up.
    if (started_ && !hotKeys_.AllHeld())
        PostMessageW(Handle(), WM_HOTKEY_NOTICE, 0, 0);
}

TfmMain::~TfmMain()
{
    // The window goes first, while every part of the form is still there:
    // its destroy handler saves the settings from the controls.
    DestroyHandle();
    icoTray.SetPopupMenu(nullptr);
    if (fmMain == this)
        fmMain = nullptr;
    if (Application.MainForm() == this)
        Application.SetMainForm(nullptr);
}

// MacOS's grey and the line around the panel and its fields.
const uint32_t kPanelGrey = 0xE7E7E7;
const uint32_t kPanelLine = 0x7F7F7F;

const TsuiFormLook kPanelLook{.style = MacOS,
                              .borderColor = kPanelLine,
                              .borderWidth = 1,
                              .color = kPanelGrey,
                              .menuBarColor = kPanelGrey,
                              .menuBarHeight = 22,
                              .roundCorner = 0,
                              .titleFont = {"Tahoma", -11, true, 0}};

void TfmMain::CreateSkinFrame()
{
    sknForm.Create(*this);
    sknForm.SetLook(kPanelLook);
    sknForm.SetCaption("Snapquill");
    TsuiTitleBar& bar = sknForm.TitleBar();
    bar.ClearButtons();
    TsuiTitleBarButton& controlBox = bar.AddButton();
    controlBox.SetButtonType(suiControlBox);
    controlBox.SetControlBoxMenu(&Popup);
    TsuiTitleBarButton& close = bar.AddButton();
    close.SetButtonType(suiClose);
    close.SetVisible(false);
    TsuiTitleBarButton& minimize = bar.AddButton();
    minimize.SetButtonType(suiMin);
    minimize.SetVisible(false);
}

void TfmMain::CreatePanel()
{
    labelFont_ = TGdiObject(CreateFontW(-layout::kLabelFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_DONTCARE, L"Trebuchet MS"));
    HFONT labelFont = static_cast<HFONT>(labelFont_.Handle());
    lblPath.Create(sknForm, layout::lblPath, "Images Folder:", labelFont);
    edPath.Create(sknForm, layout::edPath, "", true, nullptr);
    edPath.SetBorderColor(kPanelLine);
    btnBrowse.Create(sknForm, layout::btnBrowse, "...", nullptr);
    btnBrowse.OnClick = [this] { BrowseFolders(); };
    lblFormat.Create(sknForm, layout::lblFormat, "File Format:", labelFont);
    cbType.Create(sknForm, layout::cbType, {"BMP Format", "JPG Format", "PNG Format"}, 0, layout::kComboItemHeight,
                  nullptr);
    cbType.SetBorderColor(kPanelLine);
    cbType.SetArrowColor(0);
    cbType.SetButtonColor(kPanelGrey);
    lblFile.Create(sknForm, layout::lblFile, "Filename:", labelFont);
    edFile.Create(sknForm, layout::edFile, "shot", false, labelFont);
    edFile.SetBorderColor(kPanelLine);
    ckTaskbar.Create(sknForm, layout::ckTaskbar, "Include Taskbar", true, nullptr);
    chkNotify.Create(sknForm, layout::chkNotify, "Display Notification", false, nullptr);
    ckTaskbar.SetTransparent(true);
    chkNotify.SetTransparent(true);
    lblQuality.Create(sknForm, layout::lblQuality, "JPG Quality: ", labelFont);
    cbType.OnSelect = [this] { TypeChange(); };
    tbQuality.Create(sknForm, layout::tbQuality, 1, 3, 2, 2, 1);
    tbQuality.SetShowTick(false);
    tbQuality.OnChange = [this] { tbQualityChange(); };
    SetTabOrder({&edPath, &cbType, &btnBrowse, &ckTaskbar, &chkNotify, &tbQuality, &edFile});
}

void TfmMain::CreateMenu()
{
    Popup.SetUIStyle(MacOS);
    Popup.SetMenuItemHeight(20);
    Popup.SetSeparatorHeight(12);
    Popup.SetBarWidth(26);
    // The stored colours, assigned after the style as the form file does.
    Popup.SetBarColor(0);
    Popup.SetColor(0);
    Popup.SetSeparatorColor(0);
    Popup.SetBorderColor(0);
    Popup.SetFontColor(0);
    Popup.SetSelectedColor(12874553);
    Popup.SetSelectedBorderColor(12874553);
    Popup.SetSelectedFontColor(0xFFFFFF);
    Popup.SetFlatMenu(false);
    Popup.SetFontName("MS Sans Serif");
    Popup.SetFontSize(8);
    Popup.SetFontCharset(DEFAULT_CHARSET);
    Popup.SetUseSystemFont(true);
    mnuHide = Popup.Add("Hide", [this] { mnuHideClick(); });
    mnuAbout = Popup.Add("About", [this] { mnuAboutClick(); });
    CreateCaptureMenu();
    Separator = Popup.Add("-");
    mnuExit = Popup.Add("Exit", [this] { mnuExitClick(); });
}

void TfmMain::CreateCaptureMenu()
{
    mnuCapture = Popup.Add("Capture");
    TMenuItem& capture = Popup.Item(mnuCapture);
    for (const TScreensItem& item : kScreensItems) {
        const TCaptureScreens mode = item.mode;
        capture.Add(item.caption, [this, mode] { SetCaptureScreens(mode); }).SetRadioItem(true);
    }
    capture.Add("-");
    capture.Add("Copy to clipboard too", [this] { mnuCopyToClipboardClick(); });
    capture.Add("-");
    capture.Add(LoadStr(IDS_CAPTURE_REGION), [this] { PostMessageW(Handle(), WM_CAPTURE_REGION, 0, 0); });
    ShowCaptureChoices();
}

void TfmMain::ShowCaptureChoices()
{
    TMenuItem& capture = Popup.Item(mnuCapture);
    for (int i = 0; i < 3; ++i)
        capture.Items(i).SetChecked(kScreensItems[i].mode == captureScreens_);
    capture.Items(kCopyToClipboardItem).SetChecked(copyToClipboard_);
}

void TfmMain::SetCaptureScreens(TCaptureScreens mode)
{
    captureScreens_ = mode;
    ShowCaptureChoices();
}

void TfmMain::mnuCopyToClipboardClick()
{
    copyToClipboard_ = !copyToClipboard_;
    ShowCaptureChoices();
}

void TfmMain::SetUpTrayIcon()
{
    // The image of the small icon size of the display scale, not the large
    // one shrunk.
    HICON icon = static_cast<HICON>(LoadImageW(Application.Instance(), L"MAINICON", IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    icoTray.SetIcon(icon ? icon : LoadIconW(nullptr, IDI_APPLICATION));
    icoTray.SetActive(true);
    icoTray.SetPopupMenu(&Popup);
    icoTray.SetTip(kTrayTip);
    icoTray.SetInfoTitle("Screenshot Saved!");
    icoTray.SetInfoTimeout(3000);
    icoTray.SetInfoFlags(niifInfo);
    icoTray.OnDblClick = [this] { TrayDblClick(); };
    icoTray.OnBalloonUserClick = [this] { BalloonClick(); };
}

void TfmMain::MaxInstancesReached(uint32_t lastInstanceHandle)
{
    HWND running = reinterpret_cast<HWND>(HandleFromValue(lastInstanceHandle));
    ShowWindow(running, SW_SHOW);
    SetForegroundWindow(running);
}

void TfmMain::FormCreate()
{
    if (InstanceControl.Refused())
        return;
    // A key another program holds costs only that key: the program starts
    // fully, says so once it shows, and keeps trying.
    hotKeys_.SetOwner(Handle());
    hotKeyRetry_.SetInterval(kHotKeyRetryMs);
    hotKeyRetry_.OnTimer = [this] { TakeMissingHotKeys(); };
    TakeMissingHotKeys();
    started_ = true;
    edPath.SetText(CurrentDirectory());
    Application.OnMinimize = [this] { AppMinimize(); };
    Application.OnEndSession = [this] { SessionEnding(); };
    LoadSettings();
    TypeChange();
    AddControlTips();
}

void TfmMain::FormDestroy()
{
    // Once only: the end of the session may have saved already.
    if (!started_)
        return;
    started_ = false;
    // The hotkeys go even when the settings cannot be written.
    const TScopeExit unregister([this] { UnregisterHotKeys(); });
    SaveSettings();
}

static TRegistryMessages RegistryMessages()
{
    return {LoadStr(IDS_INVALID_DATA_TYPE), LoadStr(IDS_GET_DATA_FAILED), LoadStr(IDS_SET_DATA_FAILED)};
}

TSettings TfmMain::PanelSettings() const
{
    return {edPath.Text(),         edFile.Text(),           cbType.ItemIndex(),
            PngLevel,              JpgQuality,              ckTaskbar.Checked(),
            chkNotify.Checked(),   int32_t(captureScreens_), copyToClipboard_};
}

void TfmMain::ApplySettings(const TSettings& settings)
{
    edPath.SetText(settings.defaultPath);
    edFile.SetText(settings.filename);
    cbType.SetItemIndex(settings.fileFormat);
    PngLevel = settings.png;
    JpgQuality = settings.jpg;
    ckTaskbar.SetChecked(settings.includeTask);
    chkNotify.SetChecked(settings.notifyShots);
    captureScreens_ = static_cast<TCaptureScreens>(settings.captureScreens);
    copyToClipboard_ = settings.copyToClipboard;
    ShowCaptureChoices();
}

void TfmMain::LoadSettings()
{
    TRegistry registry(HKEY_CURRENT_USER);
    if (!registry.OpenKey(LoadStr(IDS_SETTINGS_KEY), false))
        return;
    // Values read before a failure stay applied; the later ones keep the
    // panel's current state.
    TSettings settings = PanelSettings();
    try {
        ReadSettings(registry, settings, RegistryMessages());
    } catch (...) {
        ApplySettings(settings);
        throw;
    }
    ApplySettings(settings);
}

void TfmMain::SaveSettings()
{
    TRegistry registry(HKEY_CURRENT_USER);
    if (!registry.OpenKey(LoadStr(IDS_SETTINGS_KEY), true))
        return;
    WriteSettings(registry, PanelSettings(), RegistryMessages());
}

void TfmMain::TypeChange()
{
    // The value to show is taken before the range changes: moving the
    // maximum may clamp the position and report it as a change.
    switch (cbType.ItemIndex()) {
    case 1: {
        int quality = std::clamp(JpgQuality, 1, 100);
        tbQuality.SetMax(100);
        tbQuality.SetPosition(quality);
        lblQuality.SetText("JPG Quality: " + std::to_string(tbQuality.Position()));
        JpgQuality = tbQuality.Position();
        GrowPanel();
        break;
    }
    case 2: {
        int level = std::clamp(PngLevel, 1, 9);
        tbQuality.SetMax(9);
        tbQuality.SetPosition(level);
        lblQuality.SetText("PNG Compression: " + std::to_string(tbQuality.Position()));
        PngLevel = tbQuality.Position();
        GrowPanel();
        break;
    }
    default:
        ShrinkPanel();
    }
}

void TfmMain::tbQualityChange()
{
    if (tbQuality.Max() == 9) {
        lblQuality.SetText(FormatText("PNG Compression: %d", {int64_t(tbQuality.Position())}));
        PngLevel = tbQuality.Position();
    } else if (tbQuality.Max() == 100) {
        lblQuality.SetText(FormatText("JPG Quality: %d", {int64_t(tbQuality.Position())}));
        JpgQuality = tbQuality.Position();
    }
}

void TfmMain::GrowPanel()
{
    AnimateToHeight(layout::kTallHeight);
}

void TfmMain::ShrinkPanel()
{
    AnimateToHeight(layout::kShortHeight);
}


HWND TfmMain::AddControlTip(const TControl& control, int icon, const std::string& title, const std::wstring& text)
{
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               control.Handle(), nullptr, Application.Instance(), nullptr);
    if (!tip)
        return nullptr;
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_CENTERTIP | TTF_SUBCLASS | TTF_TRANSPARENT;
    tool.hwnd = control.Handle();
    GetClientRect(control.Handle(), &tool.rect);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tip, TTM_SETTITLEA, icon % 4, reinterpret_cast<LPARAM>(title.c_str()));
    return tip;
}

void TfmMain::AddControlTips()
{
    AddControlTip(edPath, 1, "Images Folder", L"Your screenshots will be saved in this folder");
    AddControlTip(btnBrowse, 1, "Browse Folders", L"Choose the path where your screenshots will be saved");
    // Kept off the format list while it is dropped.
    cbType.AttachTip(AddControlTip(cbType, 1, "File Type", L"Screenshots will be saved with this filetype"));
    AddControlTip(edFile, 1, "Filename", L"Your screenshots will be saved with this name");
    AddControlTip(ckTaskbar, 1, "Include Taskbar", L"Include Taskbar in the screenshots");
    AddControlTip(chkNotify, 1, "Display Notify", L"Display information about your screenshot\r\nas soon as you take it");
    AddControlTip(tbQuality, 1, "Quality", L"Set the compression quality of your PNG/JPG files");
}

void TfmMain::BrowseFolders()
{
    TJvSelectDirectory picker;
    picker.SetClassicDialog(false);
    picker.SetTitle(LoadStr(IDS_SELECT_FOLDER));
    if (picker.Execute())
        edPath.SetText(picker.Directory());
    edPath.SetHint(edPath.Text());
}

bool TfmMain::RegisterHotKeys()
{
    hotKeys_.TakeMissing();
    return hotKeys_.AllHeld();
}

void TfmMain::UnregisterHotKeys()
{
    hotKeyRetry_.SetEnabled(false);
    hotKeys_.Release();
}

void TfmMain::TakeMissingHotKeys()
{
    RegisterHotKeys();
    hotKeyRetry_.SetEnabled(!hotKeys_.AllHeld());
    UpdateTrayTip();
}

void TfmMain::ShowHotKeyNotice()
{
    if (hotKeys_.AllHeld())
        return;
    const bool offerSwitch = !hotKeys_.PrintScreenHeld() && SnippingOwnsPrintScreen();
    if (::ShowHotKeyNotice(this, hotKeys_.MissingNames(), offerSwitch) && TurnOffSnippingPrintScreen())
        TakeMissingHotKeys();
}

void TfmMain::UpdateTrayTip()
{
    if (hotKeys_.AllHeld())
        icoTray.SetTip(kTrayTip);
    else
        icoTray.SetTip(std::string(kTrayTip) + "\n" +
                       FormatText(LoadStr(IDS_TIP_KEYS_MISSING), {KeyList(hotKeys_.MissingNames())}));
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
        icoTray.SetActive(!icoTray.Active());
        break;
    case hkRegion:
        CaptureRegionAndSave();
        break;
    }
}

void TfmMain::CaptureRegionAndSave()
{
    if (!Capturing)
        SaveShot(MakeFileName(edPath.Text()), [this](TBitmap& bitmap) { return CaptureRegion(bitmap, lastRegion_); });
}

std::string TfmMain::MakeFileName(const std::string& folder) const
{
    return ::MakeFileName(folder, edFile.Text(), cbType.ItemIndex(), FileOrFolderExists);
}

void TfmMain::CaptureAndSave(const std::string& fileName, bool windowMode)
{
    SaveShot(fileName, [&](TBitmap& bitmap) {
        if (windowMode)
            CaptureWindow(bitmap, GetForegroundWindow());
        else
            CaptureScreen(bitmap, ckTaskbar.Checked(), captureScreens_);
        return true;
    });
}

void TfmMain::SaveShot(const std::string& fileName, const std::function<bool(TBitmap&)>& take)
{
    std::exception_ptr failure;
    bool taken = false;
    {
        TBitmap bitmap;
        Capturing = true;
        try {
            taken = take(bitmap);
            if (taken)
                SaveAndAnnounce(bitmap, fileName);
        } catch (...) {
            taken = true;
            failure = std::current_exception();
        }
    }
    // Later shots wait until this one has settled, whatever happened.
    if (taken)
        PumpWait(500);
    Capturing = false;
    if (failure)
        std::rethrow_exception(failure);
}

void TfmMain::SaveAndAnnounce(const TBitmap& bitmap, const std::string& fileName)
{
    TCaptureSettings settings{edPath.Text(), edFile.Text(), cbType.ItemIndex(), ckTaskbar.Checked(), JpgQuality,
                              PngLevel};
    std::string written = SaveCapture(bitmap, fileName, settings);
    if (icoTray.Active() && chkNotify.Checked()) {
        icoTray.SetInfoText(NotificationText(LoadStr(IDS_SHOT_SAVED), written, bitmap.Width(), bitmap.Height(),
                                             FileSizeKB(written)));
        icoTray.ShowBalloon();
    }
    if (copyToClipboard_)
        CopyShotToClipboard(bitmap, written);
}

void TfmMain::CopyShotToClipboard(const TBitmap& bitmap, const std::string& fileName)
{
    try {
        CopyToClipboard(Handle(), bitmap);
    } catch (const Exception& error) {
        throw Exception(FormatText(LoadStr(IDS_CLIPBOARD_FAILED), {fileName, error.Message()}));
    }
}

void TfmMain::BalloonClick()
{
    ShellExecuteW(Handle(), L"explore", Utf8ToWide(edPath.Text()).c_str(), L"", L"", SW_SHOWNORMAL);
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
    TsuiMessageDialog about(this);
    about.SetCaption("About...");
    about.SetText(kAboutText);
    TsuiFont font = about.Font();
    font.name = "Trebuchet MS";
    font.height = -12; // 9 points
    about.SetFont(font);
    TsuiFont captionFont = about.CaptionFont();
    captionFont.name = "Trebuchet MS";
    about.SetCaptionFont(captionFont);
    about.SetIconType(TsuiIconType::suiInformation);
    about.SetButtonCursor(0);
    about.ShowModal();
}

void TfmMain::mnuExitClick()
{
    Application.Terminate();
}

void TfmMain::FormClose(TCloseAction&) {}

void TfmMain::SessionEnding()
{
    RunGuarded([this] { FormDestroy(); });
    icoTray.SetActive(false);
    Application.Terminate();
}

bool TfmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&)
{
    switch (message) {
    case WM_HOTKEY:
        WMHotKey(static_cast<int>(wParam));
        return true;
    case WM_HOTKEY_NOTICE:
        ShowHotKeyNotice();
        return true;
    case WM_CAPTURE_REGION:
        PumpWait(kMenuGoneMs);
        CaptureRegionAndSave();
        return true;
    case WM_SHOWWINDOW:
        if (wParam && started_ && !hotKeys_.AllHeld())
            TakeMissingHotKeys();
        return false;
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    }
    return false;
}
