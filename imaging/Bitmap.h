// TBitmap: the captured picture. Copies of a TBitmap share one pixel store
// (TBitmapImage) until one of them changes its pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/DeviceBitmap.h"
#include "imaging/Graphic.h"

// The device-independent copy of a store's pixels, as a BMP file holds them.
struct TDibCopy {
    TBitmapInfoHeader header;
    std::vector<TRGBQuad> colours; // depths of 8 or less only
    std::vector<uint8_t> ownRows;  // empty when rows points into the device
    const uint8_t* rows = nullptr;
};

class TBitmapImage {
public:
    std::unique_ptr<TDeviceBitmap> device;
    std::unique_ptr<TDibCopy> dib; // made on first demand

    // The device-independent copy, made now if there is none.
    TDibCopy& Dib();
};

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);

    const char* ClassName() const override { return "TBitmap"; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // Setting both to non-zero values creates a screen-compatible bitmap.
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    bool Empty() const { return !image_->device; }

    // From a TBitmap: share its pixel store.
    void Assign(const TGraphic& source) override;
    // The BMP file form; nothing for an empty bitmap.
    void SaveToStream(TStream& stream) const override;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    // 0x00BBGGRR
    uint32_t TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(uint32_t value) { transparentColor_ = value; }

    // Bits per pixel of the pixel store; 0 when empty.
    int BitCount() const;
    // Rows bottom row first, padded to DibStride(Width(), bitCount), at 24
    // bits (blue, green, red) or at BitCount() with its colour table.
    void ReadRows(int bitCount, uint8_t* dest, std::vector<TRGBQuad>* colours) const;
    // The device bitmap for reading; nullptr when empty.
    const TDeviceBitmap* Device() const { return image_->device.get(); }
    // The device bitmap for drawing: this bitmap gets a store of its own and
    // the device-independent copy is dropped.
    TDeviceBitmap* BeginDraw();
    // Gives the bitmap a store of its own holding device (which may be null).
    void SetDevice(std::unique_ptr<TDeviceBitmap> device);
    // Replaces the store by a 24-bit device-independent one with the same
    // picture, whose rows Device()->DibRows() then gives.
    void ConvertTo24Bit();

    // Stores currently referred to by this bitmap (for tests of sharing).
    long ShareCount() const;

private:
    void Resize();
    void SetImage(std::shared_ptr<TBitmapImage> image);

    std::shared_ptr<TBitmapImage> image_;
    int width_ = 0;
    int height_ = 0;
    bool transparent_ = false;
    uint32_t transparentColor_ = 0;
};
