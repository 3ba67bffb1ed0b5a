// Pictures as the skin generator handles them: rows of 8-bit RGBA pixels,
// top row first, and the finished form with a palette.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skinart {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

inline bool SameColour(Rgba x, Rgba y)
{
    return x.r == y.r && x.g == y.g && x.b == y.b;
}

// 0xRRGGBB as written in the manifest (not the program's 0xBBGGRR order).
inline Rgba FromHex(uint32_t rgb)
{
    return Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
}

const Rgba kMagenta{255, 0, 255, 255};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels; // width * height, row y at y * width

    Rgba& At(int x, int y) { return pixels[size_t(y) * width + x]; }
    Rgba At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// A picture of at most 256 colours: one palette index per pixel.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgba> palette;
    std::vector<uint8_t> indices;
};

// Reads an 8-bit RGBA picture from a PNG file; throws std::runtime_error.
Image ReadPng(const std::string& path);

} // namespace skinart
