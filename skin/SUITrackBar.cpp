#include "skin/SUITrackBar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Accessible.h"
#include "skin/SUIColors.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIHighContrast.h"
#include "skin/SUIPictures.h"

static const COLORREF kKeyColor = RGB(255, 0, 255);
static const unsigned kPageRepeatInterval = 100;
static const COLORREF kFocusDotColor = RGB(0, 0, 0);

void TsuiTrackBarSlider::Create(TWindow& parent)
{
    CreateCustom(parent, L"TsuiTrackBarSlider", {0, 0, 0, 0}, "");
    SetTransparent(true);
}

void TsuiTrackBarSlider::SetPicture(HGDIOBJ picture)
{
    picture_ = picture;
    const SIZE size = BitmapSize(picture);
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

// The focus rectangle: one pixel in two along the edge of the track bar's
// client area, drawn solid (not inverted), so that the slider can draw the
// same dots again over its picture. offset moves the bar's corner on dc;
// size is dc's.
static void DrawFocusDots(HDC dc, const RECT& bar, POINT offset, SIZE size)
{
    auto put = [&](int x, int y) {
        const int cx = x + offset.x, cy = y + offset.y;
        if ((x + y) % 2 == 0 && cx >= 0 && cy >= 0 && cx < size.cx && cy < size.cy)
            SetPixelV(dc, cx, cy, kFocusDotColor);
    };
    for (int x = bar.left; x < bar.right; ++x) {
        put(x, bar.top);
        put(x, bar.bottom - 1);
    }
    for (int y = bar.top + 1; y < bar.bottom - 1; ++y) {
        put(bar.left, y);
        put(bar.right - 1, y);
    }
}

void TsuiTrackBarSlider::Paint(HDC dc, const RECT& client)
{
    DrawBitmap(dc, picture_, 0, 0, true, kKeyColor);
    // The track bar's focus rectangle runs over the slider too.
    HWND bar = GetParent(Handle());
    if (bar && GetFocus() == bar) {
        RECT barClient{};
        GetClientRect(bar, &barClient);
        POINT corner{0, 0};
        MapWindowPoints(bar, Handle(), &corner, 1);
        DrawFocusDots(dc, barClient, corner, {client.right, client.bottom});
    }
}

bool TsuiTrackBarSlider::ControlMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message == WM_NCHITTEST) {
        // The track bar handles the mouse, on the slider as beside it.
        result = HTTRANSPARENT;
        return true;
    }
    return false;
}

TsuiTrackBar::~TsuiTrackBar()
{
    DestroyHandle();
}

void TsuiTrackBar::Create(TWindow& parent, const TBounds& bounds, int min, int max, int position, int pageSize,
                          int lineSize)
{
    range_.min = min;
    range_.max = std::max(min, max);
    range_.SetPosition(position);
    range_.SetPageSize(pageSize);
    range_.SetLineSize(lineSize);
    reported_ = range_.position;
    // The slider paints itself over the bar: the bar's paint leaves it out.
    CreateCustom(parent, L"TsuiTrackBar", bounds, "", WS_TABSTOP | WS_CLIPCHILDREN);
    slider_.Create(*this);
    SetUIStyle(OwnerFormUIStyle(OwnerForm()));
}

void TsuiTrackBar::Restyle(TsuiRestyle)
{
    const TsuiStyleSource source = StyleSource();
    const int sliderKey = Vertical() ? SUI_THEME::TrackBarSliderVImage : SUI_THEME::TrackBarSliderImage;
    // A picture the style lacks leaves the control without it.
    barImage_ = source.Image(SUI_THEME::TrackBarBarImage);
    sliderImage_ = source.Image(sliderKey);
    if (look_.parentColor)
        look_.color = source.Color(SUI_THEME::FormBackgroundColor);
    if (!source.UsesThemeFile() && StyleTraits(source.Effective()).pinstripedControls)
        TCustomControl::SetTransparent(true);
    PicturesChanged();
}

void TsuiTrackBar::SetOrientation(TsuiTrackBarOrientation value)
{
    if (orientation_ == value)
        return;
    orientation_ = value;
    if (Handle()) {
        const TBounds b = Bounds();
        SetBounds({b.left, b.top, b.height, b.width});
    }
    Restyle(TsuiRestyle::Style);
}

void TsuiTrackBar::SetMin(int value)
{
    range_.SetMin(value);
    Changed();
}

void TsuiTrackBar::SetMax(int value)
{
    range_.SetMax(value);
    Changed();
}

