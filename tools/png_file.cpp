// The PNG writer of the build's icons and the tests' frame dumps, through libpng.
#include "tools/png_file.h"

#include <png.h>

#include <vector>

bool WritePngFile(const std::string& path, int width, int height, const uint32_t* pixels) {
    if (width <= 0 || height <= 0 || !pixels) return false;
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(width) * size_t(height) * 3);
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i)
        rgb.insert(rgb.end(), {uint8_t(pixels[i] >> 16), uint8_t(pixels[i] >> 8), uint8_t(pixels[i])});
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}
