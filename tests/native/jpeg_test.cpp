#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "core/Exception.h"
#include "core/Stream.h"
#include "imaging/Bitmap.h"
#include "imaging/MemoryBitmap.h"
#include "imaging/jpeg.h"
#include "kit/Colours.h"
#include "tests/native/TestBitmaps.h"
#include "tests/native/TestFiles.h"

namespace {

const uint32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF;

std::vector<uint8_t> Save(const TJPEGImage& jpeg)
{
    TMemoryStream stream;
    jpeg.SaveToStream(stream);
    return stream.Data();
}

std::vector<uint8_t> SaveBitmap(const TBitmap& bitmap, int quality = 90)
{
    TJPEGImage jpeg;
    jpeg.SetQuality(static_cast<uint8_t>(quality));
    jpeg.Assign(bitmap);
    return Save(jpeg);
}

// Whether a marker with this code comes before the first scan.
bool HasMarker(const std::vector<uint8_t>& b, int code)
{
    for (size_t i = 2; i + 4 <= b.size() && b[i] == 0xFF && b[i + 1] != 0xDA; i += 2 + ((b[i + 2] << 8) | b[i + 3]))
        if (b[i + 1] == code)
            return true;
    return false;
}

template <class E, class F>
std::string MessageOf(F action)
{
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

struct Decoded {
    int width = 0, height = 0, components = 0;
    int sampling[3] = {}; // 10 x horizontal + vertical
    std::vector<int> quant[2];
    std::vector<uint8_t> pixels; // top row first

    uint32_t Pixel(int x, int y) const
    {
        const uint8_t* p = &pixels[(size_t(y) * width + x) * components];
        return components == 1 ? p[0] * 0x010101u : p[0] | (p[1] << 8) | (p[2] << 16);
    }
};

struct DecodeErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void DecodeErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<DecodeErrors*>(cinfo->err)->jump, 1);
}

bool DecodeInto(const std::vector<uint8_t>& bytes, jpeg_decompress_struct& d, DecodeErrors& errors, Decoded& out)
{
    d.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = DecodeErrorExit;
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d, TRUE);
    out.components = d.num_components;
    for (int c = 0; c < d.num_components && c < 3; ++c)
        out.sampling[c] = d.comp_info[c].h_samp_factor * 10 + d.comp_info[c].v_samp_factor;
    for (int t = 0; t < 2; ++t)
        if (d.quant_tbl_ptrs[t])
            out.quant[t].assign(d.quant_tbl_ptrs[t]->quantval, d.quant_tbl_ptrs[t]->quantval + DCTSIZE2);
    jpeg_start_decompress(&d);
    out.width = d.output_width;
    out.height = d.output_height;
    out.pixels.resize(size_t(out.width) * out.height * d.output_components);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = &out.pixels[size_t(d.output_scanline) * out.width * d.output_components];
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    return true;
}

Decoded Decode(const std::vector<uint8_t>& bytes)
{
    jpeg_decompress_struct d{};
    DecodeErrors errors{};
    Decoded out;
    EXPECT_TRUE(DecodeInto(bytes, d, errors, out)) << "libjpeg cannot decode the file";
    jpeg_destroy_decompress(&d);
    return out;
}

} // namespace

TEST(JpegWriter, PureRedDecodesAsRed)
{
    TBitmap capture = MakeBitmap(16, 16, 32, Red);
    Decoded image = Decode(SaveBitmap(capture));
    ASSERT_EQ(image.components, 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_TRUE(ChannelsNear(image.Pixel(x, y), Red, 8)) << std::hex << image.Pixel(x, y);
    EXPECT_EQ(capture.BitCount(), 32); // the capture itself is not converted
}

TEST(JpegWriter, QuadrantsKeepColourAndPlaceFromEachDepth)
{
    for (int bitCount : {32, 24, 16}) {
        SCOPED_TRACE(bitCount);
        TBitmap bitmap = MakeBitmap(34, 30, bitCount); // 24-bit rows carry 2 padding bytes
        TMemoryBitmap& px = static_cast<TMemoryBitmap&>(*bitmap.BeginDraw());
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 34; ++x)
                px.SetPixel(x, y, y < 15 ? (x < 17 ? Red : Green) : (x < 17 ? Blue : White));
        Decoded image = Decode(SaveBitmap(bitmap));
        ASSERT_EQ(image.width * 100 + image.height, 3430);
        EXPECT_TRUE(ChannelsNear(image.Pixel(8, 7), Red, 24)) << std::hex << image.Pixel(8, 7);
        EXPECT_TRUE(ChannelsNear(image.Pixel(25, 7), Green, 24)) << std::hex << image.Pixel(25, 7);
        EXPECT_TRUE(ChannelsNear(image.Pixel(8, 22), Blue, 24)) << std::hex << image.Pixel(8, 22);
        EXPECT_TRUE(ChannelsNear(image.Pixel(25, 22), White, 24)) << std::hex << image.Pixel(25, 22);
    }
}

