#include "viewer/terrain_model.h"

#include "viewer/bounding_box.h"

namespace zel {

void TerrainModel::addTriangle(std::int32_t i0, std::int32_t i1, std::int32_t i2) {
    triangles.emplace_back(points, i0, i1, i2);
}

void TerrainModel::computeBounds() {
    bounds = boundingBox(vertices);
}

void TerrainModel::setHeightScale(const HeightScale& scale) {
    const double previousFactor = exaggeration();
    const bool normalsKnown = !vertices.empty() && normals.size() == vertices.size();
    heightScale = scale;
    placeVertices();
    if (normalsKnown) {
        followScaleWithNormals(previousFactor);
    } else {
        computeNormals();
    }
    computeBounds();
    sampleSurface();
}

} // namespace zel
