// The capture and save pipeline on a real screen: what lands in the bitmap,
// and how shots are written without ever overwriting one. Runs on a 32-bit
// and a 16-bit screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/Capture.h"
#include "app/ShotFile.h"
#include "app/FileNaming.h"
#include "core/Exception.h"
#include "core/Stream.h"
#include "core/Unicode.h"
#include "imaging/ScreenBitmap.h"
#include "kit/PatternWindow.h"
#include "kit/Screen.h"
#include "tests/e2e/ImageFiles.h"
#include "tests/native/TestFiles.h"

using namespace support;

namespace fs = std::filesystem;

namespace {

// Quadrant colours, exact on a 16-bit screen and none of them black.
const COLORREF kTopLeft = RGB(0xF8, 0, 0);
const COLORREF kTopRight = RGB(0, 0xF8, 0);
const COLORREF kBottomLeft = RGB(0, 0, 0xF8);
const COLORREF kBottomRight = RGB(0xF8, 0xF8, 0);

const POINT kWindowPos = {300, 200};
const int kClientWidth = 200;
const int kClientHeight = 160;

std::string Hex(COLORREF c)
{
    char text[16];
    snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// On a 16-bit screen only the top five bits of a channel survive.
bool SameColour(COLORREF a, COLORREF b)
{
    const COLORREF mask = ScreenColourMask();
    return (a & mask) == (b & mask);
}

// A bitmap's pixels, read out at 24 bits.
class TPixels {
public:
    explicit TPixels(const TBitmap& bitmap)
        : width_(bitmap.Width()), height_(bitmap.Height()), stride_(DibStride(width_, 24)),
          rows_(stride_ * height_)
    {
        bitmap.ReadRows(24, rows_.data(), nullptr);
    }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    COLORREF At(int x, int y) const
    {
        // Rows are stored bottom row first.
        const uint8_t* p = &rows_[(height_ - 1 - y) * stride_ + x * 3];
        return RGB(p[2], p[1], p[0]);
    }

private:
    int width_;
    int height_;
    int64_t stride_;
    std::vector<uint8_t> rows_;
};

// The pattern's client area with its top-left pixel at (x, y): corners and
// quadrant centres in their colours, the pixels just outside its edges not.
::testing::AssertionResult PatternAt(const TBitmap& bitmap, int x, int y)
{
    const TPixels pixels(bitmap);
    const int w = kClientWidth, h = kClientHeight;
    const struct {
        int dx, dy;
        COLORREF colour;
        bool inside;
    } probes[] = {
        {0, 0, kTopLeft, true},
        {w / 2 - 1, h / 2 - 1, kTopLeft, true},
        {w - 1, 0, kTopRight, true},
        {w / 2, h / 2 - 1, kTopRight, true},
        {0, h - 1, kBottomLeft, true},
        {w / 2 - 1, h / 2, kBottomLeft, true},
        {w - 1, h - 1, kBottomRight, true},
        {w / 2, h / 2, kBottomRight, true},
        {-1, 0, kTopLeft, false},
        {0, -1, kTopLeft, false},
        {w, h - 1, kBottomRight, false},
        {w - 1, h, kBottomRight, false},
    };
    for (const auto& p : probes) {
        const int px = x + p.dx, py = y + p.dy;
        if (!pixels.Contains(px, py)) {
            if (p.inside)
                return ::testing::AssertionFailure() << "(" << px << ", " << py << ") lies outside the picture";
            continue;
        }
        const COLORREF got = pixels.At(px, py);
        if (SameColour(got, p.colour) != p.inside)
            return ::testing::AssertionFailure() << "pixel (" << px << ", " << py << ") is " << Hex(got)
                                                 << (p.inside ? ", expected " : ", must differ from ")
                                                 << Hex(p.colour);
    }
    return ::testing::AssertionSuccess();
}

// Sets the work area for a while, and puts the old one back.
class TWorkArea {
public:
    explicit TWorkArea(RECT area)
    {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved_, 0);
        set_ = SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0);
    }
    ~TWorkArea() { SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved_, 0); }
    bool Set() const { return set_; }

private:
    RECT saved_{};
    bool set_ = false;
};

