#include "skin/SUIThemeFileWriter.h"

#include <cstring>

namespace {

// Header bytes the reader does not interpret: a magic text, so that a theme
// file can be recognised by eye, and a zero field.
constexpr char kMagic[12] = {'S', 'N', 'A', 'P', 'Q', 'U', 'I', 'L', 'L', 'T', 'H', 'M'};

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> LittleEndian(uint32_t value)
{
    std::vector<uint8_t> bytes(4);
    PutU32(bytes, 0, value);
    return bytes;
}

} // namespace

void TThemeFileWriter::AddRaw(const std::string& name, uint8_t type, const std::vector<uint8_t>& data)
{
    if (name.size() > kThemeKeyNameSize)
        throw EThemeFileError("The theme key name \"" + name + "\" is longer than " +
                              std::to_string(kThemeKeyNameSize) + " characters");
    entries_.push_back({name, type, data});
}

void TThemeFileWriter::AddBitmap(const std::string& name, const std::vector<uint8_t>& bmpFile)
{
    AddRaw(name, uint8_t(TsuiThemeEntryType::Bitmap), bmpFile);
}

void TThemeFileWriter::AddInt(const std::string& name, int32_t value)
{
    AddRaw(name, uint8_t(TsuiThemeEntryType::Integer), LittleEndian(static_cast<uint32_t>(value)));
}

void TThemeFileWriter::AddByte(const std::string& name, uint8_t value)
{
    AddRaw(name, uint8_t(TsuiThemeEntryType::Byte), {value});
}

void TThemeFileWriter::AddString(const std::string& name, const std::string& text)
{
    AddRaw(name, uint8_t(TsuiThemeEntryType::String), std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> TThemeFileWriter::Bytes() const
{
    const size_t recordCount = entries_.size() + 1; // and the closing record
    std::vector<uint8_t> out(RecordOffset(recordCount), 0);
    std::memcpy(out.data(), kMagic, sizeof kMagic);
    PutU32(out, kThemeHeaderLengthField, kThemeHeaderLength);
    PutU32(out, kThemeFirstRecordField, RecordOffset(0));

    for (size_t i = 0; i < entries_.size(); ++i) {
        const TThemeFileEntry& entry = entries_[i];
        if (entry.data.size() > UINT32_MAX - out.size())
            throw EThemeFileError("A theme file cannot hold more than 4 GB");
        const size_t at = RecordOffset(i);
        std::memcpy(&out[at], entry.name.data(), entry.name.size());
        out[at + 64] = entry.type;
        PutU32(out, at + 65, static_cast<uint32_t>(out.size()));
        PutU32(out, at + 69, static_cast<uint32_t>(entry.data.size()));
        PutU32(out, at + 73, RecordOffset(i + 1));
        out.insert(out.end(), entry.data.begin(), entry.data.end());
    }
    // The closing record: no name, no data, next offset 0.
    return out;
}

void TThemeFileWriter::SaveToFile(const std::string& path) const
{
    const std::vector<uint8_t> bytes = Bytes();
    TFileStream file(path);
    file.WriteBuffer(bytes.data(), bytes.size());
}
