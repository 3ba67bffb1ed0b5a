// The reader of theme files: named bitmaps, integers, bytes and texts that
// replace the built-in values of a style.
//
// File form (little-endian): a 24-byte header whose bytes 12..15 hold the
// header length (24) and bytes 20..23 the offset of the first entry record,
// then a chain of 77-byte entry records:
//   0  64  key name, ended by a zero byte or by the end of the field
//   64  1  entry type (TsuiThemeEntryType)
//   65  4  offset of the entry's data
//   69  4  size of the data
//   73  4  offset of the next record; 0 in the last record, which ends the
//          chain and holds no value (n values take n + 1 records)
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "core/Exception.h"
#include "core/Stream.h"

enum class TsuiThemeEntryType : uint8_t { Bitmap = 0, Integer = 1, Byte = 2, String = 3 };

constexpr uint32_t kThemeHeaderLength = 24;
constexpr uint32_t kThemeFirstRecordField = 20;
constexpr uint32_t kThemeHeaderLengthField = 12;
constexpr uint32_t kThemeRecordSize = 77;
constexpr uint32_t kThemeKeyNameSize = 64;

// A theme file that cannot be read as one: the message names the file and
// what is wrong with it.
class EThemeFileError : public Exception {
public:
    using Exception::Exception;
};

class TsuiThemeFileReader {
public:
    // Reads the whole file, letting other programs read and write it
    // meanwhile. Raises EFOpenError when it cannot be opened and
    // EThemeFileError when it is damaged.
    explicit TsuiThemeFileReader(const std::string& fileName);
    // Reads a theme file held in memory; nameForErrors names it in messages.
    TsuiThemeFileReader(const uint8_t* data, size_t size, const std::string& nameForErrors);

    TsuiThemeFileReader(const TsuiThemeFileReader&) = delete;
    TsuiThemeFileReader& operator=(const TsuiThemeFileReader&) = delete;

    // Names are matched without regard to case. A bitmap comes rewound and
    // stays owned by the reader; nullptr when absent.
    TMemoryStream* GetBitmap(const std::string& name);
    int32_t GetInt(const std::string& name) const;      // -1 when absent
    bool GetBool(const std::string& name) const;        // false when absent
    std::string GetStr(const std::string& name) const;  // "" when absent

    size_t BitmapCount() const { return bitmaps_.size(); }
    size_t IntCount() const { return ints_.size(); }
    size_t ByteCount() const { return bytes_.size(); }
    size_t StrCount() const { return strings_.size(); }

private:
    struct CaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    void Parse(const uint8_t* data, size_t size, const std::string& fileName);

    std::map<std::string, std::unique_ptr<TMemoryStream>, CaseLess> bitmaps_;
    std::map<std::string, int32_t, CaseLess> ints_;
    std::map<std::string, uint8_t, CaseLess> bytes_;
    std::map<std::string, std::string, CaseLess> strings_;
};
