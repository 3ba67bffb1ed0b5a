#include "framework/HintWindow.h"

#include "framework/Controls.h"
#include "framework/MonitorScale.h"
#include "framework/PaintBuffer.h"
#include "core/Unicode.h"

static const wchar_t kHintClass[] = L"THintWindow";
static const UINT kHintDelayMs = 500;

// The hint's designed places: the text inset in its window, the room around
// the text, the distance below the pointer, and the GUI font's height.
struct THintLayout {
    int insetX = 2, insetY = 1;
    int roomX = 8, roomY = 4;
    int belowPointer = 20;
    int fontHeight = -11;
};
constexpr THintLayout kHintLayout;

// The small window that shows a hint.
class THintPopup : public TWindow {
public:
    THintPopup()
    {
        static const TWindowClass hintClass{kHintClass};
        TCreateParams params;
        params.windowClass = &hintClass;
        params.style = WS_POPUP | WS_BORDER;
        params.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        CreateHandle(params);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            buffer_.Paint(Handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
            return 0;
        }
        if (message == WM_ERASEBKGND)
            return 1; // painted whole in WM_PAINT
        if (message == WM_NCHITTEST)
            return HTTRANSPARENT;
        return DefaultProc(message, wParam, lParam);
    }

public:
    // The font and the places of the scale of the monitor the hint shows on.
    void SetScale(const TDisplayScale& scale)
    {
        if (scale == scale_)
            return;
        scale_ = scale;
        font_ = TGdiObject();
        if (scale.IsIdentity())
            return;
        // The GUI font's face at the scale.
        LOGFONTW font{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        font.lfHeight = scale.FontHeight(kHintLayout.fontHeight);
        font.lfWidth = 0;
        font_ = TGdiObject(CreateFontIndirectW(&font));
    }
    const TDisplayScale& Scale() const { return scale_; }
    HGDIOBJ Font() const { return font_ ? font_.Handle() : GetStockObject(DEFAULT_GUI_FONT); }

private:
    void Paint(HDC dc, const RECT& client)
    {
        FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        TSelectObject font(dc, Font());
        wchar_t text[1024];
        GetWindowTextW(Handle(), text, 1024);
        RECT r = client;
        InflateRect(&r, -scale_.Length(kHintLayout.insetX), -scale_.Length(kHintLayout.insetY));
        DrawTextW(dc, text, -1, &r, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    }

    TPaintBuffer buffer_;
    TDisplayScale scale_;
    TGdiObject font_;
};

THintWindow::THintWindow() = default;
THintWindow::~THintWindow() = default;

void THintWindow::MouseMovedOver(HWND timerOwner, const TControl* control)
{
    const TControl* wanted = control && !control->Hint().empty() ? control : nullptr;
    if (wanted == shownFor_ || wanted == pending_)
        return;
    Hide();
    pending_ = wanted;
    if (wanted)
        SetTimer(timerOwner, kTimerId, kHintDelayMs, nullptr);
}

void THintWindow::TimerFired(HWND timerOwner)
{
    KillTimer(timerOwner, kTimerId);
    if (pending_)
        Show(pending_->Hint());
    shownFor_ = pending_;
    pending_ = nullptr;
}

void THintWindow::Show(const std::string& text)
{
    if (!popup_)
        popup_ = std::make_unique<THintPopup>();
    POINT cursor;
    GetCursorPos(&cursor);
    popup_->SetScale(ScaleAtPoint(cursor));
    const TDisplayScale& scale = popup_->Scale();
    HWND window = popup_->Handle();
    std::wstring wide = Utf8ToWide(text);
    SetWindowTextW(window, wide.c_str());
    SIZE size{};
    {
        TWindowDC dc(window);
        TSelectObject font(dc.Handle(), popup_->Font());
        GetTextExtentPoint32W(dc.Handle(), wide.c_str(), static_cast<int>(wide.size()), &size);
    }
    SetWindowPos(window, HWND_TOPMOST, cursor.x, cursor.y + scale.Length(kHintLayout.belowPointer),
                 size.cx + scale.Length(kHintLayout.roomX), size.cy + scale.Length(kHintLayout.roomY),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window, nullptr, TRUE);
}

void THintWindow::Hide()
{
    if (popup_)
        ShowWindow(popup_->Handle(), SW_HIDE);
    shownFor_ = nullptr;
    pending_ = nullptr;
}
