// PNG reading through libpng's simplified interface: whatever the file's
// colour type, the result is 8-bit RGBA, not premultiplied.
#include "skin_image.h"

#include <png.h>

#include <cstring>
#include <stdexcept>

namespace skinart {

Image ReadPng(const std::string& path)
{
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        throw std::runtime_error("cannot read " + path + ": " + png.message);
    png.format = PNG_FORMAT_RGBA;
    Image image;
    image.width = int(png.width);
    image.height = int(png.height);
    image.pixels.resize(size_t(png.width) * png.height);
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        png_image_free(&png);
        throw std::runtime_error("cannot decode " + path + ": " + png.message);
    }
    return image;
}

} // namespace skinart
