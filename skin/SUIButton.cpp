#include "skin/SUIButton.h"

#include <algorithm>

#include "core/Unicode.h"
#include "framework/Accessible.h"
#include "framework/Form.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIHighContrast.h"
#include "skin/SUIPictures.h"

namespace {

const COLORREF kKeyColor = RGB(255, 0, 255);

// The frames of a strip, counted from 1; all empty when the strip is.
void CutFrames(const TGdiObject& strip, TGdiObject* frames, int count)
{
    for (int i = 0; i < count; ++i)
        frames[i] = strip ? CutFrame(strip.Handle(), count, i + 1) : TGdiObject();
}

void FillColor(HDC dc, const RECT& r, uint32_t color)
{
    TGdiObject brush(CreateSolidBrush(ColorToRGB(color)));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.Handle()));
}

// Visible, and enabled with every container up to its form.
bool CanTakeFocus(HWND window)
{
    if (!window || !IsWindowVisible(window))
        return false;
    for (HWND w = window; w; w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        if (!IsWindowEnabled(w))
            return false;
    return true;
}

// Edges count as inside.
bool InClient(HWND window, POINT at)
{
    RECT client{};
    GetClientRect(window, &client);
    return PointInRect(at, client);
}

// The end of a press by the mouse: the window lets the mouse go; true when
// the press began on it and ends over it.
bool EndMousePress(HWND window, bool& mouseDown, POINT at)
{
    const bool clicked = mouseDown && InClient(window, at);
    mouseDown = false;
    if (GetCapture() == window)
        ReleaseCapture();
    return clicked;
}

HFONT FontOrDefault(HFONT font)
{
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TextSize(HDC dc, const std::wstring& text)
{
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {r.right, r.bottom};
}

// The text without the blanks and control characters at its ends.
std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0, last = text.size();
    while (first < last && text[first] <= L' ')
        ++first;
    while (last > first && text[last - 1] <= L' ')
        --last;
    return text.substr(first, last - first);
}

} // namespace

// --- TsuiCustomButton -------------------------------------------------------

TsuiCustomButton::~TsuiCustomButton()
{
    DestroyHandle();
}

void TsuiCustomButton::Create(TWindow& parent, const TBounds& bounds, const std::string& caption, HFONT font)
{
    repeat_.OnTimer = [this] {
        if (OnMouseContinuouslyDown)
            OnMouseContinuouslyDown();
    };
    CreateCustom(parent, L"TsuiButton", bounds, caption, WS_TABSTOP, font);
    SetUIStyle(OwnerFormUIStyle(OwnerForm()));
}

void TsuiCustomButton::Restyle(TsuiRestyle)
{
    const TsuiStyleSource source = StyleSource();
    drawn_ = {source.UsesThemeFile(), source.Effective()};
    const TGdiObject strip = source.Image(SUI_THEME::ButtonImage);
    stripSize_ = BitmapSize(strip.Handle());
    CutFrames(strip, faces_, 3);
    SetTransparent(source.Bool(SUI_THEME::ButtonTransparentBool));
    AdjustSize();
    Invalidate();
}

void TsuiCustomButton::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustSize();
}

