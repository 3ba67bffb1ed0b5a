// The chunk classes of TPNGObject and the chunk layout in the file.
#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "core/Stream.h"
#include "imaging/pngimage.h"

namespace {

const uint32_t kMaxChunkLength = 0x7FFFFFFF;

// CRC tables, made once on first use. tables[0] is the byte-wise table;
// tables[k][n] is the CRC of byte n followed by k zero bytes, which lets the
// CRC take eight bytes per step and keeps it cheap next to compression.
using TCrcTables = std::array<std::array<uint32_t, 256>, 8>;

const TCrcTables& CrcTables()
{
    static const TCrcTables tables = [] {
        TCrcTables t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][n] = c;
        }
        for (uint32_t n = 0; n < 256; ++n) {
            for (int k = 1; k < 8; ++k)
                t[k][n] = t[0][t[k - 1][n] & 0xFF] ^ (t[k - 1][n] >> 8);
        }
        return t;
    }();
    return tables;
}

void PutBE32(uint8_t* p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value >> 24);
    p[1] = static_cast<uint8_t>(value >> 16);
    p[2] = static_cast<uint8_t>(value >> 8);
    p[3] = static_cast<uint8_t>(value);
}

uint32_t GetBE32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint32_t ChunkCrc(const char type[4], const uint8_t* data, size_t size)
{
    uint32_t crc = PngCrc(0, reinterpret_cast<const uint8_t*>(type), 4);
    return PngCrc(crc, data, size);
}

TChunkIHDR& RequireHeader(TPNGObject& owner)
{
    TChunkIHDR* header = owner.Header();
    if (!header)
        throw EPngError("The PNG image has no header chunk");
    return *header;
}

bool IsValidDepth(uint8_t colourType, uint8_t bitDepth)
{
    switch (colourType) {
    case 0:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case 3:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case 2:
    case 4:
    case 6:
        return bitDepth == 8 || bitDepth == 16;
    default:
        return false;
    }
}

void CheckHeader(const TPngHeader& h)
{
    if (h.width == 0 || h.height == 0 || h.width > kMaxChunkLength || h.height > kMaxChunkLength)
        throw EPngError("Invalid PNG header: width and height must be 1 to 2147483647");
    if (!IsValidDepth(h.colourType, h.bitDepth))
        throw EPngError("Invalid PNG header: colour type " + std::to_string(h.colourType) + " with bit depth " +
                        std::to_string(h.bitDepth));
    if (h.compressionMethod != 0 || h.filterMethod != 0 || h.interlaceMethod > 1)
        throw EPngError("Invalid PNG header: unknown compression, filter or interlace method");
}

int BufferBitCountFor(const TPngHeader& h)
{
    if (h.colourType == 2 || h.colourType == 6)
        return 24;
    if (h.bitDepth == 2)
        return 4;
    if (h.bitDepth == 16)
        return 8;
    return h.bitDepth;
}

void ReadChunkData(TStream& stream, std::vector<uint8_t>& data, const char type[4], uint32_t length)
{
    const std::string name(type, 4);
    if (length > kMaxChunkLength)
        throw EPngError("Invalid length of PNG chunk \"" + name + "\"");
    data.resize(length);
    stream.ReadBuffer(data.data(), length);
    uint8_t crc[4];
    stream.ReadBuffer(crc, 4);
    if (GetBE32(crc) != ChunkCrc(type, data.data(), data.size()))
        throw EPngError("CRC error in PNG chunk \"" + name + "\"");
}

} // namespace

