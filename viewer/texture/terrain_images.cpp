#include "viewer/texture/terrain_images.h"

#include <cstddef>

namespace zel {

TerrainImages::TerrainImages(const std::vector<std::string>& fileNames)
    : images_(fileNames.size()) {
    views_.reserve(fileNames.size());
    for (std::size_t k = 0; k < fileNames.size(); ++k) {
        images_[k].load(fileNames[k]);
        views_.push_back(rgbImageView(images_[k], fileNames[k]));
    }
}

} // namespace zel
