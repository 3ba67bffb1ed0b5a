#include "framework/Label.h"

#include <algorithm>
#include <cstdint>

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

// The right edge of the ink of a line of text drawn at x = 0 with the font
// selected in dc: the last glyph may reach past the advance width
// (a negative C width, or the smoothed edge of a glyph whose metrics are
// rounded), so the text is drawn off-screen and looked at.
static int InkRight(HDC dc, const std::wstring& text, SIZE extent)
{
    ABC abc{};
    int room = extent.cy;
    if (GetCharABCWidthsW(dc, text.back(), text.back(), &abc) && abc.abcC < 0)
        room -= abc.abcC;
    const int width = extent.cx + room, height = extent.cy;
    void* bits = nullptr;
    TGdiObject bitmap = CreateTopDownDib32(dc, width, height, bits);
    if (!bitmap || !bits)
        return extent.cx;
    TMemoryDC memory(dc, bitmap.Handle());
    TSelectObject font(memory.Handle(), GetCurrentObject(dc, OBJ_FONT));
    RECT all{0, 0, width, height};
    FillRect(memory.Handle(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(memory.Handle(), TRANSPARENT);
    SetTextColor(memory.Handle(), RGB(0, 0, 0));
    DrawTextW(memory.Handle(), text.c_str(), -1, &all, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (int x = width - 1; x >= extent.cx; --x)
        for (int y = 0; y < height; ++y)
            if ((pixels[size_t(y) * width + x] & 0xFFFFFF) != 0xFFFFFF)
                return x + 1;
    return extent.cx;
}

SIZE TLabel::TextExtent() const
{
    const std::wstring text = Utf8ToWide(Text());
    // Measured on a context with the label's font selected, as it paints.
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Handle(), Font() ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    if (wordWrap_) {
        RECT r{0, 0, Width(), 0};
        DrawTextW(screen.Handle(), text.c_str(), -1, &r, DT_CALCRECT | kWrapFlags);
        return {Width(), r.bottom};
    }
    RECT r{0, 0, 0, 0};
    DrawTextW(screen.Handle(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (r.right <= 0 || text.empty())
        return {0, r.bottom};
    // At least one column past the advance width for a smoothed edge, more
    // where the ink reaches further.
    return {std::max(static_cast<int>(r.right) + 1, InkRight(screen.Handle(), text, {r.right, r.bottom})), r.bottom};
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

bool TLabel::Describe(TAccessibleInfo& info)
{
    info.name = SpokenName();
    info.role = ROLE_SYSTEM_STATICTEXT;
    info.state = STATE_SYSTEM_READONLY;
    return true;
}
