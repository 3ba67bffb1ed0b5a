#include "skin/SUIThemeFileReader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <vector>

namespace {

// Walks the record chain of a theme file held in memory. Every offset and
// size comes from the file, so each is checked against the buffer before it
// is used, and each record may be read only once: a damaged file stops the
// load with a message instead of reading past the buffer or going round in
// circles.
class ThemeParser {
public:
    ThemeParser(const uint8_t* data, size_t size, const std::string& fileName)
        : data_(data), size_(size), fileName_(fileName)
    {
    }

    [[noreturn]] void Fail(const std::string& fault) const
    {
        throw EThemeFileError("Theme file \"" + fileName_ + "\" is damaged: " + fault);
    }

    bool Holds(uint64_t offset, uint64_t length) const { return offset <= size_ && length <= size_ - offset; }

    uint32_t U32(size_t at) const
    {
        return data_[at] | (data_[at + 1] << 8) | (data_[at + 2] << 16) | (uint32_t(data_[at + 3]) << 24);
    }

    const uint8_t* At(size_t offset) const { return data_ + offset; }

private:
    const uint8_t* data_;
    size_t size_;
    const std::string& fileName_;
};

struct EntryRecord {
    std::string name;
    uint8_t type;
    uint32_t dataOffset;
    uint32_t dataSize;
    uint32_t next;
};

EntryRecord ReadRecord(const ThemeParser& file, uint32_t offset)
{
    const uint8_t* record = file.At(offset);
    const void* end = std::memchr(record, 0, kThemeKeyNameSize);
    size_t nameLength = end ? static_cast<const uint8_t*>(end) - record : kThemeKeyNameSize;
    EntryRecord r;
    r.name.assign(reinterpret_cast<const char*>(record), nameLength);
    r.type = record[64];
    r.dataOffset = file.U32(offset + 65);
    r.dataSize = file.U32(offset + 69);
    r.next = file.U32(offset + 73);
    return r;
}

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

} // namespace

bool TsuiThemeFileReader::CaseLess::operator()(const std::string& a, const std::string& b) const
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size();
}

// The whole file is read into memory once and parsed from there: theme files
// are small, the reader needs every entry anyway, and one bounded buffer is
// simpler to check than a file position, and is what the fuzzer feeds.
TsuiThemeFileReader::TsuiThemeFileReader(const std::string& fileName)
{
    std::vector<uint8_t> content;
    {
        TFileStream file(fileName, TFileStream::OpenRead);
        uint8_t chunk[64 * 1024];
        size_t n;
        while ((n = file.Read(chunk, sizeof chunk)) > 0)
            content.insert(content.end(), chunk, chunk + n);
    }
    Parse(content.data(), content.size(), fileName);
}

TsuiThemeFileReader::TsuiThemeFileReader(const uint8_t* data, size_t size, const std::string& nameForErrors)
{
    Parse(data, size, nameForErrors);
}

void TsuiThemeFileReader::Parse(const uint8_t* data, size_t size, const std::string& fileName)
{
    ThemeParser file(data, size, fileName);
    if (!file.Holds(0, kThemeHeaderLengthField + 4))
        file.Fail("the file ends inside its header");
    const uint32_t headerLength = file.U32(kThemeHeaderLengthField);
    if (headerLength != kThemeHeaderLength)
        file.Fail("its header is " + std::to_string(headerLength) + " bytes long instead of " +
                  std::to_string(kThemeHeaderLength));
    if (!file.Holds(0, kThemeHeaderLength))
        file.Fail("the file ends inside its header");

    std::set<uint32_t> visited;
    // Entries may point at the same data; copying it more often than the
    // file is long would let a small file take any amount of memory.
    uint64_t copied = 0;
    std::string where = "the first entry"; // the record about to be read, for messages
    uint32_t offset = file.U32(kThemeFirstRecordField);
    for (;;) {
        if (!visited.insert(offset).second)
            file.Fail(where + " leads back to an entry already read");
        if (!file.Holds(offset, kThemeRecordSize))
            file.Fail(where + " lies beyond the end of the file");
        EntryRecord r = ReadRecord(file, offset);
        if (r.next == 0)
            break; // the closing record holds no value

        const std::string entry = "entry " + Quoted(r.name);
        const auto type = static_cast<TsuiThemeEntryType>(r.type);
        if (type == TsuiThemeEntryType::Integer && r.dataSize != 4)
            file.Fail(entry + " holds an integer of " + std::to_string(r.dataSize) + " bytes instead of 4");
        if (type == TsuiThemeEntryType::Byte && r.dataSize != 1)
            file.Fail(entry + " holds a byte value of " + std::to_string(r.dataSize) + " bytes instead of 1");
        const bool known = r.type <= static_cast<uint8_t>(TsuiThemeEntryType::String);
        if (known && !file.Holds(r.dataOffset, r.dataSize))
            file.Fail(entry + " lies beyond the end of the file");

        if (type == TsuiThemeEntryType::Bitmap || type == TsuiThemeEntryType::String) {
            copied += r.dataSize;
            if (copied > size)
                file.Fail(entry + " repeats data held by other entries");
        }
        // A name stored twice keeps its first value: lookups find the first.
        const uint8_t* value = file.At(known ? r.dataOffset : 0);
        switch (type) {
        case TsuiThemeEntryType::Bitmap:
            if (!bitmaps_.contains(r.name)) {
                auto stream = std::make_unique<TMemoryStream>();
                stream->WriteBuffer(value, r.dataSize);
                stream->SetPosition(0);
                bitmaps_.emplace(r.name, std::move(stream));
            }
            break;
        case TsuiThemeEntryType::Integer:
            ints_.emplace(r.name, static_cast<int32_t>(file.U32(r.dataOffset)));
            break;
        case TsuiThemeEntryType::Byte:
            bytes_.emplace(r.name, value[0]);
            break;
        case TsuiThemeEntryType::String:
            strings_.emplace(r.name, std::string(reinterpret_cast<const char*>(value), r.dataSize));
            break;
        default:
            break; // entry types of later versions are skipped
        }
        where = "the entry after " + Quoted(r.name);
        offset = r.next;
    }
}

TMemoryStream* TsuiThemeFileReader::GetBitmap(const std::string& name)
{
    auto found = bitmaps_.find(name);
    if (found == bitmaps_.end())
        return nullptr;
    found->second->SetPosition(0);
    return found->second.get();
}

int32_t TsuiThemeFileReader::GetInt(const std::string& name) const
{
    auto found = ints_.find(name);
    return found == ints_.end() ? -1 : found->second;
}

bool TsuiThemeFileReader::GetBool(const std::string& name) const
{
    auto found = bytes_.find(name);
    return found != bytes_.end() && found->second != 0;
}

std::string TsuiThemeFileReader::GetStr(const std::string& name) const
{
    auto found = strings_.find(name);
    return found == strings_.end() ? std::string() : found->second;
}