uint32_t PngCrc(uint32_t crc, const uint8_t* data, size_t size)
{
    const TCrcTables& t = CrcTables();
    uint32_t c = crc ^ 0xFFFFFFFFu;
    for (; size >= 8; size -= 8, data += 8) {
        const uint32_t low = c ^ (data[0] | data[1] << 8 | data[2] << 16 | uint32_t(data[3]) << 24);
        c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
            t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
    }
    for (; size > 0; --size, ++data)
        c = t[0][(c ^ *data) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void WritePngChunk(TStream& stream, const char type[4], const uint8_t* data, size_t size)
{
    if (size > kMaxChunkLength)
        throw EPngError("PNG chunk \"" + std::string(type, 4) + "\" is too long");
    uint8_t head[8];
    PutBE32(head, static_cast<uint32_t>(size));
    std::memcpy(head + 4, type, 4);
    uint8_t crc[4];
    PutBE32(crc, ChunkCrc(type, data, size));
    stream.WriteBuffer(head, sizeof head);
    stream.WriteBuffer(data, size);
    stream.WriteBuffer(crc, sizeof crc);
}

// TChunk

TChunk::TChunk(TPNGObject& owner, const char type[4]) : owner_(&owner)
{
    std::memcpy(type_, type, 4);
}

void TChunk::Assign(const TChunk& source)
{
    std::memcpy(type_, source.type_, 4);
    data_ = source.data_;
}

std::unique_ptr<TChunk> TChunk::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunk>(owner, type_);
}

void TChunk::LoadFromStream(TStream& stream, uint32_t length)
{
    ReadChunkData(stream, data_, type_, length);
}

void TChunk::SaveToStream(TStream& stream) const
{
    WritePngChunk(stream, type_, data_.data(), data_.size());
}

std::unique_ptr<TChunk> TChunk::Clone(TPNGObject& owner) const
{
    std::unique_ptr<TChunk> copy = Create(owner);
    copy->Assign(*this);
    return copy;
}

// TChunkIHDR

void TChunkIHDR::Assign(const TChunk& source)
{
    const TChunkIHDR* header = dynamic_cast<const TChunkIHDR*>(&source);
    if (!header)
        throw EPngError("The chunks must be compatible to be assigned.");
    TChunk::Assign(source);
    header_ = header->header_;
    bufferInfo_ = header->bufferInfo_;
    bytesPerRow_ = header->bytesPerRow_;
    imageData_ = std::make_unique_for_overwrite<uint8_t[]>(header->imageSize_);
    std::copy_n(header->imageData_.get(), header->imageSize_, imageData_.get());
    imageSize_ = header->imageSize_;
    colours_ = header->colours_;
}

std::unique_ptr<TChunk> TChunkIHDR::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunkIHDR>(owner);
}

void TChunkIHDR::LoadFromStream(TStream& stream, uint32_t length)
{
    TChunk::LoadFromStream(stream, length);
    if (data_.size() != 13)
        throw EPngError("Invalid PNG header: IHDR chunk of " + std::to_string(data_.size()) + " bytes");
    TPngHeader h;
    h.width = GetBE32(&data_[0]);
    h.height = GetBE32(&data_[4]);
    h.bitDepth = data_[8];
    h.colourType = data_[9];
    h.compressionMethod = data_[10];
    h.filterMethod = data_[11];
    h.interlaceMethod = data_[12];
    SetHeader(h);
}

void TChunkIHDR::SaveToStream(TStream& stream) const
{
    uint8_t fields[13];
    PutBE32(fields, header_.width);
    PutBE32(fields + 4, header_.height);
    fields[8] = WrittenBitDepth();
    fields[9] = header_.colourType;
    fields[10] = header_.compressionMethod;
    fields[11] = header_.filterMethod;
    fields[12] = Owner().InterlaceMode();
    WritePngChunk(stream, "IHDR", fields, sizeof fields);
}

void TChunkIHDR::SetHeader(const TPngHeader& header, TBufferFill fill)
{
    CheckHeader(header);
    const int bitCount = BufferBitCountFor(header);
    const int64_t bytesPerRow = ((int64_t(bitCount) * header.width + 31) & ~int64_t(31)) / 8;
    if (bytesPerRow > INT64_MAX / header.height)
        throw std::bad_alloc();
    const int64_t imageSize = bytesPerRow * header.height;

    TBitmapInfoHeader info;
    info.width = static_cast<int32_t>(header.width);
    info.height = static_cast<int32_t>(header.height);
    info.bitCount = static_cast<uint16_t>(bitCount);
    info.sizeImage = static_cast<uint32_t>(imageSize);

    imageData_ = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(imageSize));
    imageSize_ = static_cast<size_t>(imageSize);
    if (fill == bfZeroFilled)
        std::fill_n(imageData_.get(), imageSize_, uint8_t(0));
    colours_.assign(256, TRGBQuad{});
    header_ = header;
    bufferInfo_ = info;
    bytesPerRow_ = bytesPerRow;
}