class Capture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(pattern_.Handle(), nullptr);
        ASSERT_TRUE(pattern_.WaitUntilOnScreen()) << "the pattern window did not show";
    }
    PatternWindow pattern_{kWindowPos, {kClientWidth, kClientHeight}, WS_POPUP | WS_BORDER,
                           WS_EX_TOPMOST | WS_EX_TOOLWINDOW, {kTopLeft, kTopRight, kBottomRight, kBottomLeft}};
};

std::string Utf8(const fs::path& path)
{
    return WideToUtf8(path.wstring());
}

fs::path PathOf(const std::string& utf8)
{
    return fs::path(Utf8ToWide(utf8));
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// A small picture with fine detail, so that compression settings show.
TBitmap DetailedBitmap()
{
    TBitmap bitmap;
    bitmap.SetWidth(64);
    bitmap.SetHeight(48);
    TBitmapCanvas canvas(bitmap);
    uint32_t noise = 12345;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            noise = noise * 1103515245 + 12345;
            SetPixelV(canvas.Handle(), x, y, RGB((noise >> 16) & 0xF8, x * 4 & 0xF8, y * 5 & 0xF8));
        }
    return bitmap;
}

TShotSettings ShotSettings(const std::string& folder, const std::string& prefix, TShotFormat format,
                           int jpgQuality = 90, int pngLevel = 7)
{
    TShotSettings settings;
    settings.folder = folder;
    settings.prefix = prefix;
    settings.format = format;
    settings.jpgQuality = jpgQuality;
    settings.pngLevel = pngLevel;
    return settings;
}

std::vector<uint8_t> Saved(const TBitmap& bitmap, TShotFormat format, int jpgQuality, int pngLevel)
{
    ScratchDir dir;
    TShotSettings settings = ShotSettings(Utf8(dir.Path()), "shot", format, jpgQuality, pngLevel);
    std::string name = SaveCapture(bitmap, Utf8(dir.Path() / "shot1"), settings);
    return ReadFileBytes(PathOf(name));
}

} // namespace

