// A picture packed small for the program's resources: a 16-byte header that
// says what the picture was designed as, then the picture's BMP file
// deflated with zlib. The larger picture sets travel this way, so that the
// program stays small; unpacking checks every length it reads, as the data
// is only trusted as far as it is checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Exception.h"

struct TPackedPictureInfo {
    int designedWidth = 0;  // the whole strip at 100 per cent
    int designedHeight = 0;
    int frameCount = 1;
    bool tile = false;      // a pixel pattern, grown by whole pixels
    bool operator==(const TPackedPictureInfo&) const = default;
};

class EPictureError : public Exception {
public:
    using Exception::Exception;
};

std::vector<uint8_t> PackPicture(const TPackedPictureInfo& info, const std::vector<uint8_t>& bmpFile);
// The BMP file and what the header says; EPictureError when the data is not
// a packed picture or is damaged.
std::vector<uint8_t> UnpackPicture(const uint8_t* data, size_t size, TPackedPictureInfo& info);
