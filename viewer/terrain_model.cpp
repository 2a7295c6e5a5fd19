#include "viewer/terrain_model.h"

#include "viewer/texture/bounding_box.h"

namespace zel {

TerrainModel terrainModel;

Triangle* TerrainModel::addTriangle(const Triangle& triangle) {
    Triangle* kept = &triangleStore.emplace_back(triangle);
    triangles.push_back(kept);
    return kept;
}

void TerrainModel::keepFirstTriangles(std::size_t count) {
    while (triangles.size() > count) {
        triangles.pop_back();
        triangleStore.pop_back();
    }
}

void TerrainModel::computeBounds() {
    const BoundingBox box = boundingBox(vertices);
    boundsMax = box.max;
    boundsMin = box.min;
}

// The vectors keep their capacity, so a change needs no more memory than start-up did.
void TerrainModel::changeExaggeration(double factor) {
    // The surface is interpolated linearly from the heights, so it scales with them.
    const double ratio = factor / exaggeration;
    for (std::optional<float>& height : surface.heights) {
        if (height) {
            *height = static_cast<float>(*height * ratio);
        }
    }
    exaggeration = factor;
    vertices.clear();
    computeHeights();
    normals.clear();
    computeNormals();
    computeBounds();
}

} // namespace zel
