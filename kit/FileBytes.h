// Files read back whole, and the numbers stored in them: the little-endian
// fields of BMP and theme-file headers, the big-endian ones of PNG chunks.
// Portable: the native tests use it as much as the Win32 ones and the
// tools.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace support {

// The file's bytes; empty when it cannot be read.
inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline uint16_t LE16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t LE32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

inline uint32_t BE32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

} // namespace support
