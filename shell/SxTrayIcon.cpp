#include "shell/SxTrayIcon.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/TrayRecord.h"
#include "framework/Application.h"
#include "framework/Menus.h"
#include "core/Unicode.h"
#include "shell/BalloonForm.h"

namespace {

const wchar_t kWindowClass[] = L"TSxTrayIconWindow";

// The shell's balloon notifications in the callback message.
constexpr uint32_t kBalloonShow = 0x402;
constexpr uint32_t kBalloonHide = 0x403;
constexpr uint32_t kBalloonTimeout = 0x404;
constexpr uint32_t kBalloonUserClick = 0x405;

// The program's UTF-8 text as UTF-16, cut to maxChars units, into a field
// of the record.
template <size_t N>
void SetField(wchar_t (&field)[N], const std::string& text, size_t maxChars)
{
    static_assert(N > 0 && sizeof(wchar_t) == sizeof(char16_t));
    const std::wstring wide = Utf8ToWide(text);
    const std::u16string cut = CutText(std::u16string(wide.begin(), wide.end()), maxChars < N - 1 ? maxChars : N - 1);
    std::copy(cut.begin(), cut.end(), field);
    field[cut.size()] = L'\0';
}

TShiftState CurrentShiftState()
{
    TShiftState shift;
    shift.shift = GetKeyState(VK_SHIFT) < 0;
    shift.ctrl = GetKeyState(VK_CONTROL) < 0;
    shift.alt = GetKeyState(VK_MENU) < 0;
    return shift;
}

} // namespace

bool TSxTrayIcon::LegacyShell()
{
    return ShellIsLegacy();
}

UINT TSxTrayIcon::TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

TSxTrayIcon::THiddenWindow::THiddenWindow(TSxTrayIcon* owner) : owner_(owner)
{
    static const TWindowClass windowClass{kWindowClass};
    TCreateParams params;
    params.windowClass = &windowClass;
    // A real top-level window, not a message-only one: only these receive
    // the "TaskbarCreated" broadcast.
    params.style = WS_POPUP;
    params.exStyle = WS_EX_TOOLWINDOW;
    CreateHandle(params);
}

TSxTrayIcon::THiddenWindow::~THiddenWindow()
{
    DestroyHandle();
}

LRESULT TSxTrayIcon::THiddenWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return owner_->WndProc(message, wParam, lParam);
}

TSxTrayIcon::TSxTrayIcon() : window_(this)
{
    record_.uID = kIconId;
    // Make sure the message is registered before the taskbar can send it.
    TaskbarCreatedMessage();
}

TSxTrayIcon::~TSxTrayIcon()
{
    // An own balloon that belongs to this icon must not call it back.
    DetachOwnBalloon(this);
    if (active_)
        DeleteIcon();
    // The popup menu belongs to the owner; it is not touched from here on.
    popupMenu_ = nullptr;
}

void TSxTrayIcon::SetIcon(HICON icon)
{
    icon_.Reset(icon ? CopyIcon(icon) : nullptr);
    ModifyIcon();
}

void TSxTrayIcon::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (value)
        AddIcon();
    else
        DeleteIcon();
}

void TSxTrayIcon::SetShowDesignTime(bool value)
{
    showDesignTime_ = value;
    if (value && active_)
        AddIcon();
}

void TSxTrayIcon::SetTip(const std::string& value)
{
    tip_ = value;
    ModifyIcon();
}

void TSxTrayIcon::SetInfoTitle(const std::string& value)
{
    if (value == infoTitle_)
        return;
    infoTitle_ = value;
    ModifyIcon();
}

void TSxTrayIcon::FillIconData()
{
    record_.cbSize = ShellIsLegacy() ? NOTIFYICONDATAW_V1_SIZE : NOTIFYICONDATAW_V2_SIZE;
    record_.hWnd = window_.Handle();
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = kCallbackMessage;
    record_.hIcon = icon_.Handle();
    SetField(record_.szTip, tip_, kTrayTipChars);
}

void TSxTrayIcon::AddIcon()
{
    FillIconData();
    NotifyShell(NIM_ADD);
}

void TSxTrayIcon::DeleteIcon()
{
    NotifyShell(NIM_DELETE);
}

void TSxTrayIcon::ModifyIcon()
{
    FillIconData();
    NotifyShell(NIM_MODIFY);
}

void TSxTrayIcon::NotifyShell(DWORD message)
{
    for (;;) {
        if (Shell_NotifyIconW(message, &record_))
            return;
        bool doRetry = false;
        if (!OnFail)
            return;
        OnFail(doRetry);
        if (!doRetry)
            return;
    }
}

void TSxTrayIcon::ShowBalloon()
{
    ShowBalloon(infoText_, infoTitle_, infoFlags_);
}

void TSxTrayIcon::ShowBalloon(const std::string& text, const std::string& title, TSxTrayIconInfoFlags flags)
{
    if (useOwnInfo_ || LegacyShell()) {
        HideBalloon(false);
        ShowOwnBalloon(title, text, flags, fadeEffect_, 255, infoTimeout_, this, nullptr);
        return;
    }
    HideBalloon(true);
    FillIconData();
    record_.dwInfoFlags = ShellInfoFlags(flags);
    // NIF_INFO alone: icon, tip and callback stay as the shell has them.
    record_.uFlags = NIF_INFO;
    SetField(record_.szInfo, text, kTrayInfoChars);
    SetField(record_.szInfoTitle, title, kTrayInfoTitleChars);
    record_.uTimeout = static_cast<UINT>(infoTimeout_);
    NotifyShell(NIM_MODIFY);
}

