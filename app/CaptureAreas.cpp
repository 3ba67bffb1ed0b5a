#include "app/CaptureAreas.h"

#include <algorithm>
#include <cstdint>

TScreenRect Intersection(const TScreenRect& a, const TScreenRect& b)
{
    TScreenRect overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                        std::min(a.bottom, b.bottom)};
    return overlap.Empty() ? TScreenRect{} : overlap;
}

// The distance along one axis from a coordinate to [low, high).
static int64_t AxisDistance(int value, int low, int high)
{
    if (value < low)
        return int64_t(low) - value;
    if (value >= high)
        return int64_t(value) - (high - 1);
    return 0;
}

static int64_t SquaredDistance(const TScreenRect& rect, int x, int y)
{
    const int64_t dx = AxisDistance(x, rect.left, rect.right);
    const int64_t dy = AxisDistance(y, rect.top, rect.bottom);
    return dx * dx + dy * dy;
}

const TMonitorArea* MonitorAt(const std::vector<TMonitorArea>& monitors, int x, int y)
{
    const TMonitorArea* nearest = nullptr;
    int64_t best = INT64_MAX;
    for (const TMonitorArea& monitor : monitors) {
        const int64_t distance = SquaredDistance(monitor.bounds, x, y);
        if (distance < best) {
            best = distance;
            nearest = &monitor;
        }
    }
    return nearest;
}

static const TMonitorArea* PrimaryMonitor(const std::vector<TMonitorArea>& monitors)
{
    for (const TMonitorArea& monitor : monitors)
        if (monitor.primary)
            return &monitor;
    return monitors.empty() ? nullptr : &monitors.front();
}

TScreenRect ScreenCaptureRect(const std::vector<TMonitorArea>& monitors, const TScreenRect& virtualScreen,
                              int pointerX, int pointerY, TCaptureScreens mode, bool includeTaskbar)
{
    if (mode == TCaptureScreens::All)
        return virtualScreen;
    const TMonitorArea* monitor =
        mode == TCaptureScreens::UnderPointer ? MonitorAt(monitors, pointerX, pointerY) : PrimaryMonitor(monitors);
    if (!monitor)
        return virtualScreen;
    if (!includeTaskbar && !monitor->workArea.Empty())
        return monitor->workArea;
    return monitor->bounds;
}

TScreenRect WindowCaptureRect(const std::optional<TScreenRect>& visibleBounds, const TScreenRect& windowRect,
                              const TScreenRect& virtualScreen)
{
    const TScreenRect& bounds = visibleBounds && !visibleBounds->Empty() ? *visibleBounds : windowRect;
    return Intersection(bounds, virtualScreen);
}
