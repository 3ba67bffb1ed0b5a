#include "app/MarkupStrip.h"

#include <commctrl.h>

#include <array>

#include "core/Unicode.h"
#include "framework/Application.h"
#include "framework/Resources.h"
#include "resources/StringIds.h"
#include "skin/SUIPictures.h"

namespace {

// The strip's layout in designed (96 DPI) pixels: square buttons in a row,
// a gap between the groups (tools; colour and width; undo and redo; the
// endings), a padding around.
namespace strip {
constexpr int kButton = 28;
constexpr int kIcon = 20;
constexpr int kPadding = 4;
constexpr int kGroupGap = 8;
constexpr int kSwatch = 14;
constexpr int kEdge = 1;
constexpr int kChosenEdge = 2;
} // namespace strip

// The first button of each group after the first.
constexpr std::array<int, 3> kGroupStarts{int(TStripButton::Colour), int(TStripButton::Undo),
                                          int(TStripButton::Pin)};

struct TStripLook {
    COLORREF background; // the icons are drawn over exactly this
    COLORREF chosen;     // the chosen tool's frame
    COLORREF focus;      // the keyboard's focus mark
    COLORREF glyph;      // the colour swatch's edge, the width button's bar
    BYTE disabledVeil;   // undo and redo with nothing to do: this much background over the icon
};
constexpr TStripLook kLook{RGB(0x2B, 0x2B, 0x2B), RGB(0x30, 0x9C, 0xFF), RGB(0xFF, 0xFF, 0xFF),
                           RGB(0xED, 0xED, 0xED), 170};

// The icon frame of each button in the artwork; -1: drawn by the strip.
constexpr std::array<int, kStripButtonCount> kIconFrame{0, 1, 2, 3, 4, 5, 6, 7, 8, -1, -1, 9, 10, 11, 12, 13, 14};

struct TButtonText {
    const wchar_t* name;
    const wchar_t* key;
};
constexpr std::array<TButtonText, kStripButtonCount> kButtonTexts{{
    {L"Rectangle", L"R"}, {L"Ellipse", L"E"}, {L"Line", L"L"}, {L"Arrow", L"A"}, {L"Pen", L"P"},
    {L"Marker", L"H"}, {L"Text", L"T"}, {L"Step number", L"N"}, {L"Pixelate", L"X"},
    {L"Colour", L"1 to 8"}, {L"Width", L"[ and ]"}, {L"Undo", L"Ctrl+Z"}, {L"Redo", L"Ctrl+Y"},
    {L"Pin to the screen", L"Ctrl+P"}, {L"Copy to the clipboard", L"Ctrl+C"}, {L"Save", L"Enter"},
    {L"Close", L"Escape"},
}};

COLORREF ToColorRef(uint32_t rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Frame(HDC dc, const RECT& rect, int thickness, COLORREF colour)
{
    Fill(dc, {rect.left, rect.top, rect.right, rect.top + thickness}, colour);
    Fill(dc, {rect.left, rect.bottom - thickness, rect.right, rect.bottom}, colour);
    Fill(dc, {rect.left, rect.top, rect.left + thickness, rect.bottom}, colour);
    Fill(dc, {rect.right - thickness, rect.top, rect.right, rect.bottom}, colour);
}

// The buttons' left edges in designed pixels.
int DesignedLeft(int button)
{
    int left = strip::kPadding + button * strip::kButton;
    for (int start : kGroupStarts)
        if (button >= start)
            left += strip::kGroupGap;
    return left;
}

bool IsTool(int button)
{
    return button < kStripToolCount;
}

bool Disabled(int button, const TStripState& state)
{
    return (button == int(TStripButton::Undo) && !state.canUndo) ||
           (button == int(TStripButton::Redo) && !state.canRedo);
}

} // namespace

std::wstring StripButtonName(TStripButton button)
{
    const TButtonText& text = kButtonTexts[size_t(button)];
    return std::wstring(text.name) + L" (" + text.key + L")";
}

TMarkupStrip::TMarkupStrip() = default;

TMarkupStrip::~TMarkupStrip()
{
    DestroyHandle();
}

SIZE TMarkupStrip::SizeAt(const TDisplayScale& scale)
{
    const int width = DesignedLeft(kStripButtonCount - 1) + strip::kButton + strip::kPadding;
    return {scale.Length(width), scale.Length(strip::kButton + 2 * strip::kPadding)};
}

void TMarkupStrip::Create(TWindow& parent, const TDisplayScale& scale, int left, int top)
{
    scale_ = scale;
    icons_ = LoadSkinPicture("MARKUP_TOOLS", scale);
    if (icons_)
        iconsDC_ = std::make_unique<TMemoryDC>(nullptr, icons_.Handle());
    const SIZE size = SizeAt(scale);
    CreateCustom(parent, L"SnapquillMarkupStrip", {left, top, size.cx, size.cy}, "");
    AddTooltips();
}

void TMarkupStrip::MoveTo(int left, int top)
{
    SetWindowPos(Handle(), HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void TMarkupStrip::SetState(const TStripState& state)
{
    const bool focusMoved = state.focused != state_.focused;
    state_ = state;
    Invalidate();
    if (focusMoved && state.focused >= 0)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, state.focused + 1);
}

RECT TMarkupStrip::ButtonRect(int button) const
{
    const int left = scale_.Length(DesignedLeft(button));
    const int top = scale_.Length(strip::kPadding);
    const int side = scale_.Length(strip::kButton);
    return {left, top, left + side, top + side};
}

int TMarkupStrip::ButtonAt(POINT at) const
{
    for (int button = 0; button < kStripButtonCount; ++button) {
        const RECT rect = ButtonRect(button);
        if (PtInRect(&rect, at))
            return button;
    }
    return -1;
}

void TMarkupStrip::Paint(HDC dc, const RECT& client)
{
    Fill(dc, client, kLook.background);
    for (int button = 0; button < kStripButtonCount; ++button)
        PaintButton(dc, button);
}

void TMarkupStrip::PaintButton(HDC dc, int button)
{
    const RECT rect = ButtonRect(button);
    if (button == int(TStripButton::Colour))
        PaintColour(dc, rect);
    else if (button == int(TStripButton::Width))
        PaintWidth(dc, rect);
    else
        PaintIcon(dc, kIconFrame[size_t(button)], rect);
    if (Disabled(button, state_))
        Veil(dc, rect);
    if (button == state_.tool)
        Frame(dc, rect, scale_.Length(strip::kChosenEdge), kLook.chosen);
    if (button == state_.focused) {
        RECT focus = rect;
        InflateRect(&focus, -scale_.Length(strip::kChosenEdge) - 1, -scale_.Length(strip::kChosenEdge) - 1);
        SetTextColor(dc, kLook.focus);
        SetBkColor(dc, kLook.background);
        DrawFocusRect(dc, &focus);
    }
}

// The frame of the icon strip centred in place.
void TMarkupStrip::PaintIcon(HDC dc, int frame, const RECT& place)
{
    if (!iconsDC_)
        return;
    const int side = scale_.Length(strip::kIcon);
    const int left = place.left + (place.right - place.left - side) / 2;
    const int top = place.top + (place.bottom - place.top - side) / 2;
    BitBlt(dc, left, top, side, side, iconsDC_->Handle(), frame * side, 0, SRCCOPY);
}

// The background laid thinly over a button that has nothing to do.
void TMarkupStrip::Veil(HDC dc, const RECT& place)
{
    void* bits = nullptr;
    TGdiObject pixel = CreateTopDownDib32(dc, 1, 1, bits);
    if (!pixel || !bits)
        return;
    const COLORREF c = kLook.background;
    *static_cast<uint32_t*>(bits) = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
    TMemoryDC source(dc, pixel.Handle());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, kLook.disabledVeil, 0};
    AlphaBlend(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, source.Handle(), 0, 0,
               1, 1, blend);
}

void TMarkupStrip::PaintColour(HDC dc, const RECT& place)
{
    const int side = scale_.Length(strip::kSwatch);
    const int left = place.left + (place.right - place.left - side) / 2;
    const int top = place.top + (place.bottom - place.top - side) / 2;
    const RECT swatch{left, top, left + side, top + side};
    Fill(dc, swatch, ToColorRef(state_.colour));
    Frame(dc, swatch, scale_.Length(strip::kEdge), kLook.glyph);
}

// A bar as thick as the stroke (at most the icon's height).
void TMarkupStrip::PaintWidth(HDC dc, const RECT& place)
{
    const int length = scale_.Length(strip::kIcon) - scale_.Length(2);
    const int thickness = std::min(state_.width, length);
    const int left = place.left + (place.right - place.left - length) / 2;
    const int top = place.top + (place.bottom - place.top - thickness) / 2;
    Fill(dc, {left, top, left + length, top + thickness}, kLook.glyph);
}

bool TMarkupStrip::MouseDown(POINT at, bool)
{
    const int button = ButtonAt(at);
    if (button >= 0 && !Disabled(button, state_) && OnPress)
        OnPress(TStripButton(button));
    return true;
}

void TMarkupStrip::AddTooltips()
{
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                               0, 0, 0, Handle(), nullptr, Application.Instance(), nullptr);
    if (!tooltip_)
        return;
    for (int button = 0; button < kStripButtonCount; ++button) {
        const std::wstring text = StripButtonName(TStripButton(button));
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = Handle();
        tool.uId = UINT_PTR(button + 1);
        tool.rect = ButtonRect(button);
        tool.lpszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

bool TMarkupStrip::Describe(TAccessibleInfo& info)
{
    info.name = Utf8ToWide(LoadStr(IDS_MARKUP_STRIP_NAME));
    info.role = ROLE_SYSTEM_TOOLBAR;
    for (int button = 0; button < kStripButtonCount; ++button) {
        TAccessiblePart part;
        part.name = StripButtonName(TStripButton(button));
        part.role = IsTool(button) ? ROLE_SYSTEM_RADIOBUTTON : ROLE_SYSTEM_PUSHBUTTON;
        part.state = (button == state_.tool ? STATE_SYSTEM_CHECKED : 0) |
                     (button == state_.focused ? STATE_SYSTEM_FOCUSED : 0) |
                     (Disabled(button, state_) ? STATE_SYSTEM_UNAVAILABLE : 0) | STATE_SYSTEM_FOCUSABLE;
        part.bounds = ButtonRect(button);
        part.defaultAction = IsTool(button) ? L"Check" : L"Press";
        info.parts.push_back(part);
    }
    return true;
}

void TMarkupStrip::AccessibleAction(long part)
{
    if (part >= 1 && part <= kStripButtonCount && !Disabled(int(part - 1), state_) && OnPress)
        OnPress(TStripButton(part - 1));
}
