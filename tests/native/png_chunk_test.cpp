#include <gtest/gtest.h>

#include <random>
#include <zlib.h>

#include "core/Exception.h"
#include "core/Stream.h"
#include "imaging/Bitmap.h"
#include "imaging/MemoryBitmap.h"
#include "imaging/pngimage.h"
#include "tests/native/TestBitmaps.h"
#include "tests/native/TestPng.h"
#include "tests/native/TestFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

// colour is 0x00BBGGRR
uint32_t Rgb(int red, int green, int blue)
{
    return red | (green << 8) | (blue << 16);
}

struct Chunk {
    std::string type;
    Bytes data;
};

// The chunks of a file, checking the signature, the lengths and the CRCs.
std::vector<Chunk> ParseChunks(const Bytes& file)
{
    const Bytes signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_EQ(Bytes(file.begin(), file.begin() + std::min<size_t>(8, file.size())), signature);
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = BE32(&file[at]);
        if (at + 12 + length > file.size())
            break;
        Chunk chunk{std::string(file.begin() + at + 4, file.begin() + at + 8),
                    Bytes(file.begin() + at + 8, file.begin() + at + 8 + length)};
        EXPECT_EQ(BE32(&file[at + 8 + length]), crc32(0, &file[at + 4], 4 + length)) << chunk.type;
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    EXPECT_EQ(at, file.size()) << "bytes after the last chunk";
    return chunks;
}

std::vector<std::string> Types(const std::vector<Chunk>& chunks)
{
    std::vector<std::string> types;
    for (const Chunk& chunk : chunks)
        types.push_back(chunk.type);
    return types;
}

// The inflated image data; the zlib stream must end exactly with the data.
Bytes InflateIdat(const std::vector<Chunk>& chunks)
{
    Bytes compressed;
    for (const Chunk& chunk : chunks) {
        if (chunk.type == "IDAT")
            compressed.insert(compressed.end(), chunk.data.begin(), chunk.data.end());
    }
    z_stream z{};
    EXPECT_EQ(inflateInit(&z), Z_OK);
    Bytes result, buffer(1 << 16);
    z.next_in = compressed.data();
    z.avail_in = static_cast<uInt>(compressed.size());
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        status = inflate(&z, Z_NO_FLUSH);
        result.insert(result.end(), buffer.data(), z.next_out);
    }
    EXPECT_EQ(status, Z_STREAM_END);
    EXPECT_EQ(z.avail_in, 0u);
    inflateEnd(&z);
    return result;
}

struct Scanline {
    int filter;
    Bytes row;
};

std::vector<Scanline> Scanlines(const Bytes& file, size_t rowBytes)
{
    const Bytes data = InflateIdat(ParseChunks(file));
    EXPECT_EQ(data.size() % (rowBytes + 1), 0u);
    std::vector<Scanline> lines;
    for (size_t at = 0; at + rowBytes < data.size(); at += rowBytes + 1)
        lines.push_back({data[at], Bytes(data.begin() + at + 1, data.begin() + at + 1 + rowBytes)});
    return lines;
}

// The filters as the PNG format defines them, byte by byte.
Bytes ReferenceFilter(int type, const Bytes& raw, const Bytes& prior, size_t bpp)
{
    Bytes out(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        const int a = i >= bpp ? raw[i - bpp] : 0, b = prior[i], c = i >= bpp ? prior[i - bpp] : 0;
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        const int paeth = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        const int predictor[5] = {0, a, b, (a + b) / 2, paeth};
        out[i] = static_cast<uint8_t>(raw[i] - predictor[type]);
    }
    return out;
}

} // namespace

TEST(PngFile, OneByOneCaptureIsHeaderOneIdatAndEnd)
{
    TBitmap bitmap = MakeBitmap(1, 1, 32);
    Pixels(bitmap).SetPixel(0, 0, Rgb(0x12, 0x34, 0x56));
    const Bytes file = SavePng(bitmap);
    const std::vector<Chunk> chunks = ParseChunks(file);
    ASSERT_EQ(Types(chunks), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0}));
    EXPECT_EQ(InflateIdat(chunks), (Bytes{1, 0x12, 0x34, 0x56}));
    EXPECT_EQ(Bytes(file.end() - 12, file.end()), (Bytes{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));
}

