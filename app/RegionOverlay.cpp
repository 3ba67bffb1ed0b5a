#include "app/RegionOverlay.h"

#include <dwmapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/Capture.h"
#include "core/Exception.h"
#include "core/Unicode.h"
#include "framework/Accessible.h"
#include "framework/Resources.h"
#include "resources/StringIds.h"
#include "skin/SUIThemes.h"

namespace {

// The box beside the pointer, in designed (96 DPI) pixels: the magnifier's
// square of source pixels, each shown kZoom times as large, and two lines of
// text under it (the pointer's position, then the selection's size).
namespace box {
constexpr int kSourcePixels = 15; // odd, so the pointer's pixel is the middle one
constexpr int kZoom = 8;
constexpr int kPadding = 4;
constexpr int kLineHeight = 16;
constexpr int kTextLines = 2;
constexpr int kGap = 20; // from the pointer to the box
constexpr int kFontHeight = -11;
constexpr int kEdge = 1; // the selection's edge, the box's border, the pointer's pixel
} // namespace box

// The overlay's colours.
constexpr COLORREF kBoxBackground = RGB(0x20, 0x20, 0x20);
constexpr COLORREF kBoxBorder = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kBoxText = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kPointerPixel = RGB(0xFF, 0x30, 0x30);
constexpr COLORREF kSelectionEdge = RGB(0x30, 0x9C, 0xFF);
// Outside the selection each channel keeps half its brightness.
constexpr uint32_t kDimMask = 0x007F7F7F;

const TWindowClass& OverlayClass()
{
    static const TWindowClass windowClass{L"SnapquillRegion", 0, nullptr, LoadCursorW(nullptr, IDC_CROSS)};
    return windowClass;
}

RECT ToRect(const TScreenRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// A frame of the given thickness just inside rect.
void Frame(HDC dc, const RECT& rect, int thickness, COLORREF colour)
{
    Fill(dc, {rect.left, rect.top, rect.right, rect.top + thickness}, colour);
    Fill(dc, {rect.left, rect.bottom - thickness, rect.right, rect.bottom}, colour);
    Fill(dc, {rect.left, rect.top, rect.left + thickness, rect.bottom}, colour);
    Fill(dc, {rect.right - thickness, rect.top, rect.right, rect.bottom}, colour);
}

// A 32-bit copy of the picture with every pixel at half brightness.
TGdiObject DimmedCopy(HDC picture, int width, int height)
{
    void* bits = nullptr;
    TGdiObject dimmed = CreateTopDownDib32(nullptr, width, height, bits);
    if (!dimmed || !bits)
        throw EOutOfResources("There is not enough memory to show the screen for a region");
    {
        TMemoryDC dc(picture, dimmed.Handle());
        BitBlt(dc.Handle(), 0, 0, width, height, picture, 0, 0, SRCCOPY);
    }
    GdiFlush();
    auto* pixel = static_cast<uint32_t*>(bits);
    for (size_t i = 0, n = size_t(width) * height; i < n; ++i)
        pixel[i] = (pixel[i] >> 1) & kDimMask;
    return dimmed;
}

TGdiObject ScreenCompatibleBitmap(int width, int height)
{
    TWindowDC screen(nullptr);
    TGdiObject bitmap(CreateCompatibleBitmap(screen.Handle(), width, height));
    if (!bitmap)
        throw EOutOfResources("There is not enough memory to show the screen for a region");
    return bitmap;
}

bool Cloaked(HWND window)
{
    DWORD cloaked = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked;
}

struct TWindowSearch {
    POINT point;
    HWND skip;
    HWND found = nullptr;
};

// Top-level windows come top first: the first visible one that holds the
// point is the one the user sees there.
BOOL CALLBACK FindWindowAt(HWND window, LPARAM search)
{
    auto& s = *reinterpret_cast<TWindowSearch*>(search);
    RECT rect;
    if (window == s.skip || !IsWindowVisible(window) || IsIconic(window) || !GetWindowRect(window, &rect) ||
        !PtInRect(&rect, s.point) || (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) || Cloaked(window))
        return TRUE;
    s.found = window;
    return FALSE;
}

} // namespace

TRegionOverlay::TRegionOverlay(TBitmap& frozen, const TScreenRect& virtualScreen,
                               const std::vector<TMonitorArea>& monitors, const std::optional<TScreenRect>& lastRegion,
                               bool markup)
    : screen_(virtualScreen),
      monitors_(monitors),
      lastRegion_(lastRegion),
      frozen_(frozen),
      dimmedBitmap_(DimmedCopy(frozen_.Handle(), virtualScreen.Width(), virtualScreen.Height())),
      dimmed_(frozen_.Handle(), dimmedBitmap_.Handle()),
      markup_(markup)
{
}

TRegionOverlay::~TRegionOverlay()
{
    DestroyHandle();
}

TRegionChoice TRegionOverlay::Run()
{
    Open();
    MSG message;
    while (!done_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is told to end: cancel, and leave the request
            // for the program's own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            Finish({});
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    ShowWindow(Handle(), SW_HIDE);
    GiveActivationBack();
    return choice_;
}

// The window the user worked in before the key is active again, with its
// focus, as if the overlay had never come up.
void TRegionOverlay::GiveActivationBack() const
{
    if (previousForeground_ && IsWindow(previousForeground_) && IsWindowVisible(previousForeground_))
        SetForegroundWindow(previousForeground_);
}

void TRegionOverlay::Open()
{
    previousForeground_ = GetForegroundWindow();
    CreateHandle({&OverlayClass(), nullptr, L"Snapquill region", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                  screen_.left, screen_.top, screen_.Width(), screen_.Height()});
    scale_ = WindowScale(Handle());
    font_ = TGdiObject(CreateFontW(scale_.FontHeight(box::kFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH, L"Tahoma"));
    POINT pointer;
    GetCursorPos(&pointer);
    pointer_ = {pointer.x, pointer.y};
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    // Above the taskbar too, which the shell may have raised meanwhile.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetFocus(Handle());
    // The first picture goes straight to the screen; the buffer, needed
    // only for the changes after it, is made once the overlay shows.
    UpdateWindow(Handle());
    bufferBitmap_ = ScreenCompatibleBitmap(screen_.Width(), screen_.Height());
    buffer_ = std::make_unique<TMemoryDC>(frozen_.Handle(), bufferBitmap_.Handle());
}

LRESULT TRegionOverlay::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (editor_ && MarkupMessage(message, wParam, lParam))
        return 0;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        MouseMoved(FromClient(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        PointerAt(FromClient(lParam));
        ButtonDown();
        return 0;
    case WM_LBUTTONUP:
        PointerAt(FromClient(lParam));
        ButtonUp();
        return 0;
    case WM_RBUTTONDOWN:
        RightButtonDown();
        return 0;
    case WM_RBUTTONUP:
        if (cancelling_)
            Finish({});
        return 0;
    case WM_CAPTURECHANGED:
        if (cancelling_ && reinterpret_cast<HWND>(lParam) != Handle())
            Finish({});
        return 0;
    case WM_KEYDOWN:
        KeyDown(wParam);
        return 0;
    case WM_CLOSE:
        Finish({});
        return 0;
    }
    return TWindow::WindowProc(message, wParam, lParam);
}

void TRegionOverlay::Paint()
{
    TPaintDC dc(Handle());
    RECT area;
    if (!dc.Handle())
        return;
    const int clip = GetClipBox(dc.Handle(), &area);
    if (clip == NULLREGION || clip == ERROR)
        return;
    if (!buffer_) {
        PaintArea(dc.Handle(), area);
        return;
    }
    PaintArea(buffer_->Handle(), area);
    BitBlt(dc.Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top, buffer_->Handle(),
           area.left, area.top, SRCCOPY);
}

// Draws into the buffer what the overlay shows in area (client coordinates).
void TRegionOverlay::PaintArea(HDC dc, const RECT& area)
{
    TSavedDC saved(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, dimmed_.Handle(), area.left,
           area.top, SRCCOPY);
    if (editor_) {
        PaintSelectionEdge(dc);
        editor_->Paint(dc, area);
        return;
    }
    const RECT selection = ToClient(selection_);
    RECT bright;
    if (IntersectRect(&bright, &selection, &area))
        BitBlt(dc, bright.left, bright.top, bright.right - bright.left, bright.bottom - bright.top, frozen_.Handle(),
               bright.left, bright.top, SRCCOPY);
    PaintSelectionEdge(dc);
    PaintInfoBox(dc);
}

void TRegionOverlay::PaintSelectionEdge(HDC dc)
{
    if (selection_.Empty())
        return;
    const int edge = scale_.Length(box::kEdge);
    Frame(dc, ToClient(Inflated(selection_, edge)), edge, kSelectionEdge);
}

void TRegionOverlay::PaintInfoBox(HDC dc)
{
    const RECT place = ToClient(InfoBox());
    Fill(dc, place, kBoxBackground);
    Frame(dc, place, scale_.Length(box::kEdge), kBoxBorder);
    const int padding = scale_.Length(box::kPadding);
    const int side = box::kSourcePixels * scale_.Length(box::kZoom);
    const RECT magnifier{place.left + padding, place.top + padding, place.left + padding + side,
                         place.top + padding + side};
    PaintMagnifier(dc, MagnifierSource(pointer_, box::kSourcePixels, screen_), magnifier);
    PaintInfoText(dc, {place.left + padding, magnifier.bottom + padding, place.right - padding,
                       place.bottom - padding});
}

// The source pixels enlarged into place, the pointer's pixel framed.
void TRegionOverlay::PaintMagnifier(HDC dc, const TScreenRect& source, const RECT& place)
{
    const int zoom = scale_.Length(box::kZoom);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, place.left, place.top, source.Width() * zoom, source.Height() * zoom, frozen_.Handle(),
               source.left - screen_.left, source.top - screen_.top, source.Width(), source.Height(), SRCCOPY);
    const int x = place.left + (pointer_.x - source.left) * zoom;
    const int y = place.top + (pointer_.y - source.top) * zoom;
    Frame(dc, {x, y, x + zoom, y + zoom}, scale_.Length(box::kEdge), kPointerPixel);
}

void TRegionOverlay::PaintInfoText(HDC dc, const RECT& place)
{
    wchar_t position[48];
    swprintf(position, 48, L"%d, %d", pointer_.x, pointer_.y);
    wchar_t size[48] = L"";
    if (press_)
        swprintf(size, 48, L"%d x %d", selection_.Width(), selection_.Height());
    TSelectObject font(dc, font_ ? font_.Handle() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBoxText);
    const int line = scale_.Length(box::kLineHeight);
    RECT first{place.left, place.top, place.right, place.top + line};
    RECT second{place.left, place.top + line, place.right, place.top + 2 * line};
    DrawTextW(dc, position, -1, &first, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    DrawTextW(dc, size, -1, &second, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

TScreenRect TRegionOverlay::InfoBox() const
{
    const int padding = scale_.Length(box::kPadding);
    const int side = box::kSourcePixels * scale_.Length(box::kZoom);
    const int width = side + 2 * padding;
    const int height = side + 3 * padding + box::kTextLines * scale_.Length(box::kLineHeight);
    const TMonitorArea* monitor = MonitorAt(monitors_, pointer_.x, pointer_.y);
    const TScreenPoint at = BoxBesidePointer(pointer_, width, height, scale_.Length(box::kGap),
                                             monitor ? monitor->bounds : screen_);
    return {at.x, at.y, at.x + width, at.y + height};
}

// The pointer is at a new place: the selection and the box follow, and
// what they leave or reach is painted again.
void TRegionOverlay::PointerAt(TScreenPoint pointer)
{
    if (editor_) {
        pointer_ = pointer;
        editor_->PointerMove(pointer);
        selection_ = editor_->Selection();
        return;
    }
    if (pointer == pointer_ && !press_)
        return;
    const TScreenRect oldBox = InfoBox();
    const TScreenRect oldSelection = selection_;
    pointer_ = pointer;
    if (press_) {
        const int dx = GetSystemMetrics(SM_CXDRAG);
        const int dy = GetSystemMetrics(SM_CYDRAG);
        dragged_ = dragged_ || std::abs(pointer.x - press_->x) >= dx || std::abs(pointer.y - press_->y) >= dy;
        selection_ = SelectionRect(*press_, pointer_, screen_);
    }
    InvalidateSelectionChange(oldSelection, selection_);
    InvalidateScreen(oldBox);
    InvalidateScreen(InfoBox());
    if (selection_.Width() != oldSelection.Width() || selection_.Height() != oldSelection.Height())
        NotifyAccessible(Handle(), EVENT_OBJECT_VALUECHANGE);
}

// The right button cancels when it is released: the overlay stays until
// then, so that the release does not reach the window below (which would
// open its context menu).
void TRegionOverlay::RightButtonDown()
{
    cancelling_ = true;
    SetCapture(Handle());
}

void TRegionOverlay::ButtonDown()
{
    press_ = pointer_;
    dragged_ = false;
    SetCapture(Handle());
}

void TRegionOverlay::ButtonUp()
{
    if (!press_ || cancelling_)
        return;
    ReleaseCapture();
    if (!dragged_ && markup_) {
        press_.reset();
        StartMarkup(WindowUnderRect(WindowUnder(pointer_), screen_));
        return;
    }
    if (!dragged_) {
        Finish({TRegionChoice::Kind::Window, {}, WindowUnder(pointer_)});
        return;
    }
    const TScreenRect selection = SelectionRect(*press_, pointer_, screen_);
    if (markup_) {
        press_.reset();
        StartMarkup(selection);
        return;
    }
    Finish(selection.Empty() ? TRegionChoice{} : TRegionChoice{TRegionChoice::Kind::Region, selection});
}

void TRegionOverlay::KeyDown(WPARAM key)
{
    switch (key) {
    case VK_ESCAPE:
        Finish({});
        break;
    case VK_SPACE:
        // The keyboard's press and release: Space starts a selection at the
        // pointer, the arrows drag it and Space or Enter ends it.
        if (press_)
            ButtonUp();
        else
            ButtonDown();
        break;
    case VK_RETURN:
        if (press_)
            ButtonUp();
        else if (lastRegion_ && !Intersection(*lastRegion_, screen_).Empty() && markup_)
            StartMarkup(Intersection(*lastRegion_, screen_));
        else if (lastRegion_ && !Intersection(*lastRegion_, screen_).Empty())
            Finish({TRegionChoice::Kind::Region, Intersection(*lastRegion_, screen_)});
        break;
    case VK_LEFT:
        MovePointerBy(-1, 0);
        break;
    case VK_RIGHT:
        MovePointerBy(1, 0);
        break;
    case VK_UP:
        MovePointerBy(0, -1);
        break;
    case VK_DOWN:
        MovePointerBy(0, 1);
        break;
    }
}

// Under Wine a move of the pointer by the keys can be told late, after the
// keys' later moves: a mouse move to a place the keys have already left is
// such a late one, and would undo their steps.
void TRegionOverlay::MouseMoved(TScreenPoint at)
{
    const bool keyed = std::find(keyedPlaces_.begin(), keyedPlaces_.end(), at) != keyedPlaces_.end();
    if (keyed && !(at == keyedPlaces_.back()))
        return;
    if (!keyed)
        keyedPlaces_.clear();
    PointerAt(at);
}

// A key moves the pointer; moved by keys while the button is held, the
// pointer drags, however small the step.
void TRegionOverlay::MovePointerBy(int dx, int dy)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const TScreenPoint moved = MovedPointer(pointer_, dx, dy, shift, screen_);
    if (keyedPlaces_.empty())
        keyedPlaces_.push_back(pointer_); // where the keys took over
    keyedPlaces_.push_back(moved);
    if (keyedPlaces_.size() > kKeyedPlacesKept)
        keyedPlaces_.pop_front();
    SetCursorPos(moved.x, moved.y);
    if (press_)
        dragged_ = true;
    PointerAt(moved);
}

void TRegionOverlay::Finish(const TRegionChoice& choice)
{
    cancelling_ = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
    choice_ = choice;
    done_ = true;
}

void TRegionOverlay::InvalidateScreen(const TScreenRect& rect)
{
    const RECT client = ToClient(rect);
    InvalidateRect(Handle(), &client, FALSE);
}

// The pixels that change brightness, and the edges before and after.
void TRegionOverlay::InvalidateSelectionChange(const TScreenRect& before, const TScreenRect& after)
{
    for (const TScreenRect& part : Difference(before, after))
        InvalidateScreen(part);
    for (const TScreenRect& part : Difference(after, before))
        InvalidateScreen(part);
    const int edge = scale_.Length(box::kEdge);
    for (const TScreenRect& selection : {before, after})
        if (!selection.Empty())
            for (const TScreenRect& part : Difference(Inflated(selection, edge), selection))
                InvalidateScreen(part);
}

TScreenPoint TRegionOverlay::FromClient(LPARAM lParam) const
{
    return {GET_X_LPARAM(lParam) + screen_.left, GET_Y_LPARAM(lParam) + screen_.top};
}

RECT TRegionOverlay::ToClient(const TScreenRect& rect) const
{
    return ToRect({rect.left - screen_.left, rect.top - screen_.top, rect.right - screen_.left,
                   rect.bottom - screen_.top});
}

// The window's shot rectangle on the screen; nothing for no window or the
// desktop.
TScreenRect TRegionOverlay::WindowUnderRect(HWND window, const TScreenRect& screen)
{
    if (!window || window == GetDesktopWindow() || window == GetShellWindow())
        return {};
    try {
        return Intersection(WindowShotRect(window), screen);
    } catch (const Exception&) {
        return {};
    }
}

HWND TRegionOverlay::WindowUnder(TScreenPoint point) const
{
    TWindowSearch search{{point.x, point.y}, Handle()};
    EnumWindows(FindWindowAt, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void TRegionOverlay::CopyPart(const TScreenRect& rect, TBitmap& bitmap) const
{
    CopyFromPicture(bitmap, frozen_.Handle(), rect.left - screen_.left, rect.top - screen_.top, rect.Width(),
                    rect.Height());
}

bool CaptureRegion(TBitmap& shot, std::optional<TScreenRect>& lastRegion)
{
    TBitmap frozen;
    CaptureScreen(frozen, true, TCaptureScreens::All);
    const TScreenRect screen = VirtualScreen();
    TRegionOverlay overlay(frozen, screen, Monitors(), lastRegion);
    const TRegionChoice choice = overlay.Run();
    TScreenRect rect = choice.region;
    if (choice.kind == TRegionChoice::Kind::None)
        return false;
    if (choice.kind == TRegionChoice::Kind::Window) {
        if (!choice.window || choice.window == GetDesktopWindow() || choice.window == GetShellWindow())
            throw Exception("There is no window under the pointer to capture");
        rect = Intersection(WindowShotRect(choice.window), screen);
    }
    if (rect.Empty())
        return false;
    overlay.CopyPart(rect, shot);
    lastRegion = rect;
    return true;
}

TShotAction MarkUpRegion(TBitmap& shot, TScreenRect& place, std::optional<TScreenRect>& lastRegion)
{
    TBitmap frozen;
    CaptureScreen(frozen, true, TCaptureScreens::All);
    TRegionOverlay overlay(frozen, VirtualScreen(), Monitors(), lastRegion, true);
    const TRegionChoice choice = overlay.Run();
    if (choice.kind == TRegionChoice::Kind::None || choice.action == TShotAction::None)
        return TShotAction::None;
    overlay.MarkedUpPicture(shot);
    place = choice.region;
    lastRegion = choice.region;
    return choice.action;
}

bool TRegionOverlay::Describe(TAccessibleInfo& info)
{
    info.name = Utf8ToWide(LoadStr(IDS_REGION_OVERLAY_NAME));
    if (editor_)
        return editor_->Describe(info);
    if (!press_) {
        info.value = L"";
        return true;
    }
    wchar_t size[48];
    swprintf(size, 48, L"%d x %d", selection_.Width(), selection_.Height());
    info.value = size;
    return true;
}
