#include "imaging/ScreenBitmap.h"

#include <cstring>

#include "core/Exception.h"
#include "core/Unicode.h"

static void RaiseLastGdiError()
{
    std::string text = SysErrorMessage(GetLastError());
    throw EOutOfResources(text.empty() ? "Out of system resources" : text);
}

TScreenBitmap::TScreenBitmap(int width, int height) : width_(width), height_(height)
{
    TWindowDC screen(nullptr);
    bitCount_ = GetDeviceCaps(screen.Handle(), BITSPIXEL) * GetDeviceCaps(screen.Handle(), PLANES);
    bitmap_ = TGdiObject(CreateCompatibleBitmap(screen.Handle(), width, height));
    if (!bitmap_.Handle())
        RaiseLastGdiError();
}

std::unique_ptr<TDeviceBitmap> TScreenBitmap::Clone() const
{
    auto copy = std::make_unique<TScreenBitmap>(width_, height_);
    TWindowDC screen(nullptr);
    TMemoryDC from(screen.Handle(), bitmap_.Handle());
    TMemoryDC to(screen.Handle(), copy->bitmap_.Handle());
    BitBlt(to.Handle(), 0, 0, width_, height_, from.Handle(), 0, 0, SRCCOPY);
    return copy;
}

// Header and room for a full colour table, as GetDIBits wants them.
struct TDibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

void TScreenBitmap::ReadRows(int bitCount, uint8_t* dest, std::vector<TRGBQuad>* colours) const
{
    TDibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width_;
    info.header.biHeight = height_;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = static_cast<DWORD>(DibStride(width_, bitCount) * height_);

    // GetDIBits wants the bitmap not to be selected into a DC: read it only
    // while no canvas is open on it.
    TWindowDC screen(nullptr);
    if (GetDIBits(screen.Handle(), Handle(), 0, height_, dest, reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS) == 0)
        RaiseLastGdiError();
    if (colours && bitCount <= 8) {
        colours->resize(size_t(1) << bitCount);
        std::memcpy(colours->data(), info.colours, colours->size() * sizeof(TRGBQuad));
    }
}

std::unique_ptr<TDeviceBitmap> CreateScreenCompatibleBitmap(int width, int height)
{
    return std::make_unique<TScreenBitmap>(width, height);
}

HBITMAP TBitmapCanvas::DeviceHandle(TBitmap& bitmap)
{
    auto* device = dynamic_cast<TScreenBitmap*>(bitmap.BeginDraw());
    if (!device)
        throw EInvalidGraphicOperation("The bitmap has no pixels to draw on");
    return device->Handle();
}

TBitmapCanvas::TBitmapCanvas(TBitmap& bitmap) : dc_(nullptr, DeviceHandle(bitmap)) {}
