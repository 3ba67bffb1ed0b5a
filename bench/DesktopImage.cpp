#include "bench/DesktopImage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/MemoryBitmap.h"

namespace {

struct Rgb {
    int r, g, b;
};

// xorshift32: the same numbers on every machine.
class Random {
public:
    explicit Random(uint32_t start) : state_(start) {}
    uint32_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // From lo to hi inclusive.
    int Between(int lo, int hi) { return lo + static_cast<int>(Next() % uint32_t(hi - lo + 1)); }

private:
    uint32_t state_;
};

uint8_t Clamp(int value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// Drawing in layout units of a 1920x1080 screen, scaled to the bitmap.
class Canvas {
public:
    explicit Canvas(TMemoryBitmap& bitmap)
        : bitmap_(bitmap),
          sx_(bitmap.Width() / 1920.0),
          sy_(bitmap.Height() / 1080.0),
          dot_(std::max(1, static_cast<int>(std::lround(std::min(sx_, sy_)))))
    {
    }

    int X(int v) const { return static_cast<int>(std::lround(v * sx_)); }
    int Y(int v) const { return static_cast<int>(std::lround(v * sy_)); }
    // Device pixels per font pixel.
    int Dot() const { return dot_; }
    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }

    // Device coordinates from here on.
    void Put(int x, int y, Rgb c)
    {
        if (x < 0 || y < 0 || x >= bitmap_.Width() || y >= bitmap_.Height())
            return;
        uint8_t* p = bitmap_.Row(y) + size_t(x) * 4;
        p[0] = Clamp(c.b);
        p[1] = Clamp(c.g);
        p[2] = Clamp(c.r);
        p[3] = 0;
    }

    Rgb Get(int x, int y) const
    {
        const uint8_t* p = bitmap_.Row(y) + size_t(x) * 4;
        return {p[2], p[1], p[0]};
    }

    // Mixes c into the pixel by coverage out of 255.
    void Blend(int x, int y, Rgb c, int coverage)
    {
        if (x < 0 || y < 0 || x >= bitmap_.Width() || y >= bitmap_.Height())
            return;
        const Rgb old = Get(x, y);
        Put(x, y,
            {old.r + (c.r - old.r) * coverage / 255, old.g + (c.g - old.g) * coverage / 255,
             old.b + (c.b - old.b) * coverage / 255});
    }

    void FillDevice(int x0, int y0, int x1, int y1, Rgb c)
    {
        x0 = std::max(x0, 0), y0 = std::max(y0, 0);
        x1 = std::min(x1, bitmap_.Width()), y1 = std::min(y1, bitmap_.Height());
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                Put(x, y, c);
    }

    // Layout units: the rectangle from (x, y), w by h.
    void Fill(int x, int y, int w, int h, Rgb c) { FillDevice(X(x), Y(y), X(x + w), Y(y + h), c); }

    // A one-unit outline around the rectangle, inside it.
    void Frame(int x, int y, int w, int h, Rgb c)
    {
        Fill(x, y, w, 1, c);
        Fill(x, y + h - 1, w, 1, c);
        Fill(x, y, 1, h, c);
        Fill(x + w - 1, y, 1, h, c);
    }

private:
    TMemoryBitmap& bitmap_;
    double sx_;
    double sy_;
    int dot_;
};

// Glyph-like shapes 12 font pixels high: baseline under row 9, ascenders
// from row 0, descenders to row 11, with a softened edge for anti-aliasing.
const int kGlyphRows = 12;
const int kMaxGlyphWidth = 7;

struct Glyph {
    int width = 0;
    uint8_t cover[kGlyphRows][kMaxGlyphWidth] = {};
};

class Font {
public:
    Font()
    {
        Random random(0x5EEDF0u);
        for (int i = 0; i < 48; ++i)
            glyphs_.push_back(MakeGlyph(random));
    }

    const Glyph& Pick(Random& random) const { return glyphs_[random.Next() % glyphs_.size()]; }

private:
    static void Stem(Glyph& g, int column, int top, int bottom)
    {
        for (int r = top; r <= bottom; ++r)
            g.cover[r][column] = 255;
    }
    static void Bar(Glyph& g, int row, int left, int right)
    {
        for (int c = left; c <= right; ++c)
            g.cover[row][c] = 255;
    }
    static void Bowl(Glyph& g)
    {
        const int right = g.width - 1;
        Bar(g, 4, 1, right - 1);
        Bar(g, 9, 1, right - 1);
        Stem(g, 0, 5, 8);
        Stem(g, right, 5, 8);
        g.cover[4][0] = g.cover[4][right] = g.cover[9][0] = g.cover[9][right] = 110;
    }

