#include "framework/MonitorScale.h"

#include <shellscalingapi.h>

static TDisplayScale ScaleOfMonitor(HMONITOR monitor)
{
    UINT dpiX = 0, dpiY = 0;
    if (monitor && SUCCEEDED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiY > 0)
        return TDisplayScale(static_cast<int>(dpiY));
    return TDisplayScale(static_cast<int>(GetDpiForSystem()));
}

TDisplayScale ScaleAtPoint(POINT at)
{
    return ScaleOfMonitor(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST));
}

TDisplayScale ScaleOfRect(const RECT& rect)
{
    return ScaleOfMonitor(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
}