TEST(PngFile, RowsRunTopDownInRedGreenBlueOrder)
{
    TBitmap same = MakeBitmap(2, 1, 32);
    Pixels(same).SetPixel(0, 0, Rgb(7, 8, 9));
    Pixels(same).SetPixel(1, 0, Rgb(7, 8, 9));
    EXPECT_EQ(InflateIdat(ParseChunks(SavePng(same))), (Bytes{1, 7, 8, 9, 0, 0, 0}));

    TBitmap tall = MakeBitmap(3, 2, 24); // 9 row bytes in a 12-byte stride
    Pixels(tall).SetPixel(0, 0, Rgb(1, 2, 3));
    Pixels(tall).SetPixel(2, 1, Rgb(4, 5, 6));
    EXPECT_EQ(InflateIdat(ParseChunks(SavePng(tall, pfNone))),
              (Bytes{0, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 5, 6}));
    EXPECT_EQ(ParseChunks(SavePng(MakeBitmap(3, 2, 16)))[0].data, (Bytes{0, 0, 0, 3, 0, 0, 0, 2, 8, 2, 0, 0, 0}));
}

TEST(PngFile, EachFilterMatchesItsDefinition)
{
    std::mt19937 random(42);
    struct Case {
        int bitCount;
        size_t bpp;
    };
    // Half the bytes from a few levels, so that the Paeth predictor meets ties.
    auto level = [&random]() -> int { return random() % 2 ? random() % 4 * 60 : random() % 256; };
    for (Case c : {Case{24, 3}, Case{8, 1}}) {
        const int width = 15, height = 9;
        TBitmap bitmap = MakeBitmap(width, height, c.bitCount);
        std::vector<Bytes> raw(height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int r = level(), g = level(), b = level();
                if (c.bitCount == 8) {
                    Pixels(bitmap).SetIndex(x, y, g);
                    raw[y].push_back(static_cast<uint8_t>(g));
                } else {
                    Pixels(bitmap).SetPixel(x, y, Rgb(r, g, b));
                    raw[y].insert(raw[y].end(), {uint8_t(r), uint8_t(g), uint8_t(b)});
                }
            }
        }
        for (int type = 0; type < 5; ++type) {
            SCOPED_TRACE(testing::Message() << c.bitCount << " bits, filter " << type);
            const std::vector<Scanline> lines = Scanlines(SavePng(bitmap, uint8_t(1 << type)), raw[0].size());
            ASSERT_EQ(lines.size(), size_t(height));
            for (int y = 0; y < height; ++y) {
                const Bytes prior = y > 0 ? raw[y - 1] : Bytes(raw[0].size(), 0);
                EXPECT_EQ(lines[y].filter, type);
                EXPECT_EQ(lines[y].row, ReferenceFilter(type, raw[y], prior, c.bpp)) << "row " << y;
            }
        }
    }
}

