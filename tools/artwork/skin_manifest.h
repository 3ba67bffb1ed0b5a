// The skin's bitmap list (resources/skin/bitmaps.txt). One bitmap a line:
//   NAME WIDTH HEIGHT BITS FRAMES SOURCE [OPTION...]
// SOURCE is the SVG file relative to the manifest. Options:
//   key           nearly transparent pixels become the magenta key 0xFF00FF
//   over=RRGGBB   partly transparent pixels are blended over this colour
//                 (default FFFFFF)
//   over=NAME@ROW blended over the finished bitmap NAME (listed earlier),
//                 its middle column from row ROW down; this is how title
//                 buttons match the title bar they are drawn on
//   pin=RRGGBB,.. colours kept exact when the palette is reduced
//   tile          a pixel pattern the program repeats to fill: at larger
//                 scales it grows by whole pixels instead of being drawn anew
// '#' starts a comment; blank lines are skipped.
#pragma once

#include "skin_image.h"

#include <optional>

namespace skinart {

struct BitmapEntry {
    std::string name;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int frames = 1;
    std::string source;
    bool key = false;
    Rgba overColour{255, 255, 255, 255};
    std::string overBitmap; // empty: blend over overColour
    int overRow = 0;
    std::vector<Rgba> pinned;
    bool tile = false;
};

// Throws std::runtime_error naming the file and line of a malformed entry.
std::vector<BitmapEntry> ReadManifest(const std::string& path);

} // namespace skinart
