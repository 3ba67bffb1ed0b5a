#include "core/PictureScaling.h"

#include <algorithm>
#include <cmath>

namespace {

// A colour weighted by how much art it holds: a key pixel is all zero, an
// art pixel carries coverage 1.
struct TSample {
    float r = 0, g = 0, b = 0, cover = 0;
};

struct TTap {
    int source;
    float weight;
};

// For each of count result positions along one axis, the source positions
// it draws from and their weights (a tent as wide as one result pixel when
// shrinking, one source pixel when enlarging), summing to one.
std::vector<std::vector<TTap>> AxisTaps(int sourceCount, int count)
{
    std::vector<std::vector<TTap>> taps(count);
    const double ratio = double(sourceCount) / count;
    const double radius = std::max(1.0, ratio);
    for (int i = 0; i < count; ++i) {
        const double centre = (i + 0.5) * ratio - 0.5;
        float total = 0;
        const int first = std::max(0, int(std::floor(centre - radius)) + 1);
        const int last = std::min(sourceCount - 1, int(std::ceil(centre + radius)) - 1);
        for (int j = first; j <= last; ++j) {
            const float weight = float(1.0 - std::abs(j - centre) / radius);
            if (weight > 0) {
                taps[i].push_back({j, weight});
                total += weight;
            }
        }
        for (TTap& tap : taps[i])
            tap.weight /= total;
    }
    return taps;
}

TSample Mix(const std::vector<TSample>& line, size_t start, size_t stride, const std::vector<TTap>& taps)
{
    TSample out;
    for (const TTap& tap : taps) {
        const TSample& s = line[start + size_t(tap.source) * stride];
        out.r += s.r * tap.weight;
        out.g += s.g * tap.weight;
        out.b += s.b * tap.weight;
        out.cover += s.cover * tap.weight;
    }
    return out;
}

std::vector<TSample> Samples(const TPixels& source, uint32_t key)
{
    std::vector<TSample> samples(source.pixels.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const uint32_t p = source.pixels[i] & 0xFFFFFF;
        if (p != key)
            samples[i] = {float(p >> 16 & 0xFF), float(p >> 8 & 0xFF), float(p & 0xFF), 1};
    }
    return samples;
}

uint8_t Channel(float premultiplied, float cover)
{
    return uint8_t(std::clamp(std::lround(premultiplied / cover), 0L, 255L));
}

// A result pixel: the key when mostly holes, else the art's own colour (moved
// one step off the key should it land on it).
uint32_t Resolve(const TSample& s, uint32_t key)
{
    if (s.cover < 0.5f)
        return key;
    uint32_t p = uint32_t(Channel(s.r, s.cover)) << 16 | uint32_t(Channel(s.g, s.cover)) << 8 | Channel(s.b, s.cover);
    if (p == key)
        p ^= 0x000100;
    return p;
}

} // namespace

TPixels ResampleKeyed(const TPixels& source, int width, int height, uint32_t key)
{
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0)
        return TPixels();
    const std::vector<TSample> samples = Samples(source, key);
    const auto columns = AxisTaps(source.width, width);
    const auto rows = AxisTaps(source.height, height);
    std::vector<TSample> across(size_t(width) * source.height);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < width; ++x)
            across[size_t(y) * width + x] = Mix(samples, size_t(y) * source.width, 1, columns[x]);
    TPixels out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.At(x, y) = Resolve(Mix(across, size_t(x), size_t(width), rows[y]), key);
    return out;
}

TPixels ResampleFrames(const TPixels& strip, int frameCount, int frameWidth, int frameHeight, uint32_t key)
{
    if (frameCount <= 0 || strip.width < frameCount)
        return TPixels();
    const int sourceWidth = strip.width / frameCount;
    TPixels out(frameWidth * frameCount, frameHeight);
    for (int frame = 0; frame < frameCount; ++frame) {
        TPixels piece(sourceWidth, strip.height);
        for (int y = 0; y < strip.height; ++y)
            for (int x = 0; x < sourceWidth; ++x)
                piece.At(x, y) = strip.At(frame * sourceWidth + x, y);
        const TPixels scaled = ResampleKeyed(piece, frameWidth, frameHeight, key);
        for (int y = 0; y < frameHeight; ++y)
            for (int x = 0; x < frameWidth; ++x)
                out.At(frame * frameWidth + x, y) = scaled.At(x, y);
    }
    return out;
}

TPixels EnlargeByWhole(const TPixels& source, int factor)
{
    factor = std::max(factor, 1);
    TPixels out(source.width * factor, source.height * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.At(x, y) = source.At(x / factor, y / factor);
    return out;
}

TPictureSize ScaledPictureSize(const TDisplayScale& scale, int designedWidth, int designedHeight, int frameCount,
                               bool tile)
{
    if (tile)
        return {designedWidth * scale.PatternFactor(), designedHeight * scale.PatternFactor()};
    frameCount = std::max(frameCount, 1);
    return {scale.Length(designedWidth / frameCount) * frameCount, scale.Length(designedHeight)};
}

bool PictureSetFits(const TDisplayScale& scale, int setPercent)
{
    return scale.Dpi() * 100 == setPercent * TDisplayScale::kDesignDpi;
}

int ChoosePictureSet(const TDisplayScale& scale, const std::vector<int>& setPercents)
{
    int larger = 0, largest = 0;
    for (int set : setPercents) {
        if (PictureSetFits(scale, set))
            return set;
        largest = std::max(largest, set);
        if (set * TDisplayScale::kDesignDpi > scale.Dpi() * 100 && (larger == 0 || set < larger))
            larger = set;
    }
    return larger ? larger : largest;
}
