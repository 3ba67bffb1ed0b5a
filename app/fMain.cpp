#include "app/fMain.h"

#include <shellapi.h>

#include "app/PanelLayout.h"
#include "app/Looks.h"
#include "app/ShotFile.h"
#include "core/InstanceRules.h"
#include "core/ScopeExit.h"
#include "core/Unicode.h"
#include "framework/Application.h"
#include "framework/Files.h"
#include "framework/Registry.h"
#include "framework/Resources.h"
#include "resources/StringIds.h"

TfmMain* fmMain = nullptr;

static const char kAboutText[] = "Snapquill v1.1\r\nby the Snapquill developers";
static const char kTrayTip[] = "Snapquill - by the Snapquill developers";

// Posted once at start when a hotkey could not be taken.
constexpr UINT WM_HOTKEY_NOTICE = WM_APP + 1;
// Posted by the menu's "Capture region" (wParam 0) and "Capture and mark up
// region" (1), so that the capture starts once the menu has closed.
constexpr UINT WM_CAPTURE_REGION = WM_APP + 2;
// Posted by a change of format, so that the height moves once the format
// list has closed and drawn itself, not under its open list.
constexpr UINT WM_ANIMATE_HEIGHT = WM_APP + 3;
// What the screen is given to draw again where the menu was, before the
// region capture copies it.
constexpr unsigned kMenuGoneMs = 150;

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
    BindMenu();
    CreateSkinFrame();
    keyboardMenu_ = std::make_unique<TKeyboardMenu>([this] { return Handle(); },
                                                    [this] { PopupMenuBelowTitleBar(); });
    panel_.Create(sknForm);
    panel_.OnHeightWanted = [this](int designedOuter) {
        if (IsWindowVisible(Handle()))
            PostMessageW(Handle(), WM_ANIMATE_HEIGHT, static_cast<WPARAM>(designedOuter), 0);
        else
            AnimateToHeight(designedOuter);
    };
    designedHeight_ = layout::kTallHeight;
    if (const TDisplayScale scale = WindowScale(Handle()); !scale.IsIdentity())
        ApplyScale(scale);
    SetUpGuard();
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

void TfmMain::BindMenu()
{
    menu_.OnHide = [this] { mnuHideClick(); };
    menu_.OnAbout = [this] { mnuAboutClick(); };
    menu_.OnCaptureRegion = [this] { PostMessageW(Handle(), WM_CAPTURE_REGION, 0, 0); };
    menu_.OnCaptureMarkup = [this] { PostMessageW(Handle(), WM_CAPTURE_REGION, 1, 0); };
    menu_.OnExit = [this] { mnuExitClick(); };
}

void TfmMain::PopupMenuBelowTitleBar()
{
    RECT bar{};
    GetWindowRect(sknForm.TitleBar().Handle(), &bar);
    menu_.Popup().Popup(Handle(), bar.left, bar.bottom);
}

void TfmMain::CreateSkinFrame()
{
    sknForm.Create(*this);
    sknForm.SetLook(look::kPanelFrame);
    sknForm.SetCaption("Snapquill");
    TsuiTitleBar& bar = sknForm.TitleBar();
    bar.ClearButtons();
    TsuiTitleBarButton& controlBox = bar.AddButton();
    controlBox.SetButtonType(suiControlBox);
    controlBox.SetControlBoxMenu(&menu_.Popup());
    TsuiTitleBarButton& close = bar.AddButton();
    close.SetButtonType(suiClose);
    close.SetVisible(false);
    TsuiTitleBarButton& minimize = bar.AddButton();
    minimize.SetButtonType(suiMin);
    minimize.SetVisible(false);
}

