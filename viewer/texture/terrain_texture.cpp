#include "viewer/texture/terrain_texture.h"

#include "viewer/texture/terrain_images.h"
#include "viewer/texture/texture_synthesis.h"

namespace zel {
namespace {

// The heights at which the images are pure, in the vertices' heights: the data's heights
// mapped to the file's through the frame, then exaggerated.
std::vector<double> pureVertexHeights(const TerrainModel& model, const ImageLevels& levels,
                                      std::size_t imageCount) {
    std::vector<double> heights = pureImageHeights(model, levels, imageCount);
    for (double& height : heights) {
        height = model.frame.heightToFile(height) * model.exaggeration();
    }
    return heights;
}

} // namespace

TerrainTexture terrainTexture(const TerrainModel& model, const std::vector<std::string>& imageNames,
                              const ImageLevels& levels) {
    const TerrainImages images(imageNames);
    const Box& box = model.bounds;
    TerrainTexture texture;
    texture.texels =
        levels.even()
            ? synthesizeTexels(model.surface, box.min.y, box.max.y - box.min.y, images.views())
            : synthesizeTexels(model.surface, pureVertexHeights(model, levels, imageNames.size()),
                               images.views());
    texture.legend =
        imageLegend(images.views(), pureImageHeights(model, levels, imageNames.size()));
    return texture;
}

} // namespace zel
