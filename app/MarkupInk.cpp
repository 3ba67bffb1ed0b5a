#include "app/MarkupInk.h"

#include <algorithm>
#include <cstring>

#include "core/Exception.h"
#include "imaging/GdiHandles.h"

namespace {

const wchar_t kFace[] = L"Tahoma";

TGdiObject InkFont(int height, bool bold)
{
    return TGdiObject(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                  DEFAULT_PITCH, kFace));
}

constexpr UINT kTextFormat = DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS;

// The size the text takes in the font; a line's height for empty text.
SIZE Measure(HDC dc, const std::wstring& text)
{
    RECT rect{0, 0, 0, 0};
    const std::wstring measured = text.empty() || text.back() == L'\n' ? text + L" " : text;
    DrawTextW(dc, measured.c_str(), int(measured.size()), &rect, kTextFormat | DT_CALCRECT);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// Draws the text white on black into a bitmap of its size and reads the
// green of each pixel as the ink's share.
TCoverage Ink(const std::wstring& text, int height, bool bold, TScreenPoint topLeft, bool centred)
{
    if (text.empty())
        return {};
    TWindowDC screen(nullptr);
    const TGdiObject font = InkFont(height, bold);
    TMemoryDC measure(screen.Handle(), font.Handle());
    const SIZE size = Measure(measure.Handle(), text);
    const int margin = std::max(1, height / 8); // italic overhangs and smoothing stay in
    const int width = size.cx + 2 * margin;
    const int rows = size.cy + 2 * margin;
    void* bits = nullptr;
    TGdiObject bitmap = CreateTopDownDib32(screen.Handle(), width, rows, bits);
    if (!bitmap || !bits)
        throw EOutOfResources("There is not enough memory to draw the text");
    {
        TMemoryDC dc(screen.Handle(), bitmap.Handle());
        TSelectObject selected(dc.Handle(), font.Handle());
        std::memset(bits, 0, size_t(width) * rows * 4);
        SetBkMode(dc.Handle(), TRANSPARENT);
        SetTextColor(dc.Handle(), RGB(255, 255, 255));
        RECT place{margin, margin, margin + size.cx, margin + size.cy};
        DrawTextW(dc.Handle(), text.c_str(), int(text.size()), &place, kTextFormat | (centred ? DT_CENTER : 0));
        GdiFlush();
    }
    TCoverage ink;
    const int left = centred ? topLeft.x - width / 2 : topLeft.x - margin;
    const int top = centred ? topLeft.y - rows / 2 : topLeft.y - margin;
    ink.area = {left, top, left + width, top + rows};
    ink.alpha.resize(size_t(width) * rows);
    const auto* pixel = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < ink.alpha.size(); ++i)
        ink.alpha[i] = uint8_t((pixel[i] >> 8) & 0xFF);
    return ink;
}

} // namespace

int TextFontHeight(int width)
{
    return 3 * width + 10;
}

int StepFontHeight(int width)
{
    return 2 * width + 8;
}

TCoverage TextInk(const std::wstring& text, int fontHeight, TScreenPoint topLeft)
{
    return Ink(text, fontHeight, false, topLeft, false);
}

TCoverage CentredInk(const std::wstring& text, int fontHeight, TScreenPoint centre)
{
    return Ink(text, fontHeight, true, centre, true);
}

TScreenRect CaretAfter(const std::wstring& text, int fontHeight, TScreenPoint topLeft, int caretWidth)
{
    TWindowDC screen(nullptr);
    const TGdiObject font = InkFont(fontHeight, false);
    TMemoryDC dc(screen.Handle(), font.Handle());
    const size_t lineStart = text.rfind(L'\n');
    const std::wstring lastLine = lineStart == std::wstring::npos ? text : text.substr(lineStart + 1);
    const SIZE all = Measure(dc.Handle(), text);
    const SIZE line = Measure(dc.Handle(), lastLine.empty() ? std::wstring() : lastLine);
    const int lineWidth = lastLine.empty() ? 0 : line.cx;
    const int bottom = topLeft.y + all.cy;
    return {topLeft.x + lineWidth, bottom - line.cy, topLeft.x + lineWidth + caretWidth, bottom};
}