void TSxTrayIcon::HideBalloon(bool closeOwn)
{
    if (closeOwn)
        DestroyOwnBalloon();
    if (LegacyShell())
        return;
    FillIconData();
    record_.dwInfoFlags = 0;
    record_.uFlags = NIF_INFO;
    std::memset(record_.szInfo, 0, sizeof(record_.szInfo));
    std::memset(record_.szInfoTitle, 0, sizeof(record_.szInfoTitle));
    record_.uTimeout = static_cast<UINT>(infoTimeout_);
    NotifyShell(NIM_MODIFY);
}

void TSxTrayIcon::Click()
{
    if (OnClick)
        OnClick();
}

void TSxTrayIcon::DblClick()
{
    if (popupMenu_) {
        int item = popupMenu_->DefaultItem();
        if (item >= 0 && item < popupMenu_->Count())
            popupMenu_->Click(item);
    }
    if (OnDblClick)
        OnDblClick();
}

void TSxTrayIcon::PopupAtCursor(int x, int y)
{
    // The menu closes on a click elsewhere only when the program is in the
    // foreground.
    SetForegroundWindow(Application.Handle());
    Application.ProcessMessages();
    // A handler run just now may have taken the menu away.
    if (popupMenu_)
        popupMenu_->Popup(window_.Handle(), x, y);
}

void TSxTrayIcon::ButtonDown(TMouseButton button, TShiftState shift, POINT at)
{
    (button == mbLeft ? leftPressed_ : rightPressed_) = true;
    if (OnMouseDown)
        OnMouseDown(button, shift, at.x, at.y);
}

// Up after down on the icon: a left click, or the menu for the right button.
void TSxTrayIcon::ButtonUp(TMouseButton button, TShiftState shift, POINT at)
{
    bool& pressed = button == mbLeft ? leftPressed_ : rightPressed_;
    if (pressed) {
        pressed = false;
        if (button == mbLeft)
            Click();
        else if (popupMenu_)
            PopupAtCursor(at.x, at.y);
    }
    if (OnMouseUp)
        OnMouseUp(button, shift, at.x, at.y);
}

void TSxTrayIcon::HandleCallback(uint32_t lParam)
{
    POINT at{};
    GetCursorPos(&at);
    const TShiftState shift = CurrentShiftState();
    switch (lParam) {
    case WM_MOUSEMOVE:
        if (OnMouseMove)
            OnMouseMove(shift, at.x, at.y);
        break;
    case WM_LBUTTONDOWN:
        ButtonDown(mbLeft, shift, at);
        break;
    case WM_LBUTTONUP:
        ButtonUp(mbLeft, shift, at);
        break;
    case WM_RBUTTONDOWN:
        ButtonDown(mbRight, shift, at);
        break;
    case WM_RBUTTONUP:
        ButtonUp(mbRight, shift, at);
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        DblClick();
        break;
    case kBalloonShow:
        BalloonShown();
        break;
    case kBalloonHide:
        BalloonHidden();
        break;
    case kBalloonTimeout:
        BalloonTimedOut();
        break;
    case kBalloonUserClick:
        BalloonClicked();
        break;
    }
}

void TSxTrayIcon::BalloonShown()
{
    if (OnBalloonShow)
        OnBalloonShow();
}

void TSxTrayIcon::BalloonHidden()
{
    if (OnBalloonHide)
        OnBalloonHide();
}

void TSxTrayIcon::BalloonTimedOut()
{
    if (OnBalloonTimeout)
        OnBalloonTimeout();
}

void TSxTrayIcon::BalloonClicked()
{
    if (OnBalloonUserClick)
        OnBalloonUserClick();
}

LRESULT TSxTrayIcon::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kCallbackMessage) {
        HandleCallback(static_cast<uint32_t>(lParam));
        return 0;
    }
    if (message == TaskbarCreatedMessage()) {
        // The taskbar was made anew: the icon comes back.
        if (active_)
            AddIcon();
        return 0;
    }
    return DefWindowProcW(window_.Handle(), message, wParam, lParam);
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_ISxTrayIcon)) {
        *out = static_cast<ISxTrayIcon*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::Click()
{
    icon_.Click();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::DblClick()
{
    icon_.DblClick();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::GetActive(BOOL* value)
{
    if (!value)
        return E_POINTER;
    *value = icon_.Active();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::SetActive(BOOL value)
{
    icon_.SetActive(value != FALSE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::SetTipW(LPCWSTR tip)
{
    icon_.tip_ = tip ? WideToUtf8(tip) : std::string();
    return S_OK;
}

// An icon file: a 6-byte directory header, 16-byte entries, image data.
static HICON IconFromFile(const std::vector<BYTE>& file)
{
    auto u16 = [&file](size_t at) { return static_cast<unsigned>(file[at] | file[at + 1] << 8); };
    auto u32 = [&file](size_t at) {
        return static_cast<size_t>(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | uint32_t(file[at + 3]) << 24);
    };
    if (file.size() < 22 || u16(0) != 0 || u16(2) != 1 || u16(4) == 0)
        return nullptr;
    size_t size = u32(6 + 8), offset = u32(6 + 12);
    if (offset > file.size() || size > file.size() - offset || size == 0)
        return nullptr;
    return CreateIconFromResourceEx(const_cast<BYTE*>(file.data() + offset), static_cast<DWORD>(size), TRUE,
                                    0x00030000, 0, 0, LR_DEFAULTCOLOR);
}

HRESULT STDMETHODCALLTYPE TSxTrayIconInterface::LoadIconFromStream(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    std::vector<BYTE> file;
    BYTE buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0)
        file.insert(file.end(), buffer, buffer + read);
    HICON icon = IconFromFile(file);
    if (!icon)
        return E_FAIL;
    icon_.SetIcon(icon); // keeps its own copy
    DestroyIcon(icon);
    return S_OK;
}
