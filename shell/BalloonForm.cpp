#include "shell/BalloonForm.h"

#include <algorithm>
#include <memory>

#include "framework/Application.h"
#include "framework/PaintBuffer.h"
#include "imaging/GdiHandles.h"
#include "shell/ShellVersion.h"
#include "core/Unicode.h"
#include "framework/MonitorScale.h"

namespace {

const wchar_t kWindowClass[] = L"ThBalloonForm";
const UINT_PTR kCloseTimer = 1;
// Posted to the window to destroy it once the current handler has finished.
const UINT kReleaseMessage = WM_APP + 0x2B1;

HINSTANCE ModuleInstance()
{
    return Application.Instance() ? Application.Instance() : GetModuleHandleW(nullptr);
}

// The picture of the set drawn for the scale: NAME at 100 %, NAME_150 and
// NAME_200 at 150 % and 200 %; the 100 % one when a set lacks it.
TGdiObject LoadPicture(const wchar_t* name, const TDisplayScale& scale)
{
    const int percent = scale.PictureSetPercent();
    if (percent > 100) {
        const std::wstring scaled = std::wstring(name) + L"_" + std::to_wstring(percent);
        if (HANDLE picture = LoadImageW(ModuleInstance(), scaled.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
            return TGdiObject(picture);
    }
    return TGdiObject(LoadImageW(ModuleInstance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

SIZE PictureSize(const TGdiObject& picture)
{
    BITMAP info{};
    if (!picture.Handle() || !GetObjectW(picture.Handle(), sizeof(info), &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

// Draws a picture with the colour of its lower-left pixel left out.
void DrawTransparent(HDC dc, const TGdiObject& picture, int x, int y)
{
    const SIZE size = PictureSize(picture);
    if (size.cx == 0 || size.cy == 0)
        return;
    TMemoryDC source(dc, picture.Handle());
    const COLORREF transparent = GetPixel(source.Handle(), 0, size.cy - 1);
    TransparentBlt(dc, x, y, size.cx, size.cy, source.Handle(), 0, 0, size.cx, size.cy, transparent);
}

// Tahoma of 8 points at the scale.
TGdiObject TahomaFont(bool bold, const TDisplayScale& scale)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(8, scale.Dpi(), 72);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
    return TGdiObject(CreateFontIndirectW(&font));
}

const wchar_t* IconPictureName(TSxTrayIconInfoFlags flags)
{
    switch (flags) {
    case niifError:
        return L"IDB_BALLOON_ERROR";
    case niifInfo:
        return L"IDB_BALLOON_INFO";
    case niifWarning:
        return L"IDB_BALLOON_WARNING";
    default:
        return nullptr;
    }
}

// ThBalloonForm: the balloon window. The window procedure keeps the object
// alive (shared) while a handler runs, because handlers call out to the
// owner and process messages, and either may destroy the balloon.
class ThBalloonForm : public TWindow, public std::enable_shared_from_this<ThBalloonForm> {
public:
    ThBalloonForm();
    ~ThBalloonForm() override;

    // Remembered for "the same balloon again".
    std::string title;
    std::string text;
    TSxTrayIconInfoFlags flags = niifNone;
    IBalloonOwner* trayAnchor = nullptr;
    HWND controlAnchor = nullptr;

    IBalloonOwner* TrayIcon = nullptr;
    bool Fade = true;
    bool destroying = false;
    TBalloonLayout layout;
    bool hasPicture = false;

    void StopTimer() { KillTimer(Handle(), kCloseTimer); }
    void StartTimer(int timeoutMs)
    {
        if (Handle() && timeoutMs > 0)
            SetTimer(Handle(), kCloseTimer, static_cast<UINT>(timeoutMs), nullptr);
    }
    void SetAlphaBlend(bool on, uint8_t value);
    uint8_t AlphaValue() const { return alphaValue_; }
    // Marks the window visible or not, with the show and hide handling.
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    void Build(const std::string& title, const std::string& text, TSxTrayIconInfoFlags flags,
               IBalloonOwner* trayAnchor, HWND controlAnchor);
    void Release() { PostMessageW(Handle(), kReleaseMessage, 0, 0); }
    // Fonts and pictures for the scale of the monitor the balloon goes on.
    void TakeScale(const TDisplayScale& scale);
    void DestroyBalloonWindow();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The whole window, onto the off-screen bitmap.
    void Paint(HDC dc, const RECT& client);
    void SetCloseActive(bool active);
    RECT CloseRect() const;
    void Click(bool onClose);
    int PartAt(POINT p) const;
    void MouseMoved(POINT p);
    void MousePressed(POINT p);
    void MouseReleased(POINT p);
    void TimedOut();
    void AssertTopmost();

    TDisplayScale scale_;
    TGdiObject font_;
    TGdiObject boldFont_;
    TGdiObject iconPicture_;
    TGdiObject closeInactive_;
    TGdiObject closeActive_;
    TPaintBuffer buffer_;
    bool closeHover_ = false;
    bool visible_ = false;
    bool layered_ = false;
    uint8_t alphaValue_ = 255;
    std::string shownTitle_;
    std::wstring wideTitle_;
    std::wstring wideText_;
    int titleWidth_ = 0;
    int titleHeight_ = 0;
    int pressed_ = 0; // 0 none, 1 body, 2 close picture
};

std::shared_ptr<ThBalloonForm> BalloonWindow;

ThBalloonForm::ThBalloonForm()
{
    TakeScale(scale_);
    static const TWindowClass windowClass{kWindowClass, 0,
                                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1))};
    TCreateParams params;
    params.windowClass = &windowClass;
    params.style = WS_POPUP;
    params.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    CreateHandle(params);
}

ThBalloonForm::~ThBalloonForm()
{
    DestroyBalloonWindow();
}

void ThBalloonForm::TakeScale(const TDisplayScale& scale)
{
    if (scale == scale_ && font_)
        return;
    scale_ = scale;
    font_ = TahomaFont(false, scale);
    boldFont_ = TahomaFont(true, scale);
    closeInactive_ = LoadPicture(L"IDB_BUTTON_CLOSE_INACTIVE", scale);
    closeActive_ = LoadPicture(L"IDB_BUTTON_CLOSE_ACTIVE", scale);
}

// The monitor the balloon appears on: the one of the work area for the
// notification icon, the control's otherwise.
TDisplayScale ScaleWhereShown(HWND controlAnchor)
{
    RECT area{};
    if (controlAnchor)
        GetWindowRect(controlAnchor, &area);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return ScaleOfRect(area);
}

void ThBalloonForm::DestroyBalloonWindow()
{
    if (!Handle())
        return;
    KillTimer(Handle(), kCloseTimer);
    DestroyHandle();
}

void ThBalloonForm::SetAlphaBlend(bool on, uint8_t value)
{
    alphaValue_ = value;
    if (!Handle())
        return;
    if (on != layered_) {
        LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
        style = on ? (style | WS_EX_LAYERED) : (style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, style);
        layered_ = on;
    }
    if (layered_)
        SetLayeredWindowAttributes(Handle(), 0, value, LWA_ALPHA);
}

void ThBalloonForm::AssertTopmost()
{
    if (Handle())
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void ThBalloonForm::SetVisible(bool visible)
{
    if (visible == visible_ || !Handle())
        return;
    visible_ = visible;
    auto keep = shared_from_this();
    if (visible) {
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
        AssertTopmost();
        if (TrayIcon)
            TrayIcon->BalloonShown();
        return;
    }
    if (TrayIcon)
        TrayIcon->BalloonHidden();
    if (Fade && !ShellIsLegacy() && alphaValue_ != 0 && Handle()) {
        SetAlphaBlend(true, alphaValue_);
        int v = alphaValue_;
        do {
            SetAlphaBlend(true, static_cast<uint8_t>(v));
            v = std::max(v - 10, 0);
            UpdateWindow(Handle());
            Application.ProcessMessages();
            Sleep(5);
        } while (v != 0 && Handle());
    }
    if (Handle())
        ShowWindow(Handle(), SW_HIDE);
}

void ThBalloonForm::Build(const std::string& newTitle, const std::string& newText, TSxTrayIconInfoFlags newFlags,
                          IBalloonOwner* newTray, HWND newControl)
{
    title = newTitle;
    text = newText;
    flags = newFlags;
    trayAnchor = newTray;
    controlAnchor = newControl;

    closeHover_ = false;
    TakeScale(ScaleWhereShown(newControl));
    const wchar_t* iconName = IconPictureName(newFlags);
    iconPicture_ = iconName ? LoadPicture(iconName, scale_) : TGdiObject();
    hasPicture = iconName != nullptr;

    shownTitle_ = BalloonTitleText(newTitle);
    wideTitle_ = Utf8ToWide(shownTitle_);
    wideText_ = Utf8ToWide(newText);

    TBalloonLayoutInput in;
    {
        TWindowDC screen(nullptr);
        HDC dc = screen.Handle();
        {
            TSelectObject bold(dc, boldFont_.Handle());
            RECT r{0, 0, 0, 0};
            DrawTextW(dc, wideTitle_.c_str(), static_cast<int>(wideTitle_.size()), &r,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            titleWidth_ = r.right - r.left;
            titleHeight_ = r.bottom - r.top;
        }
        in.title = {titleWidth_, titleHeight_};
        const std::wstring wide = wideText_;
        HGDIOBJ font = font_.Handle();
        in.measureText = [dc, wide, font](int wrapWidth) {
            TSelectObject normal(dc, font);
            RECT r{0, 0, wrapWidth, 0};
            DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            return TBalloonSize{r.right - r.left, r.bottom - r.top};
        };
        in.closeWidth = PictureSize(closeInactive_).cx;
        in.scale = scale_;
        in.hasIcon = hasPicture;
        in.trayAnchor = newTray != nullptr;
        if (newControl) {
            RECT r{};
            GetWindowRect(newControl, &r);
            in.control = {r.left, r.top, r.right, r.bottom};
        }
        in.screenWidth = GetSystemMetrics(SM_CXSCREEN);
        in.screenHeight = GetSystemMetrics(SM_CYSCREEN);
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        in.workArea = {work.left, work.top, work.right, work.bottom};
        layout = LayoutBalloon(in);
    }
    TrayIcon = newTray;

    SetWindowPos(Handle(), HWND_TOPMOST, layout.left, layout.top, layout.width, layout.height, SWP_NOACTIVATE);
    const int e = layout.cornerEllipse;
    TGdiObject region(
        CreateRoundRectRgn(layout.body.left, layout.body.top, layout.body.right, layout.body.bottom, e, e));
    HRGN shape = static_cast<HRGN>(region.Handle());
    if (layout.corner != TBalloonCorner::None) {
        POINT points[3];
        for (int i = 0; i < 3; ++i)
            points[i] = {layout.pointer[i].x, layout.pointer[i].y};
        TGdiObject pointer(CreatePolygonRgn(points, 3, WINDING));
        CombineRgn(shape, shape, static_cast<HRGN>(pointer.Handle()), RGN_OR);
    }
    if (SetWindowRgn(Handle(), shape, TRUE))
        region.Release(); // the window owns it now
    InvalidateRect(Handle(), nullptr, TRUE);
}

RECT ThBalloonForm::CloseRect() const
{
    const SIZE size = PictureSize(closeInactive_);
    return {layout.closeLeft, layout.closeTop, layout.closeLeft + size.cx, layout.closeTop + size.cy};
}

void ThBalloonForm::SetCloseActive(bool active)
{
    if (active == closeHover_)
        return;
    closeHover_ = active;
    const RECT r = CloseRect();
    InvalidateRect(Handle(), &r, TRUE);
}

void ThBalloonForm::Paint(HDC dc, const RECT& client)
{
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    if (hasPicture)
        DrawTransparent(dc, iconPicture_, layout.iconLeft, layout.iconTop);
    DrawTransparent(dc, closeHover_ ? closeActive_ : closeInactive_, layout.closeLeft, layout.closeTop);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    {
        TSelectObject bold(dc, boldFont_.Handle());
        RECT r{layout.titleLeft, layout.titleTop, layout.titleLeft + titleWidth_, layout.titleTop + titleHeight_};
        DrawTextW(dc, wideTitle_.c_str(), static_cast<int>(wideTitle_.size()), &r, DT_SINGLELINE | DT_NOPREFIX);
    }
    {
        TSelectObject normal(dc, font_.Handle());
        RECT r{layout.textLeft, layout.textTop, layout.textLeft + layout.textWidth,
               layout.textTop + layout.textHeight};
        DrawTextW(dc, wideText_.c_str(), static_cast<int>(wideText_.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
    }

    TGdiObject region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(Handle(), static_cast<HRGN>(region.Handle())) != ERROR)
        FrameRgn(dc, static_cast<HRGN>(region.Handle()), GetSysColorBrush(COLOR_INFOTEXT), scale_.Length(1),
                 scale_.Length(1));
}

void ThBalloonForm::Click(bool onClose)
{
    if (!onClose && TrayIcon)
        TrayIcon->BalloonClicked();
    // The owner may have destroyed the balloon meanwhile.
    if (Handle())
        Release();
}

LRESULT ThBalloonForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Handlers call out to the owner and process messages; either may drop
    // the last reference to the balloon.
    auto keep = weak_from_this().lock();
    return HandleMessage(message, wParam, lParam);
}

// The part of the balloon at a point: 2 the close button, 1 the rest of
// the window, 0 outside.
int ThBalloonForm::PartAt(POINT p) const
{
    const RECT close = CloseRect();
    RECT client{};
    GetClientRect(Handle(), &client);
    return PtInRect(&close, p) ? 2 : (PtInRect(&client, p) ? 1 : 0);
}

void ThBalloonForm::MouseMoved(POINT p)
{
    SetCloseActive(PartAt(p) == 2);
}

void ThBalloonForm::MousePressed(POINT p)
{
    pressed_ = PartAt(p) == 2 ? 2 : 1;
    SetCapture(Handle());
}

// A click is a press and a release on the same part.
void ThBalloonForm::MouseReleased(POINT p)
{
    if (GetCapture() == Handle())
        ReleaseCapture();
    const int part = PartAt(p);
    const int pressed = pressed_;
    pressed_ = 0;
    if (part != 0 && part == pressed)
        Click(part == 2);
}

void ThBalloonForm::TimedOut()
{
    StopTimer();
    if (TrayIcon)
        TrayIcon->BalloonTimedOut();
    if (Handle())
        Release();
}

LRESULT ThBalloonForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        buffer_.Paint(Handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ACTIVATE:
        AssertTopmost();
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0 && !TrayIcon)
            Release();
        break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            ShowWindow(Handle(), SW_SHOWNOACTIVATE);
        break;
    case WM_MOUSEMOVE:
        MouseMoved(at);
        return 0;
    case WM_LBUTTONDOWN:
        MousePressed(at);
        return 0;
    case WM_LBUTTONUP:
        MouseReleased(at);
        return 0;
    case WM_TIMER:
        if (wParam != kCloseTimer)
            break;
        TimedOut();
        return 0;
    case kReleaseMessage:
        if (BalloonWindow.get() == this)
            DestroyOwnBalloon();
        return 0;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

} // namespace

void ShowOwnBalloon(const std::string& title, const std::string& text, TSxTrayIconInfoFlags flags, bool fade,
                    uint8_t alpha, int timeoutMs, IBalloonOwner* trayAnchor, HWND controlAnchor)
{
    const bool toTray = trayAnchor && !controlAnchor;
    const bool toControl = controlAnchor && !trayAnchor && IsWindow(controlAnchor);
    if (!toTray && !toControl)
        return;

    // The same balloon again: only restart its time-out.
    if (auto form = BalloonWindow; form && !form->destroying && form->title == title && form->text == text &&
                                   form->flags == flags && form->trayAnchor == trayAnchor &&
                                   form->controlAnchor == controlAnchor) {
        form->StopTimer();
        form->Fade = false;
        form->SetAlphaBlend(alpha < 255 && !ShellIsLegacy(), alpha);
        ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
        form->SetVisible(true);
        form->StartTimer(timeoutMs);
        return;
    }

    if (!BalloonWindow) {
        auto created = std::make_shared<ThBalloonForm>();
        if (!created->Handle())
            return;
        BalloonWindow = created;
    }
    auto form = BalloonWindow;
    form->StopTimer();
    form->SetVisible(false); // the previous balloon's hide handling
    if (BalloonWindow != form || !form->Handle())
        return;

    form->Build(title, text, flags, trayAnchor, controlAnchor);
    form->Fade = fade;

    if (ShellIsLegacy()) {
        form->SetAlphaBlend(false, alpha);
        ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    } else if (!fade) {
        form->SetAlphaBlend(alpha < 255, alpha);
        ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    } else {
        form->SetAlphaBlend(true, 0);
        ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
        int v = 0;
        while (form->AlphaValue() != alpha) {
            form->SetAlphaBlend(true, static_cast<uint8_t>(v));
            v = std::min({v + 10, static_cast<int>(alpha), 255});
            UpdateWindow(form->Handle());
            Application.ProcessMessages();
            Sleep(5);
            if (BalloonWindow != form || form->destroying || !form->Handle())
                return; // closed during the fade
        }
    }

    form->SetVisible(true);
    if (BalloonWindow != form || !form->Handle())
        return;
    form->StartTimer(timeoutMs);
}

void DestroyOwnBalloon()
{
    auto form = BalloonWindow;
    if (!form || form->destroying)
        return;
    form->destroying = true;
    form->StopTimer();
    form->SetVisible(false);
    if (BalloonWindow == form)
        BalloonWindow.reset();
    form->DestroyBalloonWindow();
}

void DetachOwnBalloon(IBalloonOwner* owner)
{
    auto form = BalloonWindow;
    if (!form || !owner || form->TrayIcon != owner)
        return;
    // The owner is going away: it hears nothing more, and there is no fade.
    form->TrayIcon = nullptr;
    form->trayAnchor = nullptr;
    form->Fade = false;
    DestroyOwnBalloon();
}

bool OwnBalloonExists()
{
    return BalloonWindow != nullptr;
}

HWND OwnBalloonWindow()
{
    return BalloonWindow ? BalloonWindow->Handle() : nullptr;
}

bool OwnBalloonLayout(TBalloonLayout& layout)
{
    if (!BalloonWindow)
        return false;
    layout = BalloonWindow->layout;
    return true;
}

bool OwnBalloonShowsPicture()
{
    return BalloonWindow && BalloonWindow->hasPicture;
}
