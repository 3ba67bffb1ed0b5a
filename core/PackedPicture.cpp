#include "core/PackedPicture.h"

#include <zlib.h>

#include <algorithm>

namespace {

const uint8_t kMagic[4] = {'S', 'Q', 'P', '1'};
const size_t kHeaderSize = 16;
// No picture of the skin comes near this; a larger claim is damage.
const uint32_t kLargestPicture = 64u << 20;
const uint16_t kTileFlag = 1;

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint32_t Get16(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t Get32(const uint8_t* p)
{
    return Get16(p) | Get16(p + 2) << 16;
}

} // namespace

std::vector<uint8_t> PackPicture(const TPackedPictureInfo& info, const std::vector<uint8_t>& bmpFile)
{
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    Put16(out, uint32_t(info.designedWidth));
    Put16(out, uint32_t(info.designedHeight));
    Put16(out, uint32_t(info.frameCount));
    Put16(out, info.tile ? kTileFlag : 0);
    Put32(out, uint32_t(bmpFile.size()));
    uLongf packedSize = compressBound(uLong(bmpFile.size()));
    out.resize(kHeaderSize + packedSize);
    if (compress2(out.data() + kHeaderSize, &packedSize, bmpFile.data(), uLong(bmpFile.size()), 9) != Z_OK)
        throw EPictureError("Cannot pack a picture");
    out.resize(kHeaderSize + packedSize);
    return out;
}

std::vector<uint8_t> UnpackPicture(const uint8_t* data, size_t size, TPackedPictureInfo& info)
{
    if (!data || size < kHeaderSize || std::equal(kMagic, kMagic + 4, data) == false)
        throw EPictureError("Not a packed picture");
    info.designedWidth = int(Get16(data + 4));
    info.designedHeight = int(Get16(data + 6));
    info.frameCount = int(Get16(data + 8));
    info.tile = (Get16(data + 10) & kTileFlag) != 0;
    const uint32_t bmpSize = Get32(data + 12);
    if (bmpSize == 0 || bmpSize > kLargestPicture || info.frameCount == 0 || info.designedWidth == 0 ||
        info.designedHeight == 0)
        throw EPictureError("A packed picture's header is damaged");
    std::vector<uint8_t> bmp(bmpSize);
    uLongf unpacked = bmpSize;
    if (uncompress(bmp.data(), &unpacked, data + kHeaderSize, uLong(size - kHeaderSize)) != Z_OK ||
        unpacked != bmpSize)
        throw EPictureError("A packed picture is damaged");
    return bmp;
}
