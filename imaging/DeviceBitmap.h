// The pixels of a bitmap in the display's own format, and the
// device-independent layout that the writers read them in.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#pragma pack(push, 1)
struct TRGBQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
};
#pragma pack(pop)

// The 40-byte device-independent header, field for field as stored in files.
struct TBitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0; // positive: rows are stored bottom row first
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0; // uncompressed RGB
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

// Bytes per stored row: rows are padded to a multiple of 4 bytes.
inline int64_t DibStride(int64_t width, int bitCount)
{
    return ((width * bitCount + 31) / 32) * 4;
}

class TDeviceBitmap {
public:
    virtual ~TDeviceBitmap() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int BitCount() const = 0;

    // Copies all rows into dest, bottom row first, each padded to
    // DibStride(Width(), bitCount) bytes. bitCount is 24 (blue, green, red)
    // or BitCount(). For depths of 8 or less, colours receives the
    // 2^depth-entry colour table. dest may be null to ask only for the
    // colour table.
    virtual void ReadRows(int bitCount, uint8_t* dest, std::vector<TRGBQuad>* colours) const = 0;

    // The rows as the device keeps them, when it keeps them in the
    // device-independent layout at BitCount(); otherwise nullptr.
    virtual const uint8_t* DibRows() const { return nullptr; }

    // A separate bitmap with the same pixels.
    virtual std::unique_ptr<TDeviceBitmap> Clone() const = 0;
};

// A bitmap compatible with the screen: its depth is the screen's bits per
// pixel times its planes at the moment of creation.
std::unique_ptr<TDeviceBitmap> CreateScreenCompatibleBitmap(int width, int height);
