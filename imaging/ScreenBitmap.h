// The device bitmap of a capture: a GDI bitmap compatible with the screen,
// and the canvas that draws into a TBitmap.
#pragma once

#include <windows.h>

#include "imaging/GdiHandles.h"
#include "imaging/Bitmap.h"

class TScreenBitmap : public TDeviceBitmap {
public:
    TScreenBitmap(int width, int height);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int BitCount() const override { return bitCount_; }
    void ReadRows(int bitCount, uint8_t* dest, std::vector<TRGBQuad>* colours) const override;
    std::unique_ptr<TDeviceBitmap> Clone() const override;

    HBITMAP Handle() const { return static_cast<HBITMAP>(bitmap_.Handle()); }

private:
    int width_;
    int height_;
    int bitCount_;
    TGdiObject bitmap_;
};

// A drawing surface on a bitmap's pixels: a memory DC with the bitmap
// selected. Creating it gives the bitmap a pixel store of its own; close it
// before the bitmap is saved.
class TBitmapCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap);
    HDC Handle() const { return dc_.Handle(); }

private:
    static HBITMAP DeviceHandle(TBitmap& bitmap);
    TMemoryDC dc_;
};
