// TPNGObject: building the chunks from a bitmap and writing the file, with
// the row filtering and compression of the image data.
#include "imaging/pngimage.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <zlib.h>

#include "core/Stream.h"
#include "imaging/Bitmap.h"

namespace {

const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
const size_t kIdatSize = 65535;
const uint8_t kAllFilters = pfNone | pfSub | pfUp | pfAverage | pfPaeth;
enum { ftNone, ftSub, ftUp, ftAverage, ftPaeth };

// The encoder takes 8-bit RGB, and gray or palette images of up to 8 bits.
bool IsWritable(const TPngHeader& h)
{
    if (h.width == 0 || h.height == 0)
        return false;
    if (h.colourType == 2)
        return h.bitDepth == 8;
    const bool smallDepth = h.bitDepth == 1 || h.bitDepth == 2 || h.bitDepth == 4 || h.bitDepth == 8;
    return (h.colourType == 0 || h.colourType == 3) && smallDepth;
}

// Compresses what it is given and writes the compressed data as IDAT chunks
// of kIdatSize bytes each, the last one shorter.
class TIdatWriter {
public:
    TIdatWriter(TStream& stream, int level) : stream_(stream), output_(kIdatSize)
    {
        const int result = deflateInit(&z_, level);
        if (result != Z_OK)
            throw EPngError(std::string("Cannot start PNG compression: ") + (z_.msg ? z_.msg : zError(result)));
        z_.next_out = output_.data();
        z_.avail_out = kIdatSize;
    }
    ~TIdatWriter() { deflateEnd(&z_); }
    TIdatWriter(const TIdatWriter&) = delete;
    TIdatWriter& operator=(const TIdatWriter&) = delete;

    void Write(const uint8_t* data, size_t size)
    {
        while (size > 0) {
            const size_t piece = std::min<size_t>(size, UINT_MAX);
            z_.next_in = const_cast<Bytef*>(data);
            z_.avail_in = static_cast<uInt>(piece);
            while (z_.avail_in > 0)
                Deflate(Z_NO_FLUSH);
            data += piece;
            size -= piece;
        }
    }

    void Finish()
    {
        while (Deflate(Z_FINISH) != Z_STREAM_END) {
        }
        const size_t pending = kIdatSize - z_.avail_out;
        if (pending > 0)
            WritePngChunk(stream_, "IDAT", output_.data(), pending);
    }

private:
    int Deflate(int flush)
    {
        const int result = deflate(&z_, flush);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            throw EPngError(std::string("PNG compression failed: ") + (z_.msg ? z_.msg : zError(result)));
        if (z_.avail_out == 0) {
            WritePngChunk(stream_, "IDAT", output_.data(), kIdatSize);
            z_.next_out = output_.data();
            z_.avail_out = kIdatSize;
        }
        return result;
    }

