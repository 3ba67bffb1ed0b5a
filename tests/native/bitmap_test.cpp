#include <gtest/gtest.h>

#include "core/Exception.h"
#include "core/Stream.h"
#include "imaging/Bitmap.h"
#include "imaging/MemoryBitmap.h"
#include "tests/native/TestBitmaps.h"
#include "tests/native/TestFiles.h"

namespace {

std::vector<uint8_t> SaveBmp(const TBitmap& bitmap)
{
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return stream.Data();
}

} // namespace

TEST(DibStride, PadsRowsToFourBytes)
{
    EXPECT_EQ(DibStride(1, 24), 4);
    EXPECT_EQ(DibStride(3, 24), 12);
    EXPECT_EQ(DibStride(5, 24), 16);
    EXPECT_EQ(DibStride(1, 32), 4);
    EXPECT_EQ(DibStride(3, 16), 8);
    EXPECT_EQ(DibStride(9, 1), 4);
    EXPECT_EQ(DibStride(33, 1), 8);
    EXPECT_EQ(DibStride(3, 4), 4);
}

TEST(BmpWriter, TwoByTwoOn32BitScreenIsSeventyBytes)
{
    TBitmap bitmap = MakeBitmap(2, 2, 32);
    TMemoryBitmap& px = Pixels(bitmap);
    px.SetPixel(0, 0, 0x0000FF); // top left red
    px.SetPixel(1, 0, 0x00FF00); // top right green
    px.SetPixel(0, 1, 0xFF0000); // bottom left blue
    px.SetPixel(1, 1, 0x123456);

    std::vector<uint8_t> expected = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 16, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        // bottom row first: blue, then 0x123456 (blue 0x12, green 0x34, red 0x56)
        0xFF, 0, 0, 0, 0x12, 0x34, 0x56, 0,
        0, 0, 0xFF, 0, 0, 0xFF, 0, 0,
    };
    EXPECT_EQ(SaveBmp(bitmap), expected);
}

TEST(BmpWriter, UnusedFourthByteOf32BitPixelsIsWrittenAsZero)
{
    TBitmap bitmap = MakeBitmap(3, 2, 32);
    TMemoryBitmap& px = Pixels(bitmap);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            px.Row(y)[4 * x + 3] = static_cast<uint8_t>(x == 1 ? 0xFF : 0x80); // as some windows return
    px.SetPixel(1, 1, 0x123456);
    px.Row(1)[4 * 1 + 3] = 0xFF;
    const std::vector<uint8_t> file = SaveBmp(bitmap);
    ASSERT_EQ(file.size(), 54u + 24u);
    for (size_t i = 54 + 3; i < file.size(); i += 4)
        EXPECT_EQ(file[i], 0) << "byte " << i;
    EXPECT_EQ(file[54 + 4], 0x12) << "the colours are kept";
    EXPECT_EQ(px.Row(1)[4 * 1 + 3], 0xFF) << "the bitmap itself is left alone";
}

TEST(BmpWriter, TwentyFourBitRowsArePadded)
{
    TBitmap bitmap = MakeBitmap(1, 2, 24);
    TMemoryBitmap& px = Pixels(bitmap);
    px.SetPixel(0, 0, 0x030201);
    px.SetPixel(0, 1, 0x060504);
    std::vector<uint8_t> file = SaveBmp(bitmap);
    ASSERT_EQ(file.size(), 54u + 8u);
    EXPECT_EQ(LE32(&file[2]), 62u);
    EXPECT_EQ(LE16(&file[28]), 24);
    EXPECT_EQ(LE32(&file[34]), 8u);
    std::vector<uint8_t> rows(file.begin() + 54, file.end());
    EXPECT_EQ(rows, (std::vector<uint8_t>{6, 5, 4, 0, 3, 2, 1, 0}));
}

TEST(BmpWriter, SixteenBitPixelsStayFiveBitsPerChannel)
{
    TBitmap bitmap = MakeBitmap(2, 1, 16);
    Pixels(bitmap).SetPixel(0, 0, 0x0000FF);
    Pixels(bitmap).SetPixel(1, 0, 0xFFFFFF);
    std::vector<uint8_t> file = SaveBmp(bitmap);
    ASSERT_EQ(file.size(), 54u + 4u);
    EXPECT_EQ(LE16(&file[28]), 16);
    EXPECT_EQ(LE32(&file[30]), 0u); // uncompressed, no masks
    EXPECT_EQ(LE16(&file[54]), 0x7C00);
    EXPECT_EQ(LE16(&file[56]), 0x7FFF);
}

TEST(BmpWriter, PaletteBitmapsWriteTheirColourTable)
{
    TBitmap bitmap = MakeBitmap(3, 1, 4);
    TMemoryBitmap& px = Pixels(bitmap);
    px.Colours()[5] = {10, 20, 30, 99};
    px.SetIndex(0, 0, 5);
    px.SetIndex(2, 0, 15);
    std::vector<uint8_t> file = SaveBmp(bitmap);
    ASSERT_EQ(file.size(), 14u + 40u + 16u * 4u + 4u);
    EXPECT_EQ(LE32(&file[10]), 14u + 40u + 64u);
    EXPECT_EQ(LE32(&file[46]), 16u); // colours used
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54 + 20, file.begin() + 54 + 24),
              (std::vector<uint8_t>{10, 20, 30, 0})); // reserved byte written as 0
    EXPECT_EQ(file[118], 0x50);
    EXPECT_EQ(file[119], 0xF0);
}

