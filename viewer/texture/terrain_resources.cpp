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
    computeBounds();
    texCoords = textureCoordinates(vertices, BoundingBox{boundsMax, boundsMin});

    const TerrainImages images(imageNames);
    surface = surfaceHeights(*this, points);
    const std::vector<unsigned char> texels =
        synthesizeTexels(surface, boundsMin.y, boundsMax.y - boundsMin.y, images.views());
    textureId = createTexture(textureSize, textureSize, texels.data());
}

} // namespace zel
