#include "viewer/terrain_model.h"

namespace zel {

TerrainModel terrainModel;

TerrainModel::~TerrainModel() {
    for (Triangle* triangle : triangles) {
        delete triangle;
    }
}

} // namespace zel
