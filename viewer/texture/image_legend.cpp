#include "viewer/texture/image_legend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zel {
namespace {

std::array<unsigned char, 3> meanColour(const RgbImageView& image) {
    std::array<std::uint64_t, 3> sums{};
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            const unsigned char* rgb = image.rgb(column, row);
            for (std::size_t c = 0; c < 3; ++c) {
                sums[c] += rgb[c];
            }
        }
    }
    const auto count = std::max<std::uint64_t>(1, static_cast<std::uint64_t>(image.width) *
                                                      static_cast<std::uint64_t>(image.height));
    std::array<unsigned char, 3> colour{};
    for (std::size_t c = 0; c < 3; ++c) {
        colour[c] = static_cast<unsigned char>(
            std::lround(static_cast<double>(sums[c]) / static_cast<double>(count)));
    }
    return colour;
}

} // namespace

std::vector<LegendEntry> imageLegend(const std::vector<RgbImageView>& images,
                                     const std::vector<double>& pureHeights) {
    std::vector<LegendEntry> legend;
    for (std::size_t i = 0; i < images.size() && i < pureHeights.size(); ++i) {
        legend.push_back({meanColour(images[i]), pureHeights[i]});
    }
    return legend;
}

} // namespace zel
