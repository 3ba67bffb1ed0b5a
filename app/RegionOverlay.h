// The region capture's overlay: a borderless topmost window over every
// monitor that shows the screen as it was at the key, dimmed outside the
// selection, with a cross pointer and, beside it, a box with the pixels
// around the pointer enlarged, its position and the selection's size.
// Dragging with the left button selects; a click without a drag chooses the
// window under the pointer; Enter before a drag chooses the last region
// again; Escape or the right button cancels. The arrow keys move the pointer
// by one pixel, ten with Shift, also while dragging.
//
// The frozen picture is painted through two pictures made once when the
// overlay opens (the dimmed copy and one off-screen buffer, made right after
// the first picture is on screen), and only the parts that change are
// painted again, through the buffer, so nothing flickers. The overlay's
// own box scales with the display; the picture is always physical pixels.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "app/MarkupEditor.h"
#include "app/RegionGeometry.h"
#include "app/ShotAction.h"
#include "core/DisplayScale.h"
#include "framework/Window.h"
#include "imaging/Bitmap.h"
#include "imaging/GdiHandles.h"
#include "imaging/ScreenBitmap.h"

// What the user chose on the overlay.
struct TRegionChoice {
    enum class Kind { None, Region, Window };
    Kind kind = Kind::None;
    TScreenRect region;    // Region: the pixels, in screen coordinates
    HWND window = nullptr; // Window: the window that was under the click
    TShotAction action = TShotAction::Save; // the mark-up's ending
};

class TRegionOverlay : public TWindow {
public:
    // frozen holds the whole virtual screen, its top-left pixel at
    // virtualScreen's top-left corner; it must outlive the overlay.
    TRegionOverlay(TBitmap& frozen, const TScreenRect& virtualScreen, const std::vector<TMonitorArea>& monitors,
                   const std::optional<TScreenRect>& lastRegion, bool markup = false);
    ~TRegionOverlay() override;

    // Shows the overlay and runs until the user has chosen or cancelled;
    // the overlay is hidden again when it returns.
    TRegionChoice Run();

    // Copies the pixels of rect (screen coordinates, within the virtual
    // screen) from the frozen picture into bitmap, which takes rect's size.
    void CopyPart(const TScreenRect& rect, TBitmap& bitmap) const;
    // After a mark-up: the selection with its marks.
    void MarkedUpPicture(TBitmap& bitmap);

    // To screen readers: what to do as its name, the selection's size as
    // its value ("640 x 480"; empty before a press), which they hear of as
    // it changes.
    bool Describe(TAccessibleInfo& info) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Open();
    void GiveActivationBack() const;
    void Paint();
    void PaintArea(HDC dc, const RECT& area);
    void PaintSelectionEdge(HDC dc);
    void PaintInfoBox(HDC dc);
    void PaintMagnifier(HDC dc, const TScreenRect& source, const RECT& place);
    void PaintInfoText(HDC dc, const RECT& place);
    void PointerAt(TScreenPoint pointer);
    void RightButtonDown();
    void ButtonDown();
    void ButtonUp();
    void KeyDown(WPARAM key);
    void MouseMoved(TScreenPoint at);
    void MovePointerBy(int dx, int dy);
    void Finish(const TRegionChoice& choice);
    void StartMarkup(const TScreenRect& selection);
    bool MarkupMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MarkupKeyDown(WPARAM key);
    void FinishMarkup(TShotAction action);
    void InvalidateScreen(const TScreenRect& rect);
    void InvalidateSelectionChange(const TScreenRect& before, const TScreenRect& after);
    TScreenRect InfoBox() const;
    TScreenPoint FromClient(LPARAM lParam) const;
    RECT ToClient(const TScreenRect& rect) const;
    HWND WindowUnder(TScreenPoint point) const;
    static TScreenRect WindowUnderRect(HWND window, const TScreenRect& screen);

    TScreenRect screen_;
    std::vector<TMonitorArea> monitors_;
    std::optional<TScreenRect> lastRegion_;
    TBitmapCanvas frozen_;
    TGdiObject dimmedBitmap_;
    TMemoryDC dimmed_;
    TGdiObject bufferBitmap_;
    std::unique_ptr<TMemoryDC> buffer_; // from the second picture on

    TGdiObject font_;
    TDisplayScale scale_;

    TScreenPoint pointer_;
    std::optional<TScreenPoint> press_;
    bool dragged_ = false; // the pointer left the press point's drag box
    TScreenRect selection_;
    bool cancelling_ = false; // the right button is down: cancel at its release
    bool done_ = false;
    TRegionChoice choice_;
    HWND previousForeground_ = nullptr; // active before the overlay opened
    static constexpr size_t kKeyedPlacesKept = 64;
    std::deque<TScreenPoint> keyedPlaces_; // where the keys put the pointer, since the mouse last moved
    bool markup_ = false;
    std::unique_ptr<TMarkupEditor> editor_; // from the end of the drag in the mark-up mode
};

// The region capture from the key to the pixels: copies every monitor once,
// shows the overlay on that picture and puts the chosen pixels into shot.
// False when the user cancelled or chose nothing (shot is left alone).
// lastRegion is the region chosen last in this run, and becomes this one.
bool CaptureRegion(TBitmap& shot, std::optional<TScreenRect>& lastRegion);

// The same with the mark-up: shot gets the marked-up pixels and place where
// they are on the screen; the result says what the user chose to do with
// them (None: closed, shot left alone).
TShotAction MarkUpRegion(TBitmap& shot, TScreenRect& place, std::optional<TScreenRect>& lastRegion);
