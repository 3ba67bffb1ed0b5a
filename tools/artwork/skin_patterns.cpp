#include "skin_patterns.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <stdexcept>

namespace skinart {

namespace {

std::map<std::string, std::string> Attributes(const std::string& element)
{
    std::map<std::string, std::string> values;
    static const std::regex attribute(R"re(([A-Za-z-]+)="([^"]*)")re");
    for (auto it = std::sregex_iterator(element.begin(), element.end(), attribute); it != std::sregex_iterator(); ++it)
        values[(*it)[1]] = (*it)[2];
    return values;
}

int WholePixels(const std::map<std::string, std::string>& values, const std::string& name, int fallback)
{
    auto found = values.find(name);
    if (found == values.end())
        return fallback;
    const double value = std::stod(found->second);
    if (value != std::floor(value))
        throw std::runtime_error("a pattern's " + name + " must be whole pixels: " + found->second);
    return int(value);
}

PatternRect ParseRect(const std::string& element)
{
    const auto values = Attributes(element);
    PatternRect rect;
    rect.x = WholePixels(values, "x", 0);
    rect.y = WholePixels(values, "y", 0);
    rect.width = WholePixels(values, "width", 0);
    rect.height = WholePixels(values, "height", 0);
    const std::string fill = values.count("fill") ? values.at("fill") : "";
    if (fill.size() != 7 || fill[0] != '#')
        throw std::runtime_error("a pattern's fill must be #RRGGBB: " + fill);
    rect.fill = FromHex(uint32_t(std::stoul(fill.substr(1), nullptr, 16)));
    const double opacity = values.count("fill-opacity") ? std::stod(values.at("fill-opacity")) : 1.0;
    rect.fill.a = uint8_t(std::lround(std::clamp(opacity, 0.0, 1.0) * 255));
    rect.overlay = values.at("class").find("overlay") != std::string::npos;
    return rect;
}

// One layer's design rows, from the first pattern row to the last: what
// each row holds.
struct PatternRows {
    int first = 0;
    std::vector<std::vector<PatternRect>> rows;
    int period = 1;
};

bool SameRow(const std::vector<PatternRect>& a, const std::vector<PatternRect>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const PatternRect& p, const PatternRect& q) {
        return p.x == q.x && p.width == q.width && SameColour(p.fill, q.fill) && p.fill.a == q.fill.a;
    });
}

// The shortest period the rows repeat with (the whole run when none).
int Period(const std::vector<std::vector<PatternRect>>& rows)
{
    const int count = int(rows.size());
    for (int period = 1; period < count; ++period) {
        bool repeats = true;
        for (int r = 0; r + period < count && repeats; ++r)
            repeats = SameRow(rows[r], rows[r + period]);
        if (repeats)
            return period;
    }
    return std::max(count, 1);
}

PatternRows Layer(const std::vector<PatternRect>& patterns, bool overlay)
{
    PatternRows layer;
    int last = 0;
    layer.first = 1 << 30;
    for (const PatternRect& p : patterns)
        if (p.overlay == overlay) {
            layer.first = std::min(layer.first, p.y);
            last = std::max(last, p.y + p.height);
        }
    if (last <= layer.first)
        return PatternRows();
    layer.rows.resize(size_t(last - layer.first));
    for (const PatternRect& p : patterns)
        if (p.overlay == overlay)
            for (int y = p.y; y < p.y + p.height; ++y)
                layer.rows[size_t(y - layer.first)].push_back(p);
    layer.period = Period(layer.rows);
    return layer;
}

// top over bottom, both with straight alpha.
Rgba Over(Rgba top, Rgba bottom)
{
    const double ta = top.a / 255.0, ba = bottom.a / 255.0;
    const double a = ta + ba * (1 - ta);
    if (a <= 0)
        return Rgba{0, 0, 0, 0};
    auto mix = [&](uint8_t t, uint8_t b) { return uint8_t(std::lround((t * ta + b * ba * (1 - ta)) / a)); };
    return Rgba{mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), uint8_t(std::lround(a * 255))};
}

// A designed coordinate where the rendering put it: the picture is stretched
// from designed to scaled pixels (halves round up).
int Place(int designedAt, int scaled, int designed)
{
    return int((2LL * designedAt * scaled + designed) / (2LL * designed));
}

void PaintLayer(Image& picture, const PatternRows& layer, bool overlay, const TDisplayScale& scale, Size designed)
{
    if (layer.rows.empty())
        return;
    const int factor = scale.PatternFactor();
    const int top = Place(layer.first, picture.height, designed.height);
    const int bottom = std::min(picture.height, Place(layer.first + int(layer.rows.size()), picture.height, designed.height));
    for (int y = std::max(top, 0); y < bottom; ++y) {
        const int phase = ((y / factor - layer.first) % layer.period + layer.period) % layer.period;
        for (const PatternRect& p : layer.rows[size_t(phase)]) {
            const int right = std::min(picture.width, Place(p.x + p.width, picture.width, designed.width));
            for (int x = std::max(Place(p.x, picture.width, designed.width), 0); x < right; ++x) {
                Rgba& q = picture.At(x, y);
                q = overlay ? Over(p.fill, q) : Over(q, p.fill);
            }
        }
    }
}

} // namespace

std::vector<PatternRect> ReadPatterns(const std::string& svgPath)
{
    std::ifstream file(svgPath);
    if (!file)
        throw std::runtime_error("cannot open " + svgPath);
    const std::string svg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    static const std::regex element(R"re(<rect\b[^>]*\bclass="pattern[^"]*"[^>]*>)re");
    std::vector<PatternRect> patterns;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element); it != std::sregex_iterator(); ++it) {
        try {
            patterns.push_back(ParseRect(it->str()));
        } catch (const std::exception& e) {
            throw std::runtime_error(svgPath + ": " + e.what());
        }
    }
    return patterns;
}

void ApplyPatterns(Image& picture, const std::vector<PatternRect>& patterns, const TDisplayScale& scale,
                   Size designed)
{
    PaintLayer(picture, Layer(patterns, false), false, scale, designed);
    PaintLayer(picture, Layer(patterns, true), true, scale, designed);
}

} // namespace skinart
