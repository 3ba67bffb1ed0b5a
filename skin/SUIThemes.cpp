#include "skin/SUIThemes.h"

#include <cstring>
#include <functional>
#include <vector>

#include "core/Unicode.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIGeometry.h"

TsuiResolvedStyle ResolveUIStyle(const TsuiFileTheme* theme, TsuiUIStyle style)
{
    bool useThemeFile = false;
    TsuiUIStyle effective = ResolveBuiltInStyle(style, theme && theme->Loaded(), useThemeFile);
    return {useThemeFile, effective};
}

TsuiStyleSource::TsuiStyleSource(const TsuiFileTheme* theme, TsuiUIStyle style)
    : theme_(theme), resolved_(ResolveUIStyle(theme, style))
{
}

uint32_t TsuiStyleSource::Color(int key) const
{
    return UsesThemeFile() ? theme_->GetColor(key) : GetStyleColor(Effective(), key);
}

int32_t TsuiStyleSource::Int(int key) const
{
    return UsesThemeFile() ? theme_->GetInt(key) : GetStyleInt(Effective(), key);
}

bool TsuiStyleSource::Bool(int key) const
{
    return UsesThemeFile() ? theme_->GetBool(key) : GetStyleBool(Effective(), key);
}

TGdiObject TsuiStyleSource::Image(int key) const
{
    TGdiObject image;
    if (UsesThemeFile())
        theme_->GetBitmap(key, image);
    else
        GetStyleImage(Effective(), key, image);
    return image;
}

TGdiObject TsuiStyleSource::ImageFrame(int key, int frameCount, int frameIndex) const
{
    TGdiObject image;
    if (UsesThemeFile())
        theme_->GetBitmap(key, image, frameCount, frameIndex);
    else
        GetStyleImageFrame(Effective(), key, image, frameCount, frameIndex);
    return image;
}

// The program's objects among the direct children of a window, in z-order.
static void ForEachDirectChild(const TWindow& container, const std::function<bool(IsuiStyled&)>& visit)
{
    for (HWND child = GetWindow(container.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* styled = dynamic_cast<IsuiStyled*>(TWindow::FromHandle(child)))
            if (!visit(*styled))
                return;
}

TsuiUIStyle OwnerFormUIStyle(const TWindow* owner)
{
    TsuiUIStyle style = DeepBlue;
    if (!dynamic_cast<const TForm*>(owner) || !owner->Handle())
        return style;
    ForEachDirectChild(*owner, [&](IsuiStyled& child) {
        if (!child.IsSkinForm())
            return true;
        style = child.UIStyle();
        return false;
    });
    return style;
}

void ApplyUIStyleToChildren(const TWindow& container, TsuiUIStyle style, TsuiFileTheme* theme)
{
    std::vector<IsuiStyled*> children;
    ForEachDirectChild(container, [&](IsuiStyled& child) {
        children.push_back(&child);
        return true;
    });
    for (IsuiStyled* child : children) {
        child->SetFileTheme(theme);
        child->SetUIStyle(style);
    }
}

TGdiObject MakeFont(const TsuiFont& font)
{
    HFONT made = CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, Utf8ToWide(font.name).c_str());
    return TGdiObject(made);
}

void ShowSkinError(const std::string& message)
{
    MessageBoxW(GetActiveWindow(), Utf8ToWide(message).c_str(), Utf8ToWide(Application.Title()).c_str(),
                MB_OK | MB_ICONERROR);
}

COLORREF ColorToRGB(uint32_t color)
{
    if ((color & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

TGdiObject LoadSkinBitmap(const std::string& resourceName)
{
    if (resourceName.empty())
        return TGdiObject();
    return TGdiObject(LoadImageW(GetModuleHandleW(nullptr), Utf8ToWide(resourceName).c_str(), IMAGE_BITMAP, 0, 0,
                                 LR_CREATEDIBSECTION));
}

TGdiObject BitmapFromBmpFile(const uint8_t* data, size_t size)
{
    if (size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || data[0] != 'B' || data[1] != 'M')
        return TGdiObject();
    BITMAPFILEHEADER file;
    std::memcpy(&file, data, sizeof file);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(data + sizeof file);
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biWidth > 16384 || header.biHeight > 16384 || header.biHeight < -16384 || file.bfOffBits >= size)
        return TGdiObject();
    const uint64_t stride = ((uint64_t(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const uint64_t rows = header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight;
    if (header.biCompression == BI_RGB && file.bfOffBits + stride * rows > size)
        return TGdiObject();
    TWindowDC screen(nullptr);
    return TGdiObject(CreateDIBitmap(screen.Handle(), &header, CBM_INIT, data + file.bfOffBits, info, DIB_RGB_COLORS));
}

SIZE BitmapSize(HGDIOBJ bitmap)
{
    BITMAP b{};
    if (!bitmap || !GetObjectW(bitmap, sizeof b, &b))
        return {0, 0};
    return {b.bmWidth, b.bmHeight};
}

void GetStyleImage(TsuiUIStyle style, int key, TGdiObject& bitmap)
{
    TGdiObject loaded = LoadSkinBitmap(GetStyleImageName(style, key));
    if (loaded)
        bitmap = std::move(loaded);
}

void GetStyleImageFrame(TsuiUIStyle style, int key, TGdiObject& bitmap, int frameCount, int frameIndex)
{
    if (frameCount == 0) {
        GetStyleImage(style, key, bitmap);
        return;
    }
    TGdiObject strip = LoadSkinBitmap(GetStyleImageName(style, key));
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

TGdiObject RotateBitmap(HGDIOBJ bitmap)
{
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return TGdiObject();
    const std::vector<uint32_t> source = PixelsOf(bitmap, size);
    const int W = size.cx, H = size.cy;
    // The result is H wide and W high.
    std::vector<uint32_t> turned(source.size());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            turned[size_t(W - 1 - x) * H + y] = source[size_t(y) * W + x];
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), H, -W, 1, 32, BI_RGB};
    void* bits = nullptr;
    TGdiObject result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result)
        throw EOutOfResources("Out of system resources");
    std::memcpy(bits, turned.data(), turned.size() * sizeof(uint32_t));
    return result;
}

void FrameWindowBorder(HWND control, uint32_t outer, uint32_t inner, bool drawInner)
{
    RECT window{};
    GetWindowRect(control, &window);
    RECT r{0, 0, window.right - window.left, window.bottom - window.top};
    TWindowDC dc(control, true);
    TGdiObject outerBrush(CreateSolidBrush(ColorToRGB(outer)));
    FrameRect(dc.Handle(), &r, static_cast<HBRUSH>(outerBrush.Handle()));
    if (drawInner) {
        InflateRect(&r, -1, -1);
        TGdiObject innerBrush(CreateSolidBrush(ColorToRGB(inner)));
        FrameRect(dc.Handle(), &r, static_cast<HBRUSH>(innerBrush.Handle()));
    }
}

bool PointInRect(POINT p, const RECT& r)
{
    return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
}

RECT GetWorkAreaRect()
{
    RECT area{};
    if (TForm* main = Application.MainForm(); main && main->Handle()) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(MonitorFromWindow(main->Handle(), MONITOR_DEFAULTTONEAREST), &info))
            return info.rcWork;
    }
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}
