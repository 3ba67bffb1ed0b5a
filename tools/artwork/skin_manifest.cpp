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

void ParseOption(BitmapSpec& spec, const std::string& option)
{
    if (option == "key") {
        spec.key = true;
    } else if (option.rfind("over=", 0) == 0) {
        const std::string value = option.substr(5);
        const size_t at = value.find('@');
        if (at == std::string::npos) {
            spec.overColour = FromHex(ParseHex(value));
        } else {
            spec.overBitmap = value.substr(0, at);
            spec.overRow = std::stoi(value.substr(at + 1));
        }
    } else if (option.rfind("pin=", 0) == 0) {
        std::istringstream list(option.substr(4));
        std::string colour;
        while (std::getline(list, colour, ','))
            spec.pinned.push_back(FromHex(ParseHex(colour)));
    } else {
        throw std::runtime_error("unknown option " + option);
    }
}

BitmapSpec ParseLine(const std::string& line)
{
    std::istringstream in(line);
    BitmapSpec spec;
    if (!(in >> spec.name >> spec.width >> spec.height >> spec.bitsPerPixel >> spec.frames >> spec.source))
        throw std::runtime_error("expected NAME WIDTH HEIGHT BITS FRAMES SOURCE");
    if (spec.width <= 0 || spec.height <= 0)
        throw std::runtime_error("size must be positive");
    if (spec.bitsPerPixel != 4 && spec.bitsPerPixel != 8 && spec.bitsPerPixel != 24)
        throw std::runtime_error("bits per pixel must be 4, 8 or 24");
    if (spec.frames <= 0 || spec.width % spec.frames != 0)
        throw std::runtime_error("width must be a multiple of the frame count");
    std::string option;
    while (in >> option)
        ParseOption(spec, option);
    return spec;
}

} // namespace

std::vector<BitmapSpec> ReadManifest(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    std::vector<BitmapSpec> specs;
    std::set<std::string> names;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        try {
            BitmapSpec spec = ParseLine(line);
            if (!names.insert(spec.name).second)
                throw std::runtime_error("listed twice: " + spec.name);
            if (!spec.overBitmap.empty() && !names.count(spec.overBitmap))
                throw std::runtime_error("over= names a bitmap not listed before: " + spec.overBitmap);
            specs.push_back(spec);
        } catch (const std::exception& e) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": " + e.what());
        }
    }
    return specs;
}

} // namespace skinart
