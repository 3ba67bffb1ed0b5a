#include "skin/frmMessage.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Clipboard.h"
#include "framework/MonitorScale.h"
#include "skin/SUIDialogLayout.h"
#include "skin/SUIPictures.h"

namespace {

// Posted before the modal run: the focus goes to the active control once
// the window is up (the run itself focuses the first tab stop).
const UINT kFocusActiveControl = WM_APP + 0x51;

// Windows XP's blue frame with rounded top corners around a pale face.
const uint32_t kXpFrameBlue = 0xC82C00;
const uint32_t kXpFace = 0xDEEBEF;
const uint32_t kWhite = 0xFFFFFF;

const TsuiFormLook kMessageLook{.style = WinXP,
                                .autoUpdateSub = true,
                                .borderColor = kXpFrameBlue,
                                .borderWidth = 3,
                                .color = kXpFace,
                                .menuBarColor = kXpFace,
                                .menuBarHeight = 22,
                                .roundCorner = 13,
                                .titleFont = {"Tahoma", -11, true, kWhite}};

// The system cursor of a cursor number as the dialog's properties give it
// (0: none of its own, the window class's arrow).
HCURSOR CursorOf(short cursor)
{
    struct Entry {
        short number;
        const wchar_t* id;
    };
    static const Entry kCursors[] = {
        {-2, IDC_ARROW},     {-3, IDC_CROSS},   {-4, IDC_IBEAM},   {-6, IDC_SIZENESW},
        {-7, IDC_SIZENS},    {-8, IDC_SIZENWSE}, {-9, IDC_SIZEWE},  {-10, IDC_UPARROW},
        {-11, IDC_WAIT},     {-18, IDC_NO},     {-19, IDC_APPSTARTING},
        {-20, IDC_HELP},     {-21, IDC_HAND},   {-22, IDC_SIZEALL},
    };
    for (const Entry& entry : kCursors)
        if (entry.number == cursor)
            return LoadCursorW(nullptr, entry.id);
    return nullptr;
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

} // namespace

// A cursor of its own over a window of another class.
class TfrmMsg::TCursorOver {
public:
    TCursorOver(HWND window, HCURSOR cursor)
        : cursor_(cursor), hook_(window, [this](UINT message, WPARAM wParam, LPARAM lParam) {
              return Message(message, wParam, lParam);
          })
    {
    }

private:
    LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) {
            SetCursor(cursor_);
            return TRUE;
        }
        return hook_.CallPrevious(message, wParam, lParam);
    }

    HCURSOR cursor_; // a shared system cursor: nothing to free
    TWindowHook hook_;
};

// --- TMessagePicture --------------------------------------------------------

void TMessagePicture::Create(TWindow& parent, const TBounds& bounds)
{
    CreateCustom(parent, L"TMessagePicture", bounds, "");
    SetTransparent(true);
}

void TMessagePicture::SetPicture(TGdiObject picture)
{
    picture_ = std::move(picture);
    const SIZE size = BitmapSize(picture_.Handle());
    if (Handle() && size.cx > 0 && size.cy > 0)
        SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void TMessagePicture::Paint(HDC dc, const RECT&)
{
    DrawBitmap(dc, picture_.Handle(), 0, 0, true, RGB(255, 0, 255));
}

bool TMessagePicture::ControlMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message == WM_NCHITTEST) {
        result = HTTRANSPARENT;
        return true;
    }
    return false;
}

// --- TfrmMsg ------------------------------------------------------------------

TfrmMsg::TfrmMsg()
{
    // A dialog frame around a client area of 336 x 130.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT outer{0, 0, 336, 130};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    CreateForm({"", {192, 107, outer.right - outer.left, outer.bottom - outer.top}, style, exStyle,
                L"MS Sans Serif", 11});
    SetMinWidth(150);
    SetKeyPreview(true);
    OnKeyDown = [this](WORD& key, TShiftState shift) { FormKeyDown(key, shift); };

    suiForm1.Create(*this);
    suiForm1.SetLook(kMessageLook);
    TsuiTitleBar& bar = suiForm1.TitleBar();
    bar.ClearButtons();
    TsuiTitleBarButton& close = bar.AddButton();
    close.SetButtonType(suiClose);
    close.SetUIStyle(WinXP, nullptr);
    close.SetTop(5);

    // The message keeps its width and grows downwards with its lines.
    lbl.Create(suiForm1, {kDialogMessageLeftBesidePicture, kDialogMessageTop, kDialogMessageWidth, 13}, "", Font());
    lbl.SetAutoSize(false);
    lbl.SetBounds({kDialogMessageLeftBesidePicture, kDialogMessageTop, kDialogMessageWidth, 13});
    lbl.SetWordWrap(true);
    lbl.SetAutoSize(true);
    Image1.Create(suiForm1, {kDialogPictureLeft, kDialogMessageTop, kDialogPictureSize, kDialogPictureSize});
}

