#include "tests/e2e/ImageFiles.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include <jpeglib.h>
#include <zlib.h>

namespace e2e {

namespace {

uint8_t Paeth(int a, int b, int c)
{
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Inflates a zlib stream that must come out at exactly `size` bytes.
std::string Inflate(const std::vector<uint8_t>& packed, size_t size, std::vector<uint8_t>& out)
{
    out.assign(size, 0);
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return "inflateInit failed";
    z.next_in = const_cast<Bytef*>(packed.data());
    z.avail_in = static_cast<uInt>(packed.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    int result = inflate(&z, Z_FINISH);
    size_t produced = z.total_out;
    size_t unused = z.avail_in;
    inflateEnd(&z);
    if (result != Z_STREAM_END)
        return "the image data does not inflate to the expected size (zlib result " + std::to_string(result) +
               ", " + std::to_string(produced) + " of " + std::to_string(size) + " bytes)";
    if (produced != size)
        return "the image data inflates to " + std::to_string(produced) + " bytes, expected " +
               std::to_string(size);
    if (unused != 0)
        return std::to_string(unused) + " bytes follow the end of the compressed image data";
    return "";
}

} // namespace

std::string ToString(Rgb colour)
{
    char text[16];
    snprintf(text, sizeof text, "#%02X%02X%02X", colour.r, colour.g, colour.b);
    return text;
}

std::string ReadBmpInfo(const std::vector<uint8_t>& file, BmpInfo& info)
{
    if (file.size() < 54)
        return "a BMP file needs at least 54 bytes, this one has " + std::to_string(file.size());
    if (file[0] != 'B' || file[1] != 'M')
        return "no BMP signature";
    const uint8_t* p = file.data();
    if (LE32(p + 14) < 40)
        return "unknown bitmap header size " + std::to_string(LE32(p + 14));
    info.fileSize = LE32(p + 2);
    info.dataOffset = LE32(p + 10);
    info.width = static_cast<int32_t>(LE32(p + 18));
    info.height = static_cast<int32_t>(LE32(p + 22));
    info.bitCount = LE16(p + 28);
    info.compression = LE32(p + 30);
    return "";
}

std::string DecodeBmp(const std::vector<uint8_t>& file, Image& image)
{
    BmpInfo info;
    std::string error = ReadBmpInfo(file, info);
    if (!error.empty())
        return error;
    if (info.compression != 0)
        return "compressed BMP (" + std::to_string(info.compression) + ")";
    if (info.bitCount != 24 && info.bitCount != 32)
        return "unsupported BMP bit count " + std::to_string(info.bitCount);
    if (info.width <= 0 || info.height == 0)
        return "bad BMP size " + std::to_string(info.width) + "x" + std::to_string(info.height);
    const bool bottomUp = info.height > 0;
    const int width = info.width, height = bottomUp ? info.height : -info.height;
    const uint32_t rowBytes = BmpRowBytes(width, info.bitCount);
    const uint64_t end = uint64_t(info.dataOffset) + uint64_t(rowBytes) * height;
    if (end > file.size())
        return "the BMP's rows run past the end of the file";
    image.width = width;
    image.height = height;
    image.rgb.assign(size_t(width) * height * 3, 0);
    const int step = info.bitCount / 8;
    for (int y = 0; y < height; ++y) {
        const int stored = bottomUp ? height - 1 - y : y;
        const uint8_t* row = file.data() + info.dataOffset + size_t(stored) * rowBytes;
        uint8_t* out = &image.rgb[size_t(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            out[x * 3 + 0] = row[x * step + 2];
            out[x * 3 + 1] = row[x * step + 1];
            out[x * 3 + 2] = row[x * step + 0];
        }
    }
    return "";
}

std::string DecodePng(const std::vector<uint8_t>& file, Image& image)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0)
        return "no PNG signature";
    size_t at = 8;
    bool header = false, end = false;
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> packed;
    while (!end) {
        if (file.size() - at < 12)
            return "the file ends inside a chunk, at byte " + std::to_string(at);
        const uint32_t length = BE32(&file[at]);
        if (length > file.size() - at - 12)
            return "a chunk runs past the end of the file, at byte " + std::to_string(at);
        const uint8_t* type = &file[at + 4];
        const uint8_t* data = type + 4;
        const std::string name(type, type + 4);
        const uint32_t stored = BE32(data + length);
        const uint32_t computed = static_cast<uint32_t>(crc32(crc32(0, nullptr, 0), type, length + 4));
        if (stored != computed)
            return "bad CRC in chunk " + name + " at byte " + std::to_string(at);
        if (!header && name != "IHDR")
            return "the first chunk is " + name + ", not IHDR";
        if (name == "IHDR") {
            if (header)
                return "a second IHDR";
            if (length != 13)
                return "IHDR of " + std::to_string(length) + " bytes";
            header = true;
            width = BE32(data);
            height = BE32(data + 4);
            const int depth = data[8], colourType = data[9];
            if (depth != 8 || colourType != 2)
                return "bit depth " + std::to_string(depth) + " colour type " + std::to_string(colourType) +
                       ", expected 8-bit RGB (8, 2)";
            if (data[10] != 0 || data[11] != 0 || data[12] != 0)
                return "unexpected compression, filter or interlace method";
            if (width == 0 || height == 0 || width > 16384 || height > 16384)
                return "bad PNG size " + std::to_string(width) + "x" + std::to_string(height);
        } else if (name == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        } else if (name == "IEND") {
            end = true;
        } else if (!(type[0] & 0x20)) {
            return "unknown critical chunk " + name;
        }
        at += 12 + size_t(length);
    }
    if (at != file.size())
        return std::to_string(file.size() - at) + " bytes after IEND";

    const size_t rowBytes = size_t(width) * 3;
    std::vector<uint8_t> raw;
    std::string error = Inflate(packed, (rowBytes + 1) * height, raw);
    if (!error.empty())
        return error;

    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.rgb.assign(rowBytes * height, 0);
    const std::vector<uint8_t> zeroRow(rowBytes, 0);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t filter = raw[y * (rowBytes + 1)];
        const uint8_t* in = &raw[y * (rowBytes + 1) + 1];
        uint8_t* out = &image.rgb[y * rowBytes];
        const uint8_t* prior = y == 0 ? zeroRow.data() : out - rowBytes;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 3 ? out[i - 3] : 0;
            const int b = prior[i];
            const int c = i >= 3 ? prior[i - 3] : 0;
            int predictor = 0;
            switch (filter) {
            case 0:
                break;
            case 1:
                predictor = a;
                break;
            case 2:
                predictor = b;
                break;
            case 3:
                predictor = (a + b) / 2;
                break;
            case 4:
                predictor = Paeth(a, b, c);
                break;
            default:
                return "unknown filter type " + std::to_string(filter) + " in row " + std::to_string(y);
            }
            out[i] = static_cast<uint8_t>(in[i] + predictor);
        }
    }
    return "";
}

namespace {

struct JpegErrors {
    jpeg_error_mgr manager;
    jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void JpegFail(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    longjmp(errors->escape, 1);
}

void JpegQuiet(j_common_ptr, int) {}

// The libjpeg part, kept free of objects with destructors because of longjmp.
bool RunJpegDecoder(const std::vector<uint8_t>& file, Image& image, JpegErrors& errors)
{
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegFail;
    errors.manager.emit_message = JpegQuiet;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.rgb.resize(size_t(image.width) * image.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &image.rgb[size_t(info.output_scanline) * image.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

std::string DecodeJpeg(const std::vector<uint8_t>& file, Image& image)
{
    if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8)
        return "no JPEG signature";
    image = Image{};
    JpegErrors errors{};
    if (!RunJpegDecoder(file, image, errors))
        return std::string("libjpeg: ") + errors.message;
    return "";
}

} // namespace e2e
