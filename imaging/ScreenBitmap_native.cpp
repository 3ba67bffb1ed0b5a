// The native build has no screen: its screen-compatible bitmaps are 32-bit
// memory bitmaps, as on a true-colour display.
#include "imaging/MemoryBitmap.h"

std::unique_ptr<TDeviceBitmap> CreateScreenCompatibleBitmap(int width, int height)
{
    return std::make_unique<TMemoryBitmap>(width, height, 32);
}
