#include "kit/Screen.h"

#include <cstdint>

namespace support {

HBITMAP TCanvasBitmap::NewDibSection(int width, int height, void** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

TCanvasBitmap::TCanvasBitmap(int width, int height)
    : width_(width), height_(height), bitmap_(NewDibSection(width, height, &bits_)), dc_(nullptr, bitmap_.Handle())
{
    RECT all{0, 0, width, height};
    FillRect(DC(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

// 0x00BBGGRR, like COLORREF.
COLORREF TCanvasBitmap::Pixel(int x, int y) const
{
    GdiFlush();
    const uint32_t p = static_cast<const uint32_t*>(bits_)[size_t(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int TCanvasBitmap::CountInRow(int y, int x0, int x1, COLORREF c) const
{
    int n = 0;
    for (int x = x0; x < x1; ++x)
        n += Pixel(x, y) == c;
    return n;
}

int TCanvasBitmap::CountIn(const RECT& r, COLORREF c) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        n += CountInRow(y, r.left, r.right, c);
    return n;
}

int TCanvasBitmap::CountDark(const RECT& r) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = Pixel(x, y);
            n += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
        }
    return n;
}

void CopyWindowPixels(HWND window, TCanvasBitmap& canvas, int width, int height)
{
    UpdateWindow(window);
    TWindowDC source(window);
    BitBlt(canvas.DC(), 0, 0, width, height, source.Handle(), 0, 0, SRCCOPY);
}

void CopyScreen(const RECT& area, TCanvasBitmap& canvas)
{
    TWindowDC screen(nullptr);
    BitBlt(canvas.DC(), 0, 0, area.right - area.left, area.bottom - area.top, screen.Handle(), area.left, area.top,
           SRCCOPY);
}

COLORREF ScreenPixel(POINT p)
{
    TWindowDC screen(nullptr);
    return GetPixel(screen.Handle(), p.x, p.y);
}

RECT WorkArea()
{
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

TDisplayScale SystemScale()
{
    return TDisplayScale(static_cast<int>(GetDpiForSystem()));
}

int ScreenBitCount()
{
    TWindowDC screen(nullptr);
    return GetDeviceCaps(screen.Handle(), BITSPIXEL) * GetDeviceCaps(screen.Handle(), PLANES);
}

COLORREF ScreenColourMask()
{
    return ScreenBitCount() == 16 ? 0xF8F8F8 : 0xFFFFFF;
}

} // namespace support
