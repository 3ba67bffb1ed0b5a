// The skin's pictures at the display scale the test runs at (96, 144 and
// 192 dots per inch) and at the scales derived from the built sets: every
// picture of every style has the size the scale gives its design, frame by
// frame, and no pixel of a magenta fringe; tiles and pinstripes grow by
// whole pixels, and theme files' pictures are enlarged without fringes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SkinBitmaps.h"
#include "SkinTestSupport.h"
#include "core/PictureScaling.h"
#include "core/Unicode.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIPictures.h"
#include "skin/SUIThemeFileWriter.h"
#include "skin/SUIThemes.h"

namespace {

// The scale the prefix runs at, as the program sees it.
TDisplayScale ProgramScale()
{
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    return SystemScale();
}

std::vector<COLORREF> Pixels(HGDIOBJ picture, SIZE& size)
{
    size = BitmapSize(picture);
    TCanvasBitmap canvas(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
    DrawBitmap(canvas.DC(), picture, 0, 0);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            pixels.push_back(canvas.Pixel(x, y));
    return pixels;
}

// Colours close to the key that are not the key: what a blend of magenta
// into the art leaves at its edges.
int FringePixels(HGDIOBJ picture)
{
    SIZE size{};
    int fringe = 0;
    for (COLORREF c : Pixels(picture, size)) {
        const int distance = std::abs(GetRValue(c) - 255) + GetGValue(c) + std::abs(GetBValue(c) - 255);
        fringe += c != RGB(255, 0, 0xFF) && distance < 160;
    }
    return fringe;
}

void ExpectScaledPicture(const TSkinBitmapInfo& design, const TDisplayScale& scale)
{
    TGdiObject picture = LoadSkinPicture(design.name, scale);
    ASSERT_TRUE(picture) << design.name;
    const TPictureSize expected = ScaledPictureSize(scale, design.width, design.height, design.frames, design.tile);
    const SIZE size = BitmapSize(picture.Handle());
    EXPECT_EQ(size.cx, expected.width) << design.name << " at " << scale.Dpi() << " dpi";
    EXPECT_EQ(size.cy, expected.height) << design.name << " at " << scale.Dpi() << " dpi";
    EXPECT_EQ(FringePixels(picture.Handle()), 0) << design.name << " at " << scale.Dpi() << " dpi";
}

const TsuiUIStyle kStyles[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};

} // namespace

TEST(SkinScale, EveryPictureHasTheSizeOfItsDesignAtTheScaleAndNoFringe)
{
    const TDisplayScale scale = ProgramScale();
    for (const TSkinBitmapInfo& design : kSkinBitmaps)
        ExpectScaledPicture(design, scale);
}

TEST(SkinScale, AtTheDesignScaleEveryPictureIsTheDrawnBitmapPixelForPixel)
{
    // The drawn BMP files lie in the build tree, which Wine shows as Z:.
    for (const TSkinBitmapInfo& design : kSkinBitmaps) {
        std::ifstream file(std::string("Z:") + SNAPQUILL_ARTWORK_DIR_TEXT + "/skin/" + design.name + ".bmp",
                           std::ios::binary);
        ASSERT_TRUE(file) << design.name;
        const std::vector<uint8_t> bmp((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        TGdiObject drawn = BitmapFromBmpFile(bmp.data(), bmp.size());
        SIZE drawnSize{}, loadedSize{};
        const std::vector<COLORREF> expected = Pixels(drawn.Handle(), drawnSize);
        EXPECT_EQ(Pixels(LoadSkinPicture(design.name, TDisplayScale()).Handle(), loadedSize), expected) << design.name;
        EXPECT_EQ(Pixels(LoadSkinBitmap(design.name).Handle(), loadedSize), expected) << design.name;
    }
}

TEST(SkinScale, ScalesWithoutASetOfTheirOwnAreDerivedWithTheSameContract)
{
    for (int dpi : {120, 168, 240, 288, 110})
        for (const TSkinBitmapInfo& design : kSkinBitmaps)
            ExpectScaledPicture(design, TDisplayScale(dpi));
}

TEST(SkinScale, EveryStylesImagesComeForTheScaleFrameByFrame)
{
    const TDisplayScale scale = ProgramScale();
    for (TsuiUIStyle style : kStyles) {
        const TsuiStyleSource source(nullptr, style, scale);
        for (int key = SUI_THEME::FirstKey; key <= SUI_THEME::LastKey; ++key) {
            const std::string name = GetStyleImageName(style, key);
            if (name.empty())
                continue;
            const SIZE design = BitmapSize(LoadSkinBitmap(name).Handle());
            const int frames = ThemeImageFrames(key);
            for (const TSkinBitmapInfo& drawn : kSkinBitmaps)
                if (drawn.name == name)
                    EXPECT_EQ(frames, drawn.frames) << name << ": the key's frames are the drawn strip's";
            const TPictureSize expected = ScaledPictureSize(scale, design.cx, design.cy, frames);
            TGdiObject image = source.Image(key);
            EXPECT_EQ(BitmapSize(image.Handle()).cx, expected.width) << name;
            EXPECT_EQ(BitmapSize(image.Handle()).cy, expected.height) << name;
            TGdiObject last = source.ImageFrame(key, frames, frames);
            EXPECT_EQ(BitmapSize(last.Handle()).cx, expected.width / frames) << name << ", its last frame";
        }
    }
}

namespace {

void ExpectTileAndTitleStripesInStep(const TDisplayScale& scale)
{
    const int factor = scale.PatternFactor();
    SIZE designSize{}, scaledSize{};
    const std::vector<COLORREF> design = Pixels(LoadSkinBitmap("MACOS_FORM_BACKGROUND").Handle(), designSize);
    const std::vector<COLORREF> tile = Pixels(LoadSkinPicture("MACOS_FORM_BACKGROUND", scale).Handle(), scaledSize);
    ASSERT_EQ(scaledSize.cy, designSize.cy * factor);
    for (int y = 0; y < scaledSize.cy; ++y)
        for (int x = 0; x < scaledSize.cx; ++x)
            ASSERT_EQ(tile[size_t(y) * scaledSize.cx + x], design[size_t(y / factor) * designSize.cx + x / factor])
                << x << "," << y << " at " << scale.Dpi() << " dpi";

    // The title's stripes darken the designed rows 2, 4, ... 20: scaled,
    // every block of factor rows whose designed row is even, as the tile's
    // rows are laid from the top of the window.
    SIZE titleSize{};
    const std::vector<COLORREF> title = Pixels(LoadSkinPicture("MACOS_TITLE_CLIENT", scale).Handle(), titleSize);
    auto luminance = [&](int y) {
        const COLORREF c = title[size_t(y) * titleSize.cx + titleSize.cx / 2];
        return GetRValue(c) + GetGValue(c) + GetBValue(c);
    };
    for (int y = scale.Position(4); y < scale.Position(19); ++y) {
        if (y % factor != 0)
            continue;
        const int step = luminance(y) - luminance(y - 1);
        if ((y / factor) % 2 == 0)
            EXPECT_LT(step, -12) << "a stripe starts at row " << y << " at " << scale.Dpi() << " dpi";
        else
            EXPECT_GT(step, 12) << "a stripe ends at row " << y << " at " << scale.Dpi() << " dpi";
    }
}

} // namespace

TEST(SkinScale, FormTilesGrowByWholePixelsAndTitlePinstripesKeepInStepWithThem)
{
    // 250 and 300 per cent have sets of their own for the striped pictures.
    for (const TDisplayScale& scale : {ProgramScale(), TDisplayScale(240), TDisplayScale(288)})
        ExpectTileAndTitleStripesInStep(scale);
}

namespace {

// A 24-bit BMP file: frames side by side, each a dark-rimmed pale badge on
// the magenta key.
std::vector<uint8_t> BadgeStrip(int frameWidth, int height, int frames)
{
    const int width = frameWidth * frames, stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> file(54 + size_t(stride) * height);
    BITMAPFILEHEADER fh{0x4D42, DWORD(file.size()), 0, 0, 54};
    BITMAPINFOHEADER ih{sizeof ih, width, height, 1, 24, BI_RGB};
    memcpy(file.data(), &fh, sizeof fh);
    memcpy(file.data() + 14, &ih, sizeof ih);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int fx = x % frameWidth;
            const bool inside = fx >= 2 && fx < frameWidth - 2 && y >= 2 && y < height - 2;
            const bool rim = fx == 2 || fx == frameWidth - 3 || y == 2 || y == height - 3;
            const COLORREF c = !inside ? RGB(255, 0, 255) : rim ? RGB(20, 40, 120) : RGB(230, 230, 210);
            uint8_t* p = file.data() + 54 + size_t(height - 1 - y) * stride + size_t(x) * 3;
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    return file;
}

} // namespace

TEST(SkinScale, ThemeFilePicturesAreEnlargedSmoothlyWithoutFringes)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::string path = WideToUtf8(folder) + "skin_scale_test.theme";
    TThemeFileWriter writer;
    writer.AddBitmap("ButtonImage", BadgeStrip(21, 23, 3));
    writer.SaveToFile(path);
    TsuiFileTheme theme;
    theme.SetThemeFile(path);
    ASSERT_TRUE(theme.Loaded());
    for (int dpi : {120, 144, 168, 192, 240}) {
        const TDisplayScale scale(dpi);
        const TsuiStyleSource source(&theme, FromThemeFile, scale);
        TGdiObject strip = source.Image(SUI_THEME::ButtonImage);
        EXPECT_EQ(BitmapSize(strip.Handle()).cx, 3 * scale.Length(21)) << dpi;
        EXPECT_EQ(BitmapSize(strip.Handle()).cy, scale.Length(23)) << dpi;
        EXPECT_EQ(FringePixels(strip.Handle()), 0) << dpi;
        SIZE size{};
        const std::vector<COLORREF> pixels = Pixels(strip.Handle(), size);
        EXPECT_EQ(pixels[0], RGB(255, 0, 255)) << "the key stays the key";
        EXPECT_NE(pixels[size_t(size.cy / 2) * size.cx + size.cx / 6], RGB(255, 0, 255)) << "the art stays art";
        int shades = 0;
        for (COLORREF c : pixels)
            shades += c != RGB(255, 0, 255) && c != RGB(20, 40, 120) && c != RGB(230, 230, 210);
        EXPECT_GT(shades, 0) << dpi << ": smooth, so the rim blends into the inside";
        TGdiObject frame = source.ImageFrame(SUI_THEME::ButtonImage, 3, 2);
        EXPECT_EQ(BitmapSize(frame.Handle()).cx, scale.Length(21)) << dpi;
    }
    DeleteFileW(Utf8ToWide(path).c_str());
}
