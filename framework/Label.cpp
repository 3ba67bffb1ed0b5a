#include "framework/Label.h"

#include "core/Unicode.h"

// Lines break between words; a word longer than the width is broken where
// it reaches the edge.
static const UINT kWrapFlags = DT_WORDBREAK | DT_NOPREFIX;

void TLabel::Create(TWindow& parent, const TBounds& bounds, const std::string& caption, HFONT font)
{
    CreateCustom(parent, L"TLabel", bounds, caption, 0, font);
    SetTransparent(true);
    AdjustSize();
}

void TLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustSize();
}

void TLabel::SetWordWrap(bool value)
{
    wordWrap_ = value;
    AdjustSize();
    Invalidate();
}

void TLabel::SetColor(COLORREF value)
{
    color_ = value;
    Invalidate();
}

SIZE TLabel::TextExtent() const
{
    const std::wstring text = Utf8ToWide(Text());
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Handle(), Font() ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    if (wordWrap_) {
        RECT r{0, 0, Width(), 0};
        DrawTextW(screen.Handle(), text.c_str(), -1, &r, DT_CALCRECT | kWrapFlags);
        return {Width(), r.bottom};
    }
    RECT r{0, 0, 0, 0};
    DrawTextW(screen.Handle(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    // The smoothed edge of the last glyph can reach one pixel past the
    // text's advance width: without that column a final ":" is lost.
    return {r.right > 0 ? r.right + 1 : 0, r.bottom};
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || !Handle())
        return;
    SIZE size = TextExtent();
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::Paint(HDC dc, const RECT& client)
{
    const std::wstring text = Utf8ToWide(Text());
    TSelectObject font(dc, Font() ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Enabled() ? color_ : GetSysColor(COLOR_GRAYTEXT));
    RECT r = client;
    DrawTextW(dc, text.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_NOPREFIX | (wordWrap_ ? kWrapFlags : DT_SINGLELINE));
}

bool TLabel::ControlMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message == WM_SETFONT) {
        AdjustSize();
        Invalidate();
        result = 0;
        return true;
    }
    if (message == WM_NCHITTEST) {
        // Clicks go to what lies beneath, as on a label without a window.
        result = HTTRANSPARENT;
        return true;
    }
    return false;
}
