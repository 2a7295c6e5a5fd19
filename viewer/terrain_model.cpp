#include "viewer/terrain_model.h"

#include "viewer/point_list.h"

namespace zel {

TerrainModel terrainModel;

TerrainModel::~TerrainModel() {
    for (Triangle* triangle : triangles) {
        delete triangle;
    }
}

void TerrainModel::buildAdjacency() {
    adjacency.assign(points.size(), {});
    for (Triangle* triangle : triangles) {
        for (std::int32_t index : triangle->indices) {
            adjacency[static_cast<std::size_t>(index)].push_back(triangle);
        }
    }
}

} // namespace zel
