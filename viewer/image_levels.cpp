#include "viewer/image_levels.h"

#include "viewer/terrain_model.h"

#include <algorithm>

namespace zel {

namespace {

// `count` heights from `first` to `last`, evenly spaced; `first` alone for one.
void appendEvenly(std::vector<double>& heights, std::size_t count, double first, double last) {
    for (std::size_t k = 0; k < count; ++k) {
        heights.push_back(count == 1 ? first
                                     : first + (last - first) * static_cast<double>(k) /
                                                   static_cast<double>(count - 1));
    }
}

} // namespace

std::vector<double> pureImageHeights(const ImageLevels& placement, std::size_t imageCount,
                                     double lowest, double highest) {
    if (!placement.levels.empty()) {
        return placement.levels;
    }
    std::vector<double> heights;
    heights.reserve(imageCount);
    if (!placement.seaLevel) {
        appendEvenly(heights, imageCount, lowest, highest);
        return heights;
    }
    if (imageCount > 0) {
        const double sea = *placement.seaLevel;
        heights.push_back(sea);
        // Ground that never rises above the sea leaves the others at its level, unreached.
        appendEvenly(heights, imageCount - 1, sea, std::max(sea, highest));
    }
    return heights;
}

std::vector<double> pureImageHeights(const TerrainModel& model, const ImageLevels& placement,
                                     std::size_t imageCount) {
    const MapFrame& frame = model.frame;
    return pureImageHeights(placement, imageCount,
                            frame.heightToData(model.bounds.min.y / model.exaggeration()),
                            frame.heightToData(model.bounds.max.y / model.exaggeration()));
}

} // namespace zel
