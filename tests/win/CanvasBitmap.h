// A 32-bit bitmap for the skin tests to draw on and read back, and a
// window's pixels read back the same way.
#pragma once

#include <windows.h>

#include <cstdint>

#include "imaging/GdiHandles.h"

// A 32-bit bitmap to draw on and read back, top-down.
class TCanvasBitmap {
public:
    TCanvasBitmap(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = TGdiObject(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_.Handle());
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~TCanvasBitmap()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    HDC DC() const { return dc_; }
    // 0x00BBGGRR, like COLORREF.
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        const uint32_t p = static_cast<const uint32_t*>(bits_)[size_t(y) * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Columns of row y in [x0, x1) whose colour is c.
    int CountInRow(int y, int x0, int x1, COLORREF c) const
    {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            n += Pixel(x, y) == c;
        return n;
    }
    int CountDark(const RECT& r) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                COLORREF c = Pixel(x, y);
                n += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
            }
        return n;
    }
    int CountIn(const RECT& r, COLORREF c) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            n += CountInRow(y, r.left, r.right, c);
        return n;
    }

private:
    int width_, height_;
    void* bits_ = nullptr;
    TGdiObject bitmap_;
    HDC dc_;
    HGDIOBJ old_;
};

// What window shows on the screen, copied from its window device context.
inline void CopyWindowPixels(HWND window, TCanvasBitmap& canvas, int width, int height)
{
    UpdateWindow(window);
    TWindowDC source(window);
    BitBlt(canvas.DC(), 0, 0, width, height, source.Handle(), 0, 0, SRCCOPY);
}
