#include "skin/SUIPictures.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/PackedPicture.h"
#include "core/PictureScaling.h"
#include "core/Unicode.h"
#include "skin/SUIColors.h"
#include "skin/SUIGeometry.h"

// The checks a BMP file in memory must pass before its header is believed:
// the pixel rows it claims lie within it. The info header when it does.
static const BITMAPINFO* CheckedBmpInfo(const uint8_t* data, size_t size, BITMAPFILEHEADER& file)
{
    if (size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || data[0] != 'B' || data[1] != 'M')
        return nullptr;
    std::memcpy(&file, data, sizeof file);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(data + sizeof file);
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biWidth > 16384 || header.biHeight > 16384 || header.biHeight < -16384 || file.bfOffBits >= size)
        return nullptr;
    const uint64_t stride = ((uint64_t(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const uint64_t rows = header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight;
    if (header.biCompression == BI_RGB && file.bfOffBits + stride * rows > size)
        return nullptr;
    return info;
}

// A device-independent bitmap of the BMP file's own depth and colours.
static TGdiObject DibSectionOfBmp(const std::vector<uint8_t>& bmp)
{
    BITMAPFILEHEADER file;
    const BITMAPINFO* info = CheckedBmpInfo(bmp.data(), bmp.size(), file);
    if (!info || info->bmiHeader.biCompression != BI_RGB)
        throw EPictureError("A skin picture of the program is damaged");
    void* bits = nullptr;
    TGdiObject result(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result)
        throw EOutOfResources("Out of system resources");
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const size_t stride = ((size_t(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    std::memcpy(bits, bmp.data() + file.bfOffBits, stride * size_t(std::abs(header.biHeight)));
    return result;
}

TGdiObject BitmapFromBmpFile(const uint8_t* data, size_t size)
{
    BITMAPFILEHEADER file;
    const BITMAPINFO* info = CheckedBmpInfo(data, size, file);
    if (!info)
        return TGdiObject();
    TWindowDC screen(nullptr);
    return TGdiObject(
        CreateDIBitmap(screen.Handle(), &info->bmiHeader, CBM_INIT, data + file.bfOffBits, info, DIB_RGB_COLORS));
}

SIZE BitmapSize(HGDIOBJ bitmap)
{
    BITMAP b{};
    if (!bitmap || !GetObjectW(bitmap, sizeof b, &b))
        return {0, 0};
    return {b.bmWidth, b.bmHeight};
}

// The bitmap's pixels as 32-bit top-down rows.
static std::vector<uint32_t> PixelsOf(HGDIOBJ bitmap, SIZE size)
{
    std::vector<uint32_t> pixels(size_t(size.cx) * size.cy);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB};
    TWindowDC screen(nullptr);
    if (!GetDIBits(screen.Handle(), static_cast<HBITMAP>(bitmap), 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS))
        throw EOutOfResources("Cannot read a picture");
    return pixels;
}

// A 32-bit top-down device-independent bitmap holding the pixels.
static TGdiObject BitmapOfPixels(const TPixels& picture)
{
    if (picture.width <= 0 || picture.height <= 0)
        return TGdiObject();
    void* bits = nullptr;
    TGdiObject result = CreateTopDownDib32(nullptr, picture.width, picture.height, bits);
    if (!result || !bits)
        throw EOutOfResources("Out of system resources");
    std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(uint32_t));
    return result;
}

static TPixels PicturePixels(HGDIOBJ bitmap)
{
    const SIZE size = BitmapSize(bitmap);
    TPixels picture;
    if (size.cx <= 0 || size.cy <= 0)
        return picture;
    picture.width = size.cx;
    picture.height = size.cy;
    picture.pixels = PixelsOf(bitmap, size);
    for (uint32_t& p : picture.pixels)
        p &= 0xFFFFFF;
    return picture;
}

TGdiObject ScalePicture(HGDIOBJ bitmap, const TDisplayScale& scale, int frameCount, bool tile)
{
    const TPixels picture = PicturePixels(bitmap);
    if (picture.width <= 0)
        return TGdiObject();
    if (tile)
        return BitmapOfPixels(EnlargeByWhole(picture, scale.PatternFactor()));
    const TPictureSize size = ScaledPictureSize(scale, picture.width, picture.height, frameCount);
    const int frames = std::max(frameCount, 1);
    return BitmapOfPixels(ResampleFrames(picture, frames, size.width / frames, size.height));
}

// The sets that may be built besides 100 per cent; each is a resource type.
static const int kPictureSetCandidates[] = {125, 150, 175, 200, 250, 300};

static std::wstring SetResourceType(int percent)
{
    return L"SKIN" + std::to_wstring(percent);
}

// The larger sets that hold the named picture.
static std::vector<int> SetsOfPicture(const std::wstring& name)
{
    std::vector<int> sets;
    for (int percent : kPictureSetCandidates)
        if (FindResourceW(GetModuleHandleW(nullptr), name.c_str(), SetResourceType(percent).c_str()))
            sets.push_back(percent);
    return sets;
}

// The BMP file of the named picture in a set, and what it was designed as.
static std::vector<uint8_t> UnpackSetPicture(const std::wstring& name, int percent, TPackedPictureInfo& info)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name.c_str(), SetResourceType(percent).c_str());
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw EPictureError("A skin picture is missing from the program");
    return UnpackPicture(static_cast<const uint8_t*>(data), SizeofResource(module, found), info);
}

TGdiObject LoadSkinBitmap(const std::string& resourceName)
{
    const std::wstring name = Utf8ToWide(resourceName);
    if (resourceName.empty() || !FindResourceW(GetModuleHandleW(nullptr), name.c_str(), SetResourceType(100).c_str()))
        return TGdiObject();
    TPackedPictureInfo info;
    return DibSectionOfBmp(UnpackSetPicture(name, 100, info));
}

TGdiObject LoadSkinPicture(const std::string& resourceName, const TDisplayScale& scale)
{
    const std::wstring name = Utf8ToWide(resourceName);
    const std::vector<int> sets = resourceName.empty() || scale.IsIdentity() ? std::vector<int>() : SetsOfPicture(name);
    if (sets.empty())
        return LoadSkinBitmap(resourceName);
    const int set = ChoosePictureSet(scale, sets);
    TPackedPictureInfo info;
    const std::vector<uint8_t> bmp = UnpackSetPicture(name, set, info);
    if (info.tile)
        return ScalePicture(LoadSkinBitmap(resourceName).Handle(), scale, 1, true);
    TGdiObject picture = DibSectionOfBmp(bmp);
    if (PictureSetFits(scale, set))
        return picture;
    const TPictureSize size = ScaledPictureSize(scale, info.designedWidth, info.designedHeight, info.frameCount);
    return BitmapOfPixels(ResampleFrames(PicturePixels(picture.Handle()), info.frameCount,
                                         size.width / info.frameCount, size.height));
}

void GetStyleImage(TsuiUIStyle style, int key, TGdiObject& bitmap, const TDisplayScale& scale)
{
    TGdiObject loaded = LoadSkinPicture(GetStyleImageName(style, key), scale);
    if (loaded)
        bitmap = std::move(loaded);
}

void GetStyleImageFrame(TsuiUIStyle style, int key, TGdiObject& bitmap, int frameCount, int frameIndex,
                        const TDisplayScale& scale)
{
    if (frameCount == 0) {
        GetStyleImage(style, key, bitmap, scale);
        return;
    }
    TGdiObject strip = LoadSkinPicture(GetStyleImageName(style, key), scale);
    if (strip)
        bitmap = CutFrame(strip.Handle(), frameCount, frameIndex);
}

TGdiObject CutFrame(HGDIOBJ source, int frameCount, int frameIndex)
{
    const SIZE size = BitmapSize(source);
    const TsuiFrameColumns columns = FrameColumns(size.cx, frameCount, frameIndex);
    if (columns.width <= 0 || size.cy <= 0)
        return TGdiObject();
    TWindowDC screen(nullptr);
    TGdiObject target(CreateCompatibleBitmap(screen.Handle(), columns.width, size.cy));
    if (!target)
        throw EOutOfResources("Out of system resources");
    TMemoryDC from(screen.Handle(), source);
    TMemoryDC to(screen.Handle(), target.Handle());
    BitBlt(to.Handle(), 0, 0, columns.width, size.cy, from.Handle(), columns.left, 0, SRCCOPY);
    return target;
}

void DrawBitmap(HDC dc, HGDIOBJ bitmap, int x, int y, bool transparent, COLORREF keyColor)
{
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    TMemoryDC source(dc, bitmap);
    if (transparent)
        TransparentBlt(dc, x, y, size.cx, size.cy, source.Handle(), 0, 0, size.cx, size.cy, keyColor);
    else
        BitBlt(dc, x, y, size.cx, size.cy, source.Handle(), 0, 0, SRCCOPY);
}

void StretchBitmap(HDC dc, HGDIOBJ bitmap, const RECT& rect, int rows)
{
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0 || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const int height = rows > 0 && rows < size.cy ? rows : size.cy;
    TMemoryDC source(dc, bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.Handle(), 0, 0,
               size.cx, height, SRCCOPY);
}

void DrawThreeSlice(HGDIOBJ bitmap, HDC dc, const RECT& rect, bool keyFromCorner)
{
    const SIZE size = BitmapSize(bitmap);
    const int w = size.cx / 3;
    if (w <= 0 || size.cy <= 0)
        return;
    TMemoryDC source(dc, bitmap);
    const COLORREF key = keyFromCorner ? GetPixel(source.Handle(), 0, 0) : RGB(255, 0, 255);
    TransparentBlt(dc, rect.left, rect.top, w, size.cy, source.Handle(), 0, 0, w, size.cy, key);
    TransparentBlt(dc, rect.right - w, rect.top, w, size.cy, source.Handle(), 2 * w, 0, w, size.cy, key);
    if (rect.right - w > rect.left + w) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, rect.left + w, rect.top, rect.right - rect.left - 2 * w, rect.bottom - rect.top,
                   source.Handle(), w, 0, w, size.cy, SRCCOPY);
    }
}

