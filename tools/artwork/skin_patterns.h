// Pixel patterns inside a skin picture: the pinstripe rows of MacOS's title
// bar, check boxes and menu. In the SVG source they are crisp one-pixel
// rectangles marked class="pattern" (drawn under the rest of the picture,
// as a background) or class="pattern overlay" (drawn over it). At 100 per
// cent rsvg-convert draws them like any other shape; at a larger scale the
// picture is rendered with them hidden (hide_patterns.css) and they are
// painted here by whole pixels: each designed row becomes the pattern
// factor's number of rows, repeating with the pattern's period where the
// picture has more room, so the stripes stay sharp and keep in step with
// the form's pinstripe tile grown by the same factor.
#pragma once

#include "skin_image.h"

#include "core/DisplayScale.h"

namespace skinart {

struct PatternRect {
    int x = 0, y = 0, width = 0, height = 0; // design pixels
    Rgba fill;                               // alpha: the fill's opacity
    bool overlay = false;
};

// The pattern rectangles of an SVG file; throws std::runtime_error for one
// that does not lie on whole pixels.
std::vector<PatternRect> ReadPatterns(const std::string& svgPath);

struct Size {
    int width, height;
};

// Paints the patterns into a picture rendered at scale without them, from
// a design of the given size: columns and the pattern's first and last rows
// land where the rendering put them, each row in between is the pattern
// factor's number of rows.
void ApplyPatterns(Image& picture, const std::vector<PatternRect>& patterns, const TDisplayScale& scale,
                   Size designed);

} // namespace skinart
