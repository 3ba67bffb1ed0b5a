#include "skin_bmp.h"

#include <stdexcept>

namespace skinart {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

uint32_t RowBytes(int width, int bitsPerPixel)
{
    return ((uint32_t(width) * bitsPerPixel + 31) / 32) * 4;
}

void PutHeaders(std::vector<uint8_t>& out, int width, int height, int bitsPerPixel, uint32_t paletteSize)
{
    const uint32_t imageBytes = RowBytes(width, bitsPerPixel) * uint32_t(height);
    const uint32_t offset = 14 + 40 + 4 * paletteSize;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height)); // positive: bottom-up
    Put16(out, 1);
    Put16(out, uint32_t(bitsPerPixel));
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, paletteSize);
    Put32(out, 0);
}

} // namespace

std::vector<uint8_t> EncodeBmp24(const Image& image)
{
    std::vector<uint8_t> out;
    PutHeaders(out, image.width, image.height, 24, 0);
    const uint32_t padding = RowBytes(image.width, 24) - uint32_t(image.width) * 3;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba p = image.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.insert(out.end(), padding, 0);
    }
    return out;
}

std::vector<uint8_t> EncodeBmpIndexed(const IndexedImage& image, int bitsPerPixel)
{
    if (bitsPerPixel != 4 && bitsPerPixel != 8)
        throw std::runtime_error("indexed bitmaps have 4 or 8 bits per pixel");
    if (image.palette.size() > (size_t(1) << bitsPerPixel))
        throw std::runtime_error("palette too large for the bit depth");
    std::vector<uint8_t> out;
    PutHeaders(out, image.width, image.height, bitsPerPixel, uint32_t(image.palette.size()));
    for (const Rgba& c : image.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    const uint32_t rowBytes = RowBytes(image.width, bitsPerPixel);
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t index = image.indices[size_t(y) * image.width + x];
            if (bitsPerPixel == 8)
                row[x] = index;
            else
                row[x / 2] |= x % 2 == 0 ? uint8_t(index << 4) : index;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace skinart
