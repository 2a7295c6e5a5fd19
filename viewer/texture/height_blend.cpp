#include "viewer/texture/height_blend.h"

#include <cstddef>

namespace zel {
namespace {

const unsigned char* tiledPixel(const RgbImageView& image, int column, int row) {
    return image.rgb(column % image.width, row % image.height);
}

} // namespace

float normalisedHeight(float height, float lowest, float range) {
    if (range == 0.0f) {
        return 0.0f;
    }
    const float t = (height - lowest) / range;
    return t >= 0.0f && t <= 1.0f ? t : 0.0f;
}

void blendTexel(const std::vector<RgbImageView>& images, float t, int column, int row,
                unsigned char* rgb) {
    if (images.empty()) {
        rgb[0] = rgb[1] = rgb[2] = 255;
        return;
    }
    if (!(t >= 0.0f && t <= 1.0f)) {
        t = 0.0f; // never let a stray value pick an image
    }
    blendAtPosition(images, t * static_cast<float>(images.size() - 1), column, row, rgb);
}

float imagePosition(float height, const std::vector<double>& pureHeights) {
    if (pureHeights.empty() || !(height > pureHeights.front())) {
        return 0.0f;
    }
    for (std::size_t k = 1; k < pureHeights.size(); ++k) {
        if (height <= pureHeights[k]) {
            const double below = pureHeights[k - 1];
            return static_cast<float>(static_cast<double>(k - 1) +
                                      (height - below) / (pureHeights[k] - below));
        }
    }
    return static_cast<float>(pureHeights.size() - 1);
}

void blendAtPosition(const std::vector<RgbImageView>& images, float position, int column, int row,
                     unsigned char* rgb) {
    if (images.empty()) {
        rgb[0] = rgb[1] = rgb[2] = 255;
        return;
    }
    const int last = static_cast<int>(images.size()) - 1;
    const float p = position >= 0.0f && position <= static_cast<float>(last) ? position : 0.0f;
    int k = static_cast<int>(p);
    if (k > last) {
        k = last; // cannot happen for p <= last; keeps the index inside the list regardless
    }
    const float f = p - static_cast<float>(k);

    const unsigned char* lo = tiledPixel(images[static_cast<std::size_t>(k)], column, row);
    if (k == last) {
        rgb[0] = lo[0];
        rgb[1] = lo[1];
        rgb[2] = lo[2];
        return;
    }
    const unsigned char* hi = tiledPixel(images[static_cast<std::size_t>(k + 1)], column, row);
    for (int c = 0; c < 3; ++c) {
        const int difference = static_cast<int>(hi[c]) - static_cast<int>(lo[c]);
        rgb[c] = static_cast<unsigned char>(static_cast<float>(lo[c]) +
                                            static_cast<float>(difference) * f);
    }
}

} // namespace zel
