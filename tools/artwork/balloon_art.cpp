// Draws the five 16 x 16 pictures of the balloon window and writes them as
// 24-bit BMP files into the folder named on the command line:
//   IDB_BALLOON_ERROR.bmp, IDB_BALLOON_INFO.bmp, IDB_BALLOON_WARNING.bmp,
//   IDB_BUTTON_CLOSE_INACTIVE.bmp, IDB_BUTTON_CLOSE_ACTIVE.bmp.
// The lower-left pixel of each picture is its background, which the window
// draws as transparent. The output depends on nothing but this file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int kSize = 16;

struct Rgb {
    uint8_t r, g, b;
};

const Rgb kBackground{255, 0, 255};

struct Picture {
    Rgb pixels[kSize][kSize]; // [y][x], y = 0 at the top

    Picture()
    {
        for (auto& row : pixels)
            for (auto& p : row)
                p = kBackground;
    }
    void Set(int x, int y, Rgb c)
    {
        if (x >= 0 && x < kSize && y >= 0 && y < kSize)
            pixels[y][x] = c;
    }
    // A filled disc centred in the picture; the corners stay background.
    void Disc(Rgb c)
    {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const int dx = 2 * x + 1 - kSize;
                const int dy = 2 * y + 1 - kSize;
                if (dx * dx + dy * dy <= 15 * 15)
                    Set(x, y, c);
            }
    }
    // A cross from (a, a) to (b, b), two pixels thick.
    void Cross(int a, int b, Rgb c)
    {
        for (int i = a; i <= b; ++i) {
            Set(i, i, c);
            Set(i + 1, i, c);
            Set(a + b - i, i, c);
            Set(a + b - i + 1, i, c);
        }
    }
    void Box(int x0, int y0, int x1, int y1, Rgb c)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                Set(x, y, c);
    }
};

Picture ErrorPicture()
{
    Picture p;
    p.Disc({204, 0, 0});
    p.Cross(4, 10, {255, 255, 255});
    return p;
}

Picture InfoPicture()
{
    Picture p;
    p.Disc({0, 70, 200});
    const Rgb white{255, 255, 255};
    p.Box(7, 3, 8, 4, white);   // dot
    p.Box(6, 6, 8, 7, white);   // serif
    p.Box(7, 6, 8, 11, white);  // stem
    p.Box(6, 12, 9, 12, white); // foot
    return p;
}

Picture WarningPicture()
{
    Picture p;
    const Rgb yellow{255, 204, 0};
    const Rgb black{0, 0, 0};
    // A triangle with its apex at the top middle, base on row 14.
    for (int y = 1; y <= 14; ++y) {
        const int half = (y * 8) / 14;
        for (int x = 8 - half - 1; x <= 7 + half + 1; ++x)
            p.Set(x, y, yellow);
    }
    p.Box(7, 5, 8, 10, black);
    p.Box(7, 12, 8, 13, black);
    return p;
}

Picture ClosePicture(bool active)
{
    Picture p;
    if (active) {
        p.Box(1, 1, 14, 14, {200, 40, 40});
        p.Cross(4, 10, {255, 255, 255});
    } else {
        p.Cross(4, 10, {120, 120, 120});
    }
    return p;
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A bottom-up 24-bit BMP: file header, BITMAPINFOHEADER, rows of 48 bytes
// (already a multiple of 4).
std::vector<uint8_t> Encode(const Picture& p)
{
    const uint32_t rowBytes = kSize * 3;
    const uint32_t imageBytes = rowBytes * kSize;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + imageBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, kSize);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            out.push_back(p.pixels[y][x].b);
            out.push_back(p.pixels[y][x].g);
            out.push_back(p.pixels[y][x].r);
        }
    return out;
}

bool Write(const std::string& folder, const char* name, const Picture& p)
{
    const std::string path = folder + "/" + name + ".bmp";
    const std::vector<uint8_t> bytes = Encode(p);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "balloon_art: cannot create %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        std::fprintf(stderr, "balloon_art: cannot write %s\n", path.c_str());
    return written && closed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: balloon_art <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = Write(folder, "IDB_BALLOON_ERROR", ErrorPicture());
    ok = Write(folder, "IDB_BALLOON_INFO", InfoPicture()) && ok;
    ok = Write(folder, "IDB_BALLOON_WARNING", WarningPicture()) && ok;
    ok = Write(folder, "IDB_BUTTON_CLOSE_INACTIVE", ClosePicture(false)) && ok;
    ok = Write(folder, "IDB_BUTTON_CLOSE_ACTIVE", ClosePicture(true)) && ok;
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
