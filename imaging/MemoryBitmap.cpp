#include "imaging/MemoryBitmap.h"

#include <cstring>
#include <stdexcept>

TMemoryBitmap::TMemoryBitmap(int width, int height, int bitCount)
    : width_(width), height_(height), bitCount_(bitCount), stride_(DibStride(width, bitCount))
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("bitmap size must be positive");
    rows_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height), 0);
    if (bitCount <= 8) {
        int count = 1 << bitCount;
        colours_.resize(count);
        for (int i = 0; i < count; ++i) {
            uint8_t level = static_cast<uint8_t>(i * 255 / (count - 1));
            colours_[i] = {level, level, level, 0};
        }
    }
}

std::unique_ptr<TDeviceBitmap> TMemoryBitmap::Clone() const
{
    return std::make_unique<TMemoryBitmap>(*this);
}

static uint8_t Widen5(unsigned value)
{
    return static_cast<uint8_t>((value << 3) | (value >> 2));
}

static int IndexAt(const uint8_t* row, int x, int bitCount)
{
    int bit = x * bitCount;
    int shift = 8 - bitCount - (bit & 7);
    return (row[bit >> 3] >> shift) & ((1 << bitCount) - 1);
}

void TMemoryBitmap::ReadRows(int bitCount, uint8_t* dest, std::vector<TRGBQuad>* colours) const
{
    if (colours && bitCount_ <= 8)
        *colours = colours_;
    if (!dest)
        return;
    if (bitCount == bitCount_) {
        std::memcpy(dest, rows_.data(), rows_.size());
        return;
    }
    if (bitCount != 24)
        throw std::invalid_argument("unsupported read-out depth");
    const int64_t destStride = DibStride(width_, 24);
    for (int r = 0; r < height_; ++r) {
        const uint8_t* src = rows_.data() + r * stride_;
        uint8_t* out = dest + r * destStride;
        for (int x = 0; x < width_; ++x, out += 3) {
            switch (bitCount_) {
            case 32:
                out[0] = src[x * 4];
                out[1] = src[x * 4 + 1];
                out[2] = src[x * 4 + 2];
                break;
            case 16: {
                unsigned v = src[x * 2] | (src[x * 2 + 1] << 8);
                out[0] = Widen5(v & 31);
                out[1] = Widen5((v >> 5) & 31);
                out[2] = Widen5((v >> 10) & 31);
                break;
            }
            default: {
                const TRGBQuad& c = colours_[IndexAt(src, x, bitCount_)];
                out[0] = c.blue;
                out[1] = c.green;
                out[2] = c.red;
            }
            }
        }
        std::memset(out, 0, static_cast<size_t>(destStride - int64_t(width_) * 3));
    }
}

void TMemoryBitmap::SetPixel(int x, int y, uint32_t colour)
{
    uint8_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    uint8_t* row = Row(y);
    switch (bitCount_) {
    case 32:
        row[x * 4] = blue, row[x * 4 + 1] = green, row[x * 4 + 2] = red, row[x * 4 + 3] = 0;
        break;
    case 24:
        row[x * 3] = blue, row[x * 3 + 1] = green, row[x * 3 + 2] = red;
        break;
    case 16: {
        unsigned v = (blue >> 3) | ((green >> 3) << 5) | ((red >> 3) << 10);
        row[x * 2] = v & 0xFF, row[x * 2 + 1] = static_cast<uint8_t>(v >> 8);
        break;
    }
    default:
        throw std::invalid_argument("SetPixel needs a depth of 16 or more");
    }
}

uint32_t TMemoryBitmap::Pixel(int x, int y) const
{
    const uint8_t* row = Row(y);
    switch (bitCount_) {
    case 32:
        return row[x * 4 + 2] | (row[x * 4 + 1] << 8) | (row[x * 4] << 16);
    case 24:
        return row[x * 3 + 2] | (row[x * 3 + 1] << 8) | (row[x * 3] << 16);
    case 16: {
        unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
        return Widen5((v >> 10) & 31) | (Widen5((v >> 5) & 31) << 8) | (Widen5(v & 31) << 16);
    }
    default: {
        const TRGBQuad& c = colours_[IndexAt(row, x, bitCount_)];
        return c.red | (c.green << 8) | (c.blue << 16);
    }
    }
}

void TMemoryBitmap::SetIndex(int x, int y, int index)
{
    if (bitCount_ > 8)
        throw std::invalid_argument("SetIndex needs a depth of 8 or less");
    uint8_t* row = Row(y);
    int bit = x * bitCount_;
    int shift = 8 - bitCount_ - (bit & 7);
    uint8_t mask = static_cast<uint8_t>(((1 << bitCount_) - 1) << shift);
    row[bit >> 3] = static_cast<uint8_t>((row[bit >> 3] & ~mask) | ((index << shift) & mask));
}
