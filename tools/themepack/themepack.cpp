// themepack FOLDER OUTPUT.theme
//
// Packs a folder into a theme file: each image key's bitmap as
// "<KeyName>.bmp" (for example ButtonImage.bmp), and the other keys as
// "KeyName=value" lines of an optional "theme.txt". Int and Color values are
// decimal or 0x hexadecimal, Bool values 0, 1, true or false. Blank lines and
// lines starting with '#' or ';' are skipped. File and key names are matched
// without regard to case; entries are written in key order. Other files in
// the folder are left out.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "skin/SUIStyleTable.h"
#include "skin/SUIThemeFileWriter.h"

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trim(const std::string& text)
{
    const char* blanks = " \t\r";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<uint8_t> ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Exception("Cannot read \"" + path.string() + "\"");
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Decimal with an optional minus sign, or 0x hexadecimal.
bool ParseNumber(const std::string& text, int64_t& value)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    return error == std::errc() && end == last && first != last;
}

// The values of theme.txt by key number.
struct NumericValue {
    int32_t value;
    int line;
};

std::map<int, NumericValue> ReadSettings(const fs::path& path)
{
    std::map<int, NumericValue> values;
    std::ifstream in(path);
    if (!in)
        throw Exception("Cannot read \"" + path.string() + "\"");
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        text = Trim(text);
        if (text.empty() || text[0] == '#' || text[0] == ';')
            continue;
        const std::string where = path.filename().string() + " line " + std::to_string(line) + ": ";
        const size_t equals = text.find('=');
        if (equals == std::string::npos)
            throw Exception(where + "expected KeyName=value, found \"" + text + "\"");
        const std::string name = Trim(text.substr(0, equals));
        const std::string valueText = Trim(text.substr(equals + 1));
        const int key = ThemeKeyByName(name);
        if (key == 0)
            throw Exception(where + "unknown key \"" + name + "\"");
        if (values.contains(key))
            throw Exception(where + ThemeKeyName(key) + " was already set on line " +
                            std::to_string(values[key].line));

        int64_t number = 0;
        const std::string lowered = Lower(valueText);
        switch (ThemeKeyKind(key)) {
        case TsuiThemeKind::Image:
            throw Exception(where + ThemeKeyName(key) + " is an image: put " + ThemeKeyName(key) +
                            ".bmp into the folder");
        case TsuiThemeKind::Bool:
            if (lowered == "1" || lowered == "true")
                number = 1;
            else if (lowered != "0" && lowered != "false")
                throw Exception(where + ThemeKeyName(key) + " takes 0, 1, true or false, not \"" + valueText + "\"");
            break;
        case TsuiThemeKind::Int:
            if (!ParseNumber(valueText, number) || number < INT32_MIN || number > INT32_MAX)
                throw Exception(where + ThemeKeyName(key) + " takes a 32-bit integer, not \"" + valueText + "\"");
            break;
        case TsuiThemeKind::Color:
            if (!ParseNumber(valueText, number) || number < 0 || number > UINT32_MAX)
                throw Exception(where + ThemeKeyName(key) + " takes a colour from 0 to 0xFFFFFFFF, not \"" +
                                valueText + "\"");
            break;
        }
        values[key] = {static_cast<int32_t>(static_cast<uint32_t>(number)), line};
    }
    return values;
}

TThemeFileWriter PackFolder(const fs::path& folder)
{
    if (!fs::is_directory(folder))
        throw Exception("\"" + folder.string() + "\" is not a folder");

    std::map<int, fs::path> images;
    std::map<int, NumericValue> settings;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        if (!file.is_regular_file())
            continue;
        const fs::path& path = file.path();
        if (Lower(path.filename().string()) == "theme.txt") {
            settings = ReadSettings(path);
        } else if (Lower(path.extension().string()) == ".bmp") {
            const int key = ThemeKeyByName(path.stem().string());
            if (key == 0 || ThemeKeyKind(key) != TsuiThemeKind::Image)
                throw Exception("\"" + path.filename().string() + "\" is named after no image key");
            if (images.contains(key))
                throw Exception("\"" + path.filename().string() + "\" and \"" + images[key].filename().string() +
                                "\" are both " + ThemeKeyName(key));
            images[key] = path;
        }
    }

    TThemeFileWriter writer;
    for (int key = SUI_THEME::FirstKey; key <= SUI_THEME::LastKey; ++key) {
        const char* name = ThemeKeyName(key);
        if (auto image = images.find(key); image != images.end()) {
            std::vector<uint8_t> bmp = ReadWholeFile(image->second);
            if (bmp.size() < 2 || bmp[0] != 'B' || bmp[1] != 'M')
                throw Exception("\"" + image->second.filename().string() + "\" is not a BMP file");
            writer.AddBitmap(name, bmp);
        } else if (auto setting = settings.find(key); setting != settings.end()) {
            if (ThemeKeyKind(key) == TsuiThemeKind::Bool)
                writer.AddByte(name, static_cast<uint8_t>(setting->second.value));
            else
                writer.AddInt(name, setting->second.value);
        }
    }
    return writer;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: themepack FOLDER OUTPUT.theme\n");
        return 2;
    }
    try {
        TThemeFileWriter writer = PackFolder(argv[1]);
        writer.SaveToFile(argv[2]);
        std::printf("themepack: %zu entries written to %s\n", writer.EntryCount(), argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "themepack: %s\n", e.what());
        return 1;
    }
}
