#include "app/RegionGeometry.h"

#include <algorithm>

// The excluded end of a span whose larger end is `high`: one past it, and the
// screen's own end when `high` is its last pixel.
static int EndAfter(int high, int screenEnd)
{
    return high >= screenEnd - 1 ? screenEnd : high;
}

TScreenRect SelectionRect(TScreenPoint press, TScreenPoint release, const TScreenRect& virtualScreen)
{
    const TScreenRect span{std::min(press.x, release.x), std::min(press.y, release.y),
                           EndAfter(std::max(press.x, release.x), virtualScreen.right),
                           EndAfter(std::max(press.y, release.y), virtualScreen.bottom)};
    // A drag that never moved on an axis selects nothing on it.
    if (press.x == release.x || press.y == release.y)
        return {};
    return Intersection(span, virtualScreen);
}

TScreenPoint MovedPointer(TScreenPoint pointer, int dx, int dy, bool shift, const TScreenRect& virtualScreen)
{
    if (virtualScreen.Empty())
        return pointer;
    const int step = shift ? 10 : 1;
    return {std::clamp(pointer.x + dx * step, virtualScreen.left, virtualScreen.right - 1),
            std::clamp(pointer.y + dy * step, virtualScreen.top, virtualScreen.bottom - 1)};
}

// The start of a span of `length` around `centre`, kept inside [low, high).
static int SpanStart(int centre, int length, int low, int high)
{
    const int start = centre - length / 2;
    return std::max(low, std::min(start, high - length));
}

TScreenRect MagnifierSource(TScreenPoint pointer, int side, const TScreenRect& virtualScreen)
{
    const int width = std::min(side, virtualScreen.Width());
    const int height = std::min(side, virtualScreen.Height());
    if (width <= 0 || height <= 0)
        return {};
    const int left = SpanStart(pointer.x, width, virtualScreen.left, virtualScreen.right);
    const int top = SpanStart(pointer.y, height, virtualScreen.top, virtualScreen.bottom);
    return {left, top, left + width, top + height};
}

// The box's start along one axis: after the pointer, before it where the
// monitor ends first, and within the monitor.
static int BoxStart(int pointer, int length, int gap, int low, int high)
{
    int start = pointer + gap;
    if (start + length > high)
        start = pointer - gap - length;
    return std::max(low, std::min(start, high - length));
}

TScreenPoint BoxBesidePointer(TScreenPoint pointer, int width, int height, int gap, const TScreenRect& monitor)
{
    return {BoxStart(pointer.x, width, gap, monitor.left, monitor.right),
            BoxStart(pointer.y, height, gap, monitor.top, monitor.bottom)};
}

std::vector<TScreenRect> Difference(const TScreenRect& a, const TScreenRect& b)
{
    if (a.Empty())
        return {};
    const TScreenRect common = Intersection(a, b);
    if (common.Empty())
        return {a};
    std::vector<TScreenRect> parts{
        {a.left, a.top, a.right, common.top},
        {a.left, common.bottom, a.right, a.bottom},
        {a.left, common.top, common.left, common.bottom},
        {common.right, common.top, a.right, common.bottom},
    };
    std::erase_if(parts, [](const TScreenRect& part) { return part.Empty(); });
    return parts;
}

TScreenRect Inflated(const TScreenRect& rect, int d)
{
    return {rect.left - d, rect.top - d, rect.right + d, rect.bottom + d};
}
