// How the skin's pictures reach a display scale. A picture may hold a key
// colour (magenta) for its transparent pixels; enlarging or shrinking it
// treats key pixels as holes rather than as colour, so no edge ever shows a
// blend of magenta and the art, and a pixel the art covered all around never
// turns into the key. Pixel patterns (pinstripe tiles) instead grow by whole
// pixels. Here too: which built picture set serves a scale, and the size a
// picture has at a scale (each frame of a strip scales as a length). Plain
// pixel arithmetic, no window system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/DisplayScale.h"

// 0xRRGGBB per pixel, rows top first: the layout of a 32-bit DIB section.
struct TPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    TPixels() = default;
    TPixels(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    uint32_t& At(int x, int y) { return pixels[size_t(y) * width + x]; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

constexpr uint32_t kPictureKey = 0xFF00FF;

// The picture smoothly resampled to width x height. Key pixels are
// transparent: a result pixel is the key when less than half of what it
// covers is art, otherwise the average of the art alone.
TPixels ResampleKeyed(const TPixels& source, int width, int height, uint32_t key = kPictureKey);

// A strip of frameCount equal frames, each resampled on its own to
// frameWidth x frameHeight, side by side again.
TPixels ResampleFrames(const TPixels& strip, int frameCount, int frameWidth, int frameHeight,
                       uint32_t key = kPictureKey);

// Every pixel repeated factor times in each direction.
TPixels EnlargeByWhole(const TPixels& source, int factor);

struct TPictureSize {
    int width;
    int height;
    bool operator==(const TPictureSize&) const = default;
};

// A designed picture of frameCount frames at a scale: each frame is
// scale.Length of its designed width wide, and scale.Length(height) high.
// A tile (a pixel pattern repeated to fill) grows by the pattern factor.
TPictureSize ScaledPictureSize(const TDisplayScale& scale, int designedWidth, int designedHeight, int frameCount,
                               bool tile = false);

// The picture set (in per cent) to draw a scale from, among the sets built:
// the set drawn exactly for that scale; else the smallest larger one, so
// that pictures only shrink; else the largest. 0 when there are none.
int ChoosePictureSet(const TDisplayScale& scale, const std::vector<int>& setPercents);
// True when the set of that per cent is drawn exactly for the scale.
bool PictureSetFits(const TDisplayScale& scale, int setPercent);