void TsuiTrackBar::SetPosition(int value)
{
    range_.SetPosition(value);
    Changed();
}

TsuiTrackBarLook TsuiTrackBar::Look() const
{
    TsuiTrackBarLook look = look_;
    look.transparent = Transparent();
    return look;
}

void TsuiTrackBar::SetLook(const TsuiTrackBarLook& look)
{
    SetShowTick(look.showTick);
    SetFrequency(look.frequency);
    SetTransparent(look.transparent);
    // Taking the parent's colour again restyles: only when it was off.
    if (!look.parentColor)
        SetColor(look.color);
    else if (!look_.parentColor)
        SetParentColor(true);
}

void TsuiTrackBar::SetTransparent(bool value)
{
    TCustomControl::SetTransparent(value);
    Repaint();
}

void TsuiTrackBar::SetParentColor(bool value)
{
    look_.parentColor = value;
    if (value)
        Restyle(TsuiRestyle::Style);
}

void TsuiTrackBar::SetColor(uint32_t value)
{
    look_.color = value;
    look_.parentColor = false;
    Repaint();
}

void TsuiTrackBar::SetBarImage(TGdiObject image)
{
    barImage_ = std::move(image);
    PicturesChanged();
}

void TsuiTrackBar::SetSliderImage(TGdiObject image)
{
    sliderImage_ = std::move(image);
    PicturesChanged();
}

int TsuiTrackBar::TrackLength() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return Vertical() ? client.bottom : client.right;
}

int TsuiTrackBar::SliderLength() const
{
    const SIZE size = BitmapSize(sliderImage_.Handle());
    return Vertical() ? size.cy : size.cx;
}