TEST(BmpWriter, EmptyBitmapGivesEmptyFile)
{
    ScratchDir dir;
    TBitmap bitmap;
    bitmap.SetWidth(10); // height still 0: no pixels
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SaveToFile(dir.File("empty.bmp"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("empty.bmp")));
    EXPECT_EQ(std::filesystem::file_size(dir.File("empty.bmp")), 0u);
}

TEST(BmpWriter, SaveToFileTruncatesAndReportsCreationFailure)
{
    ScratchDir dir;
    std::string name = dir.File("shot.bmp");
    {
        std::ofstream old(name, std::ios::binary);
        old << std::string(1000, 'x');
    }
    TBitmap bitmap;
    bitmap.SetWidth(2);
    bitmap.SetHeight(2);
    bitmap.SaveToFile(name);
    EXPECT_EQ(std::filesystem::file_size(name), 70u);

    std::string missing = (dir.Path() / "no such folder" / "shot.bmp").string();
    try {
        bitmap.SaveToFile(missing);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"" + missing + "\". ", 0), 0u) << e.Message();
        EXPECT_GT(e.Message().size(), ("Cannot create file \"" + missing + "\". ").size());
    }
}

TEST(BmpWriter, ShortWriteIsStreamWriteError)
{
    TBitmap bitmap = MakeBitmap(4, 4, 32);
    ShortStream stream(60);
    try {
        bitmap.SaveToStream(stream);
        FAIL() << "no error";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
}

TEST(BitmapReadOut, TwentyFourBitRowsFromEveryDepth)
{
    for (int depth : {32, 24, 16}) {
        SCOPED_TRACE(depth);
        TBitmap bitmap = MakeBitmap(3, 2, depth);
        TMemoryBitmap& px = Pixels(bitmap);
        px.SetPixel(0, 0, 0xFFFFFF);
        px.SetPixel(2, 0, 0x0000FF);
        px.SetPixel(1, 1, 0xFF0000);
        std::vector<uint8_t> rows(DibStride(3, 24) * 2, 0xEE);
        bitmap.ReadRows(24, rows.data(), nullptr);
        // bottom row first: (0,1) black, (1,1) blue, (2,1) black, pad
        std::vector<uint8_t> expected = {0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0,
                                         255, 255, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0};
        EXPECT_EQ(rows, expected);
    }
}

TEST(BitmapReadOut, NativeRowsComeWithColourTable)
{
    TBitmap bitmap = MakeBitmap(2, 1, 8);
    TMemoryBitmap& px = Pixels(bitmap);
    px.Colours()[7] = {1, 2, 3, 0};
    px.SetIndex(1, 0, 7);
    std::vector<uint8_t> rows(4);
    std::vector<TRGBQuad> colours;
    bitmap.ReadRows(8, rows.data(), &colours);
    EXPECT_EQ(rows, (std::vector<uint8_t>{0, 7, 0, 0}));
    ASSERT_EQ(colours.size(), 256u);
    EXPECT_EQ(colours[7].red, 3);
}

TEST(BitmapSharing, AssignSharesUntilOneSideDraws)
{
    TBitmap original = MakeBitmap(2, 2, 32);
    Pixels(original).SetPixel(0, 0, 0x0000FF);
    TBitmap copy;
    copy.Assign(original);
    EXPECT_EQ(original.ShareCount(), 2);
    EXPECT_EQ(copy.Width(), 2);
    EXPECT_EQ(SaveBmp(copy), SaveBmp(original));

    Pixels(copy).SetPixel(0, 0, 0x00FF00);
    EXPECT_EQ(original.ShareCount(), 1);
    EXPECT_EQ(static_cast<const TMemoryBitmap*>(original.Device())->Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(static_cast<const TMemoryBitmap*>(copy.Device())->Pixel(0, 0), 0x00FF00u);
}

TEST(BitmapSharing, DrawingDropsTheSavedCopy)
{
    TBitmap bitmap = MakeBitmap(1, 1, 24);
    std::vector<uint8_t> before = SaveBmp(bitmap);
    Pixels(bitmap).SetPixel(0, 0, 0xABCDEF);
    std::vector<uint8_t> after = SaveBmp(bitmap);
    EXPECT_NE(before, after);
    EXPECT_EQ(after[54], 0xAB);
}

TEST(BitmapSharing, ConvertTo24BitKeepsPictureAndLeavesSourceAlone)
{
    TBitmap capture = MakeBitmap(2, 1, 32);
    Pixels(capture).SetPixel(1, 0, 0x112233);
    TBitmap work;
    work.Assign(capture);
    work.ConvertTo24Bit();
    EXPECT_EQ(work.BitCount(), 24);
    EXPECT_EQ(capture.BitCount(), 32);
    const uint8_t* rows = work.Device()->DibRows();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows[3], 0x11);
    EXPECT_EQ(rows[5], 0x33);
}

TEST(Graphic, BitmapRefusesOtherGraphics)
{
    class TOther : public TGraphic {
    public:
        const char* ClassName() const override { return "TOther"; }
        int Width() const override { return 0; }
        int Height() const override { return 0; }
        void SetWidth(int) override {}
        void SetHeight(int) override {}
        void SaveToStream(TStream&) const override {}
    } other;
    TBitmap bitmap;
    EXPECT_THROW(bitmap.Assign(other), EConvertError);
}
