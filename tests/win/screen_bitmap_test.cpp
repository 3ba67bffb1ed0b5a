// The capture bitmap on a real screen: GDI draws into it, and its BMP form
// and read-outs match what was drawn. Runs on a 32-bit and a 16-bit screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "core/Exception.h"
#include "core/Stream.h"
#include "core/Unicode.h"
#include "imaging/ScreenBitmap.h"
#include "kit/Screen.h"
#include "tests/native/TestFiles.h"

using support::ScreenBitCount;

namespace {

// Channel values that a 16-bit screen holds exactly.
const COLORREF kPattern[2][3] = {
    {RGB(0xF8, 0, 0), RGB(0, 0xF8, 0), RGB(0, 0, 0xF8)},
    {RGB(0xF8, 0xF8, 0xF8), RGB(0, 0, 0), RGB(0x40, 0x80, 0xC0)},
};

TBitmap DrawPattern()
{
    TBitmap bitmap;
    bitmap.SetWidth(3);
    bitmap.SetHeight(2);
    TBitmapCanvas canvas(bitmap);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            SetPixelV(canvas.Handle(), x, y, kPattern[y][x]);
    return bitmap;
}

void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The BMP file a bitmap of kPattern must give at this depth.
std::vector<uint8_t> ExpectedBmp(int bitCount)
{
    const uint32_t stride = static_cast<uint32_t>(DibStride(3, bitCount));
    const uint32_t imageSize = stride * 2;
    std::vector<uint8_t> file = {'B', 'M'};
    PutLE(file, 54 + imageSize, 4);
    PutLE(file, 0, 4);
    PutLE(file, 54, 4);
    for (uint32_t v : {40u, 3u, 2u})
        PutLE(file, v, 4);
    PutLE(file, 1, 2);
    PutLE(file, static_cast<uint32_t>(bitCount), 2);
    for (uint32_t v : {0u, imageSize, 0u, 0u, 0u, 0u})
        PutLE(file, v, 4);
    for (int y = 1; y >= 0; --y) {
        size_t rowStart = file.size();
        for (int x = 0; x < 3; ++x) {
            COLORREF c = kPattern[y][x];
            if (bitCount == 16) {
                uint32_t v = (GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | (GetBValue(c) >> 3);
                PutLE(file, v, 2);
            } else {
                file.push_back(GetBValue(c));
                file.push_back(GetGValue(c));
                file.push_back(GetRValue(c));
                if (bitCount == 32)
                    file.push_back(0);
            }
        }
        while (file.size() - rowStart < stride)
            file.push_back(0);
    }
    return file;
}

} // namespace

TEST(ScreenBitmap, DepthFollowsTheScreen)
{
    TBitmap bitmap;
    bitmap.SetWidth(4);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetHeight(4);
    ASSERT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.BitCount(), ScreenBitCount());
}

TEST(ScreenBitmap, SavedFileIsTheDrawnPictureByteForByte)
{
    TBitmap bitmap = DrawPattern();
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    EXPECT_EQ(stream.Data(), ExpectedBmp(ScreenBitCount())) << "screen depth " << ScreenBitCount();
}

TEST(ScreenBitmap, TwentyFourBitReadOutWidensToFullIntensity)
{
    TBitmap bitmap;
    bitmap.SetWidth(2);
    bitmap.SetHeight(1);
    {
        TBitmapCanvas canvas(bitmap);
        SetPixelV(canvas.Handle(), 0, 0, RGB(255, 255, 255));
        SetPixelV(canvas.Handle(), 1, 0, RGB(255, 0, 0));
    }
    std::vector<uint8_t> rows(DibStride(2, 24), 0xEE);
    bitmap.ReadRows(24, rows.data(), nullptr);
    EXPECT_EQ(rows, (std::vector<uint8_t>{255, 255, 255, 0, 0, 255, 0, 0}));
}

TEST(ScreenBitmap, CopiesShareUntilOneDraws)
{
    TBitmap original = DrawPattern();
    TBitmap copy;
    copy.Assign(original);
    {
        TBitmapCanvas canvas(copy);
        SetPixelV(canvas.Handle(), 0, 0, RGB(0, 0, 0));
    }
    TMemoryStream a, b;
    original.SaveToStream(a);
    copy.SaveToStream(b);
    EXPECT_EQ(a.Data(), ExpectedBmp(ScreenBitCount()));
    EXPECT_NE(a.Data(), b.Data());
}

TEST(FileStream, NamesKeepEveryCharacter)
{
    ScratchDir dir;
    std::filesystem::path folder = dir.Path() / std::filesystem::u8path("Ünïcødé 写真");
    std::filesystem::create_directories(folder);
    std::filesystem::path file = folder / std::filesystem::u8path("shot1 写真.bmp");
    TBitmap bitmap = DrawPattern();
    bitmap.SaveToFile(WideToUtf8(file.wstring()));
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), ExpectedBmp(ScreenBitCount()).size());
}

TEST(FileStream, CreationFailureNamesFullPathAndSystemReason)
{
    ScratchDir dir;
    std::filesystem::path missing = dir.Path() / "missing" / "shot1.bmp";
    TBitmap bitmap = DrawPattern();
    try {
        bitmap.SaveToFile(WideToUtf8(missing.wstring()));
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        std::string prefix = "Cannot create file \"" + WideToUtf8(missing.wstring()) + "\". ";
        EXPECT_EQ(e.Message().rfind(prefix, 0), 0u) << e.Message();
        EXPECT_GT(e.Message().size(), prefix.size()) << "the system's reason is missing";
    }
}
