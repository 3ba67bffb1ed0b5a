// Bitmaps of any depth for the writer tests, held in memory.
#pragma once

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
