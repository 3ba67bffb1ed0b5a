#include "app/MarkupGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// One axis of a rectangle: low included, high excluded.
struct TSpan {
    int low;
    int high;
};

TScreenPoint HandlePoint(const TScreenRect& selection, TSelectionPart part)
{
    const int middleX = selection.left + selection.Width() / 2;
    const int middleY = selection.top + selection.Height() / 2;
    switch (part) {
    case TSelectionPart::Left: return {selection.left, middleY};
    case TSelectionPart::Top: return {middleX, selection.top};
    case TSelectionPart::Right: return {selection.right, middleY};
    case TSelectionPart::Bottom: return {middleX, selection.bottom};
    case TSelectionPart::TopLeft: return {selection.left, selection.top};
    case TSelectionPart::TopRight: return {selection.right, selection.top};
    case TSelectionPart::BottomLeft: return {selection.left, selection.bottom};
    default: return {selection.right, selection.bottom};
    }
}

bool MovesLow(TSelectionPart part, bool horizontal)
{
    using P = TSelectionPart;
    if (horizontal)
        return part == P::Left || part == P::TopLeft || part == P::BottomLeft;
    return part == P::Top || part == P::TopLeft || part == P::TopRight;
}

bool MovesHigh(TSelectionPart part, bool horizontal)
{
    using P = TSelectionPart;
    if (horizontal)
        return part == P::Right || part == P::TopRight || part == P::BottomRight;
    return part == P::Bottom || part == P::BottomLeft || part == P::BottomRight;
}

// A side dragged past the other one turns the span round; the result keeps
// at least one pixel on the screen's span.
TSpan Resized(TSpan span, int dLow, int dHigh, TSpan screen)
{
    int low = span.low + dLow;
    int high = span.high + dHigh;
    if (low > high)
        std::swap(low, high);
    low = std::clamp(low, screen.low, std::max(screen.low, screen.high - 1));
    high = std::clamp(high, low + 1, std::max(low + 1, screen.high));
    return {low, high};
}

TSpan Moved(TSpan span, int d, TSpan screen)
{
    const int length = std::max(1, std::min(span.high - span.low, screen.high - screen.low));
    const int low = std::clamp(span.low + d, screen.low, std::max(screen.low, screen.high - length));
    return {low, low + length};
}

TSpan DraggedSpan(TSpan span, TSelectionPart part, bool horizontal, int d, TSpan screen)
{
    if (part == TSelectionPart::Inside)
        return Moved(span, d, screen);
    return Resized(span, MovesLow(part, horizontal) ? d : 0, MovesHigh(part, horizontal) ? d : 0, screen);
}

int Sign(int value)
{
    return value < 0 ? -1 : 1;
}

} // namespace

TScreenRect HandleRect(const TScreenRect& selection, TSelectionPart part, int size)
{
    if (part == TSelectionPart::None || part == TSelectionPart::Inside)
        return {};
    const TScreenPoint point = HandlePoint(selection, part);
    const int left = point.x - size / 2;
    const int top = point.y - size / 2;
    return {left, top, left + size, top + size};
}

TSelectionPart PartAt(const TScreenRect& selection, TScreenPoint point, int handleSize)
{
    using P = TSelectionPart;
    // Corners first: on a small selection they overlap the sides' handles.
    for (P part : {P::BottomRight, P::BottomLeft, P::TopRight, P::TopLeft, P::Right, P::Bottom, P::Left, P::Top})
        if (HandleRect(selection, part, handleSize).Contains(point.x, point.y))
            return part;
    return selection.Contains(point.x, point.y) ? P::Inside : P::None;
}

TScreenRect DraggedSelection(const TScreenRect& start, TSelectionPart part, int dx, int dy,
                             const TScreenRect& virtualScreen)
{
    if (part == TSelectionPart::None)
        return start;
    const TSpan x = DraggedSpan({start.left, start.right}, part, true, dx, {virtualScreen.left, virtualScreen.right});
    const TSpan y = DraggedSpan({start.top, start.bottom}, part, false, dy, {virtualScreen.top, virtualScreen.bottom});
    return {x.low, y.low, x.high, y.high};
}

TScreenPoint StripPlace(const TScreenRect& selection, int width, int height, int gap, const TScreenRect& monitor)
{
    int top = selection.bottom + gap;
    if (top + height > monitor.bottom)
        top = selection.top - gap - height;
    if (top < monitor.top)
        top = selection.bottom - gap - height;
    // Moved onto the monitor; a strip wider or taller than it starts at its
    // left or top.
    const int left = std::max(monitor.left, std::min(selection.right - width, monitor.right - width));
    top = std::max(monitor.top, std::min(top, monitor.bottom - height));
    return {left, top};
}

TScreenPoint SnappedTo45(TScreenPoint press, TScreenPoint release)
{
    const int dx = release.x - press.x;
    const int dy = release.y - press.y;
    const double tan22_5 = std::sqrt(2.0) - 1.0;
    if (std::abs(dy) <= std::abs(dx) * tan22_5)
        return {release.x, press.y};
    if (std::abs(dx) <= std::abs(dy) * tan22_5)
        return {press.x, release.y};
    const int side = std::max(std::abs(dx), std::abs(dy));
    return {press.x + Sign(dx) * side, press.y + Sign(dy) * side};
}

TScreenPoint SquareCorner(TScreenPoint press, TScreenPoint release)
{
    const int dx = release.x - press.x;
    const int dy = release.y - press.y;
    const int side = std::max(std::abs(dx), std::abs(dy));
    return {press.x + Sign(dx) * side, press.y + Sign(dy) * side};
}