TEST_F(Capture, WholeScreenIncludesTheTaskbar)
{
    TBitmap bitmap;
    CaptureScreen(bitmap, true);
    EXPECT_EQ(bitmap.Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bitmap.Height(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(bitmap.Width(), 1280);
    EXPECT_EQ(bitmap.Height(), 800);
    POINT origin = pattern_.ClientOrigin();
    EXPECT_TRUE(PatternAt(bitmap, origin.x, origin.y));
}

TEST_F(Capture, WithoutTaskbarOnlyTheWorkArea)
{
    RECT work = WorkArea();
    TBitmap bitmap;
    CaptureScreen(bitmap, false);
    EXPECT_EQ(bitmap.Width(), work.right - work.left);
    EXPECT_EQ(bitmap.Height(), work.bottom - work.top);
    EXPECT_LT(bitmap.Height(), 800);
    POINT origin = pattern_.ClientOrigin();
    EXPECT_TRUE(PatternAt(bitmap, origin.x - work.left, origin.y - work.top));
}

TEST_F(Capture, WorkAreaAwayFromTheOriginLandsAtTheBitmapsOrigin)
{
    // As with a taskbar at the top and a bar docked on the left.
    TWorkArea area(RECT{40, 30, 1280, 780});
    ASSERT_TRUE(area.Set());
    TBitmap bitmap;
    CaptureScreen(bitmap, false);
    EXPECT_EQ(bitmap.Width(), 1240);
    EXPECT_EQ(bitmap.Height(), 750);
    POINT origin = pattern_.ClientOrigin();
    EXPECT_TRUE(PatternAt(bitmap, origin.x - 40, origin.y - 30));
}

TEST_F(Capture, WindowWithItsFrame)
{
    RECT rect = pattern_.WindowRect();
    POINT origin = pattern_.ClientOrigin();
    ASSERT_GT(origin.x, rect.left) << "the pattern window should have a frame";
    TBitmap bitmap;
    CaptureWindow(bitmap, pattern_.Handle());
    EXPECT_EQ(bitmap.Width(), rect.right - rect.left);
    EXPECT_EQ(bitmap.Height(), rect.bottom - rect.top);
    EXPECT_TRUE(PatternAt(bitmap, origin.x - rect.left, origin.y - rect.top));
}

TEST(CaptureWindow, NoWindowOrNoAreaRaisesBeforeAnyFileIsWritten)
{
    ScratchDir dir;
    TShotSettings settings = ShotSettings(Utf8(dir.Path()), "shot", TShotFormat::Bmp);
    auto shoot = [&](HWND window) {
        TBitmap bitmap;
        try {
            CaptureWindow(bitmap, window);
            SaveCapture(bitmap, MakeFileName(settings.folder, "shot", TShotFormat::Bmp, FileOrFolderExists), settings);
        } catch (const Exception& e) {
            EXPECT_TRUE(bitmap.Empty());
            EXPECT_EQ(bitmap.Width(), 0);
            return e.Message();
        }
        return std::string("no error");
    };

    EXPECT_EQ(shoot(nullptr), "There is no window in the foreground to capture");

    HWND empty = CreateWindowExW(0, L"STATIC", L"empty", WS_POPUP | WS_VISIBLE, 10, 10, 0, 0, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(shoot(empty), "The foreground window has no area to capture");
    DestroyWindow(empty);
    EXPECT_EQ(shoot(empty), "There is no window in the foreground to capture"); // no longer a window

    EXPECT_EQ(shoot(GetDesktopWindow()), "There is no window in the foreground to capture");
    HWND hidden = CreateWindowExW(0, L"STATIC", L"hidden", WS_POPUP, 10, 10, 50, 50, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(shoot(hidden), "The foreground window is minimised or hidden and cannot be captured");
    ShowWindow(hidden, SW_SHOWMINNOACTIVE);
    EXPECT_EQ(shoot(hidden), "The foreground window is minimised or hidden and cannot be captured");
    DestroyWindow(hidden);

    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST_F(Capture, TheClipboardGetsExactlyThePixelsOfTheFile)
{
    TBitmap bitmap;
    CaptureScreen(bitmap, true);
    ScratchDir dir;
    TShotSettings settings = ShotSettings(Utf8(dir.Path()), "shot", TShotFormat::Png);
    const std::string name = SaveCapture(bitmap, Utf8(dir.Path() / "shot1.png"), settings);
    e2e::Image file;
    ASSERT_EQ(e2e::DecodePng(ReadFileBytes(PathOf(name)), file), "");
    CopyToClipboard(nullptr, bitmap);

    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL data = GetClipboardData(CF_DIB);
    const auto* header = data ? static_cast<const BITMAPINFOHEADER*>(GlobalLock(data)) : nullptr;
    ASSERT_NE(header, nullptr) << "no bitmap on the clipboard";
    EXPECT_EQ(header->biWidth, file.width);
    EXPECT_EQ(header->biHeight, file.height);
    ASSERT_EQ(header->biBitCount, 24);
    const auto* rows = reinterpret_cast<const uint8_t*>(header + 1);
    const size_t stride = DibStride(file.width, 24);
    int different = 0;
    for (int y = 0; y < file.height; ++y)
        for (int x = 0; x < file.width; ++x) {
            const uint8_t* bgr = rows + (file.height - 1 - y) * stride + x * 3;
            different += e2e::Rgb{bgr[2], bgr[1], bgr[0]} != file.At(x, y);
        }
    EXPECT_EQ(different, 0) << "pixels that differ from the file's";
    GlobalUnlock(data);
    CloseClipboard();
}

TEST(CopyToClipboard, AClipboardHeldByAnotherProgramIsReportedAfterItsRetries)
{
    TBitmap bitmap = DetailedBitmap();
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        // Held as another program holds it: open for a window of its own.
        HWND window = CreateWindowExW(0, L"STATIC", L"clipboard holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      nullptr, nullptr);
        if (OpenClipboard(window)) {
            SetEvent(opened);
            WaitForSingleObject(release, 10000);
            CloseClipboard();
        }
        DestroyWindow(window);
    });
    ASSERT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
    EXPECT_THROW(CopyToClipboard(nullptr, bitmap), Exception);
    SetEvent(release);
    holder.join();
    EXPECT_NO_THROW(CopyToClipboard(nullptr, bitmap)) << "a free clipboard takes the copy";
    CloseHandle(opened);
    CloseHandle(release);
}

TEST(SaveCapture, EachFormatWithItsSignature)
{
    ScratchDir dir;
    TBitmap bitmap = DetailedBitmap();
    const std::vector<uint8_t> signatures[] = {
        {'B', 'M'},
        {0xFF, 0xD8, 0xFF},
        {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A},
    };
    for (int format = 0; format < 3; ++format) {
        TShotSettings settings = ShotSettings(Utf8(dir.Path()), "shot", ShotFormatFromIndex(format));
        std::string name = MakeFileName(settings.folder, settings.prefix, settings.format, FileOrFolderExists);
        EXPECT_EQ(FileNamePart(name), "shot1" + FormatExtension(settings.format));
        EXPECT_EQ(SaveCapture(bitmap, name, settings), name);
        std::vector<uint8_t> bytes = ReadFileBytes(PathOf(name));
        ASSERT_GE(bytes.size(), signatures[format].size()) << name;
        EXPECT_TRUE(std::equal(signatures[format].begin(), signatures[format].end(), bytes.begin())) << name;
        EXPECT_EQ(FileSizeKB(name), SizeInKB(bytes.size())) << name;
        if (format == 0) {
            TMemoryStream expected;
            bitmap.SaveToStream(expected);
            EXPECT_EQ(bytes, expected.Data());
        }
        if (format == 1) {
            EXPECT_EQ((std::vector<uint8_t>(bytes.end() - 2, bytes.end())), (std::vector<uint8_t>{0xFF, 0xD9}));
        }
    }

    // Without a format the name comes back and nothing is written.
    TShotSettings none = ShotSettings(Utf8(dir.Path()), "shot", TShotFormat::None);
    std::string name = MakeFileName(none.folder, none.prefix, TShotFormat::None, FileOrFolderExists);
    EXPECT_EQ(FileNamePart(name), "shot1");
    EXPECT_EQ(SaveCapture(bitmap, name, none), name);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3);
}

TEST(SaveCapture, QualityAndLevelTakeTheirLowByte)
{
    TBitmap bitmap = DetailedBitmap();
    std::vector<uint8_t> low = Saved(bitmap, TShotFormat::Jpg, 5, 7), high = Saved(bitmap, TShotFormat::Jpg, 100, 7);
    EXPECT_LT(low.size(), high.size());
    EXPECT_EQ(Saved(bitmap, TShotFormat::Jpg, 0x100 + 5, 7), low);

    std::vector<uint8_t> stored = Saved(bitmap, TShotFormat::Png, 90, 0), packed = Saved(bitmap, TShotFormat::Png, 90, 9);
    EXPECT_GT(stored.size(), packed.size());
    EXPECT_EQ(Saved(bitmap, TShotFormat::Png, 90, 0x100 + 9), packed);
}

TEST(SaveCapture, ExistingShotIsNeverOverwritten)
{
    ScratchDir dir;
    WriteBytes(dir.Path() / "shot1.bmp", "first");
    WriteBytes(dir.Path() / "shot2.bmp", "second");
    TShotSettings settings = ShotSettings(Utf8(dir.Path()), "shot", TShotFormat::Bmp);
    // The name was chosen while shot1.bmp was still free.
    std::string written = SaveCapture(DetailedBitmap(), Utf8(dir.Path() / "shot1.bmp"), settings);
    EXPECT_EQ(written, Utf8(dir.Path() / "shot3.bmp"));
    EXPECT_EQ(ReadFileBytes(dir.Path() / "shot1.bmp"), (std::vector<uint8_t>{'f', 'i', 'r', 's', 't'}));
    EXPECT_EQ(ReadFileBytes(dir.Path() / "shot2.bmp"), (std::vector<uint8_t>{'s', 'e', 'c', 'o', 'n', 'd'}));
    std::vector<uint8_t> bytes = ReadFileBytes(dir.Path() / "shot3.bmp");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    // The temporary file it was written to has become shot3.bmp.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3);
}

TEST(SaveCapture, ANameWindowsCannotHoldIsRefusedInPlainWords)
{
    ScratchDir dir;
    TShotSettings settings = ShotSettings(Utf8(dir.Path()), std::string(260, 'n'), TShotFormat::Png);
    const std::string name = MakeFileName(settings.folder, settings.prefix, settings.format, FileOrFolderExists);
    try {
        SaveCapture(DetailedBitmap(), name, settings);
        ADD_FAILURE() << "no error for a name of 260 characters";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"" + name + "\". The name is too long.", 0), 0u)
            << e.Message();
    }
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(SaveCapture, FolderNamedLikeAShotCountsAsTaken)
{
    ScratchDir dir;
    fs::create_directory(dir.Path() / "shot1.bmp");
    const std::string folder = Utf8(dir.Path());
    EXPECT_TRUE(FileOrFolderExists(Utf8(dir.Path() / "shot1.bmp")));
    EXPECT_EQ(MakeFileName(folder, "shot", TShotFormat::Bmp, FileOrFolderExists), Utf8(dir.Path() / "shot2.bmp"));

    TShotSettings settings = ShotSettings(folder, "shot", TShotFormat::Bmp);
    EXPECT_EQ(SaveCapture(DetailedBitmap(), Utf8(dir.Path() / "shot1.bmp"), settings),
              Utf8(dir.Path() / "shot2.bmp"));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "shot1.bmp"));
    EXPECT_TRUE(fs::is_regular_file(dir.Path() / "shot2.bmp"));
}

