#include "image/x_image_picture.h"

#include <X11/Xutil.h>
#include <cstddef>
#include <cstdint>

namespace zel {
namespace {

std::uint8_t channelOf(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (!((mask >> shift) & 1)) {
        ++shift;
    }
    const unsigned long max = mask >> shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

} // namespace

RgbPicture pictureOf(XImage& image, bool bottomRowFirst) {
    RgbPicture picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.bottomRowFirst = bottomRowFirst;
    picture.bytes.reserve(static_cast<std::size_t>(image.width) *
                          static_cast<std::size_t>(image.height) * 3);
    for (int row = 0; row < image.height; ++row) {
        const int y = bottomRowFirst ? image.height - 1 - row : row;
        for (int x = 0; x < image.width; ++x) {
            const unsigned long pixel = XGetPixel(&image, x, y);
            picture.bytes.push_back(channelOf(pixel, image.red_mask));
            picture.bytes.push_back(channelOf(pixel, image.green_mask));
            picture.bytes.push_back(channelOf(pixel, image.blue_mask));
        }
    }
    return picture;
}

} // namespace zel
