// Helpers of the native tests: scratch folders and a stream that fills up
// like a disk; files are read back with the kit's FileBytes.h.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "kit/FileBytes.h"

using namespace support;

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
