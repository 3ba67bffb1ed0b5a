// Reading back the picture files the program writes: BMP, PNG and JPEG,
// decoded here on their own so that the checks do not trust the program's
// writers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "kit/FileBytes.h"

namespace e2e {

using namespace support;

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
    uint32_t Packed() const { return r | (g << 8) | (b << 16); } // 0xBBGGRR
};

std::string ToString(Rgb colour); // "#RRGGBB"

// A decoded picture, top row first, three bytes (red, green, blue) a pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb At(int x, int y) const
    {
        const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

// What a BMP file's headers say.
struct BmpInfo {
    uint32_t fileSize = 0;  // bfSize
    uint32_t dataOffset = 0; // bfOffBits
    int32_t width = 0;
    int32_t height = 0; // positive: rows stored bottom-up
    uint16_t bitCount = 0;
    uint32_t compression = 0;
};

// Each decoder returns an empty string on success, else what is wrong.
std::string ReadBmpInfo(const std::vector<uint8_t>& file, BmpInfo& info);
std::string DecodeBmp(const std::vector<uint8_t>& file, Image& image); // 24 and 32 bits, BI_RGB
std::string DecodePng(const std::vector<uint8_t>& file, Image& image); // 8-bit RGB, not interlaced
std::string DecodeJpeg(const std::vector<uint8_t>& file, Image& image);

// Bytes of one uncompressed row of a bottom-up DIB.
inline uint32_t BmpRowBytes(int width, int bitCount)
{
    return ((uint32_t(width) * bitCount + 31) / 32) * 4;
}

} // namespace e2e
