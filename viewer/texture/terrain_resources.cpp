#include "viewer/image_levels.h"
#include "viewer/point_list.h"
#include "viewer/terrain_model.h"
#include "viewer/texture/bounding_box.h"
#include "viewer/texture/image_legend.h"
#include "viewer/texture/sample_lattice.h"
#include "viewer/texture/terrain_images.h"
#include "viewer/texture/texture_coordinates.h"
#include "viewer/texture/texture_synthesis.h"
#include "viewer/texture/texture_upload.h"

namespace zel {

void TerrainModel::buildTerrainResources(const std::vector<std::string>& imageNames) {
    computeSurface();
    buildTexture(imageNames);
}

namespace {

// The heights at which the images are pure, in the vertices' heights: the data's heights
// mapped to the file's through the frame, then exaggerated.
std::vector<double> pureVertexHeights(const TerrainModel& model) {
    std::vector<double> heights = pureImageHeights(model);
    for (double& height : heights) {
        height = model.frame.heightToFile(height) * model.exaggeration;
    }
    return heights;
}

} // namespace

void TerrainModel::computeSurface() {
    computeBounds();
    texCoords = textureCoordinates(vertices, BoundingBox{boundsMax, boundsMin});
    surface = surfaceHeights(*this, points);
}

void TerrainModel::buildTexture(const std::vector<std::string>& imageNames,
                                const ImageLevels& levels) {
    const TerrainImages images(imageNames);
    imageCount = imageNames.size();
    imageLevels = levels;
    const std::vector<unsigned char> texels =
        levels.even()
            ? synthesizeTexels(surface, boundsMin.y, boundsMax.y - boundsMin.y, images.views())
            : synthesizeTexels(surface, pureVertexHeights(*this), images.views());
    textureId = createTexture(textureSize, textureSize, texels.data());
    legend = imageLegend(images.views(), pureImageHeights(*this));
}

} // namespace zel
