#include "skin_manifest.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace skinart {

namespace {

uint32_t ParseHex(const std::string& text)
{
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw std::runtime_error("colour must be six hex digits: " + text);
    return uint32_t(std::stoul(text, nullptr, 16));
}

void ParseOption(BitmapEntry& entry, const std::string& option)
{
    if (option == "key") {
        entry.key = true;
    } else if (option == "tile") {
        entry.tile = true;
    } else if (option.rfind("over=", 0) == 0) {
        const std::string value = option.substr(5);
        const size_t at = value.find('@');
        if (at == std::string::npos) {
            entry.overColour = FromHex(ParseHex(value));
        } else {
            entry.overBitmap = value.substr(0, at);
            entry.overRow = std::stoi(value.substr(at + 1));
        }
    } else if (option.rfind("pin=", 0) == 0) {
        std::istringstream list(option.substr(4));
        std::string colour;
        while (std::getline(list, colour, ','))
            entry.pinned.push_back(FromHex(ParseHex(colour)));
    } else {
        throw std::runtime_error("unknown option " + option);
    }
}

BitmapEntry ParseLine(const std::string& line)
{
    std::istringstream in(line);
    BitmapEntry entry;
    if (!(in >> entry.name >> entry.width >> entry.height >> entry.bitsPerPixel >> entry.frames >> entry.source))
        throw std::runtime_error("expected NAME WIDTH HEIGHT BITS FRAMES SOURCE");
    if (entry.width <= 0 || entry.height <= 0)
        throw std::runtime_error("size must be positive");
    if (entry.bitsPerPixel != 4 && entry.bitsPerPixel != 8 && entry.bitsPerPixel != 24)
        throw std::runtime_error("bits per pixel must be 4, 8 or 24");
    if (entry.frames <= 0 || entry.width % entry.frames != 0)
        throw std::runtime_error("width must be a multiple of the frame count");
    std::string option;
    while (in >> option)
        ParseOption(entry, option);
    return entry;
}

} // namespace

std::vector<BitmapEntry> ReadManifest(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    std::vector<BitmapEntry> entries;
    std::set<std::string> names;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        try {
            BitmapEntry entry = ParseLine(line);
            if (!names.insert(entry.name).second)
                throw std::runtime_error("listed twice: " + entry.name);
            if (!entry.overBitmap.empty() && !names.count(entry.overBitmap))
                throw std::runtime_error("over= names a bitmap not listed before: " + entry.overBitmap);
            entries.push_back(entry);
        } catch (const std::exception& e) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": " + e.what());
        }
    }
    return entries;
}

} // namespace skinart
