#include "viewer/texture/rgb_image_view.h"

#include "image/tga_exception.h"
#include "image/tga_status.h"

namespace zel {
namespace {

bool isColourMapped(int imageType) {
    return imageType == 1 || imageType == 9;
}

} // namespace

RgbImageView rgbImageView(const TgaImage& image, const std::string& fileName) {
    RgbImageView view;
    view.width = image.width();
    view.height = image.height();
    view.pixels = image.pixels();
    view.bytesPerPixel = image.pixelDepth() / 8;
    const bool colourMapped = isColourMapped(image.imageType());
    if (colourMapped) {
        view.palette = image.palette();
    }

    const int bytesNeeded = colourMapped ? 1 : 3;
    const bool holdsColour = view.width > 0 && view.height > 0 && view.pixels != nullptr &&
                             view.bytesPerPixel >= bytesNeeded &&
                             (!colourMapped || view.palette != nullptr);
    if (!holdsColour) {
        throw TgaException(fileName, TgaStatus::UnsupportedImageFormat);
    }
    return view;
}

} // namespace zel
