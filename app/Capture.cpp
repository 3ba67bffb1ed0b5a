#include "app/Capture.h"

#include <cstring>
#include <optional>

#include <dwmapi.h>

#include "framework/Clipboard.h"
#include "core/Exception.h"
#include "imaging/GdiHandles.h"
#include "imaging/ScreenBitmap.h"
#include "core/Unicode.h"

namespace {

TScreenRect FromRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    TMonitorArea area{FromRect(info.rcMonitor), FromRect(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
    // The primary monitor's work area as the system keeps it for the
    // desktop, also where a monitor's own record lags behind a change.
    RECT work;
    if (area.primary && SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        area.workArea = FromRect(work);
    reinterpret_cast<std::vector<TMonitorArea>*>(list)->push_back(area);
    return TRUE;
}

// Sizes the bitmap to the rectangle and copies the screen's pixels into it,
// the rectangle's top-left corner at the bitmap's origin. Only what the
// monitors show is copied; the rest stays black.
void CopyFromScreen(TBitmap& bitmap, const TScreenRect& rect, const std::vector<TMonitorArea>& monitors)
{
    TWindowDC screen(nullptr);
    if (!screen.Handle())
        throw Exception("The screen could not be copied. " + SysErrorMessage(GetLastError()));
    bitmap.SetWidth(rect.Width());
    bitmap.SetHeight(rect.Height());
    TBitmapCanvas canvas(bitmap);
    PatBlt(canvas.Handle(), 0, 0, rect.Width(), rect.Height(), BLACKNESS);
    for (const TMonitorArea& monitor : monitors) {
        const TScreenRect part = Intersection(rect, monitor.bounds);
        if (!part.Empty() && !BitBlt(canvas.Handle(), part.left - rect.left, part.top - rect.top, part.Width(),
                                     part.Height(), screen.Handle(), part.left, part.top, SRCCOPY))
            throw Exception("The picture could not be copied. " + SysErrorMessage(GetLastError()));
    }
}

// The window's bounds without the invisible borders, from the desktop
// window manager; none where it does not answer (no composition, Wine).
std::optional<TScreenRect> VisibleBounds(HWND window)
{
    RECT bounds;
    if (FAILED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof bounds)))
        return std::nullopt;
    return FromRect(bounds);
}

// The header and rows of a packed DIB of the bitmap at 24 bits per pixel.
std::vector<uint8_t> PackedDib(const TBitmap& bitmap)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = bitmap.Width();
    header.biHeight = bitmap.Height();
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const size_t rowBytes = (size_t(bitmap.Width()) * 3 + 3) & ~size_t(3);
    header.biSizeImage = static_cast<DWORD>(rowBytes * bitmap.Height());
    std::vector<uint8_t> packed(sizeof header + header.biSizeImage);
    std::memcpy(packed.data(), &header, sizeof header);
    bitmap.ReadRows(24, packed.data() + sizeof header, nullptr);
    return packed;
}

} // namespace

bool FileOrFolderExists(const std::string& path)
{
    return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<TMonitorArea> Monitors()
{
    std::vector<TMonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

TScreenRect VirtualScreen()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void CaptureScreen(TBitmap& bitmap, bool includeTaskbar, TCaptureScreens mode)
{
    const std::vector<TMonitorArea> monitors = Monitors();
    POINT pointer{};
    GetCursorPos(&pointer);
    const TScreenRect rect = ScreenCaptureRect(monitors, VirtualScreen(), pointer.x, pointer.y, mode, includeTaskbar);
    if (rect.Empty())
        throw Exception("There is no screen to capture");
    CopyFromScreen(bitmap, rect, monitors);
}

TScreenRect WindowShotRect(HWND window)
{
    if (!window || !IsWindow(window) || window == GetDesktopWindow() || window == GetShellWindow())
        throw Exception("There is no window in the foreground to capture");
    if (IsIconic(window) || !IsWindowVisible(window))
        throw Exception("The foreground window is minimised or hidden and cannot be captured");
    RECT windowRect;
    if (!GetWindowRect(window, &windowRect))
        throw Exception("The foreground window has no area to capture");
    const TScreenRect rect = WindowCaptureRect(VisibleBounds(window), FromRect(windowRect), VirtualScreen());
    if (rect.Empty())
        throw Exception("The foreground window has no area to capture");
    return rect;
}

void CaptureWindow(TBitmap& bitmap, HWND window)
{
    CopyFromScreen(bitmap, WindowShotRect(window), Monitors());
}

void CopyFromPicture(TBitmap& bitmap, HDC picture, int x, int y, int width, int height)
{
    bitmap.SetWidth(width);
    bitmap.SetHeight(height);
    TBitmapCanvas canvas(bitmap);
    if (!BitBlt(canvas.Handle(), 0, 0, width, height, picture, x, y, SRCCOPY))
        throw Exception("The picture could not be copied. " + SysErrorMessage(GetLastError()));
}

void CopyToClipboard(HWND owner, const TBitmap& bitmap)
{
    SetClipboardDib(owner, PackedDib(bitmap));
}