void TileGraphic(HDC dc, HGDIOBJ picture, const RECT& rect)
{
    const SIZE size = BitmapSize(picture);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    TMemoryDC source(dc, picture);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    for (int x = 0; x < size.cx + width; x += size.cx)
        for (int y = 0; y < size.cy + height; y += size.cy)
            BitBlt(dc, x, y, size.cx, size.cy, source.Handle(), 0, 0, SRCCOPY);
}

TGdiObject RotateBitmap(HGDIOBJ bitmap)
{
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return TGdiObject();
    const std::vector<uint32_t> source = PixelsOf(bitmap, size);
    const int W = size.cx, H = size.cy;
    // The result is H wide and W high.
    TPixels turned(H, W);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            turned.At(y, W - 1 - x) = source[size_t(y) * W + x];
    return BitmapOfPixels(turned);
}

void FrameWindowBorder(HWND control, uint32_t outer, uint32_t inner, bool drawInner, int line)
{
    RECT window{};
    GetWindowRect(control, &window);
    RECT r{0, 0, window.right - window.left, window.bottom - window.top};
    TWindowDC dc(control, true);
    TGdiObject outerBrush(CreateSolidBrush(ColorToRGB(outer)));
    TGdiObject innerBrush(CreateSolidBrush(ColorToRGB(inner)));
    for (int i = 0; i < (drawInner ? 2 : 1) * line; ++i) {
        FrameRect(dc.Handle(), &r, static_cast<HBRUSH>((i < line ? outerBrush : innerBrush).Handle()));
        InflateRect(&r, -1, -1);
    }
}
