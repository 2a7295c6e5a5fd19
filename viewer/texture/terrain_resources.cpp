#include "viewer/point_list.h"
#include "viewer/terrain_model.h"
#include "viewer/texture/bounding_box.h"
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

void TerrainModel::computeSurface() {
    computeBounds();
    texCoords = textureCoordinates(vertices, BoundingBox{boundsMax, boundsMin});
    surface = surfaceHeights(*this, points);
}

void TerrainModel::buildTexture(const std::vector<std::string>& imageNames) {
    const TerrainImages images(imageNames);
    const std::vector<unsigned char> texels =
        synthesizeTexels(surface, boundsMin.y, boundsMax.y - boundsMin.y, images.views());
    textureId = createTexture(textureSize, textureSize, texels.data());
}

} // namespace zel