    TStream& stream_;
    std::vector<uint8_t> output_;
    z_stream z_{};
};

uint8_t PaethPredictor(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// The filters, over size bytes; stride is the distance to the left neighbour.

void FilterSub(const uint8_t* raw, uint8_t* out, size_t size, size_t stride)
{
    const size_t head = std::min(stride, size);
    std::memcpy(out, raw, head);
    for (size_t i = head; i < size; ++i)
        out[i] = static_cast<uint8_t>(raw[i] - raw[i - stride]);
}

void FilterUp(const uint8_t* raw, const uint8_t* prior, uint8_t* out, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        out[i] = static_cast<uint8_t>(raw[i] - prior[i]);
}

void FilterAverage(const uint8_t* raw, const uint8_t* prior, uint8_t* out, size_t size, size_t stride)
{
    for (size_t i = 0; i < size; ++i) {
        const int left = i >= stride ? raw[i - stride] : 0;
        out[i] = static_cast<uint8_t>(raw[i] - (left + prior[i]) / 2);
    }
}

void FilterPaeth(const uint8_t* raw, const uint8_t* prior, uint8_t* out, size_t size, size_t stride)
{
    for (size_t i = 0; i < size; ++i) {
        const int left = i >= stride ? raw[i - stride] : 0;
        const int upperLeft = i >= stride ? prior[i - stride] : 0;
        out[i] = static_cast<uint8_t>(raw[i] - PaethPredictor(left, prior[i], upperLeft));
    }
}

void BgrToRgb(const uint8_t* source, uint8_t* out, uint32_t width)
{
    for (uint32_t x = 0; x < width; ++x, source += 3, out += 3) {
        out[0] = source[2];
        out[1] = source[1];
        out[2] = source[0];
    }
}

// Filter Sub of a blue-green-red row, giving the red-green-blue result.
void SubFromBgr(const uint8_t* source, uint8_t* out, uint32_t width)
{
    uint8_t red = 0, green = 0, blue = 0;
    for (uint32_t x = 0; x < width; ++x, source += 3, out += 3) {
        const uint8_t r = source[2], g = source[1], b = source[0];
        out[0] = static_cast<uint8_t>(r - red);
        out[1] = static_cast<uint8_t>(g - green);
        out[2] = static_cast<uint8_t>(b - blue);
        red = r, green = g, blue = b;
    }
}

// Bytes j from 2 on that repeat one of the two bytes before them.
size_t RepeatCount(const uint8_t* out, size_t size)
{
    size_t count = 0;
    for (size_t j = 2; j < size; ++j)
        count += out[j] == out[j - 1] || out[j] == out[j - 2];
    return count;
}

// Turns the rows of the image buffer, top row first, into filtered scanlines.
// Every buffer holds its filter type byte in front of the row, so a scanline
// is one block.
class TRowEncoder {
public:
    TRowEncoder(const TChunkIHDR& header, uint8_t filters)
        : width_(header.Header().width),
          swapRedBlue_(header.Header().colourType == 2),
          pixelStride_(header.Header().colourType == 2 ? 3 : 1),
          rowBytes_((size_t(width_) * header.WrittenBitDepth() * (swapRedBlue_ ? 3 : 1) + 7) / 8),
          filters_(filters & kAllFilters),
          row_(rowBytes_ + 1, 0),
          prior_(rowBytes_ + 1, 0)
    {
        for (int type = ftSub; type <= ftPaeth; ++type) {
            if (filters_ & (1 << type)) {
                outputs_[type].assign(rowBytes_ + 1, 0);
                outputs_[type][0] = static_cast<uint8_t>(type);
            }
        }
    }

    // The filter type byte followed by the filtered row.
    const std::vector<uint8_t>& Encode(const uint8_t* bufferRow)
    {
        if (filters_ == pfSub && swapRedBlue_) {
            // The usual case takes one pass: no other filter needs the
            // converted row or the previous one.
            SubFromBgr(bufferRow, outputs_[ftSub].data() + 1, width_);
            return outputs_[ftSub];
        }
        uint8_t* raw = row_.data() + 1;
        if (swapRedBlue_)
            BgrToRgb(bufferRow, raw, width_);
        else
            std::memcpy(raw, bufferRow, rowBytes_);
        Filter(raw, prior_.data() + 1);
        // From here the previous-row buffer holds this row, which is also
        // the output of filter None.
        std::swap(row_, prior_);
        const int type = ChooseFilter();
        return type == ftNone ? prior_ : outputs_[type];
    }

private:
    uint8_t* Output(int type) { return outputs_[type].data() + 1; }

    void Filter(const uint8_t* raw, const uint8_t* prior)
    {
        if (filters_ & pfSub)
            FilterSub(raw, Output(ftSub), rowBytes_, pixelStride_);
        if (filters_ & pfUp)
            FilterUp(raw, prior, Output(ftUp), rowBytes_);
        if (filters_ & pfAverage)
            FilterAverage(raw, prior, Output(ftAverage), rowBytes_, pixelStride_);
        if (filters_ & pfPaeth)
            FilterPaeth(raw, prior, Output(ftPaeth), rowBytes_, pixelStride_);
    }

    // The type whose output repeats its bytes most; ties go to the lower
    // type, and None is the answer when nothing repeats.
    int ChooseFilter() const
    {
        if (filters_ == 0 || filters_ == pfNone)
            return ftNone;
        int best = ftNone;
        size_t longest = 0;
        for (int type = ftNone; type <= ftPaeth; ++type) {
            if (!(filters_ & (1 << type)))
                continue;
            if (filters_ == (1 << type))
                return type;
            const std::vector<uint8_t>& out = type == ftNone ? prior_ : outputs_[type];
            const size_t count = RepeatCount(out.data() + 1, rowBytes_);
            if (count > longest) {
                best = type;
                longest = count;
            }
        }
        return best;
    }

    const uint32_t width_;
    const bool swapRedBlue_;
    const size_t pixelStride_;
    const size_t rowBytes_;
    const uint8_t filters_;
    std::vector<uint8_t> row_;
    std::vector<uint8_t> prior_;
    std::vector<uint8_t> outputs_[5]; // by filter type; None's output is prior_
};

} // namespace

// TChunkIDAT

void TChunkIDAT::SaveToStream(TStream& stream) const
{
    const TPNGObject& owner = Owner();
    owner.CheckSaveSettings();
    const TChunkIHDR* header = owner.Header();
    if (!header)
        throw EPngError("The PNG image has no header chunk");

    TRowEncoder encoder(*header, owner.RowFilters());
    TIdatWriter idat(stream, owner.DeflateLevel());
    for (uint32_t y = 0; y < header->Header().height; ++y) {
        const std::vector<uint8_t>& scanline = encoder.Encode(header->ImageRow(y));
        idat.Write(scanline.data(), scanline.size());
    }
    idat.Finish();
}

// TPNGObject

int TPNGObject::Width() const
{
    const TChunkIHDR* header = Header();
    return header ? static_cast<int>(header->Header().width) : 0;
}

int TPNGObject::Height() const
{
    const TChunkIHDR* header = Header();
    return header ? static_cast<int>(header->Header().height) : 0;
}

void TPNGObject::SetWidth(int)
{
    throw EPngError("The \"Portable Network Graphics\" image can not be resize by changing width and height "
                    "properties. Try assigning the image from a bitmap.");
}

void TPNGObject::SetHeight(int value)
{
    SetWidth(value);
}

const TChunkIHDR* TPNGObject::Header() const
{
    for (const std::unique_ptr<TChunk>& chunk : chunks_) {
        if (const TChunkIHDR* header = dynamic_cast<const TChunkIHDR*>(chunk.get()))
            return header;
    }
    return nullptr;
}

TChunkIHDR* TPNGObject::Header()
{
    return const_cast<TChunkIHDR*>(std::as_const(*this).Header());
}

void TPNGObject::Assign(const TGraphic& source)
{
    if (&source == this)
        return;
    if (const TBitmap* bitmap = dynamic_cast<const TBitmap*>(&source))
        AssignBitmap(*bitmap);
    else if (const TPNGObject* png = dynamic_cast<const TPNGObject*>(&source))
        AssignPng(*png);
    else
        TGraphic::Assign(source);
}

void TPNGObject::AssignPng(const TPNGObject& source)
{
    std::vector<std::unique_ptr<TChunk>> chunks;
    for (const std::unique_ptr<TChunk>& chunk : source.chunks_)
        chunks.push_back(chunk->Clone(*this));
    chunks_ = std::move(chunks);
    deflateLevel_ = source.deflateLevel_;
    rowFilters_ = source.rowFilters_;
    interlaceMode_ = source.interlaceMode_;
    emptyBitmap_ = source.emptyBitmap_;
}

namespace {

// The tRNS data that makes colour (0x00BBGGRR) transparent; empty when no
// pixel can have that colour.
std::vector<uint8_t> TransparencyFor(const TChunkIHDR& header, int paletteCount, uint32_t colour)
{
    const uint8_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    if (header.Header().colourType == 2)
        return {0, red, 0, green, 0, blue};
    for (int i = 0; i < paletteCount; ++i) {
        const TRGBQuad& entry = header.Colours()[i];
        if (entry.blue == blue && entry.green == green && entry.red == red) {
            std::vector<uint8_t> alphas(i + 1, 255);
            alphas[i] = 0;
            return alphas;
        }
    }
    return {};
}

} // namespace

void TPNGObject::AssignBitmap(const TBitmap& bitmap)
{
    if (bitmap.Empty()) {
        chunks_.clear();
        emptyBitmap_ = true;
        return;
    }
    std::unique_ptr<TChunkIHDR> header = ReadBitmap(bitmap);
    const bool palette = header->Header().colourType == 3;
    const int paletteCount = palette ? 1 << header->Header().bitDepth : 0;
    std::vector<uint8_t> transparency;
    if (bitmap.Transparent())
        transparency = TransparencyFor(*header, paletteCount, bitmap.TransparentColor());

    std::vector<std::unique_ptr<TChunk>> chunks;
    chunks.push_back(std::move(header));
    if (palette) {
        auto plte = std::make_unique<TChunkPLTE>(*this);
        plte->SetCount(paletteCount);
        chunks.push_back(std::move(plte));
    }
    if (!transparency.empty()) {
        auto trns = std::make_unique<TChunktRNS>(*this);
        trns->Data() = std::move(transparency);
        chunks.push_back(std::move(trns));
    }
    chunks.push_back(std::make_unique<TChunkIDAT>(*this));
    chunks.push_back(std::make_unique<TChunkIEND>(*this));
    chunks_ = std::move(chunks);
    emptyBitmap_ = false;
}

std::unique_ptr<TChunkIHDR> TPNGObject::ReadBitmap(const TBitmap& bitmap)
{
    const int bitCount = bitmap.BitCount();
    const bool palette = bitCount == 1 || bitCount == 4 || bitCount == 8;
    TPngHeader fields;
    fields.width = static_cast<uint32_t>(bitmap.Device()->Width());
    fields.height = static_cast<uint32_t>(std::abs(bitmap.Device()->Height()));
    fields.bitDepth = static_cast<uint8_t>(palette ? bitCount : 8);
    fields.colourType = palette ? 3 : 2;

    auto header = std::make_unique<TChunkIHDR>(*this);
    header->SetHeader(fields, TChunkIHDR::bfFilledByCaller); // the read-out writes every row whole
    if (palette) {
        std::vector<TRGBQuad> colours;
        bitmap.ReadRows(bitCount, header->ImageData(), &colours);
        std::copy_n(colours.begin(), std::min<size_t>(colours.size(), 256), header->Colours().begin());
    } else {
        bitmap.ReadRows(24, header->ImageData(), nullptr);
    }
    return header;
}

void TPNGObject::CheckSaveSettings() const
{
    if (deflateLevel_ > 9)
        throw EPngError("Invalid PNG compression level " + std::to_string(deflateLevel_) + ": use 0 to 9");
    if (interlaceMode_ == 1)
        throw EPngError("Interlaced PNG writing is not supported");
    if (interlaceMode_ > 1)
        throw EPngError("Invalid PNG interlace mode " + std::to_string(interlaceMode_) + ": use 0");
    const TChunkIHDR* header = Header();
    if (header && !IsWritable(header->Header()))
        throw EPngError("PNG images of colour type " + std::to_string(header->Header().colourType) +
                        " with bit depth " + std::to_string(header->Header().bitDepth) + " cannot be written");
}

void TPNGObject::SaveToStream(TStream& stream) const
{
    if (emptyBitmap_)
        return; // as with the BMP form: a bitmap without pixels gives an empty file
    CheckSaveSettings();
    stream.WriteBuffer(kSignature, sizeof kSignature);
    for (const std::unique_ptr<TChunk>& chunk : chunks_)
        chunk->SaveToStream(stream);
}
