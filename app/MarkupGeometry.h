// The arithmetic of the mark-up on a region: the eight handles of the
// selection and what dragging them (or the inside) does to it, where the
// tool strip goes so that it stays on the selection's monitor, and the
// constraints Shift puts on a drag (lines at multiples of 45 degrees,
// squares and circles). Screen coordinates throughout.
#pragma once

#include "app/CaptureAreas.h"
#include "app/RegionGeometry.h"

enum class TSelectionPart { None, Inside, Left, Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// The square of `size` pixels centred on the handle's point of selection
// (its corners and the middles of its sides); empty for None and Inside.
TScreenRect HandleRect(const TScreenRect& selection, TSelectionPart part, int size);

// What is under the point: a handle (they win over the inside), the inside,
// or None.
TSelectionPart PartAt(const TScreenRect& selection, TScreenPoint point, int handleSize);

// The selection after dragging part by (dx, dy) from start: a handle moves
// its sides (crossing over turns the rectangle the other way round), the
// inside moves the whole of it. The result stays on the virtual screen (a
// moved selection keeps its size) and is at least one pixel each way.
TScreenRect DraggedSelection(const TScreenRect& start, TSelectionPart part, int dx, int dy,
                             const TScreenRect& virtualScreen);

// Where a strip of width x height goes: `gap` below the selection, its right
// edge at the selection's; above it when there is no room below; inside the
// selection's bottom when there is none above either. Always wholly on the
// monitor (moved inwards when needed).
TScreenPoint StripPlace(const TScreenRect& selection, int width, int height, int gap, const TScreenRect& monitor);

// The release point moved so that the line from press runs at a multiple of
// 45 degrees (the nearest one, its length kept along the main axis).
TScreenPoint SnappedTo45(TScreenPoint press, TScreenPoint release);

// The release point moved so that press and it span a square (the larger
// side wins, the direction of the drag kept).
TScreenPoint SquareCorner(TScreenPoint press, TScreenPoint release);
