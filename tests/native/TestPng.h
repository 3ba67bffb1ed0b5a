// Saving PNG images into memory for the PNG writer tests.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Stream.h"
#include "imaging/Bitmap.h"
#include "imaging/pngimage.h"

inline std::vector<uint8_t> Save(const TPNGObject& png)
{
    TMemoryStream stream;
    png.SaveToStream(stream);
    return stream.Data();
}

inline std::vector<uint8_t> SavePng(const TBitmap& bitmap, uint8_t filters = pfSub, uint8_t level = 7)
{
    TPNGObject png;
    png.Assign(bitmap);
    png.SetRowFilters(filters);
    png.SetDeflateLevel(level);
    return Save(png);
}