TEST(PngFile, FilterChoiceTakesMostRepeatsAndLowerTypeOnTies)
{
    auto filterBytes = [](std::vector<uint32_t> topRow, std::vector<uint32_t> bottomRow, uint8_t filters) {
        TBitmap bitmap = MakeBitmap(int(topRow.size()), bottomRow.empty() ? 1 : 2, 24);
        for (size_t x = 0; x < topRow.size(); ++x) {
            Pixels(bitmap).SetPixel(int(x), 0, topRow[x]);
            if (!bottomRow.empty())
                Pixels(bitmap).SetPixel(int(x), 1, bottomRow[x]);
        }
        std::vector<int> types;
        for (const Scanline& line : Scanlines(SavePng(bitmap, filters), 3 * topRow.size()))
            types.push_back(line.filter);
        return types;
    };
    const std::vector<uint32_t> noRepeats = {Rgb(10, 20, 30), Rgb(41, 53, 67)};
    const std::vector<uint32_t> repeats = {Rgb(5, 5, 5), Rgb(9, 9, 9)};
    // Sub 10,20,30,31,33,37 and Up (the row itself) repeat nothing: None.
    EXPECT_EQ(filterBytes(noRepeats, {}, pfSub | pfUp), std::vector<int>{0});
    // Sub 5,5,5,4,4,4 and Up 5,5,5,9,9,9 both repeat 3 times: Sub.
    EXPECT_EQ(filterBytes(repeats, {}, pfSub | pfUp), std::vector<int>{1});
    // None, Sub, Up, Average (5,5,5,7,7,7) and Paeth all repeat 3 times: None.
    EXPECT_EQ(filterBytes(repeats, {}, 31), std::vector<int>{0});
    // A repeated row is all zeros under Up, which beats Sub.
    EXPECT_EQ(filterBytes(repeats, repeats, pfSub | pfUp), (std::vector<int>{1, 2}));
    // Second row: Sub 1,2,3,0,0,0 and Up 7,7,1,2,2,2 both repeat twice from
    // the third byte on; the first two bytes do not count.
    EXPECT_EQ(filterBytes({Rgb(250, 251, 2), Rgb(255, 0, 1)}, {Rgb(1, 2, 3), Rgb(1, 2, 3)}, pfSub | pfUp),
              (std::vector<int>{1, 1}));
    // No filters, or None alone, is None; a single filter is always taken;
    // bits beyond Paeth mean nothing.
    EXPECT_EQ(filterBytes(repeats, repeats, 0), (std::vector<int>{0, 0}));
    EXPECT_EQ(filterBytes(repeats, repeats, pfNone), (std::vector<int>{0, 0}));
    EXPECT_EQ(filterBytes(noRepeats, noRepeats, pfAverage | 0x80), (std::vector<int>{3, 3}));
}

TEST(PngFile, PaletteBitmapsWritePaletteAndIndices)
{
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        TBitmap bitmap = MakeBitmap(3, 1, bits);
        TMemoryBitmap& px = Pixels(bitmap);
        px.Colours()[1] = {10, 20, 30, 0};
        px.SetIndex(0, 0, 1);
        px.SetIndex(2, 0, 1);
        const std::vector<Chunk> chunks = ParseChunks(SavePng(bitmap, pfNone));
        ASSERT_EQ(Types(chunks), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
        EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 3, 0, 0, 0, 1, uint8_t(bits), 3, 0, 0, 0}));
        ASSERT_EQ(chunks[1].data.size(), 3u << bits);
        EXPECT_EQ(Bytes(chunks[1].data.begin(), chunks[1].data.begin() + 6), (Bytes{0, 0, 0, 30, 20, 10}));
        const Bytes expected = bits == 1 ? Bytes{0, 0xA0} : bits == 4 ? Bytes{0, 0x10, 0x10} : Bytes{0, 1, 0, 1};
        EXPECT_EQ(InflateIdat(chunks), expected);
    }
}