// The guard runs before the icon appears, so that a refused copy shows
// nothing at all.
void TfmMain::SetUpGuard()
{
    InstanceControl.SetEnabled(true);
    InstanceControl.SetMaxInstances(1);
    InstanceControl.OnMaxInstancesReached = [this](TadpInstanceControl&, uint32_t handle) {
        MaxInstancesReached(handle);
    };
    RunGuarded([this] { InstanceControl.Loaded(); });
    if (!InstanceControl.Refused())
        SetUpTrayIcon();
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
    icoTray.SetPopupMenu(&menu_.Popup());
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
    hotKeys_.OnChanged = [this] { UpdateTrayTip(); };
    hotKeys_.Start(Handle());
    started_ = true;
    panel_.SetFolder(FirstStartFolder());
    Application.OnMinimize = [this] { AppMinimize(); };
    Application.OnEndSession = [this] { SessionEnding(); };
    LoadSettings();
    pipeline_.CurrentSettings = [this] { return ShotSettingsFrom(CurrentSettings()); };
    panel_.TypeChange();
    panel_.AddControlTips();
    RemoveLeftoverTemporaryFiles(panel_.Folder());
}

void TfmMain::FormDestroy()
{
    // Once only: the end of the session may have saved already.
    if (!started_)
        return;
    started_ = false;
    // The hotkeys go even when the settings cannot be written.
    const TScopeExit release([this] { hotKeys_.Release(); });
    SaveSettings();
}

static TRegistryMessages RegistryMessages()
{
    return {LoadStr(IDS_INVALID_DATA_TYPE), LoadStr(IDS_GET_DATA_FAILED), LoadStr(IDS_SET_DATA_FAILED)};
}

TSettings TfmMain::CurrentSettings() const
{
    TSettings settings;
    panel_.Store(settings);
    settings.captureScreens = int32_t(menu_.Screens());
    settings.copyToClipboard = menu_.CopyToClipboard();
    return settings;
}

void TfmMain::ApplySettings(const TSettings& settings)
{
    panel_.Show(settings);
    menu_.SetChoices(static_cast<TCaptureScreens>(settings.captureScreens), settings.copyToClipboard);
}

void TfmMain::LoadSettings()
{
    TRegistry registry(HKEY_CURRENT_USER);
    if (!registry.OpenKey(LoadStr(IDS_SETTINGS_KEY), false))
        return;
    // Values read before a failure stay applied; the later ones keep the
    // panel's current state.
    TSettings settings = CurrentSettings();
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
    WriteSettings(registry, CurrentSettings(), RegistryMessages());
}

void TfmMain::UpdateTrayTip()
{
    icoTray.SetTip(hotKeys_.TipWithMissing(kTrayTip));
}

void TfmMain::WMHotKey(int id)
{
    switch (id) {
    case hkScreen:
        TakeShot(TShotKind::Screen);
        break;
    case hkWindow:
        TakeShot(TShotKind::Window);
        break;
    case hkTrayIcon:
        icoTray.SetActive(!icoTray.Active());
        break;
    case hkRegion:
        TakeShot(TShotKind::Region);
        break;
    case hkMarkup:
        TakeShot(TShotKind::Markup);
        break;
    }
}

void TfmMain::TakeShot(TShotKind kind)
{
    pipeline_.Take(kind, ShotSettingsFrom(CurrentSettings()));
}

void TfmMain::BalloonClick()
{
    ShellExecuteW(Handle(), L"explore", Utf8ToWide(panel_.Folder()).c_str(), L"", L"", SW_SHOWNORMAL);
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
    const bool show = !Visible();
    if (show) {
        Show();
        BringToFront();
    } else {
        Hide();
    }
    menu_.ShowHideCaption(show);
}

void TfmMain::mnuAboutClick()
{
    TsuiMessageDialog about(this);
    about.SetCaption("About...");
    about.SetText(kAboutText);
    about.SetLook(look::AboutDialog(about.Look()));
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
        hotKeys_.ShowNotice(this);
        return true;
    case WM_CAPTURE_REGION:
        PumpWait(kMenuGoneMs);
        TakeShot(wParam ? TShotKind::Markup : TShotKind::Region);
        return true;
    case WM_ANIMATE_HEIGHT:
        AnimateToHeight(static_cast<int>(wParam));
        return true;
    case WM_SHOWWINDOW:
        if (wParam && started_ && !hotKeys_.AllHeld())
            hotKeys_.TakeMissing();
        return false;
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    }
    return false;
}