    static Glyph MakeGlyph(Random& random)
    {
        Glyph g;
        g.width = random.Between(4, kMaxGlyphWidth - 1);
        const int right = g.width - 1;
        switch (random.Next() % 6) {
        case 0: // o
            Bowl(g);
            break;
        case 1: // d
            Bowl(g);
            Stem(g, right, 0, 9);
            break;
        case 2: // n
            Stem(g, 0, 4, 9);
            Bar(g, 4, 0, right - 1);
            Stem(g, right, 5, 9);
            break;
        case 3: // p
            Bowl(g);
            Stem(g, 0, 4, 11);
            break;
        case 4: // t
            Stem(g, g.width / 2, 1, 9);
            Bar(g, 4, 0, right);
            break;
        default: // e
            Bowl(g);
            Bar(g, 6, 0, right);
            g.cover[8][right] = 0;
            break;
        }
        // Soft right-hand edges, as smoothed text has.
        for (int r = 0; r < kGlyphRows; ++r)
            for (int c = 1; c < kMaxGlyphWidth; ++c)
                if (g.cover[r][c] == 0 && g.cover[r][c - 1] == 255)
                    g.cover[r][c] = 72;
        return g;
    }

    std::vector<Glyph> glyphs_;
};

// Draws words in one of the colours from (x, y) (layout units, top of the
// line) until the line ends somewhere before right.
void TextLine(Canvas& canvas, const Font& font, Random& random, int x, int y, int right,
              const std::vector<Rgb>& colours)
{
    const int dot = canvas.Dot();
    int px = canvas.X(x);
    const int py = canvas.Y(y);
    const int end = canvas.X(x + random.Between((right - x) / 3, right - x));
    while (px < end) {
        const Rgb colour = colours[random.Next() % colours.size()];
        const int letters = random.Between(1, 9);
        for (int i = 0; i < letters && px < end; ++i) {
            const Glyph& g = font.Pick(random);
            for (int r = 0; r < kGlyphRows; ++r)
                for (int c = 0; c < kMaxGlyphWidth; ++c)
                    if (g.cover[r][c])
                        for (int dy = 0; dy < dot; ++dy)
                            for (int dx = 0; dx < dot; ++dx)
                                canvas.Blend(px + c * dot + dx, py + r * dot + dy, colour, g.cover[r][c]);
            px += (g.width + 1) * dot;
        }
        px += 4 * dot;
    }
}

void Wallpaper(Canvas& canvas)
{
    const int w = canvas.Width(), h = canvas.Height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int t = (x * 256 / w + y * 256 / h) / 2; // 0..255 along the diagonal
            canvas.Put(x, y, {20 + 70 * t / 255, 60 + 90 * t / 255, 110 + 90 * t / 255});
        }
}

// A landscape: sky with a sun glow over rolling ground, with sensor-like
// noise on every channel.
void Photo(Canvas& canvas, int x, int y, int w, int h)
{
    Random random(0xC0FFEEu);
    const int x0 = canvas.X(x), y0 = canvas.Y(y), x1 = canvas.X(x + w), y1 = canvas.Y(y + h);
    for (int py = y0; py < y1; ++py) {
        const double v = double(py - y0) / (y1 - y0);
        for (int px = x0; px < x1; ++px) {
            const double u = double(px - x0) / (x1 - x0);
            const double horizon = 0.55 + 0.08 * std::sin(u * 9.0) + 0.04 * std::sin(u * 23.0 + 1.0);
            double r, g, b;
            if (v < horizon) {
                const double d2 = (u - 0.75) * (u - 0.75) + (v - 0.2) * (v - 0.2);
                const double glow = 120.0 * std::exp(-d2 * 40.0);
                r = 70 + 110 * v + glow;
                g = 130 + 90 * v + glow * 0.9;
                b = 220 - 30 * v + glow * 0.3;
            } else {
                const double t = (v - horizon) / (1.0 - horizon);
                r = 60 + 70 * t + 25 * std::sin(u * 40.0 + t * 8.0);
                g = 110 - 30 * t + 20 * std::sin(u * 31.0 + t * 5.0);
                b = 40 + 20 * t;
            }
            const auto noise = [&random] { return random.Between(-3, 3); };
            canvas.Put(px, py, {int(r) + noise(), int(g) + noise(), int(b) + noise()});
        }
    }
}

// The frame and title bar of a window; its client area starts 31 units
// below y.
void Window(Canvas& canvas, const Font& font, Random& random, int x, int y, int w, int h, Rgb title,
            Rgb titleText)
{
    canvas.Frame(x, y, w, h, {100, 100, 100});
    canvas.Fill(x + 1, y + 1, w - 2, 30, title);
    TextLine(canvas, font, random, x + 10, y + 9, x + w / 2, {titleText});
    // Minimise, maximise and close buttons.
    canvas.Fill(x + w - 139, y + 1, 46, 30, title);
    canvas.Fill(x + w - 123, y + 16, 14, 1, titleText);
    canvas.Frame(x + w - 77, y + 9, 14, 14, titleText);
    canvas.Fill(x + w - 47, y + 1, 46, 30, {196, 43, 28});
    canvas.Fill(x + w - 31, y + 15, 14, 2, {255, 255, 255});
}

