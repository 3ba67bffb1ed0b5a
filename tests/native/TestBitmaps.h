// Bitmaps of any depth for the writer tests, held in memory.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/Bitmap.h"
#include "imaging/MemoryBitmap.h"

inline TBitmap MakeBitmap(int width, int height, int bitCount)
{
    TBitmap bitmap;
    bitmap.SetDevice(std::make_unique<TMemoryBitmap>(width, height, bitCount));
    return bitmap;
}

// The bitmap's own pixels, for drawing (it stops sharing them).
inline TMemoryBitmap& Pixels(TBitmap& bitmap)
{
    return static_cast<TMemoryBitmap&>(*bitmap.BeginDraw());
}

// A bitmap every pixel of which has the colour (0xBBGGRR).
inline TBitmap MakeBitmap(int width, int height, int bitCount, uint32_t colour)
{
    TBitmap bitmap = MakeBitmap(width, height, bitCount);
    TMemoryBitmap& pixels = Pixels(bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.SetPixel(x, y, colour);
    return bitmap;
}
