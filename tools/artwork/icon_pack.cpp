// Packs renderings of the program icon into one .ico file:
//
//   icon_pack OUT.ico 16.png 20.png 24.png 32.png 40.png 48.png 256.png
//
// Images up to 48 px are stored as 32-bit DIBs with an AND mask, which
// every version of Windows reads; larger ones as the PNG file itself, as
// Windows Vista and later expect for 256 px. The output depends only on the
// input files.
#include "skin_image.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

using namespace skinart;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, unsigned value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(Bytes& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// BITMAPINFOHEADER, bottom-up BGRA rows, then the 1-bit AND mask (set where
// the pixel is fully transparent), rows padded to 32 bits.
Bytes DibImage(const Image& image)
{
    Bytes out;
    Put32(out, 40);
    Put32(out, uint32_t(image.width));
    Put32(out, uint32_t(image.height * 2)); // colour rows and mask rows
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0); // BI_RGB
    const int maskStride = ((image.width + 31) / 32) * 4;
    Put32(out, uint32_t(image.width * image.height * 4 + maskStride * image.height));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) {
            const Rgba p = image.At(x, y);
            out.insert(out.end(), {p.b, p.g, p.r, p.a});
        }
    for (int y = image.height - 1; y >= 0; --y) {
        Bytes row(size_t(maskStride), 0);
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y).a == 0)
                row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

struct Entry {
    int size = 0;
    Bytes data;
};

Entry LoadEntry(const std::string& path)
{
    const Image image = ReadPng(path);
    if (image.width != image.height || image.width < 1 || image.width > 256)
        throw std::runtime_error(path + ": an icon image must be square, 1 to 256 px");
    Entry entry;
    entry.size = image.width;
    entry.data = image.width > 48 ? ReadFile(path) : DibImage(image);
    return entry;
}

Bytes IconFile(const std::vector<Entry>& entries)
{
    Bytes out;
    Put16(out, 0);
    Put16(out, 1); // icon
    Put16(out, unsigned(entries.size()));
    uint32_t offset = uint32_t(6 + 16 * entries.size());
    for (const Entry& entry : entries) {
        out.push_back(uint8_t(entry.size == 256 ? 0 : entry.size)); // 0 means 256
        out.push_back(uint8_t(entry.size == 256 ? 0 : entry.size));
        out.push_back(0); // no palette
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 32); // bits per pixel
        Put32(out, uint32_t(entry.data.size()));
        Put32(out, offset);
        offset += uint32_t(entry.data.size());
    }
    for (const Entry& entry : entries)
        out.insert(out.end(), entry.data.begin(), entry.data.end());
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: icon_pack OUT.ico IMAGE.png...\n";
        return 2;
    }
    try {
        std::vector<Entry> entries;
        for (int i = 2; i < argc; ++i)
            entries.push_back(LoadEntry(argv[i]));
        const Bytes file = IconFile(entries);
        std::ofstream out(argv[1], std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        if (!out)
            throw std::runtime_error(std::string("cannot write ") + argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "icon_pack: " << error.what() << "\n";
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
