// Device-independent bitmap files as LoadImage and LoadBitmap read them:
// BITMAPFILEHEADER, BITMAPINFOHEADER, BI_RGB, bottom-up rows padded to four
// bytes; 4 and 8 bits per pixel with a colour table.
#pragma once

#include "skin_image.h"

namespace skinart {

std::vector<uint8_t> EncodeBmp24(const Image& image);
std::vector<uint8_t> EncodeBmpIndexed(const IndexedImage& image, int bitsPerPixel);

} // namespace skinart