TEST(JpegWriter, DefaultsGiveBaselineJfifWithSubsampledChroma)
{
    std::vector<uint8_t> file = SaveBitmap(MakeBitmap(20, 10, 32, Green));
    const std::vector<uint8_t> start = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    ASSERT_GT(file.size(), start.size());
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + start.size()), start);
    EXPECT_TRUE(HasMarker(file, 0xC0));
    EXPECT_FALSE(HasMarker(file, 0xC2));
    EXPECT_FALSE(HasMarker(file, 0xEE)); // no Adobe marker
    Decoded image = Decode(file);
    ASSERT_EQ(image.components, 3);
    EXPECT_EQ(image.sampling[0], 22);
    EXPECT_EQ(image.sampling[1], 11);
    EXPECT_EQ(image.sampling[2], 11);
}

TEST(JpegWriter, QualityScalesTheQuantisationTables)
{
    TBitmap bitmap = MakeBitmap(16, 16, 32, Blue);
    Decoded best = Decode(SaveBitmap(bitmap, 100));
    Decoded worst = Decode(SaveBitmap(bitmap, 1));
    for (int t = 0; t < 2; ++t) {
        EXPECT_EQ(best.quant[t], std::vector<int>(DCTSIZE2, 1));
        ASSERT_EQ(worst.quant[t].size(), size_t(DCTSIZE2));
        EXPECT_EQ(*std::max_element(worst.quant[t].begin(), worst.quant[t].end()), 255);
    }
    EXPECT_EQ(SaveBitmap(bitmap, 0), SaveBitmap(bitmap, 1));
    EXPECT_EQ(SaveBitmap(bitmap, 200), SaveBitmap(bitmap, 100));
    EXPECT_NE(SaveBitmap(bitmap, 50), SaveBitmap(bitmap, 100));
}

TEST(JpegWriter, GrayAndProgressiveOutput)
{
    TBitmap bitmap = MakeBitmap(24, 24, 32, Red);
    TJPEGImage gray;
    gray.SetGrayOutput(true);
    gray.Assign(bitmap);
    Decoded grayImage = Decode(Save(gray));
    EXPECT_EQ(grayImage.components, 1);
    EXPECT_TRUE(gray.GrayData());
    EXPECT_TRUE(ChannelsNear(grayImage.Pixel(5, 5), 0x4C4C4C, 4)) << std::hex << grayImage.Pixel(5, 5); // luma of red

    TJPEGImage progressive;
    progressive.SetProgressiveOutput(true);
    progressive.Assign(bitmap);
    std::vector<uint8_t> file = Save(progressive);
    EXPECT_TRUE(HasMarker(file, 0xC2));
    EXPECT_FALSE(HasMarker(file, 0xC0));
    EXPECT_TRUE(ChannelsNear(Decode(file).Pixel(5, 5), Red, 8));
}

TEST(JpegWriter, EmptyBitmapGivesEmptyFile)
{
    ScratchDir dir;
    TJPEGImage jpeg;
    jpeg.SaveToFile(dir.File("none.jpg")); // no bitmap at all
    jpeg.Assign(TBitmap());
    jpeg.SaveToFile(dir.File("empty.jpg"));
    EXPECT_EQ(std::filesystem::file_size(dir.File("none.jpg")), 0u);
    EXPECT_EQ(std::filesystem::file_size(dir.File("empty.jpg")), 0u);
}