TEST(SaveCapture, UncreatableFileRaisesCreateError)
{
    ScratchDir dir;
    const fs::path missing = dir.Path() / "missing";
    TShotSettings settings = ShotSettings(Utf8(missing), "shot", TShotFormat::Png);
    for (std::string name : {Utf8(missing / "shot1.png"), std::string()}) {
        try {
            SaveCapture(DetailedBitmap(), name, settings);
            ADD_FAILURE() << "no error for \"" << name << "\"";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message().rfind("Cannot create file \"" + name, 0), 0u) << e.Message();
            EXPECT_EQ(dynamic_cast<const EFileExists*>(&e), nullptr) << e.Message();
        }
    }
    EXPECT_FALSE(fs::exists(missing));
}

TEST(SaveCapture, NamesWithAnyCharacters)
{
    ScratchDir dir;
    const fs::path folder = dir.Path() / fs::u8path("Ünïcødé 写真");
    fs::create_directory(folder);
    TShotSettings settings = ShotSettings(Utf8(folder), "写真 ", TShotFormat::Png);
    std::string first = MakeFileName(settings.folder, settings.prefix, TShotFormat::Png, FileOrFolderExists);
    EXPECT_EQ(SaveCapture(DetailedBitmap(), first, settings), first);
    EXPECT_EQ(FileNamePart(first), "写真 1.png");
    ASSERT_TRUE(fs::is_regular_file(folder / fs::u8path("写真 1.png")));
    EXPECT_TRUE(FileOrFolderExists(first));
    EXPECT_EQ(FileSizeKB(first), SizeInKB(fs::file_size(folder / fs::u8path("写真 1.png"))));

    std::string second = MakeFileName(settings.folder, settings.prefix, TShotFormat::Png, FileOrFolderExists);
    EXPECT_EQ(FileNamePart(second), "写真 2.png");
    // Taken meanwhile: the retry finds the next free name in the same folder.
    WriteBytes(PathOf(second), "x");
    EXPECT_EQ(FileNamePart(SaveCapture(DetailedBitmap(), second, settings)), "写真 3.png");
    EXPECT_TRUE(fs::is_regular_file(folder / fs::u8path("写真 3.png")));
}

TEST(FileSizeKB, RoundsUpAndMissingIsMinusOne)
{
    ScratchDir dir;
    for (auto [size, kb] : {std::pair{0, 0}, {1024, 1}, {1025, 2}, {1500, 2}}) {
        const fs::path file = dir.Path() / ("f" + std::to_string(size));
        WriteBytes(file, std::string(size, 'a'));
        EXPECT_EQ(FileSizeKB(Utf8(file)), kb) << size << " bytes";
    }
    EXPECT_EQ(FileSizeKB(Utf8(dir.Path() / "missing.bin")), -1);
    EXPECT_EQ(FileSizeKB(Utf8(dir.Path() / "missing" / "f0")), -1);
}
