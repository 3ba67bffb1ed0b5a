// Draws the five pictures of the balloon window at 16 x 16 pixels and again
// at the larger sizes of the display scales (24 for 150 %, 32 for 200 %),
// and writes them as 24-bit BMP files into the folder named on the command
// line: IDB_BALLOON_ERROR, IDB_BALLOON_INFO, IDB_BALLOON_WARNING,
// IDB_BUTTON_CLOSE_INACTIVE, IDB_BUTTON_CLOSE_ACTIVE, each as NAME.bmp (16
// pixels), NAME_150.bmp and NAME_200.bmp.
// The shapes are laid out on a grid of 16 design units and filled where a
// pixel's centre falls inside them, so every size is as sharp as the
// smallest and the 16-pixel pictures are the designed ones, pixel for
// pixel. The lower-left pixel of each picture is its background, which the
// window draws as transparent. The output depends on nothing but this file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kDesign = 16;

struct Rgb {
    uint8_t r, g, b;
};

const Rgb kBackground{255, 0, 255};

struct Picture {
    int size;
    std::vector<Rgb> pixels; // row by row, y = 0 at the top

    explicit Picture(int n) : size(n), pixels(static_cast<size_t>(n * n), kBackground) {}
    const Rgb& At(int x, int y) const { return pixels[static_cast<size_t>(y * size + x)]; }
    // Fills every pixel whose centre, in design units, lies inside.
    void Fill(const std::function<bool(double u, double v)>& inside, Rgb c)
    {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const double u = (x + 0.5) * kDesign / size;
                const double v = (y + 0.5) * kDesign / size;
                if (inside(u, v))
                    pixels[static_cast<size_t>(y * size + x)] = c;
            }
    }
    // A filled disc centred in the picture; the corners stay background.
    void Disc(Rgb c)
    {
        Fill([](double u, double v) { return (u - 8) * (u - 8) + (v - 8) * (v - 8) <= 7.5 * 7.5; }, c);
    }
    // A cross over the design cells (a, a) to (b, b), two cells thick.
    void Cross(int a, int b, Rgb c)
    {
        Fill(
            [a, b](double u, double v) {
                if (v < a || v >= b + 1)
                    return false;
                const double down = u - v, up = u + v - (a + b + 1);
                return (down >= -0.5 && down < 1.5) || (up >= -0.5 && up < 1.5);
            },
            c);
    }
    // The design cells (x0, y0) to (x1, y1), both included.
    void Box(int x0, int y0, int x1, int y1, Rgb c)
    {
        Fill([=](double u, double v) { return u >= x0 && u < x1 + 1 && v >= y0 && v < y1 + 1; }, c);
    }
};

Picture ErrorPicture(int size)
{
    Picture p(size);
    p.Disc({204, 0, 0});
    p.Cross(4, 10, {255, 255, 255});
    return p;
}

Picture InfoPicture(int size)
{
    Picture p(size);
    p.Disc({0, 70, 200});
    const Rgb white{255, 255, 255};
    p.Box(7, 3, 8, 4, white);   // dot
    p.Box(6, 6, 8, 7, white);   // serif
    p.Box(7, 6, 8, 11, white);  // stem
    p.Box(6, 12, 9, 12, white); // foot
    return p;
}

Picture WarningPicture(int size)
{
    Picture p(size);
    const Rgb yellow{255, 204, 0};
    const Rgb black{0, 0, 0};
    // A triangle with its apex at the top middle, base on row 14: design
    // row y reaches from 7 - y * 8 / 14 to 8 + y * 8 / 14 (whole cells in
    // between at 16 pixels, straight edges at the larger sizes).
    p.Fill(
        [](double u, double v) {
            const double half = (v - 0.5) * 8 / 14;
            return v >= 1 && v < 15 && u >= 7.5 - half && u <= 8.5 + half;
        },
        yellow);
    p.Box(7, 5, 8, 10, black);
    p.Box(7, 12, 8, 13, black);
    return p;
}

Picture ClosePicture(bool active, int size)
{
    Picture p(size);
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

// A bottom-up 24-bit BMP: file header, BITMAPINFOHEADER, rows padded to a
// multiple of 4 bytes.
std::vector<uint8_t> Encode(const Picture& p)
{
    const uint32_t n = static_cast<uint32_t>(p.size);
    const uint32_t rowBytes = (n * 3 + 3) / 4 * 4;
    const uint32_t imageBytes = rowBytes * n;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + imageBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, n);
    Put32(out, n);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = p.size - 1; y >= 0; --y) {
        for (int x = 0; x < p.size; ++x) {
            out.push_back(p.At(x, y).b);
            out.push_back(p.At(x, y).g);
            out.push_back(p.At(x, y).r);
        }
        for (uint32_t pad = n * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

bool Write(const std::string& folder, const std::string& name, const Picture& p)
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
    // The sizes of the picture sets and the suffixes of their names.
    struct Set {
        int size;
        const char* suffix;
    };
    const Set sets[] = {{16, ""}, {24, "_150"}, {32, "_200"}};
    bool ok = true;
    for (const Set& set : sets) {
        const std::string s = set.suffix;
        ok = Write(folder, "IDB_BALLOON_ERROR" + s, ErrorPicture(set.size)) && ok;
        ok = Write(folder, "IDB_BALLOON_INFO" + s, InfoPicture(set.size)) && ok;
        ok = Write(folder, "IDB_BALLOON_WARNING" + s, WarningPicture(set.size)) && ok;
        ok = Write(folder, "IDB_BUTTON_CLOSE_INACTIVE" + s, ClosePicture(false, set.size)) && ok;
        ok = Write(folder, "IDB_BUTTON_CLOSE_ACTIVE" + s, ClosePicture(true, set.size)) && ok;
    }
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