TfrmMsg::~TfrmMsg()
{
    DestroyHandle();
}

void TfrmMsg::SetMessageFont(const TsuiFont& face, const TDisplayScale& scale)
{
    TsuiFont scaled = face;
    scaled.height = scale.FontHeight(face.height);
    TGdiObject font = MakeFont(scaled);
    if (!font)
        return;
    lbl.SetColor(ColorToRGB(face.color));
    lbl.SetFont(static_cast<HFONT>(font.Handle()));
    for (auto& button : buttons_)
        button->SetFont(static_cast<HFONT>(font.Handle()));
    // The old font goes only now that nothing draws with it.
    messageFont_ = std::move(font);
}

void TfrmMsg::PlaceMessage(const TBounds& bounds)
{
    // The width stays; the height follows the wrapped text.
    lbl.SetAutoSize(false);
    lbl.SetBounds(bounds);
    lbl.SetAutoSize(true);
}

TsuiButton& TfrmMsg::AddButton(const TBounds& bounds, short cursor)
{
    auto button = std::make_unique<TsuiButton>();
    button->Create(suiForm1, bounds, "", MessageFont() ? MessageFont() : Font());
    if (HCURSOR pointer = CursorOf(cursor))
        cursors_.push_back(std::make_unique<TCursorOver>(button->Handle(), pointer));
    buttons_.push_back(std::move(button));
    return *buttons_.back();
}

bool TfrmMsg::PositionArea(TPosition kind, const TWindow* owner, RECT& area) const
{
    switch (kind) {
    case poScreenCenter:
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return true;
    case poDesktopCenter:
        area.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        area.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        area.right = area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
        area.bottom = area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
        return true;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        HWND over = nullptr;
        if (kind == poOwnerFormCenter && dynamic_cast<const TForm*>(owner))
            over = owner->Handle();
        if (!over && Application.MainForm())
            over = Application.MainForm()->Handle();
        if (over && IsWindowVisible(over))
            area = WindowRect(over);
        else
            area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return true;
    }
    default:
        // Designed, and the system's default places, which it gives only
        // to a window being created: the designed place stays.
        area = WindowRect(Handle());
        return false;
    }
}

TDisplayScale TfrmMsg::ScaleWhereShown(TPosition kind, const TWindow* owner) const
{
    RECT area{};
    PositionArea(kind, owner, area);
    const POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    return ScaleAtPoint(centre);
}

void TfrmMsg::ApplyPosition(TPosition kind, const TWindow* owner)
{
    RECT area{};
    if (!PositionArea(kind, owner, area))
        return;
    const TBounds b = BoundsRect();
    int left = area.left + (area.right - area.left - b.width) / 2;
    int top = area.top + (area.bottom - area.top - b.height) / 2;
    // A dialog larger than the screen keeps its title bar on it.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        left = std::max<int>(std::min<int>(left, work.right - b.width), work.left);
        top = std::max<int>(std::min<int>(top, work.bottom - b.height), work.top);
    }
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TfrmMsg::RunModal()
{
    PostMessageW(Handle(), kFocusActiveControl, 0, 0);
    return ShowModal();
}

bool TfrmMsg::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != kFocusActiveControl)
        return false;
    if (activeControl_ && activeControl_->Handle() && IsWindowVisible(activeControl_->Handle()))
        activeControl_->SetFocus();
    result = 0;
    return true;
}

std::string TfrmMsg::CopyText() const
{
    std::vector<std::string> captions;
    for (const auto& button : buttons_)
        captions.push_back(button->Caption());
    return MessageDialogCopyText(suiForm1.Caption(), lbl.Text(), captions);
}

void TfrmMsg::FormKeyDown(WORD& key, TShiftState shift)
{
    if (key == 'C' && shift.ctrl)
        SetClipboardText(Handle(), CopyText());
}
