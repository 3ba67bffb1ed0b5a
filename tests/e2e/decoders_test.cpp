// The test's own readers of BMP and PNG files, checked on files made here,
// so that a shot's check fails only when the shot is wrong.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>

#include "tests/e2e/ImageFiles.h"

using namespace e2e;

namespace {

void PutBE32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift : {24, 16, 8, 0})
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutLE32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift : {0, 8, 16, 24})
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutLE16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data)
{
    PutBE32(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBE32(png, static_cast<uint32_t>(crc32(0, &png[start], static_cast<uInt>(png.size() - start))));
}

// A picture with detail in every channel.
Image Sample(int width, int height)
{
    Image image;
    image.width = width;
    image.height = height;
    uint32_t noise = 7;
    for (int i = 0; i < width * height * 3; ++i) {
        noise = noise * 1103515245 + 12345;
        image.rgb.push_back(static_cast<uint8_t>(noise >> 16));
    }
    return image;
}

int Predict(int filter, int a, int b, int c)
{
    switch (filter) {
    case 1:
        return a;
    case 2:
        return b;
    case 3:
        return (a + b) / 2;
    case 4: {
        int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    }
    }
    return 0;
}

// An 8-bit RGB PNG of the image whose row y uses filter type y % 5, with
// the image data split over two IDAT chunks.
std::vector<uint8_t> EncodePng(const Image& image)
{
    const size_t rowBytes = size_t(image.width) * 3;
    std::vector<uint8_t> raw;
    for (int y = 0; y < image.height; ++y) {
        const int filter = y % 5;
        raw.push_back(static_cast<uint8_t>(filter));
        const uint8_t* row = &image.rgb[y * rowBytes];
        for (size_t i = 0; i < rowBytes; ++i) {
            int a = i >= 3 ? row[i - 3] : 0;
            int b = y > 0 ? row[i - rowBytes] : 0;
            int c = y > 0 && i >= 3 ? row[i - rowBytes - 3] : 0;
            raw.push_back(static_cast<uint8_t>(row[i] - Predict(filter, a, b, c)));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    EXPECT_EQ(compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9), Z_OK);
    packed.resize(packedSize);

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutBE32(header, image.width);
    PutBE32(header, image.height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    const size_t half = packed.size() / 2;
    PutChunk(png, "IDAT", std::vector<uint8_t>(packed.begin(), packed.begin() + half));
    PutChunk(png, "tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'x'});
    PutChunk(png, "IDAT", std::vector<uint8_t>(packed.begin() + half, packed.end()));
    PutChunk(png, "IEND", {});
    return png;
}

// A bottom-up 32-bit BMP of the image.
std::vector<uint8_t> EncodeBmp32(const Image& image)
{
    std::vector<uint8_t> bmp{'B', 'M'};
    const uint32_t dataSize = uint32_t(image.width) * image.height * 4;
    PutLE32(bmp, 54 + dataSize);
    PutLE32(bmp, 0);
    PutLE32(bmp, 54);
    PutLE32(bmp, 40);
    PutLE32(bmp, image.width);
    PutLE32(bmp, image.height);
    PutLE16(bmp, 1);
    PutLE16(bmp, 32);
    for (int i = 0; i < 6; ++i)
        PutLE32(bmp, 0);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) {
            Rgb c = image.At(x, y);
            bmp.insert(bmp.end(), {c.b, c.g, c.r, 0});
        }
    return bmp;
}

} // namespace

TEST(PngReader, UndoesEveryFilterType)
{
    const Image sample = Sample(7, 11);
    Image decoded;
    ASSERT_EQ(DecodePng(EncodePng(sample), decoded), "");
    EXPECT_EQ(decoded.width, 7);
    EXPECT_EQ(decoded.height, 11);
    EXPECT_EQ(decoded.rgb, sample.rgb);
}

TEST(PngReader, RefusesADamagedChunk)
{
    std::vector<uint8_t> png = EncodePng(Sample(7, 11));
    png[8 + 8 + 5] ^= 1; // inside IHDR's data
    Image decoded;
    EXPECT_NE(DecodePng(png, decoded).find("CRC"), std::string::npos);
}

TEST(PngReader, RefusesATruncatedFile)
{
    std::vector<uint8_t> png = EncodePng(Sample(7, 11));
    png.resize(png.size() - 12); // without IEND
    Image decoded;
    EXPECT_NE(DecodePng(png, decoded), "");
}

TEST(BmpReader, ReadsRowsBottomUp)
{
    const Image sample = Sample(5, 3);
    const std::vector<uint8_t> bmp = EncodeBmp32(sample);
    BmpInfo info;
    ASSERT_EQ(ReadBmpInfo(bmp, info), "");
    EXPECT_EQ(info.width, 5);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.bitCount, 32);
    EXPECT_EQ(info.dataOffset, 54u);
    Image decoded;
    ASSERT_EQ(DecodeBmp(bmp, decoded), "");
    EXPECT_EQ(decoded.rgb, sample.rgb);
}