void Editor(Canvas& canvas, const Font& font, Random& random)
{
    const int x = 20, y = 20, w = 1160, h = 980;
    Window(canvas, font, random, x, y, w, h, {0, 84, 166}, {255, 255, 255});
    const std::vector<Rgb> dark = {{30, 30, 30}};

    canvas.Fill(x + 1, y + 31, w - 2, 24, {240, 240, 240}); // menu bar
    for (int i = 0; i < 7; ++i)
        TextLine(canvas, font, random, x + 12 + i * 70, y + 37, x + 70 + i * 70, dark);

    canvas.Fill(x + 1, y + 55, 200, h - 56, {243, 243, 243}); // file list
    canvas.Fill(x + 1, y + 55 + 22 * 5, 200, 22, {204, 232, 255});
    for (int line = 0; line * 22 + 60 < h - 30; ++line)
        TextLine(canvas, font, random, x + 14, y + 60 + line * 22, x + 190, {{50, 50, 50}});

    canvas.Fill(x + 201, y + 55, w - 219, h - 56, {255, 255, 255}); // source text
    const std::vector<Rgb> code = {{30, 30, 30}, {30, 30, 30}, {0, 0, 220}, {0, 128, 0}, {163, 21, 21}};
    for (int line = 0; line * 18 + 66 < h - 24; ++line) {
        if (random.Next() % 7 == 0)
            continue; // blank line
        const int indent = 28 * random.Between(0, 4);
        TextLine(canvas, font, random, x + 220 + indent, y + 66 + line * 18, x + w - 40, code);
    }

    canvas.Fill(x + w - 18, y + 55, 17, h - 56, {240, 240, 240}); // scroll bar
    canvas.Fill(x + w - 15, y + 120, 11, 200, {192, 192, 192});
}

void Viewer(Canvas& canvas, const Font& font, Random& random)
{
    const int x = 1220, y = 60, w = 680, h = 700;
    Window(canvas, font, random, x, y, w, h, {60, 60, 60}, {230, 230, 230});
    canvas.Fill(x + 1, y + 31, w - 2, h - 32, {30, 30, 30});
    Photo(canvas, x + 10, y + 40, w - 20, h - 50);
}

void Dialog(Canvas& canvas, const Font& font, Random& random)
{
    const int x = 1220, y = 790, w = 480, h = 230;
    Window(canvas, font, random, x, y, w, h, {255, 255, 255}, {30, 30, 30});
    canvas.Fill(x + 1, y + 31, w - 2, h - 32, {240, 240, 240});
    for (int line = 0; line < 4; ++line)
        TextLine(canvas, font, random, x + 20, y + 50 + line * 20, x + w - 20, {{30, 30, 30}});
    for (int i = 0; i < 2; ++i) {
        const int bx = x + w - 200 + i * 95;
        canvas.Fill(bx, y + h - 45, 85, 28, {225, 225, 225});
        canvas.Frame(bx, y + h - 45, 85, 28, i == 0 ? Rgb{0, 120, 215} : Rgb{173, 173, 173});
        TextLine(canvas, font, random, bx + 20, y + h - 37, bx + 65, {{30, 30, 30}});
    }
}

void Taskbar(Canvas& canvas, const Font& font, Random& random)
{
    const int y = 1040;
    canvas.Fill(0, y, 1920, 40, {32, 32, 40});
    canvas.Fill(0, y, 1920, 1, {60, 60, 70});
    for (int i = 0; i < 4; ++i)
        canvas.Fill(14 + (i % 2) * 9, y + 11 + (i / 2) * 9, 8, 8, {0, 120, 215});
    const Rgb icons[] = {{255, 185, 0}, {0, 120, 215}, {16, 124, 16}, {232, 17, 35}, {136, 23, 152}};
    for (int i = 0; i < 10; ++i) {
        const int ix = 60 + i * 48;
        canvas.Fill(ix, y + 8, 24, 24, icons[i % 5]);
        canvas.Fill(ix + 6, y + 14, 12, 12, {240, 240, 240});
        if (i < 3)
            canvas.Fill(ix - 4, y + 37, 32, 2, {120, 170, 230}); // running
    }
    TextLine(canvas, font, random, 1840, y + 4, 1910, {{230, 230, 230}});
    TextLine(canvas, font, random, 1830, y + 21, 1910, {{230, 230, 230}});
}

} // namespace

void MakeDesktopImage(TBitmap& bitmap, int width, int height)
{
    auto store = std::make_unique<TMemoryBitmap>(width, height, 32);
    Canvas canvas(*store);
    const Font font;
    Random random(20240611u);
    Wallpaper(canvas);
    Editor(canvas, font, random);
    Viewer(canvas, font, random);
    Dialog(canvas, font, random);
    Taskbar(canvas, font, random);
    bitmap.SetDevice(std::move(store));
}
