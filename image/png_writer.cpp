#include "image/png_writer.h"

#include <cstddef>
#include <png.h>
#include <stdexcept>
#include <string>

namespace zel {

void writePng(std::FILE* file, const RgbPicture& picture) {
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.bytes.size() != rowBytes * static_cast<std::size_t>(picture.height)) {
        throw std::runtime_error("the picture's size does not match its pixels");
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    const auto stride = static_cast<png_int_32>(rowBytes);
    if (png_image_write_to_stdio(&image, file, 0, picture.bytes.data(),
                                 picture.bottomRowFirst ? -stride : stride, nullptr) == 0) {
        const std::string reason = image.message;
        png_image_free(&image);
        throw std::runtime_error(reason);
    }
}

} // namespace zel