void TsuiCustomButton::AdjustSize()
{
    if (!autoSize_ || !Handle())
        return;
    // Without a face: the size of a standard button face strip.
    const bool empty = stripSize_.cx <= 0 || stripSize_.cy <= 0;
    const int width = (empty ? Scale().Length(74) : stripSize_.cx) / 3;
    const int height = empty ? Scale().Length(21) : stripSize_.cy;
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TsuiCustomButton::SetColor(uint32_t value)
{
    color_ = value;
    Invalidate();
}

void TsuiCustomButton::SetFocusedRectMargin(int value)
{
    focusedRectMargin_ = value;
    Invalidate();
}

void TsuiCustomButton::SetMouseContinuouslyDownInterval(int value)
{
    repeatInterval_ = value;
    if (repeat_.Enabled())
        repeat_.SetInterval(static_cast<unsigned>(std::max(value, 0)));
}

void TsuiCustomButton::Enter()
{
    if (mouseInside_)
        return;
    mouseInside_ = true;
    Invalidate();
    if (OnMouseEnter)
        OnMouseEnter();
}

void TsuiCustomButton::Leave()
{
    if (!mouseInside_)
        return;
    mouseInside_ = false;
    Unpress();
    Invalidate();
    if (OnMouseExit)
        OnMouseExit();
}

void TsuiCustomButton::Press(WORD key)
{
    pressed_ = true;
    pressedKey_ = key;
    if (key == 0 && !repeat_.Enabled() && repeatInterval_ > 0) {
        repeat_.SetInterval(static_cast<unsigned>(repeatInterval_));
        repeat_.SetEnabled(true);
    }
    Invalidate();
}

void TsuiCustomButton::Unpress()
{
    repeat_.SetEnabled(false);
    if (pressed_) {
        pressed_ = false;
        pressedKey_ = 0;
        Invalidate();
    }
}

void TsuiCustomButton::Click()
{
    Unpress();
    if (TabStop() && CanTakeFocus(Handle()) && !Focused())
        SetFocus();
    if (Parent())
        if (TForm* form = OwnerForm())
            form->SetModalResult(modalResult_);
    if (OnClick)
        OnClick();
}

bool TsuiCustomButton::DialogKey(WORD key, bool focused)
{
    // The key's release clicks (see ControlMessage); a key held down
    // repeats its press, which changes nothing.
    if (!focused || key != VK_RETURN || !Enabled())
        return false;
    if (!pressed_)
        Press(VK_RETURN);
    return true;
}

void TsuiCustomButton::MouseLeave()
{
    // While the button holds the mouse, its moves tell where it is.
    if (GetCapture() != Handle())
        Leave();
}

void TsuiCustomButton::FocusChanged(bool focused)
{
    // A key holding the button down is not released here any more.
    if (!focused && pressedKey_ != 0)
        Unpress();
    Invalidate();
}

void TsuiCustomButton::EnabledChanged(bool enabled)
{
    if (!enabled) {
        mouseDown_ = false;
        if (GetCapture() == Handle())
            ReleaseCapture();
        Unpress();
    }
    Invalidate();
}

bool TsuiCustomButton::MouseMove(POINT at)
{
    if (InClient(Handle(), at))
        Enter();
    else
        Leave();
    return false;
}

bool TsuiCustomButton::MouseDown(POINT, bool)
{
    SetCapture(Handle());
    mouseDown_ = true;
    Enter();
    Press(0);
    return true;
}

bool TsuiCustomButton::MouseUp(POINT at)
{
    if (EndMousePress(Handle(), mouseDown_, at))
        Click();
    else
        Unpress();
    return true;
}

void TsuiCustomButton::CaptureLost()
{
    // No click comes of this press.
    if (!mouseDown_)
        return;
    mouseDown_ = false;
    Unpress();
}

bool TsuiCustomButton::KeyDown(WORD key, bool)
{
    if ((key != VK_SPACE && key != VK_RETURN) || !Enabled())
        return false;
    if (!pressed_)
        Press(key);
    return true;
}

bool TsuiCustomButton::KeyUp(WORD key)
{
    if (!pressed_ || pressedKey_ == 0 || key != pressedKey_)
        return false;
    Unpress();
    Click();
    return true;
}

bool TsuiCustomButton::ControlMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message == BM_CLICK) {
        // Tools that drive buttons (accessibility, automation) click it as
        // they would a system button.
        Click();
        return true;
    }
    if (message == WM_SETFONT) {
        Invalidate();
        return true;
    }
    return false;
}

