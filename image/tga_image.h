#pragma once

#include "image/tga_status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zel {

// A picture loaded from a TGA file (types 1, 2, 9 and 10): rows from the top down,
// true-colour pixels in R, G, B (, attribute) order, colour-mapped pixels as palette
// indices with the palette in R, G, B order. Every file is treated as untrusted: the
// loader never reads past the file contents nor writes past the pixel array.
class TgaImage {
public:
    TgaImage() = default;
    ~TgaImage();
    TgaImage(const TgaImage&) = delete;
    TgaImage& operator=(const TgaImage&) = delete;

    // Loads `fileName` into this image, replacing what it held. Never throws; after a
    // failure the image holds no usable picture.
    TgaStatus loadFile(const char* fileName);
    // Loads `fileName`; throws TgaException on any status other than Success.
    void load(const std::string& fileName);

    int width() const { return width_; }
    int height() const { return height_; }
    // width() * height() * bytesPerPixel() bytes, rows from the top down.
    const unsigned char* pixels() const { return pixels_; }

    // Bits per pixel as stored: 24 or 32 for true colour, 8 for colour-mapped images.
    int pixelDepth() const { return pixelDepth_; }
    int bytesPerPixel() const { return pixelDepth_ / 8; }
    // 1 or 9 (colour-mapped), 2 or 10 (true colour).
    int imageType() const { return imageType_; }
    // 768 bytes, 256 colours of R, G, B; null unless a colour-mapped image is loaded.
    const unsigned char* palette() const { return palette_; }

private:
    TgaStatus readFileContents(const char* fileName);
    TgaStatus validateHeader();
    TgaStatus decode();
    TgaStatus copyPixels(std::size_t pixelDataOffset);
    TgaStatus decodeRunLength(std::size_t pixelDataOffset);
    TgaStatus copyPalette(std::size_t paletteOffset);
    void exchangeFirstAndThirdChannels();
    void reverseRows();
    void releasePicture();
    void releaseFileContents();

    std::int16_t width_ = 0;
    std::int16_t height_ = 0;
    std::int16_t pixelDepth_ = 0;
    std::uint32_t dataSize_ = 0;
    std::int8_t imageType_ = 0;
    unsigned char* pixels_ = nullptr;
    unsigned char* palette_ = nullptr;
    unsigned char* fileContents_ = nullptr;
    std::size_t fileLength_ = 0;
};

} // namespace zel
