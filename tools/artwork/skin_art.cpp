// Turns the skin's rendered SVG pictures into the bitmap resources of the
// program. Usage:
//   skin_art <manifest> <folder of NAME.png> <output folder>
// writes <output>/skin/NAME.bmp for every manifest entry, <output>/skin.rc
// (one BITMAP line each) and <output>/SkinBitmaps.h (the list for tests).
// The output depends only on the manifest and the PNG files; files whose
// content is unchanged are not rewritten, so dependants do not rebuild.
#include "skin_bmp.h"
#include "skin_manifest.h"
#include "skin_palette.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>

namespace skinart {

namespace {

// Alpha at or below this is taken as fully transparent: rsvg-convert leaves
// faint coverage at shape edges that would otherwise read as a fringe.
const int kTransparentAlpha = 24;

uint8_t Blend(uint8_t top, uint8_t bottom, int alpha)
{
    return uint8_t((top * alpha + bottom * (255 - alpha) + 127) / 255);
}

// Makes the rendered picture opaque: blends every partly transparent pixel
// over what the picture will be drawn on, and with a key turns the nearly
// transparent ones into exact magenta. A blended pixel that comes out
// magenta by chance is moved off the key.
Image Flatten(const Image& rendered, const BitmapEntry& entry, const std::map<std::string, Image>& done)
{
    const Image* backdrop = nullptr;
    if (!entry.overBitmap.empty()) {
        backdrop = &done.at(entry.overBitmap);
        if (entry.overRow < 0 || entry.overRow + entry.height > backdrop->height)
            throw std::runtime_error(entry.name + ": over= rows lie outside " + entry.overBitmap);
    }
    Image out = rendered;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const Rgba p = rendered.At(x, y);
            const Rgba under = backdrop ? backdrop->At(backdrop->width / 2, entry.overRow + y) : entry.overColour;
            Rgba& q = out.At(x, y);
            if (entry.key && p.a <= kTransparentAlpha) {
                q = kMagenta;
                continue;
            }
            const bool keyInArt = p.a == 255 && SameColour(p, kMagenta);
            q = Rgba{Blend(p.r, under.r, p.a), Blend(p.g, under.g, p.a), Blend(p.b, under.b, p.a), 255};
            if (SameColour(q, kMagenta) && !keyInArt)
                q.g = 1;
        }
    return out;
}

// What the picture looks like after the palette reduction.
Image Expand(const IndexedImage& indexed)
{
    Image image;
    image.width = indexed.width;
    image.height = indexed.height;
    for (uint8_t index : indexed.indices)
        image.pixels.push_back(indexed.palette[index]);
    return image;
}

void WriteIfChanged(const std::string& path, const std::string& content)
{
    std::ifstream existing(path, std::ios::binary);
    if (existing) {
        const std::string old((std::istreambuf_iterator<char>(existing)), std::istreambuf_iterator<char>());
        if (old == content)
            return;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(content.data(), std::streamsize(content.size()));
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

std::string ResourceScript(const std::vector<BitmapEntry>& entries)
{
    std::ostringstream rc;
    rc << "// Skin bitmaps, generated from resources/skin/bitmaps.txt.\n";
    for (const BitmapEntry& s : entries)
        rc << s.name << " BITMAP \"skin/" << s.name << ".bmp\"\n";
    return rc.str();
}

std::string TestTable(const std::vector<BitmapEntry>& entries)
{
    std::ostringstream h;
    h << "// Skin bitmaps, generated from resources/skin/bitmaps.txt.\n"
         "#pragma once\n\n"
         "struct TSkinBitmapInfo {\n"
         "    const char* name;\n"
         "    int width;\n"
         "    int height;\n"
         "    int bitsPerPixel;\n"
         "};\n\n"
         "inline const TSkinBitmapInfo kSkinBitmaps[] = {\n";
    for (const BitmapEntry& s : entries)
        h << "    {\"" << s.name << "\", " << s.width << ", " << s.height << ", " << s.bitsPerPixel << "},\n";
    h << "};\n";
    return h.str();
}

void Run(const std::string& manifest, const std::string& pngFolder, const std::string& outFolder)
{
    const std::vector<BitmapEntry> entries = ReadManifest(manifest);
    std::filesystem::create_directories(outFolder + "/skin");
    std::map<std::string, Image> done;
    for (const BitmapEntry& entry : entries) {
        const Image rendered = ReadPng(pngFolder + "/" + entry.name + ".png");
        if (rendered.width != entry.width || rendered.height != entry.height)
            throw std::runtime_error(entry.name + ": rendered at " + std::to_string(rendered.width) + " x " +
                                     std::to_string(rendered.height) + ", listed as " +
                                     std::to_string(entry.width) + " x " + std::to_string(entry.height));
        const Image flat = Flatten(rendered, entry, done);
        std::vector<uint8_t> bmp;
        if (entry.bitsPerPixel == 24) {
            bmp = EncodeBmp24(flat);
            done[entry.name] = flat;
        } else {
            std::vector<Rgba> pinned{kMagenta};
            pinned.insert(pinned.end(), entry.pinned.begin(), entry.pinned.end());
            const IndexedImage indexed = Reduce(flat, 1 << entry.bitsPerPixel, pinned);
            bmp = EncodeBmpIndexed(indexed, entry.bitsPerPixel);
            done[entry.name] = Expand(indexed);
        }
        WriteIfChanged(outFolder + "/skin/" + entry.name + ".bmp", std::string(bmp.begin(), bmp.end()));
    }
    WriteIfChanged(outFolder + "/skin.rc", ResourceScript(entries));
    WriteIfChanged(outFolder + "/SkinBitmaps.h", TestTable(entries));
}

} // namespace

} // namespace skinart

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: skin_art <manifest> <png folder> <output folder>\n");
        return 2;
    }
    try {
        skinart::Run(argv[1], argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin_art: %s\n", e.what());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
