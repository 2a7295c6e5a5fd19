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
    // Normals from the triangles once; at every later scale from those, so that a scale
    // returned to gives back the very same normals, and quickly.
    const bool normalsKnown = !vertices.empty() && normals.size() == vertices.size();
    if (normalsKnown && normalsAtFirstScale.empty()) {
        normalsAtFirstScale = normals;
        firstScaleFactor = exaggeration();
    }
    heightScale = scale;
    placeVertices();
    if (normalsKnown) {
        followScaleWithNormals();
    } else {
        computeNormals();
    }
    computeBounds();
    sampleSurface();
}

} // namespace zel