const uint8_t* TChunkIHDR::ImageRow(uint32_t y) const
{
    return imageData_.get() + static_cast<size_t>(header_.height - 1 - y) * static_cast<size_t>(bytesPerRow_);
}

// TChunkPLTE

void TChunkPLTE::Assign(const TChunk& source)
{
    const TChunkPLTE* palette = dynamic_cast<const TChunkPLTE*>(&source);
    if (!palette)
        throw EPngError("The chunks must be compatible to be assigned.");
    TChunk::Assign(source);
    count_ = palette->count_;
}

std::unique_ptr<TChunk> TChunkPLTE::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunkPLTE>(owner);
}

void TChunkPLTE::SetCount(int count)
{
    if (count < 1 || count > 256)
        throw EPngError("Invalid PNG palette size " + std::to_string(count) + ": use 1 to 256");
    count_ = count;
}

void TChunkPLTE::LoadFromStream(TStream& stream, uint32_t length)
{
    TChunk::LoadFromStream(stream, length);
    if (data_.size() % 3 != 0 || data_.size() > 3 * 256)
        throw EPngError("Invalid PNG palette of " + std::to_string(data_.size()) + " bytes");
    std::vector<TRGBQuad>& colours = RequireHeader(Owner()).Colours();
    SetCount(static_cast<int>(data_.size() / 3));
    for (int i = 0; i < count_; ++i)
        colours[i] = {data_[3 * i + 2], data_[3 * i + 1], data_[3 * i], 0};
}

void TChunkPLTE::SaveToStream(TStream& stream) const
{
    const std::vector<TRGBQuad>& colours = RequireHeader(Owner()).Colours();
    std::vector<uint8_t> entries;
    entries.reserve(3 * count_);
    for (int i = 0; i < count_; ++i) {
        entries.push_back(colours[i].red);
        entries.push_back(colours[i].green);
        entries.push_back(colours[i].blue);
    }
    WritePngChunk(stream, "PLTE", entries.data(), entries.size());
}

// The other chunk classes

std::unique_ptr<TChunk> TChunktRNS::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunktRNS>(owner);
}

void TChunktRNS::LoadFromStream(TStream& stream, uint32_t length)
{
    if (length > 256)
        throw EPngError("Invalid PNG transparency chunk of " + std::to_string(length) + " bytes");
    TChunk::LoadFromStream(stream, length);
}

std::unique_ptr<TChunk> TChunkIDAT::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunkIDAT>(owner);
}

std::unique_ptr<TChunk> TChunkIEND::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunkIEND>(owner);
}

std::unique_ptr<TChunk> TChunkgAMA::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunkgAMA>(owner);
}

std::unique_ptr<TChunk> TChunktIME::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunktIME>(owner);
}

std::unique_ptr<TChunk> TChunktEXt::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunktEXt>(owner);
}

std::unique_ptr<TChunk> TChunkzTXt::Create(TPNGObject& owner) const
{
    return std::make_unique<TChunkzTXt>(owner);
}

// The chunk class list

namespace {
template <class TChunkClassType>
std::unique_ptr<TChunk> NewChunk(TPNGObject& owner)
{
    return std::make_unique<TChunkClassType>(owner);
}
} // namespace

const std::vector<TChunkClass>& ChunkClasses()
{
    static const std::vector<TChunkClass> classes = {
        {"IEND", NewChunk<TChunkIEND>}, {"IHDR", NewChunk<TChunkIHDR>}, {"IDAT", NewChunk<TChunkIDAT>},
        {"PLTE", NewChunk<TChunkPLTE>}, {"gAMA", NewChunk<TChunkgAMA>}, {"tRNS", NewChunk<TChunktRNS>},
        {"tIME", NewChunk<TChunktIME>}, {"tEXt", NewChunk<TChunktEXt>}, {"zTXt", NewChunk<TChunkzTXt>},
    };
    return classes;
}

std::unique_ptr<TChunk> CreateChunk(const char type[4], TPNGObject& owner)
{
    for (const TChunkClass& chunkClass : ChunkClasses()) {
        if (std::memcmp(chunkClass.type, type, 4) == 0)
            return chunkClass.create(owner);
    }
    return std::make_unique<TChunk>(owner, type);
}
