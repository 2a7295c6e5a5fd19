#pragma once

#include "viewer/image_levels.h"
#include "viewer/terrain_model.h"
#include "viewer/texture/image_legend.h"

#include <string>
#include <vector>

namespace zel {

// The height-blended texture of a terrain, ready for upload, and its legend.
struct TerrainTexture {
    // textureSize x textureSize texels (see synthesizeTexels).
    std::vector<unsigned char> texels;
    std::vector<LegendEntry> legend;
};

// The texture coloured from the surface heights (computeSurface's results) with the images
// named, lowest ground first. Throws TgaException when an image cannot be loaded. The images
// are spread evenly over the bounding box's heights, or placed on the data's heights by
// `levels` (one per image when given).
TerrainTexture terrainTexture(const TerrainModel& model, const std::vector<std::string>& imageNames,
                              const ImageLevels& levels = {});

} // namespace zel
