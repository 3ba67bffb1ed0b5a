// The written files, decoded by libpng.
#include <gtest/gtest.h>

#include <png.h>
#include <random>

#include "core/Stream.h"
#include "imaging/Bitmap.h"
#include "imaging/MemoryBitmap.h"
#include "imaging/pngimage.h"
#include "tests/native/TestFiles.h"
#include "tests/native/TestBitmaps.h"
#include "tests/native/TestPng.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Smooth areas, edges and noise, so that every filter has rows to win.
TBitmap Picture(int width, int height, int bitCount, unsigned start)
{
    TBitmap bitmap = MakeBitmap(width, height, bitCount);
    TMemoryBitmap& px = Pixels(bitmap);
    std::mt19937 random(start);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = y % 7 == 3 ? random() & 0xFFFFFF
                                  : x < width / 3 ? 0x336699u
                                                  : (x * 5 + y * 3) | ((x * y) & 0xFF) << 8 | (y * 2) << 16;
            if (bitCount > 8)
                px.SetPixel(x, y, colour & 0xFFFFFF);
            else
                px.SetIndex(x, y, static_cast<int>(colour % (1u << bitCount)));
        }
    }
    return bitmap;
}

// The picture as RGB bytes, top row first.
Bytes ExpectedRgb(const TBitmap& bitmap)
{
    const TMemoryBitmap& px = static_cast<const TMemoryBitmap&>(*bitmap.Device());
    Bytes rgb;
    for (int y = 0; y < px.Height(); ++y) {
        for (int x = 0; x < px.Width(); ++x) {
            const uint32_t colour = px.Pixel(x, y);
            rgb.insert(rgb.end(), {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)});
        }
    }
    return rgb;
}

// Decoded pixels in format; fails the test on any libpng error or warning.
Bytes Decode(const Bytes& file, uint32_t format = PNG_FORMAT_RGB)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size())) << image.message;
    image.format = format;
    Bytes pixels(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(image.warning_or_error, 0u) << image.message;
    png_image_free(&image);
    return pixels;
}

} // namespace

TEST(PngDecode, ScreenDepthsDecodeToTheirPixels)
{
    for (int depth : {32, 24, 16}) {
        SCOPED_TRACE(depth);
        TBitmap bitmap = Picture(13, 9, depth, 1); // odd width: padded rows
        Pixels(bitmap).SetPixel(0, 0, 0xFFFFFF);
        const Bytes pixels = Decode(SavePng(bitmap));
        EXPECT_EQ(pixels, ExpectedRgb(bitmap));
        EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 3), (Bytes{255, 255, 255}));
    }
}

TEST(PngDecode, EveryLevelAndFilterSetGivesTheSamePixels)
{
    TBitmap bitmap = Picture(301, 250, 32, 2);
    const Bytes expected = ExpectedRgb(bitmap);
    for (uint8_t level : {0, 1, 9})
        EXPECT_EQ(Decode(SavePng(bitmap, pfSub, level)), expected) << "level " << int(level);

    TBitmap small = Picture(37, 29, 24, 3);
    TBitmap indexed = Picture(37, 29, 4, 4);
    for (uint8_t filters = 0; filters < 32; ++filters) {
        SCOPED_TRACE(int(filters));
        EXPECT_EQ(Decode(SavePng(small, filters)), ExpectedRgb(small));
        EXPECT_EQ(Decode(SavePng(indexed, filters)), ExpectedRgb(indexed));
    }
}

TEST(PngDecode, PaletteAndTransparency)
{
    for (int bits : {1, 4, 8}) {
        TBitmap bitmap = Picture(11, 5, bits, 5);
        Pixels(bitmap).Colours()[1] = {10, 20, 30, 0};
        EXPECT_EQ(Decode(SavePng(bitmap)), ExpectedRgb(bitmap)) << bits;
    }

    for (int bits : {24, 8}) {
        TBitmap bitmap = MakeBitmap(2, 1, bits);
        if (bits == 8) {
            Pixels(bitmap).Colours()[9] = {0x30, 0x20, 0x10, 0};
            Pixels(bitmap).SetIndex(1, 0, 9);
        } else {
            Pixels(bitmap).SetPixel(1, 0, 0x302010);
        }
        bitmap.SetTransparent(true);
        bitmap.SetTransparentColor(0x302010);
        EXPECT_EQ(Decode(SavePng(bitmap), PNG_FORMAT_RGBA), (Bytes{0, 0, 0, 255, 0x10, 0x20, 0x30, 0})) << bits;
    }
}

TEST(PngDecode, SaveToFileReplacesTheFile)
{
    ScratchDir dir;
    const std::string name = dir.File("shot.png");
    {
        std::ofstream old(name, std::ios::binary);
        old << std::string(100000, 'x');
    }
    TBitmap bitmap = Picture(64, 48, 32, 6);
    TPNGObject png;
    png.Assign(bitmap);
    png.SaveToFile(name);
    EXPECT_EQ(ReadFileBytes(name), Save(png));
    EXPECT_EQ(Decode(ReadFileBytes(name)), ExpectedRgb(bitmap));
}
