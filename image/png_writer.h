#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace zel {

// 8-bit RGB pixels, three bytes each, rows packed without padding.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
    // OpenGL reads the bottom row first; X and most image files give the top row first.
    bool bottomRowFirst = false;
};

// Writes `picture` as an 8-bit RGB PNG to `file`, which stays open. Throws
// std::runtime_error with libpng's reason when it cannot.
void writePng(std::FILE* file, const RgbPicture& picture);

} // namespace zel
