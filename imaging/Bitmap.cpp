#include "imaging/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "core/Stream.h"
#include "imaging/MemoryBitmap.h"

// Re-pointing a bitmap to a store happens under one lock for all stores.
static std::mutex storeLock;

TDibCopy& TBitmapImage::Dib()
{
    if (dib)
        return *dib;
    auto copy = std::make_unique<TDibCopy>();
    TBitmapInfoHeader& h = copy->header;
    h.width = device->Width();
    h.height = device->Height();
    h.planes = 1;
    h.bitCount = static_cast<uint16_t>(device->BitCount());
    h.sizeImage = static_cast<uint32_t>(DibStride(h.width, h.bitCount) * h.height);
    copy->rows = device->DibRows();
    if (copy->rows && h.bitCount <= 8)
        device->ReadRows(h.bitCount, nullptr, &copy->colours);
    if (!copy->rows) {
        copy->ownRows.resize(h.sizeImage);
        device->ReadRows(h.bitCount, copy->ownRows.data(), h.bitCount <= 8 ? &copy->colours : nullptr);
        copy->rows = copy->ownRows.data();
    }
    dib = std::move(copy);
    return *dib;
}

TBitmap::TBitmap() : image_(std::make_shared<TBitmapImage>()) {}

TBitmap::TBitmap(const TBitmap& other) : TGraphic(other)
{
    std::lock_guard<std::mutex> lock(storeLock);
    image_ = other.image_;
    width_ = other.width_;
    height_ = other.height_;
    transparent_ = other.transparent_;
    transparentColor_ = other.transparentColor_;
}

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    if (this != &other)
        Assign(other);
    return *this;
}

void TBitmap::SetImage(std::shared_ptr<TBitmapImage> image)
{
    std::lock_guard<std::mutex> lock(storeLock);
    image_ = std::move(image);
}

void TBitmap::Assign(const TGraphic& source)
{
    const TBitmap* bitmap = dynamic_cast<const TBitmap*>(&source);
    if (!bitmap) {
        TGraphic::Assign(source);
        return;
    }
    if (bitmap == this)
        return;
    SetImage(bitmap->image_);
    width_ = bitmap->width_;
    height_ = bitmap->height_;
    transparent_ = bitmap->transparent_;
    transparentColor_ = bitmap->transparentColor_;
}

void TBitmap::SetWidth(int value)
{
    if (value == width_)
        return;
    width_ = value;
    Resize();
}

void TBitmap::SetHeight(int value)
{
    if (value == height_)
        return;
    height_ = value;
    Resize();
}

void TBitmap::Resize()
{
    auto image = std::make_shared<TBitmapImage>();
    if (width_ > 0 && height_ > 0)
        image->device = CreateScreenCompatibleBitmap(width_, height_);
    SetImage(std::move(image));
}

void TBitmap::SetDevice(std::unique_ptr<TDeviceBitmap> device)
{
    auto image = std::make_shared<TBitmapImage>();
    width_ = device ? device->Width() : 0;
    height_ = device ? device->Height() : 0;
    image->device = std::move(device);
    SetImage(std::move(image));
}

int TBitmap::BitCount() const
{
    return image_->device ? image_->device->BitCount() : 0;
}

void TBitmap::ReadRows(int bitCount, uint8_t* dest, std::vector<TRGBQuad>* colours) const
{
    if (image_->device)
        image_->device->ReadRows(bitCount, dest, colours);
}

TDeviceBitmap* TBitmap::BeginDraw()
{
    if (!image_->device)
        return nullptr;
    if (image_.use_count() > 1) {
        auto own = std::make_shared<TBitmapImage>();
        own->device = image_->device->Clone();
        SetImage(std::move(own));
    }
    image_->dib.reset();
    return image_->device.get();
}

void TBitmap::ConvertTo24Bit()
{
    if (!image_->device || (image_->device->BitCount() == 24 && image_->device->DibRows()))
        return;
    auto converted = std::make_unique<TMemoryBitmap>(width_, height_, 24);
    image_->device->ReadRows(24, converted->Bits(), nullptr);
    auto image = std::make_shared<TBitmapImage>();
    image->device = std::move(converted);
    SetImage(std::move(image));
}

long TBitmap::ShareCount() const
{
    return image_.use_count();
}

static void PutLE(uint8_t* p, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

void TBitmap::SaveToStream(TStream& stream) const
{
    if (!image_->device)
        return;
    TDibCopy& dib = image_->Dib();
    TBitmapInfoHeader& h = dib.header;

    uint32_t colourCount = 0;
    if (h.bitCount <= 8) {
        colourCount = static_cast<uint32_t>(std::min<size_t>(dib.colours.size(), 256));
        if (h.clrUsed != 0 && h.clrUsed < colourCount)
            colourCount = h.clrUsed;
        if (colourCount != 0)
            h.clrUsed = colourCount;
    }
    const uint32_t headerSize = 40 + 4 * colourCount;
    const uint32_t imageSize = static_cast<uint32_t>(DibStride(h.width, h.bitCount) * h.height);
    const uint32_t pixelOffset = 14 + headerSize;

    std::vector<uint8_t> head(pixelOffset, 0);
    uint8_t* p = head.data();
    p[0] = 'B';
    p[1] = 'M';
    PutLE(p + 2, pixelOffset + imageSize, 4);
    PutLE(p + 10, pixelOffset, 4);
    p += 14;
    PutLE(p + 0, h.size, 4);
    PutLE(p + 4, static_cast<uint32_t>(h.width), 4);
    PutLE(p + 8, static_cast<uint32_t>(h.height), 4);
    PutLE(p + 12, h.planes, 2);
    PutLE(p + 14, h.bitCount, 2);
    PutLE(p + 16, h.compression, 4);
    PutLE(p + 20, imageSize, 4);
    PutLE(p + 24, static_cast<uint32_t>(h.xPelsPerMeter), 4);
    PutLE(p + 28, static_cast<uint32_t>(h.yPelsPerMeter), 4);
    PutLE(p + 32, h.clrUsed, 4);
    PutLE(p + 36, h.clrImportant, 4);
    p += 40;
    for (uint32_t i = 0; i < colourCount; ++i, p += 4) {
        p[0] = dib.colours[i].blue;
        p[1] = dib.colours[i].green;
        p[2] = dib.colours[i].red;
        p[3] = 0;
    }
    stream.WriteBuffer(head.data(), head.size());
    // The fourth byte of a 32-bit pixel is unused, and written as 0: screens
    // hand back 0 for most windows and 0xFF for others, and viewers that take
    // it for alpha would show parts of the shot as transparent.
    if (h.bitCount == 32) {
        bool unusedClear = true;
        for (uint32_t i = 3; i < imageSize && unusedClear; i += 4)
            unusedClear = dib.rows[i] == 0;
        if (!unusedClear) {
            std::vector<uint8_t> rows(dib.rows, dib.rows + imageSize);
            for (uint32_t i = 3; i < imageSize; i += 4)
                rows[i] = 0;
            stream.WriteBuffer(rows.data(), imageSize);
            return;
        }
    }
    stream.WriteBuffer(dib.rows, imageSize);
}
