#pragma once

#include "image/tga_status.h"

#include <cstdint>
#include <string>

namespace zel {

// A picture loaded from a TGA file (types 1, 2, 9 and 10): rows from the top down,
// true-colour pixels in R, G, B (, attribute) order, colour-mapped pixels as palette
// indices with the palette in R, G, B order. Every file is treated as untrusted.
class TGAImage {
public:
    TGAImage() = default;
    ~TGAImage();
    TGAImage(const TGAImage&) = delete;
    TGAImage& operator=(const TGAImage&) = delete;

    // Loads `fileName` into this image, replacing what it held. Never throws.
    TGAStatus loadFile(const char* fileName);
    // Loads `fileName`; throws TGAException on any status other than Success.
    void load(const std::string& fileName);

    int width() const { return width_; }
    int height() const { return height_; }
    const unsigned char* pixels() const { return pixels_; }

    int pixelDepth() const { return pixelDepth_; }
    int imageType() const { return imageType_; }
    // 768 bytes, 256 colours of R, G, B; null unless a colour-mapped image is loaded.
    const unsigned char* palette() const { return palette_; }

private:
    std::int16_t width_ = 0;
    std::int16_t height_ = 0;
    std::int16_t pixelDepth_ = 0;
    std::uint32_t dataSize_ = 0;
    std::int8_t imageType_ = 0;
    unsigned char* pixels_ = nullptr;
    unsigned char* palette_ = nullptr;
    unsigned char* fileContents_ = nullptr;
};

} // namespace zel
