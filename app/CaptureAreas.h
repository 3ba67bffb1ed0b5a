// Which part of the screen a shot takes, as plain arithmetic on rectangles:
// the monitors, the pointer and the chosen mode go in, the rectangle to copy
// comes out. Screen coordinates are those of the virtual screen, so monitors
// left of or above the primary one have negative coordinates. Window shots
// take the window's visible bounds where the system knows them (on Windows 10
// and 11 its rectangle includes invisible resize borders) and are clipped to
// the virtual screen.
#pragma once

#include <optional>
#include <vector>

// Left, top, right, bottom; right and bottom exclusive.
struct TScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const TScreenRect&) const = default;
};

struct TMonitorArea {
    TScreenRect bounds;
    TScreenRect workArea; // without the taskbar and docked bars
    bool primary = false;
};

// What PrintScreen takes; the numbers are those stored in the registry.
enum class TCaptureScreens { Primary = 0, UnderPointer = 1, All = 2 };

// The overlap of two rectangles; empty (all zero) when they do not meet.
TScreenRect Intersection(const TScreenRect& a, const TScreenRect& b);

// The monitor that holds the point, or the nearest one when none does (a
// pointer parked in a gap between monitors of different sizes); nullptr only
// for an empty list.
const TMonitorArea* MonitorAt(const std::vector<TMonitorArea>& monitors, int x, int y);

// The rectangle PrintScreen copies. Primary and UnderPointer take that
// monitor, or its work area when the taskbar is left out; All takes the
// whole virtual screen, taskbars included. With no monitor listed, the
// virtual screen.
TScreenRect ScreenCaptureRect(const std::vector<TMonitorArea>& monitors, const TScreenRect& virtualScreen,
                              int pointerX, int pointerY, TCaptureScreens mode, bool includeTaskbar);

// The rectangle a window shot copies: the visible frame bounds when known,
// otherwise the window rectangle, clipped to the virtual screen. Empty when
// nothing of the window is on screen.
TScreenRect WindowCaptureRect(const std::optional<TScreenRect>& visibleBounds, const TScreenRect& windowRect,
                              const TScreenRect& virtualScreen);
