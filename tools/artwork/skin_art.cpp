// Turns the skin's rendered SVG pictures into the bitmap resources of the
// program. Usage:
//   skin_art <manifest> <png folder> <output folder> [PERCENT...]
// reads <png folder>/NAME.png and, for each further picture set,
// <png folder>/PERCENT/NAME.png (rendered with the pixel patterns hidden).
// For every manifest entry it writes <output>/skin/NAME.sqp, the picture's
// BMP file packed (core/PackedPicture.h), a resource of type SKIN100, and
// for each further set <output>/skinPERCENT/NAME.sqp, of type SKINPERCENT;
// the BMP files lie beside them for looking at. Then <output>/skin.rc
// (every resource) and <output>/SkinBitmaps.h (the lists, for tests).
// The output depends only on the manifest, the SVG and the PNG files; files
// whose content is unchanged are not rewritten, so dependants do not rebuild.
#include "skin_bmp.h"
#include "skin_manifest.h"
#include "skin_palette.h"
#include "skin_patterns.h"

#include "core/PackedPicture.h"
#include "core/PictureScaling.h"

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
Image Flatten(const Image& rendered, const BitmapEntry& entry, const std::map<std::string, Image>& done, int overRow)
{
    const Image* backdrop = nullptr;
    if (!entry.overBitmap.empty()) {
        backdrop = &done.at(entry.overBitmap);
        if (overRow < 0 || overRow + rendered.height > backdrop->height)
            throw std::runtime_error(entry.name + ": over= rows lie outside " + entry.overBitmap);
    }
    Image out = rendered;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const Rgba p = rendered.At(x, y);
            const Rgba under = backdrop ? backdrop->At(backdrop->width / 2, overRow + y) : entry.overColour;
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

// One picture set: the scale it is drawn for and what it has made so far.
struct PictureSet {
    int percent = 100;
    TDisplayScale scale;
    bool patternsOnly = false; // only the pictures with pixel patterns
    std::map<std::string, Image> done; // as the program will see them
    std::vector<std::string> resources;
};

// The picture enlarged by a whole factor, pixel by pixel.
Image EnlargeByWhole(const Image& image, int factor)
{
    Image out;
    out.width = image.width * factor;
    out.height = image.height * factor;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.pixels.push_back(image.At(x / factor, y / factor));
    return out;
}

// The entry's opaque picture for the set: rendered, with its patterns
// painted by whole pixels above 100 per cent; a tile grown from the 100
// per cent one.
Image Draw(const BitmapEntry& entry, const PictureSet& set, const PictureSet& design, const std::string& pngFolder,
           const std::string& svgFolder)
{
    if (set.percent != 100 && entry.tile)
        return EnlargeByWhole(design.done.at(entry.name), set.scale.PatternFactor());
    const std::string folder = set.percent == 100 ? pngFolder : pngFolder + "/" + std::to_string(set.percent);
    Image rendered = ReadPng(folder + "/" + entry.name + ".png");
    const TPictureSize size = ScaledPictureSize(set.scale, entry.width, entry.height, entry.frames);
    if (rendered.width != size.width || rendered.height != size.height)
        throw std::runtime_error(entry.name + " at " + std::to_string(set.percent) + " %: rendered at " +
                                 std::to_string(rendered.width) + " x " + std::to_string(rendered.height) +
                                 ", expected " + std::to_string(size.width) + " x " + std::to_string(size.height));
    if (set.percent != 100)
        ApplyPatterns(rendered, ReadPatterns(svgFolder + "/" + entry.source), set.scale, {entry.width, entry.height});
    return Flatten(rendered, entry, set.done, set.scale.Position(entry.overRow));
}

// The BMP file of a finished picture, at the entry's depth; what the
// program will see of it goes into the set.
std::vector<uint8_t> Encode(const BitmapEntry& entry, const Image& flat, PictureSet& set)
{
    if (entry.bitsPerPixel == 24) {
        set.done[entry.name] = flat;
        return EncodeBmp24(flat);
    }
    std::vector<Rgba> pinned{kMagenta};
    pinned.insert(pinned.end(), entry.pinned.begin(), entry.pinned.end());
    const IndexedImage indexed = Reduce(flat, 1 << entry.bitsPerPixel, pinned);
    set.done[entry.name] = Expand(indexed);
    return EncodeBmpIndexed(indexed, entry.bitsPerPixel);
}

// Whether a set of pictures with patterns only holds the entry: it has
// patterns of its own or is drawn over a picture the set holds.
bool BelongsToPatternSet(const BitmapEntry& entry, const PictureSet& set, const std::string& svgFolder)
{
    return !ReadPatterns(svgFolder + "/" + entry.source).empty() ||
           (!entry.overBitmap.empty() && set.done.count(entry.overBitmap));
}

void MakeSet(const std::vector<BitmapEntry>& entries, PictureSet& set, const PictureSet& design,
             const std::string& pngFolder, const std::string& svgFolder, const std::string& outFolder)
{
    const std::string sub = set.percent == 100 ? "skin" : "skin" + std::to_string(set.percent);
    std::filesystem::create_directories(outFolder + "/" + sub);
    for (const BitmapEntry& entry : entries) {
        if (set.patternsOnly && !BelongsToPatternSet(entry, set, svgFolder))
            continue;
        const std::vector<uint8_t> bmp = Encode(entry, Draw(entry, set, design, pngFolder, svgFolder), set);
        const std::string path = outFolder + "/" + sub + "/" + entry.name;
        WriteIfChanged(path + ".bmp", std::string(bmp.begin(), bmp.end()));
        const std::vector<uint8_t> packed =
            PackPicture({entry.width, entry.height, entry.frames, entry.tile}, bmp);
        WriteIfChanged(path + ".sqp", std::string(packed.begin(), packed.end()));
        set.resources.push_back(entry.name + " SKIN" + std::to_string(set.percent) + " \"" + sub + "/" +
                                entry.name + ".sqp\"");
    }
}

std::string ResourceScript(const std::vector<PictureSet>& sets)
{
    std::ostringstream rc;
    rc << "// Skin bitmaps, generated from resources/skin/bitmaps.txt.\n";
    for (const PictureSet& set : sets)
        for (const std::string& line : set.resources)
            rc << line << "\n";
    return rc.str();
}

std::string TestTable(const std::vector<BitmapEntry>& entries, const std::vector<PictureSet>& sets)
{
    std::ostringstream h;
    h << "// Skin bitmaps, generated from resources/skin/bitmaps.txt.\n"
         "#pragma once\n\n"
         "struct TSkinBitmapInfo {\n"
         "    const char* name;\n"
         "    int width;\n"
         "    int height;\n"
         "    int bitsPerPixel;\n"
         "    int frames;\n"
         "    bool tile;\n"
         "};\n\n"
         "inline const TSkinBitmapInfo kSkinBitmaps[] = {\n";
    for (const BitmapEntry& s : entries)
        h << "    {\"" << s.name << "\", " << s.width << ", " << s.height << ", " << s.bitsPerPixel << ", " << s.frames
          << ", " << (s.tile ? "true" : "false") << "},\n";
    h << "};\n\n// The picture sets built besides 100 per cent (some only for the pictures\n// with pixel patterns).\ninline const int kSkinPictureSets[] = {";
    for (size_t i = 1; i < sets.size(); ++i)
        h << (i > 1 ? ", " : "") << sets[i].percent;
    h << "};\n";
    return h.str();
}

void Run(const std::string& manifest, const std::string& pngFolder, const std::string& outFolder,
         const std::vector<int>& percents, const std::vector<int>& patternPercents)
{
    const std::vector<BitmapEntry> entries = ReadManifest(manifest);
    const std::string svgFolder = std::filesystem::path(manifest).parent_path().string();
    std::vector<PictureSet> sets(1);
    for (int percent : percents)
        sets.push_back({percent, TDisplayScale(TDisplayScale::kDesignDpi * percent / 100)});
    for (int percent : patternPercents)
        sets.push_back({percent, TDisplayScale(TDisplayScale::kDesignDpi * percent / 100), true});
    for (PictureSet& set : sets)
        MakeSet(entries, set, sets.front(), pngFolder, svgFolder, outFolder);
    WriteIfChanged(outFolder + "/skin.rc", ResourceScript(sets));
    WriteIfChanged(outFolder + "/SkinBitmaps.h", TestTable(entries, sets));
}

} // namespace

} // namespace skinart

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: skin_art <manifest> <png folder> <output folder> [PERCENT...] "
                             "[--patterns PERCENT...]\n");
        return 2;
    }
    try {
        std::vector<int> percents, patternPercents;
        std::vector<int>* list = &percents;
        for (int i = 4; i < argc; ++i) {
            if (std::string(argv[i]) == "--patterns")
                list = &patternPercents;
            else
                list->push_back(std::stoi(argv[i]));
        }
        skinart::Run(argv[1], argv[2], argv[3], percents, patternPercents);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin_art: %s\n", e.what());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
