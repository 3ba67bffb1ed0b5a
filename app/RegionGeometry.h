// The arithmetic of the region capture, on screen coordinates (those of the
// virtual screen, so monitors left of or above the primary one are
// negative): the rectangle a drag selects, the pointer moved by the arrow
// keys, the pixels the magnifier enlarges, where the box with the magnifier
// and the sizes goes so that it stays on the pointer's monitor, and which
// parts of the overlay change when the selection does.
#pragma once

#include <vector>

#include "app/CaptureAreas.h"

struct TScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TScreenPoint&) const = default;
};

// The pixels from the press point to the release point, in either
// direction: the smaller coordinates included, the larger excluded, so a
// drag from (600, 300) to (800, 400) selects 200 x 100 pixels. The pointer
// cannot go past the last column or row of the virtual screen, so an end
// there takes that column or row in. Clipped to the virtual screen; empty
// (all zero) when no pixel is selected.
TScreenRect SelectionRect(TScreenPoint press, TScreenPoint release, const TScreenRect& virtualScreen);

// The pointer moved by an arrow key: dx and dy are -1, 0 or 1, a step is
// one pixel, ten with Shift. It stays on the virtual screen.
TScreenPoint MovedPointer(TScreenPoint pointer, int dx, int dy, bool shift, const TScreenRect& virtualScreen);

// The square of `side` pixels around the pointer that the magnifier
// enlarges: centred on the pointer, moved inwards at the edges of the
// virtual screen so that it holds screen pixels only (the pointer's pixel
// is then off centre). Smaller only when the virtual screen is.
TScreenRect MagnifierSource(TScreenPoint pointer, int side, const TScreenRect& virtualScreen);

// Where a box of the given size goes beside the pointer: `gap` pixels below
// and right of it, on the other side of the pointer where that would leave
// the monitor, and inside the monitor in any case (top-left corner first
// when the box is larger than the monitor).
TScreenPoint BoxBesidePointer(TScreenPoint pointer, int width, int height, int gap, const TScreenRect& monitor);

// The parts of a that are not in b, as up to four rectangles: where the
// overlay changes when the selection goes from a to b (with b's own parts
// not in a).
std::vector<TScreenRect> Difference(const TScreenRect& a, const TScreenRect& b);

// The rectangle grown by d pixels on every side.
TScreenRect Inflated(const TScreenRect& rect, int d);
