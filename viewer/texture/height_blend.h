#pragma once

#include "viewer/texture/rgb_image_view.h"

#include <vector>

namespace zel {

// Where `height` lies between `lowest` and lowest + `range`, as 0 ... 1. Anything outside
// that span, NaN included, and every height of a flat terrain (range 0) gives 0.
float normalisedHeight(float height, float lowest, float range);

// Writes the R, G, B of the texel in `column` and `row` at normalised height t to `rgb`
// (t outside 0 ... 1 counts as 0, like in normalisedHeight).
// The images run from the lowest ground to the highest; t picks a neighbouring pair and
// blends them linearly, each image tiled by its own size. Without images it is white.
void blendTexel(const std::vector<RgbImageView>& images, float t, int column, int row,
                unsigned char* rgb);

// Where `height` lies among the heights at which the images are pure (`pureHeights`,
// increasing, one per image), as an image position 0 ... count - 1: 0 at or below the first
// (NaN too), the last above the last, and between two the fraction of the way from one to the
// next. Two equal heights part the images at them sharply: just above is the later image.
float imagePosition(float height, const std::vector<double>& pureHeights);

// Writes the R, G, B of the texel in `column` and `row` at image position `position` (0 ...
// count - 1, anything else counting as 0): image k at k, a linear blend of k and k + 1
// between them, each image tiled by its own size. Without images it is white.
void blendAtPosition(const std::vector<RgbImageView>& images, float position, int column, int row,
                     unsigned char* rgb);

} // namespace zel