void TsuiCustomButton::PaintFace(HDC dc, const RECT& client)
{
    const int frame = !Enabled() ? 0 : pressed_ ? 2 : mouseInside_ ? 1 : 0;
    const HGDIOBJ face = faces_[frame].Handle();
    const SIZE size = BitmapSize(face);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    TMemoryDC source(dc, face);
    // The corners as they are; magenta is the key colour, so what lies
    // behind the button (or its Color) shows in rounded corners.
    TsuiFacePiece corners[4];
    ButtonCornerPieces(size.cx, size.cy, client.right, client.bottom, corners);
    for (const TsuiFacePiece& piece : corners) {
        const int w = piece.source.Width(), h = piece.source.Height();
        if (w > 0 && h > 0)
            TransparentBlt(dc, piece.x, piece.y, w, h, source.Handle(), piece.source.left, piece.source.top, w, h,
                           kKeyColor);
    }
    // The face's middle rows and columns stretched over the rest.
    TsuiFaceStretch strips[5];
    ButtonEdgePieces(size.cx, size.cy, client.right, client.bottom, strips);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (const TsuiFaceStretch& strip : strips) {
        const TsuiRect& s = strip.source;
        const TsuiRect& t = strip.target;
        if (s.Width() > 0 && s.Height() > 0 && t.Width() > 0 && t.Height() > 0)
            TransparentBlt(dc, t.left, t.top, t.Width(), t.Height(), source.Handle(), s.left, s.top, s.Width(),
                           s.Height(), kKeyColor);
    }
}

std::optional<POINT> TsuiCustomButton::PaintGlyph(HDC, const RECT&, SIZE, bool)
{
    return std::nullopt;
}

