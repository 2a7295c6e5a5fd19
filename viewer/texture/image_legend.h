#pragma once

#include "viewer/texture/rgb_image_view.h"

#include <array>
#include <vector>

namespace zel {

// One image as the legend shows it: its mean colour and the height (in the data's units) at
// which the texture is that image alone.
struct LegendEntry {
    std::array<unsigned char, 3> colour;
    double height;
};

// One entry per image, in order; `pureHeights` holds one height per image.
std::vector<LegendEntry> imageLegend(const std::vector<RgbImageView>& images,
                                     const std::vector<double>& pureHeights);

} // namespace zel
