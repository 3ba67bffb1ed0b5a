#include "framework/HintWindow.h"

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/PaintBuffer.h"
#include "core/Unicode.h"

static const wchar_t kHintClass[] = L"THintWindow";
static const UINT kHintDelayMs = 500;

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

private:
    void Paint(HDC dc, const RECT& client)
    {
        FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        TSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        wchar_t text[1024];
        GetWindowTextW(Handle(), text, 1024);
        RECT r = client;
        InflateRect(&r, -2, -1);
        DrawTextW(dc, text, -1, &r, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    }

    TPaintBuffer buffer_;
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
    HWND window_ = popup_->Handle();
    std::wstring wide = Utf8ToWide(text);
    SetWindowTextW(window_, wide.c_str());
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    POINT cursor;
    GetCursorPos(&cursor);
    SetWindowPos(window_, HWND_TOPMOST, cursor.x, cursor.y + 20, size.cx + 8, size.cy + 4,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window_, nullptr, TRUE);
}

void THintWindow::Hide()
{
    if (popup_)
        ShowWindow(popup_->Handle(), SW_HIDE);
    shownFor_ = nullptr;
    pending_ = nullptr;
}