RECT TsuiTrackBar::SliderRect() const
{
    RECT r{};
    GetWindowRect(slider_.Handle(), &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void TsuiTrackBar::PicturesChanged()
{
    if (!Handle())
        return;
    slider_.SetPicture(sliderImage_.Handle());
    // As thick as the thicker of the two pictures.
    const SIZE barSize = BitmapSize(barImage_.Handle());
    const SIZE sliderSize = BitmapSize(sliderImage_.Handle());
    const int thickness = Vertical() ? std::max(barSize.cy, sliderSize.cx) : std::max(barSize.cy, sliderSize.cy);
    const TBounds b = Bounds();
    if (thickness > 0 && thickness != (Vertical() ? b.width : b.height))
        SetBounds(Vertical() ? TBounds{b.left, b.top, thickness, b.height} : TBounds{b.left, b.top, b.width, thickness});
    MakeBar();
    PlaceSlider();
    Repaint();
}

void TsuiTrackBar::MakeBar()
{
    bar_ = TGdiObject();
    const SIZE picture = BitmapSize(barImage_.Handle());
    const int length = TrackLength();
    if (picture.cx <= 0 || picture.cy <= 0 || length <= 0)
        return;
    // Made lying down and turned for the vertical bar. Around the picture
    // the key colour, so that the control's own background shows there.
    TWindowDC screen(nullptr);
    TGdiObject bar(CreateCompatibleBitmap(screen.Handle(), length, picture.cy));
    if (!bar)
        throw EOutOfResources("Out of system resources");
    {
        TMemoryDC dc(screen.Handle(), bar.Handle());
        RECT all{0, 0, length, picture.cy};
        TGdiObject key(CreateSolidBrush(kKeyColor));
        FillRect(dc.Handle(), &all, static_cast<HBRUSH>(key.Handle()));
        DrawThreeSlice(barImage_.Handle(), dc.Handle(), all, false);
    }
    bar_ = Vertical() ? RotateBitmap(bar.Handle()) : std::move(bar);
}

void TsuiTrackBar::PlaceSlider()
{
    if (!Handle())
        return;
    RECT client{};
    GetClientRect(Handle(), &client);
    const SIZE size = BitmapSize(sliderImage_.Handle());
    const int along = SliderLeft(range_, TrackLength(), SliderLength());
    const int x = Vertical() ? SliderTop(client.right, size.cx) : along;
    const int y = Vertical() ? along : SliderTop(client.bottom, size.cy);
    // The slider shows what lies beneath it: drawn anew at its new place.
    SetWindowPos(slider_.Handle(), nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void TsuiTrackBar::Repaint()
{
    if (Handle())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TsuiTrackBar::Changed()
{
    PlaceSlider();
    Repaint();
    if (range_.position == reported_)
        return;
    reported_ = range_.position;
    NotifyAccessible(Handle(), EVENT_OBJECT_VALUECHANGE);
    if (OnChange)
        OnChange();
}

void TsuiTrackBar::Paint(HDC dc, const RECT& client)
{
    if (!Transparent()) {
        TGdiObject brush(CreateSolidBrush(DrawnColor(look_.color, TsuiColorRole::ButtonFace)));
        FillRect(dc, &client, static_cast<HBRUSH>(brush.Handle()));
    }
    const SIZE bar = BitmapSize(bar_.Handle());
    if (Vertical())
        DrawBitmap(dc, bar_.Handle(), (client.right - bar.cx) / 2, 0, true, kKeyColor);
    else
        DrawBitmap(dc, bar_.Handle(), 0, (client.bottom - bar.cy) / 2, true, kKeyColor);
    // The focus rectangle last, whole over the bar (the slider draws its
    // part over its picture).
    if (Focused())
        DrawFocusDots(dc, client, {0, 0}, {client.right, client.bottom});
}

bool TsuiTrackBar::KeyDown(WORD key, bool)
{
    switch (key) {
    case VK_PRIOR:
        SetPosition(range_.position - range_.pageSize);
        break;
    case VK_NEXT:
        SetPosition(range_.position + range_.pageSize);
        break;
    case VK_END:
        SetPosition(range_.max);
        break;
    case VK_HOME:
        SetPosition(range_.min);
        break;
    case VK_LEFT:
    case VK_UP:
        SetPosition(range_.position - range_.lineSize);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        SetPosition(range_.position + range_.lineSize);
        break;
    }
    return true;
}

bool TsuiTrackBar::MouseDown(POINT p, bool)
{
    pointer_ = p;
    const RECT slider = SliderRect();
    const bool canFocus = TabStop() && IsWindowEnabled(Handle()) && IsWindowVisible(Handle());
    if (PtInRect(&slider, p)) {
        dragging_ = true;
        grabOffset_ = Along(p) - (Vertical() ? slider.top : slider.left);
        if (canFocus)
            SetFocus();
        SetCapture(Handle());
        return true;
    }
    PageTowardsPointer(range_.pageSize);
    if (!pageTimer_) {
        pageTimer_ = std::make_unique<TTimer>();
        pageTimer_->OnTimer = [this] { PageTowardsPointer(Vertical() ? range_.pageSize : 3 * range_.pageSize); };
        pageTimer_->SetInterval(kPageRepeatInterval);
        pageTimer_->SetEnabled(true);
    }
    if (canFocus)
        SetFocus();
    return true;
}

void TsuiTrackBar::PageTowardsPointer(int step)
{
    const RECT slider = SliderRect();
    const int along = Along(pointer_);
    const int sliderStart = Vertical() ? slider.top : slider.left;
    const int sliderEnd = Vertical() ? slider.bottom : slider.right;
    const int atPointer = PositionAtPoint(range_, along, TrackLength(), SliderLength());
    if (along >= sliderEnd)
        SetPosition(std::min(range_.position + step, atPointer));
    else if (along < sliderStart)
        SetPosition(std::max(range_.position - step, atPointer));
}

bool TsuiTrackBar::MouseMove(POINT p)
{
    pointer_ = p;
    if (dragging_) {
        // Where the slider's middle would be, held where it was grabbed.
        const int middle = Along(p) - grabOffset_ + SliderLength() / 2;
        SetPosition(PositionAtPoint(range_, middle, TrackLength(), SliderLength()));
    }
    return true;
}

bool TsuiTrackBar::MouseUp(POINT)
{
    StopPaging();
    StopDragging();
    return true;
}

void TsuiTrackBar::StopPaging()
{
    pageTimer_.reset();
}

void TsuiTrackBar::StopDragging()
{
    dragging_ = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
}

void TsuiTrackBar::MouseLeave()
{
    if (!dragging_)
        StopPaging();
}

bool TsuiTrackBar::ControlMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    switch (message) {
    // Tools that read a track bar (accessibility, automation) get its
    // values as from a system one.
    case TBM_GETPOS:
        result = range_.position;
        return true;
    case TBM_GETRANGEMIN:
        result = range_.min;
        return true;
    case TBM_GETRANGEMAX:
        result = range_.max;
        return true;
    case WM_SIZE:
        MakeBar();
        PlaceSlider();
        Repaint();
        return false;
    }
    return false;
}