void TsuiCustomButton::PaintCaption(HDC dc, const RECT& client, bool bold)
{
    const std::wstring caption = Trimmed(Utf8ToWide(Text()));
    HFONT font = FontOrDefault(Font());
    TGdiObject boldFont;
    if (bold) {
        LOGFONTW face{};
        GetObjectW(font, sizeof face, &face);
        face.lfWeight = FW_BOLD;
        boldFont = TGdiObject(CreateFontIndirectW(&face));
        if (boldFont)
            font = static_cast<HFONT>(boldFont.Handle());
    }
    TSelectObject selected(dc, font);
    const SIZE text = caption.empty() ? SIZE{0, 0} : TextSize(dc, caption);
    // The glyph is drawn even when there is no caption.
    const std::optional<POINT> origin = PaintGlyph(dc, client, text, pressed_);
    if (caption.empty())
        return;
    SetBkMode(dc, TRANSPARENT);
    auto draw = [&](int dx, int dy, COLORREF color) {
        SetTextColor(dc, color);
        if (origin) {
            RECT r{origin->x + dx, origin->y + dy, origin->x + dx + text.cx, origin->y + dy + text.cy};
            DrawTextW(dc, caption.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        } else {
            RECT r{client.left + dx, client.top + dy, client.right + dx, client.bottom + dy};
            DrawTextW(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    };
    const int shift = Scale().Length(1);
    if (!Enabled()) {
        draw(shift, shift, RGB(255, 255, 255));
        draw(0, 0, RGB(0x80, 0x80, 0x80));
    } else if (pressed_) {
        draw(shift, shift, SystemColor(TsuiColorRole::ButtonText));
    } else {
        draw(0, 0, SystemColor(TsuiColorRole::ButtonText));
    }
}

void TsuiCustomButton::Paint(HDC dc, const RECT& client)
{
    const bool highContrast = HighContrastOn();
    if (highContrast)
        DrawSystemButtonFace(dc, client, Scale().Length(1));
    if (!Transparent() && !highContrast)
        FillColor(dc, client, color_);
    if (!highContrast)
        PaintFace(dc, client);
    // The rounded faces show the focus by a bold caption, the others by a
    // dotted rectangle.
    bool focusedLook = false;
    if (Focused() && TabStop()) {
        const bool rounded = !highContrast && !drawn_.useThemeFile && StyleTraits(drawn_.effectiveStyle).roundedButtons;
        if (rounded) {
            focusedLook = true;
        } else {
            const int m = Scale().Length(focusedRectMargin_);
            RECT r{client.left + m, client.top + m, client.right - m, client.bottom - m};
            if (r.right > r.left && r.bottom > r.top)
                DrawFocusRect(dc, &r);
        }
    }
    PaintCaption(dc, client, focusedLook);
}

// --- TsuiButton ---------------------------------------------------------------

void TsuiButton::SetDefault(bool value)
{
    // The default button is looked for when Enter is pressed; nothing on
    // the form needs to be told.
    default_ = value;
    Invalidate();
}

bool TsuiButton::DialogKey(WORD key, bool focused)
{
    if (TsuiCustomButton::DialogKey(key, focused))
        return true;
    const bool wanted = (key == VK_RETURN && default_) || (key == VK_ESCAPE && cancel_);
    if (!wanted || !CanTakeFocus(Handle()))
        return false;
    const TShiftState shift = TShiftState::Current();
    if (shift.shift || shift.alt || shift.ctrl)
        return false;
    Click();
    return true;
}

void TsuiButton::SetGlyph(TGdiObject glyph)
{
    glyph_ = std::move(glyph);
    Invalidate();
}

void TsuiButton::SetLayout(TsuiButtonLayout value)
{
    layout_ = value;
    Invalidate();
}

void TsuiButton::SetSpacing(int value)
{
    spacing_ = value;
    Invalidate();
}

std::optional<POINT> TsuiButton::PaintGlyph(HDC dc, const RECT& client, SIZE text, bool pressed)
{
    const SIZE size = BitmapSize(glyph_.Handle());
    if (size.cx <= 0 || size.cy <= 0)
        return std::nullopt;
    const TsuiGlyphPlace place = PlaceGlyphAndText(layout_, client.right, client.bottom, size.cx, size.cy, text.cx,
                                                   text.cy, spacing_);
    // Two frames side by side: normal, then disabled.
    const bool twoFrames = size.cx == 2 * size.cy;
    const int width = twoFrames ? size.cy : size.cx;
    const int left = twoFrames && !Enabled() ? width : 0;
    const int shift = pressed ? Scale().Length(1) : 0;
    TMemoryDC source(dc, glyph_.Handle());
    const COLORREF key = GetPixel(source.Handle(), 0, size.cy - 1);
    TransparentBlt(dc, place.glyph.x + shift, place.glyph.y + shift, width, size.cy, source.Handle(), left, 0, width,
                   size.cy, key);
    return POINT{place.text.x, place.text.y};
}

// --- TsuiCheckBox -------------------------------------------------------------

TsuiCheckBox::~TsuiCheckBox()
{
    DestroyHandle();
}

void TsuiCheckBox::Create(TWindow& parent, const TBounds& bounds, const std::string& caption, bool checked,
                          HFONT font)
{
    checked_ = checked;
    TBounds b = bounds;
    if (b.width <= 0)
        b.width = 93;
    if (b.height <= 0)
        b.height = 17;
    CreateCustom(parent, L"TsuiCheckBox", b, caption, WS_TABSTOP, font);
    SetUIStyle(OwnerFormUIStyle(OwnerForm()));
}

void TsuiCheckBox::Restyle(TsuiRestyle)
{
    const TsuiStyleSource source = StyleSource();
    striped_ = !source.UsesThemeFile() && StyleTraits(source.Effective()).pinstripedControls;
    CutFrames(source.Image(SUI_THEME::CheckBoxImage), glyphs_, 4);
    AdjustSize();
    Invalidate();
}

void TsuiCheckBox::SetChecked(bool value)
{
    if (checked_ == value)
        return;
    checked_ = value;
    Invalidate();
    NotifyAccessible(Handle(), EVENT_OBJECT_STATECHANGE);
    if (OnChange)
        OnChange();
}

void TsuiCheckBox::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustSize();
}

void TsuiCheckBox::SetColor(uint32_t value)
{
    color_ = value;
    Invalidate();
}

void TsuiCheckBox::AdjustSize()
{
    if (!autoSize_ || !Handle())
        return;
    const SIZE glyph = BitmapSize(glyphs_[0].Handle());
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Handle(), FontOrDefault(Font()));
    const int textHeight = TextSize(screen.Handle(), L"W").cy;
    const std::wstring caption = Utf8ToWide(Text());
    const int textWidth = caption.empty() ? 0 : TextSize(screen.Handle(), caption).cx;
    const TDisplayScale& scale = Scale();
    const int height = std::max<int>(textHeight + scale.Length(2), glyph.cy) + scale.Length(4);
    const int width = glyph.cx + scale.Length(8) + textWidth;
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TsuiCheckBox::GlyphFrame() const
{
    if (Enabled())
        return checked_ ? 1 : 2;
    return checked_ ? 3 : 4;
}

void TsuiCheckBox::UserToggle()
{
    Toggle();
    if (OnClick)
        OnClick();
}

// The MacOS glyph's pinstripes continue those of the form's background
// tile, which repeat every 4 designed rows (times the pattern factor) from
// the form's top; the glyph's first row is the pattern's third. So the glyph
// sits as near the middle as lets its stripes meet the form's. At the design
// scale it is placed so by the form's layout.
int TsuiCheckBox::GlyphTop(int room) const
{
    const int centred = room / 2;
    if (!striped_ || Scale().IsIdentity())
        return centred;
    const int factor = Scale().PatternFactor(), period = kStripePeriod * factor;
    POINT corner{0, 0};
    MapWindowPoints(Handle(), GetParent(Handle()), &corner, 1);
    const int phase = ((corner.y + centred - kGlyphStripePhase * factor) % period + period) % period;
    return phase <= period / 2 ? centred - phase : centred + period - phase;
}

void TsuiCheckBox::Paint(HDC dc, const RECT& client)
{
    if (!Transparent())
        FillColor(dc, client, color_);
    const HGDIOBJ glyph = glyphs_[GlyphFrame() - 1].Handle();
    const SIZE size = BitmapSize(glyph);
    const TDisplayScale& scale = Scale();
    const bool highContrast = HighContrastOn();
    const TBounds place{scale.Length(1), GlyphTop(client.bottom - size.cy), size.cx, size.cy};
    if (highContrast)
        DrawSystemCheckBox(dc, place, checked_, Enabled());
    else
        DrawBitmap(dc, glyph, place.left, place.top);

    TSelectObject font(dc, FontOrDefault(Font()));
    const int textHeight = TextSize(dc, L"W").cy;
    const int y = (client.bottom - textHeight) / 2;
    const std::wstring caption = Utf8ToWide(Text());
    if (!caption.empty()) {
        // A disabled box says so by its glyph; the caption keeps its colour.
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, highContrast ? SystemColor(TsuiColorRole::ButtonText) : GetSysColor(COLOR_WINDOWTEXT));
        RECT r{size.cx + scale.Length(4), y, client.right, y + textHeight};
        DrawTextW(dc, caption.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (Focused()) {
        RECT r{size.cx + scale.Length(3), y, client.right, y + textHeight + scale.Length(2)};
        DrawFocusRect(dc, &r);
    }
}

bool TsuiCheckBox::MouseDown(POINT, bool)
{
    if (TabStop() && CanTakeFocus(Handle()))
        SetFocus();
    SetCapture(Handle());
    mouseDown_ = true;
    return true;
}

bool TsuiCheckBox::MouseUp(POINT at)
{
    if (EndMousePress(Handle(), mouseDown_, at))
        UserToggle();
    return true;
}

void TsuiCheckBox::CaptureLost()
{
    mouseDown_ = false;
}

bool TsuiCheckBox::KeyDown(WORD key, bool repeated)
{
    if (key != VK_SPACE)
        return false;
    // A key held down repeats its message; the box toggles once.
    if (!repeated)
        UserToggle();
    return true;
}

bool TsuiCheckBox::ControlMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    // It answers like a system check box to tools that read or click one.
    if (message == BM_GETCHECK) {
        result = checked_ ? BST_CHECKED : BST_UNCHECKED;
        return true;
    }
    if (message == BM_CLICK) {
        UserToggle();
        return true;
    }
    if (message == WM_SETFONT) {
        AdjustSize();
        Invalidate();
        return true;
    }
    return false;
}
