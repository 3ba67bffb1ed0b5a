// The one rule that turns the program's designed pixels into device pixels at a
// display scale (dots per inch / 96). Positions scale edge by edge, rounding
// halves up, so parts that meet in the design still meet and parts apart stay
// apart: no overlap, no gap. Thicknesses (borders, lines) scale as lengths
// measured from the edge they lie on and never vanish, so a 1-pixel line
// becomes 1, 2 or 3 whole pixels. Pixel patterns (pinstripes, key-colour
// strips) repeat by a whole factor. At 96 dots per inch the rule is the
// identity. No window system here: the controls ask their scale for numbers.
#pragma once

#include "core/Bounds.h"

class TDisplayScale {
public:
    static constexpr int kDesignDpi = 96;

    TDisplayScale() = default;
    // Dots per inch below 96 are not scaled down: the design is the minimum.
    explicit TDisplayScale(int dpi);

    int Dpi() const { return dpi_; }
    bool IsIdentity() const { return dpi_ == kDesignDpi; }

    // A coordinate: designed * dpi / 96, halves rounded up (also below zero).
    int Position(int designed) const;
    // A width, height or line thickness from a fixed edge: a non-zero length
    // stays at least one pixel, and a negative one is the positive one negated.
    int Length(int designed) const;
    // A place, edge by edge: the size is what lies between the scaled edges.
    TBounds Bounds(const TBounds& designed) const;
    // A font height in pixels; negative (character) heights stay negative.
    int FontHeight(int designed) const;
    // The whole factor pixel patterns repeat by: 1 up to 149 %, 2 up to
    // 249 %, and so on.
    int PatternFactor() const;
    // The picture set drawn for this scale, in per cent: 100, 150 or 200,
    // the nearest that is not smaller when one exists (so enlargement is
    // never needed below 200 %), 200 above that.
    int PictureSetPercent() const;

    bool operator==(const TDisplayScale&) const = default;

private:
    int dpi_ = kDesignDpi;
};
