// A device bitmap kept in memory in the device-independent layout. The JPEG
// writer converts captures into one at 24 bits, and the native build uses it
// as its "screen" bitmap.
#pragma once

#include "imaging/DeviceBitmap.h"

class TMemoryBitmap : public TDeviceBitmap {
public:
    // Zero-filled pixels; depths 1, 4 and 8 get a gray colour table.
    TMemoryBitmap(int width, int height, int bitCount);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int BitCount() const override { return bitCount_; }
    void ReadRows(int bitCount, uint8_t* dest, std::vector<TRGBQuad>* colours) const override;
    const uint8_t* DibRows() const override { return rows_.data(); }
    std::unique_ptr<TDeviceBitmap> Clone() const override;

    int64_t Stride() const { return stride_; }
    // Row y of the picture, counted from the top.
    uint8_t* Row(int y) { return rows_.data() + (height_ - 1 - y) * stride_; }
    const uint8_t* Row(int y) const { return rows_.data() + (height_ - 1 - y) * stride_; }
    uint8_t* Bits() { return rows_.data(); }

    // Colour as 0x00BBGGRR; 16-bit pixels keep 5 bits per channel. Only for
    // depths of 16 and more.
    void SetPixel(int x, int y, uint32_t colour);
    uint32_t Pixel(int x, int y) const;
    // Palette index at depths of 8 or less.
    void SetIndex(int x, int y, int index);
    std::vector<TRGBQuad>& Colours() { return colours_; }

private:
    int width_;
    int height_;
    int bitCount_;
    int64_t stride_;
    std::vector<uint8_t> rows_;
    std::vector<TRGBQuad> colours_;
};
