// TPNGObject: the PNG form of a captured bitmap. The picture is kept as a
// list of chunks in file order; saving writes the signature and each chunk.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "imaging/DeviceBitmap.h"
#include "imaging/Graphic.h"

class TStream;
class TBitmap;
class TPNGObject;

class EPngError : public Exception {
public:
    using Exception::Exception;
};

// RowFilters bits: the filter types the encoder may choose from.
enum : uint8_t { pfNone = 1, pfSub = 2, pfUp = 4, pfAverage = 8, pfPaeth = 16 };

// The CRC-32 of PNG chunks over size bytes, continuing from crc (start with 0).
uint32_t PngCrc(uint32_t crc, const uint8_t* data, size_t size);
// Writes one chunk: data length and type, the data, then the CRC of type and
// data, all numbers big-endian.
void WritePngChunk(TStream& stream, const char type[4], const uint8_t* data, size_t size);

// One chunk: a 4-character type, its data bytes and the image it belongs to.
// Chunk classes are named "TChunk" + type.
class TChunk {
public:
    TChunk(TPNGObject& owner, const char type[4]);
    virtual ~TChunk() = default;
    TChunk(const TChunk&) = delete;
    TChunk& operator=(const TChunk&) = delete;

    virtual const char* ClassName() const { return "TChunk"; }
    // Copies type and data from source.
    virtual void Assign(const TChunk& source);
    // An empty chunk of the same class and type for owner.
    virtual std::unique_ptr<TChunk> Create(TPNGObject& owner) const;
    // Reads length data bytes and the CRC after them; the stream stands just
    // after the chunk's type.
    virtual void LoadFromStream(TStream& stream, uint32_t length);
    // Writes length, type, data and CRC.
    virtual void SaveToStream(TStream& stream) const;

    // A copy of this chunk for owner.
    std::unique_ptr<TChunk> Clone(TPNGObject& owner) const;

    std::string Type() const { return std::string(type_, 4); }
    const std::vector<uint8_t>& Data() const { return data_; }
    std::vector<uint8_t>& Data() { return data_; }
    uint32_t DataSize() const { return static_cast<uint32_t>(data_.size()); }
    TPNGObject& Owner() const { return *owner_; }

protected:
    std::vector<uint8_t> data_;

private:
    TPNGObject* owner_;
    char type_[4];
};

// The fields of the IHDR chunk.
struct TPngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0; // 0 gray, 2 RGB, 3 palette, 4 gray + alpha, 6 RGB + alpha
    uint8_t compressionMethod = 0;
    uint8_t filterMethod = 0;
    uint8_t interlaceMethod = 0;
};

// The header, together with the picture as a device-independent buffer:
// rows bottom row first, padded to BytesPerRow(), blue-green-red for colour
// types 2 and 6, indices (or gray levels) otherwise.
class TChunkIHDR : public TChunk {
public:
    explicit TChunkIHDR(TPNGObject& owner) : TChunk(owner, "IHDR") {}

    const char* ClassName() const override { return "TChunkIHDR"; }
    void Assign(const TChunk& source) override; // from a TChunkIHDR only
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
    void LoadFromStream(TStream& stream, uint32_t length) override;
    void SaveToStream(TStream& stream) const override;

    const TPngHeader& Header() const { return header_; }
    // Checks the fields and makes an image buffer to match: zero-filled, or
    // left as it comes when the caller fills every byte at once.
    enum TBufferFill { bfZeroFilled, bfFilledByCaller };
    void SetHeader(const TPngHeader& header, TBufferFill fill = bfZeroFilled);

    // Bits per pixel of the image buffer.
    int BufferBitCount() const { return bufferInfo_.bitCount; }
    int64_t BytesPerRow() const { return bytesPerRow_; }
    uint8_t* ImageData() { return imageData_.get(); }
    const uint8_t* ImageData() const { return imageData_.get(); }
    size_t ImageSize() const { return imageSize_; }
    // Row y of the picture, counted from the top.
    const uint8_t* ImageRow(uint32_t y) const;
    // 256 entries; the palette of colour type 3.
    std::vector<TRGBQuad>& Colours() { return colours_; }
    const std::vector<TRGBQuad>& Colours() const { return colours_; }
    // The bit depth as written: 2-bit images are kept and written at 4 bits.
    uint8_t WrittenBitDepth() const { return header_.bitDepth == 2 ? 4 : header_.bitDepth; }

private:
    TPngHeader header_;
    TBitmapInfoHeader bufferInfo_;
    int64_t bytesPerRow_ = 0;
    std::unique_ptr<uint8_t[]> imageData_;
    size_t imageSize_ = 0;
    std::vector<TRGBQuad> colours_ = std::vector<TRGBQuad>(256);
};

// The palette: Count() entries of the header's colour table.
class TChunkPLTE : public TChunk {
public:
    explicit TChunkPLTE(TPNGObject& owner) : TChunk(owner, "PLTE") {}

