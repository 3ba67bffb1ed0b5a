// Makes the theme reader fuzzer's first inputs: small theme files of every
// entry kind, written by the writer into the folder named on the command
// line, so that fuzzing starts from files the reader accepts.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/SUIStyleTable.h"
#include "skin/SUIThemeFileWriter.h"

namespace {

// A complete 2 x 1 BMP file of 24-bit pixels.
std::vector<uint8_t> TinyBmp()
{
    std::vector<uint8_t> bmp = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
                                40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
                                8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                0xFF, 0x00, 0xFF, 0x7F, 0x7F, 0x7F, 0, 0};
    return bmp;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: theme_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);

    std::vector<std::pair<std::string, TThemeFileWriter>> seeds;
    seeds.emplace_back("empty.theme", TThemeFileWriter());

    TThemeFileWriter kinds;
    kinds.AddBitmap("ButtonImage", TinyBmp());
    kinds.AddInt("FormMinWidthInt", 130);
    kinds.AddByte("ButtonTransparentBool", 1);
    kinds.AddString("Author", "Snapquill");
    kinds.AddRaw("LaterKind", 7, {1, 2, 3});
    seeds.emplace_back("kinds.theme", kinds);

    // Every key of the MacOS look, as a theme file would carry it.
    TThemeFileWriter full;
    for (int key = SUI_THEME::FirstKey; key <= SUI_THEME::LastKey; ++key) {
        const char* name = ThemeKeyName(key);
        switch (ThemeKeyKind(key)) {
        case TsuiThemeKind::Image: full.AddBitmap(name, TinyBmp()); break;
        case TsuiThemeKind::Bool: full.AddByte(name, GetStyleBool(MacOS, key)); break;
        case TsuiThemeKind::Int: full.AddInt(name, GetStyleInt(MacOS, key)); break;
        case TsuiThemeKind::Color: full.AddInt(name, int32_t(GetStyleColor(MacOS, key))); break;
        }
    }
    seeds.emplace_back("macos.theme", full);

    for (const auto& [name, writer] : seeds)
        writer.SaveToFile((folder / name).string());
    return 0;
}
