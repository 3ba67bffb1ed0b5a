// The screen as a test or a tool sees it: its work area and display
// scale, and pixels read back: a 32-bit bitmap that tests draw on and
// count colours in, filled from a window or from any part of the screen,
// and single pixels of the screen. Screen reads see what the user sees, so a window
// must have painted (see WaitUntil) before it is read.
#pragma once

#include <windows.h>

#include "core/DisplayScale.h"
#include "imaging/GdiHandles.h"

namespace support {

// A 32-bit top-down bitmap, white when made, with a device context to draw
// into it.
class TCanvasBitmap {
public:
    TCanvasBitmap(int width, int height);
    TCanvasBitmap(const TCanvasBitmap&) = delete;
    TCanvasBitmap& operator=(const TCanvasBitmap&) = delete;

    HDC DC() const { return dc_.Handle(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF Pixel(int x, int y) const;
    // Columns of row y in [x0, x1) whose colour is c.
    int CountInRow(int y, int x0, int x1, COLORREF c) const;
    int CountIn(const RECT& r, COLORREF c) const;
    // Pixels of r darker than middle grey.
    int CountDark(const RECT& r) const;

private:
    static HBITMAP NewDibSection(int width, int height, void** bits);

    int width_, height_;
    void* bits_ = nullptr;
    TGdiObject bitmap_;
    TMemoryDC dc_;
};

// What the window shows, copied from its device context at (0, 0).
void CopyWindowPixels(HWND window, TCanvasBitmap& canvas, int width, int height);
// What the screen shows in area, copied to (0, 0) of a canvas of its size.
void CopyScreen(const RECT& area, TCanvasBitmap& canvas);
// One pixel of the screen.
COLORREF ScreenPixel(POINT p);
// The primary monitor's work area: the screen without the taskbar and
// docked bars.
RECT WorkArea();
// The display scale of the system, as a program aware of it sees it.
TDisplayScale SystemScale();
// Bits per pixel of the screen.
int ScreenBitCount();
// The bits of each channel that survive at the screen's depth: all of them
// at 24 and 32 bits, the top five on a 16-bit screen.
COLORREF ScreenColourMask();

} // namespace support