    const char* ClassName() const override { return "TChunkPLTE"; }
    void Assign(const TChunk& source) override; // from a TChunkPLTE only
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
    void LoadFromStream(TStream& stream, uint32_t length) override;
    void SaveToStream(TStream& stream) const override;

    int Count() const { return count_; }
    void SetCount(int count);

private:
    int count_ = 0;
};

// Transparency: its data are the bytes written (at most 256).
class TChunktRNS : public TChunk {
public:
    explicit TChunktRNS(TPNGObject& owner) : TChunk(owner, "tRNS") {}
    const char* ClassName() const override { return "TChunktRNS"; }
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
    void LoadFromStream(TStream& stream, uint32_t length) override;
};

// Stands for the compressed picture: saving it compresses the header's image
// buffer and writes it as a run of IDAT chunks.
class TChunkIDAT : public TChunk {
public:
    explicit TChunkIDAT(TPNGObject& owner) : TChunk(owner, "IDAT") {}
    const char* ClassName() const override { return "TChunkIDAT"; }
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
    void SaveToStream(TStream& stream) const override;
};

class TChunkIEND : public TChunk {
public:
    explicit TChunkIEND(TPNGObject& owner) : TChunk(owner, "IEND") {}
    const char* ClassName() const override { return "TChunkIEND"; }
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
};

// Chunks known when reading files; they keep their data as read.
class TChunkgAMA : public TChunk {
public:
    explicit TChunkgAMA(TPNGObject& owner) : TChunk(owner, "gAMA") {}
    const char* ClassName() const override { return "TChunkgAMA"; }
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
};

class TChunktIME : public TChunk {
public:
    explicit TChunktIME(TPNGObject& owner) : TChunk(owner, "tIME") {}
    const char* ClassName() const override { return "TChunktIME"; }
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
};

class TChunktEXt : public TChunk {
public:
    explicit TChunktEXt(TPNGObject& owner) : TChunk(owner, "tEXt") {}
    const char* ClassName() const override { return "TChunktEXt"; }
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
};

class TChunkzTXt : public TChunk {
public:
    explicit TChunkzTXt(TPNGObject& owner) : TChunk(owner, "zTXt") {}
    const char* ClassName() const override { return "TChunkzTXt"; }
    std::unique_ptr<TChunk> Create(TPNGObject& owner) const override;
};

// The chunk classes a reader knows, in the order IEND, IHDR, IDAT, PLTE,
// gAMA, tRNS, tIME, tEXt, zTXt.
struct TChunkClass {
    const char* type;
    std::unique_ptr<TChunk> (*create)(TPNGObject& owner);
};
const std::vector<TChunkClass>& ChunkClasses();

// A chunk of the class registered for type; a plain TChunk for other types.
std::unique_ptr<TChunk> CreateChunk(const char type[4], TPNGObject& owner);

class TPNGObject : public TGraphic {
public:
    TPNGObject() = default;
    TPNGObject(const TPNGObject&) = delete; // chunks refer back to their owner
    TPNGObject& operator=(const TPNGObject&) = delete;

    const char* ClassName() const override { return "TPNGObject"; }
    int Width() const override;
    int Height() const override;
    // Refused: the picture is only ever taken from a bitmap.
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    // From a TBitmap: builds the chunks of its picture. From a TPNGObject:
    // copies its settings and chunks.
    void Assign(const TGraphic& source) override;
    // The signature and every chunk; nothing for an empty bitmap.
    void SaveToStream(TStream& stream) const override;

    // zlib level, 0 to 9; checked when saving.
    uint8_t DeflateLevel() const { return deflateLevel_; }
    void SetDeflateLevel(uint8_t value) { deflateLevel_ = value; }
    uint8_t RowFilters() const { return rowFilters_; }
    void SetRowFilters(uint8_t value) { rowFilters_ = value; }
    // 0 = not interlaced; Adam7 (1) cannot be written.
    uint8_t InterlaceMode() const { return interlaceMode_; }
    void SetInterlaceMode(uint8_t value) { interlaceMode_ = value; }

    const std::vector<std::unique_ptr<TChunk>>& Chunks() const { return chunks_; }
    // The first IHDR chunk; nullptr when there is none.
    const TChunkIHDR* Header() const;
    TChunkIHDR* Header();
    // Raises EPngError when the image cannot be saved with these settings.
    void CheckSaveSettings() const;

private:
    void AssignBitmap(const TBitmap& bitmap);
    // The header chunk holding the bitmap's pixels: palette images at
    // 1, 4 and 8 bits, all other depths as 8-bit RGB.
    std::unique_ptr<TChunkIHDR> ReadBitmap(const TBitmap& bitmap);
    void AssignPng(const TPNGObject& source);

    std::vector<std::unique_ptr<TChunk>> chunks_;
    uint8_t deflateLevel_ = 7;
    uint8_t rowFilters_ = pfSub;
    uint8_t interlaceMode_ = 0;
    bool emptyBitmap_ = false; // assigned from a bitmap without pixels
};
