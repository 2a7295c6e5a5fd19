#pragma once

#include "image/tga_image.h"

#include <cstddef>
#include <string>

namespace zel {

// Reads one image's pixels as R, G, B whatever layout it was loaded in: true colour by the
// first three bytes of each pixel, colour-mapped through the palette by the index byte.
struct RgbImageView {
    int width = 0;
    int height = 0;
    const unsigned char* pixels = nullptr;
    int bytesPerPixel = 0;
    const unsigned char* palette = nullptr; // 256 R, G, B entries; null for true colour

    // The three bytes R, G, B of the pixel in `column` and `row` (both within the image).
    const unsigned char* rgb(int column, int row) const {
        const std::size_t offset =
            (static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
             static_cast<std::size_t>(column)) *
            static_cast<std::size_t>(bytesPerPixel);
        return palette ? palette + 3u * pixels[offset] : pixels + offset;
    }
};

// A view of a loaded image. Throws TgaException(fileName, UnsupportedImageFormat) for a
// layout that holds no R, G, B: true colour below 24 bits or colour-mapped below 8.
RgbImageView rgbImageView(const TgaImage& image, const std::string& fileName);

} // namespace zel
