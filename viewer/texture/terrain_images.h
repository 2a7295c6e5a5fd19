#pragma once

#include "image/tga_image.h"
#include "viewer/texture/rgb_image_view.h"

#include <string>
#include <vector>

namespace zel {

// The images of the terrain texture, loaded in the order named (lowest ground first) and
// held until this object is destroyed. The first file that cannot be loaded, or holds no
// colours, ends the loading with its TgaException; the images loaded so far are released.
class TerrainImages {
public:
    explicit TerrainImages(const std::vector<std::string>& fileNames);

    const std::vector<RgbImageView>& views() const { return views_; }

private:
    std::vector<TgaImage> images_;
    std::vector<RgbImageView> views_;
};

} // namespace zel
