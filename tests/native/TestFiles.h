// Helpers shared by the tests: scratch files and reading them back.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/Stream.h"

inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline uint32_t LE32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

inline uint16_t LE16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

inline uint32_t BE32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Stores only the first `limit` bytes it is given, as a full disk does.
class ShortStream : public TStream {
public:
    explicit ShortStream(size_t limit) : limit_(limit) {}
    size_t Write(const void*, size_t count) override
    {
        const size_t stored = std::min(count, limit_ - written_);
        written_ += stored;
        return stored;
    }
    size_t Read(void*, size_t) override { return 0; }

private:
    size_t limit_;
    size_t written_ = 0;
};

// A folder of its own for one test, removed afterwards.
class ScratchDir {
public:
    ScratchDir()
    {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("snapquill-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};