TEST(PngFile, TransparentBitmapsGetTransparencyChunk)
{
    TBitmap rgb = MakeBitmap(2, 2, 32);
    rgb.SetTransparent(true);
    rgb.SetTransparentColor(Rgb(0x11, 0x22, 0x33));
    std::vector<Chunk> chunks = ParseChunks(SavePng(rgb));
    ASSERT_EQ(Types(chunks), (std::vector<std::string>{"IHDR", "tRNS", "IDAT", "IEND"}));
    EXPECT_EQ(chunks[1].data, (Bytes{0, 0x11, 0, 0x22, 0, 0x33}));

    TBitmap indexed = MakeBitmap(2, 2, 8);
    Pixels(indexed).Colours()[3] = {0x33, 0x22, 0x11, 0};
    Pixels(indexed).Colours()[5] = {0x33, 0x22, 0x11, 0};
    indexed.SetTransparent(true);
    indexed.SetTransparentColor(Rgb(0x11, 0x22, 0x33));
    chunks = ParseChunks(SavePng(indexed));
    ASSERT_EQ(Types(chunks), (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
    EXPECT_EQ(chunks[2].data, (Bytes{255, 255, 255, 0}));

    indexed.SetTransparentColor(0); // black: entry 0 of the gray palette
    EXPECT_EQ(ParseChunks(SavePng(indexed))[2].data, Bytes{0});

    // A colour outside the 16 palette entries makes nothing transparent.
    TBitmap small = MakeBitmap(2, 2, 4);
    Pixels(small).Colours()[0] = {1, 1, 1, 0};
    small.SetTransparent(true);
    small.SetTransparentColor(0);
    EXPECT_EQ(Types(ParseChunks(SavePng(small))), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
}

namespace {
// Total IDAT data of an 8-bit image at level 0, where the size follows the
// pixel count.
size_t StoredImageSize(int width, int height)
{
    size_t total = 0;
    for (const Chunk& chunk : ParseChunks(SavePng(MakeBitmap(width, height, 8), pfSub, 0)))
        total += chunk.type == "IDAT" ? chunk.data.size() : 0;
    return total;
}

// An image size whose compressed data are exactly target bytes.
std::pair<int, int> SizeForStoredData(size_t target)
{
    for (int height = 1; height <= 8; ++height) {
        for (int width = int(target / height) - 60; width <= int(target / height); ++width) {
            if (StoredImageSize(width, height) == target)
                return {width, height};
        }
    }
    return {0, 0};
}
} // namespace

TEST(PngFile, ImageDataIsSplitIntoFullIdatChunks)
{
    for (size_t target : {size_t(65535), size_t(65536)}) {
        SCOPED_TRACE(target);
        const auto [width, height] = SizeForStoredData(target);
        ASSERT_GT(width, 0) << "no image size gives " << target << " bytes";
        const std::vector<Chunk> chunks = ParseChunks(SavePng(MakeBitmap(width, height, 8), pfSub, 0));
        std::vector<size_t> sizes;
        for (const Chunk& chunk : chunks)
            sizes.push_back(chunk.data.size());
        const std::vector<size_t> expected =
            target == 65535 ? std::vector<size_t>{13, 768, 65535, 0} : std::vector<size_t>{13, 768, 65535, 1, 0};
        EXPECT_EQ(sizes, expected);
        EXPECT_EQ(InflateIdat(chunks).size(), size_t(height) * (width + 1));
    }
}

TEST(PngObject, RefusesResizingAndBadSettings)
{
    TPNGObject png;
    png.Assign(MakeBitmap(3, 2, 24));
    const std::string message = "The \"Portable Network Graphics\" image can not be resize by changing width and "
                                "height properties. Try assigning the image from a bitmap.";
    for (int which = 0; which < 2; ++which) {
        try {
            which == 0 ? png.SetWidth(5) : png.SetHeight(5);
            ADD_FAILURE() << "resized";
        } catch (const EPngError& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    EXPECT_EQ(png.Width(), 3);
    EXPECT_EQ(png.Height(), 2);
    EXPECT_EQ(png.DeflateLevel(), 7);
    EXPECT_EQ(png.RowFilters(), pfSub);

    auto failure = [&png]() -> std::string {
        TMemoryStream stream;
        try {
            png.SaveToStream(stream);
        } catch (const EPngError& e) {
            EXPECT_EQ(stream.Size(), 0u);
            return e.Message();
        }
        return "saved";
    };
    png.SetDeflateLevel(12);
    EXPECT_EQ(failure(), "Invalid PNG compression level 12: use 0 to 9");
    png.SetDeflateLevel(9);
    png.SetInterlaceMode(1);
    EXPECT_EQ(failure(), "Interlaced PNG writing is not supported");
}

TEST(PngObject, ShortWriteIsStreamWriteError)
{
    TPNGObject png;
    png.Assign(MakeBitmap(200, 200, 24));
    const size_t size = Save(png).size();
    for (size_t limit : {size_t(4), size_t(20), size_t(40), size - 6}) {
        ShortStream stream(limit);
        try {
            png.SaveToStream(stream);
            ADD_FAILURE() << "no error at " << limit;
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Message(), "Stream write error");
        }
    }
}

TEST(PngObject, CopiesAndRepeatedSavesGiveTheSameFile)
{
    TBitmap bitmap = MakeBitmap(5, 4, 8);
    Pixels(bitmap).Colours()[2] = {1, 2, 3, 0};
    Pixels(bitmap).SetIndex(1, 1, 2);
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(Rgb(3, 2, 1));
    TPNGObject source;
    source.Assign(bitmap);
    source.SetRowFilters(31);
    source.SetDeflateLevel(1);
    const Bytes first = Save(source);
    EXPECT_EQ(Save(source), first);

    TPNGObject copy;
    copy.Assign(source);
    source.Assign(MakeBitmap(1, 1, 32)); // the copy keeps its own chunks
    EXPECT_EQ(Save(copy), first);
    ASSERT_EQ(copy.Chunks().size(), 5u);
    for (const std::unique_ptr<TChunk>& chunk : copy.Chunks())
        EXPECT_EQ(&chunk->Owner(), &copy);
    EXPECT_EQ(std::string(copy.Chunks()[1]->ClassName()), "TChunkPLTE");
}

TEST(PngObject, EmptyBitmapWritesNothing)
{
    TPNGObject png;
    EXPECT_EQ(Save(png).size(), 8u); // a new object: the signature alone
    TBitmap empty;
    empty.SetWidth(10);
    png.Assign(empty);
    EXPECT_TRUE(png.Chunks().empty());
    EXPECT_EQ(png.Width(), 0);
    EXPECT_TRUE(Save(png).empty());
    png.Assign(MakeBitmap(1, 1, 24));
    EXPECT_EQ(Types(ParseChunks(Save(png))), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST(PngChunks, ClassListAndReadingBack)
{
    std::vector<std::string> types;
    TPNGObject owner;
    for (const TChunkClass& chunkClass : ChunkClasses()) {
        std::unique_ptr<TChunk> chunk = CreateChunk(chunkClass.type, owner);
        types.push_back(chunk->Type());
        EXPECT_EQ(std::string(chunk->ClassName()), "TChunk" + chunk->Type());
        EXPECT_EQ(std::string(chunk->Clone(owner)->ClassName()), chunk->ClassName());
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IEND", "IHDR", "IDAT", "PLTE", "gAMA", "tRNS", "tIME", "tEXt", "zTXt"}));
    std::unique_ptr<TChunk> unknown = CreateChunk("abCD", owner);
    EXPECT_EQ(std::string(unknown->ClassName()), "TChunk");
    EXPECT_EQ(unknown->Type(), "abCD");

    try {
        CreateChunk("IHDR", owner)->Assign(*CreateChunk("PLTE", owner));
        ADD_FAILURE() << "assigned";
    } catch (const EPngError& e) {
        EXPECT_EQ(e.Message(), "The chunks must be compatible to be assigned.");
    }

    // A written chunk reads back through the class list; a changed byte is a CRC error.
    TPNGObject png;
    png.Assign(MakeBitmap(4, 3, 24));
    TMemoryStream stream;
    png.Chunks()[0]->SaveToStream(stream);
    for (bool corrupt : {false, true}) {
        Bytes bytes = stream.Data();
        bytes[10] ^= corrupt;
        TMemoryStream in;
        in.Write(bytes.data(), bytes.size());
        in.SetPosition(8);
        std::unique_ptr<TChunk> header = CreateChunk("IHDR", owner);
        if (corrupt) {
            EXPECT_THROW(header->LoadFromStream(in, BE32(bytes.data())), EPngError);
        } else {
            header->LoadFromStream(in, BE32(bytes.data()));
            EXPECT_EQ(static_cast<TChunkIHDR&>(*header).Header().width, 4u);
            EXPECT_EQ(static_cast<TChunkIHDR&>(*header).BytesPerRow(), 12);
        }
    }
}