TEST(JpegWriter, LibraryErrorRaisesEJPEGAndLeavesFileEmpty)
{
    ScratchDir dir;
    TJPEGImage jpeg;
    jpeg.Assign(MakeBitmap(65501, 1, 24)); // wider than JPEG allows
    std::vector<int> seen;
    jpeg.OnProgress = [&](int percent) { seen.push_back(percent); };
    EXPECT_EQ(MessageOf<EJPEG>([&] { jpeg.SaveToFile(dir.File("wide.jpg")); }),
              "JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG));
    EXPECT_EQ(std::filesystem::file_size(dir.File("wide.jpg")), 0u);
    EXPECT_EQ(seen, (std::vector<int>{0, 0}));
    EXPECT_EQ(jpeg.Data(), nullptr);
    EXPECT_THROW(Save(jpeg), EJPEG); // no partial bytes were kept for a later save
}

TEST(JpegWriter, ProgressRunsFromZeroTo100)
{
    for (bool progressive : {false, true}) {
        TJPEGImage jpeg;
        jpeg.SetProgressiveOutput(progressive);
        jpeg.Assign(MakeBitmap(16, 64, 32, Green));
        std::vector<int> seen;
        jpeg.OnProgress = [&](int percent) { seen.push_back(percent); };
        Save(jpeg);
        ASSERT_GE(seen.size(), 3u);
        EXPECT_EQ(seen.front(), 0);
        EXPECT_EQ(seen.back(), 100);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    }
}

TEST(JpegWriter, ObserverCanStopCompression)
{
    for (size_t stopAt : {0, 1}) { // the start notification, then one from inside libjpeg
        SCOPED_TRACE(stopAt);
        TJPEGImage jpeg;
        jpeg.Assign(MakeBitmap(16, 64, 32, Green));
        std::vector<int> seen;
        jpeg.OnProgress = [&](int percent) {
            seen.push_back(percent);
            if (seen.size() == stopAt + 1)
                throw EAbort();
        };
        EXPECT_TRUE(Save(jpeg).empty());
        EXPECT_EQ(jpeg.Data(), nullptr);
        EXPECT_EQ(seen.size(), stopAt + 2);
        EXPECT_EQ(seen.back(), 0);
        jpeg.OnProgress = nullptr;
        EXPECT_FALSE(Save(jpeg).empty()); // compresses afresh
    }

    TJPEGImage jpeg;
    jpeg.Assign(MakeBitmap(16, 64, 32, Green));
    int last = -1;
    jpeg.OnProgress = [&](int percent) {
        last = percent;
        if (percent > 0 && percent < 100)
            throw std::runtime_error("observer failed");
    };
    EXPECT_THROW(Save(jpeg), std::runtime_error);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(jpeg.Data(), nullptr);
}

TEST(JpegImage, SizeCannotBeSetAndShortWritesAreReported)
{
    TJPEGImage jpeg;
    EXPECT_EQ(MessageOf<EInvalidGraphicOperation>([&] { jpeg.SetWidth(5); }), "Cannot change the size of a JPEG image");
    EXPECT_EQ(MessageOf<EInvalidGraphicOperation>([&] { jpeg.SetHeight(5); }), "Cannot change the size of a JPEG image");

    struct ShortStream : TStream {
        size_t Write(const void*, size_t count) override { return count - 1; }
        size_t Read(void*, size_t) override { return 0; }
    } stream;
    jpeg.Assign(MakeBitmap(8, 8, 32, Red));
    EXPECT_EQ(MessageOf<EWriteError>([&] { jpeg.SaveToStream(stream); }), "Stream write error");
}

TEST(JpegImage, CompressedBytesAreReusedAndShared)
{
    TJPEGImage first;
    first.Assign(MakeBitmap(40, 30, 32, Blue));
    int compressions = 0;
    first.OnProgress = [&](int percent) { compressions += percent == 0; };
    std::vector<uint8_t> bytes = Save(first);
    EXPECT_EQ(Save(first), bytes);
    EXPECT_EQ(compressions, 1);

    TJPEGImage second;
    second.Assign(first);
    EXPECT_EQ(second.Data(), first.Data());
    EXPECT_EQ(second.Width(), 40);
    EXPECT_EQ(Save(second), bytes);

    second.Assign(MakeBitmap(8, 8, 32, Red)); // a new bitmap means new bytes
    EXPECT_EQ(second.Data(), nullptr);
    EXPECT_NE(Save(second), bytes);
    EXPECT_EQ(Save(first), bytes);
}

TEST(JpegImage, NewImagesTakeTheDefaults)
{
    const TJPEGDefaults saved = JPEGDefaults;
    SetJPEGDefaultDecodeDepth(8);
    EXPECT_EQ(TJPEGImage().DecodeDepth(), 1);
    SetJPEGDefaultDecodeDepth(16);
    JPEGDefaults.CompressionQuality = 70;
    EXPECT_EQ(TJPEGImage().DecodeDepth(), 0);
    EXPECT_EQ(TJPEGImage().Quality(), 70);
    JPEGDefaults = saved;
    EXPECT_EQ(TJPEGImage().Quality(), 90);
}
