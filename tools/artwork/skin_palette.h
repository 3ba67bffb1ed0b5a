// Reduces an opaque picture to a palette of at most maxColours entries.
#pragma once

#include "skin_image.h"

namespace skinart {

// Pictures with few enough colours keep every colour exactly. Otherwise the
// pinned colours stay exact and the rest is reduced by a median cut; no pixel
// that is not one of the pinned colours is mapped onto one of them, so a
// shaded pixel never turns into the transparent key. The result depends only
// on the pixels and the pinned list.
IndexedImage Reduce(const Image& image, int maxColours, const std::vector<Rgba>& pinned);

} // namespace skinart
