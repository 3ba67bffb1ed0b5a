// Colours compared as an eye would: lossy writers, screens of fewer bits
// and blending move a channel by a little, so a check allows a tolerance
// per channel. Portable.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace support {

// Whether the colours, three channels of a byte each packed into the low
// 24 bits (0xBBGGRR or 0xRRGGBB alike), differ by at most tolerance in
// every channel.
inline bool ChannelsNear(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

} // namespace support
