#pragma once

#include "viewer/terrain_model.h"
#include "viewer/texture/image_legend.h"

#include <cstdint>
#include <vector>

namespace zel {

// The terrain as the window shows it: the model, its texture on the graphics card with the
// legend of its images, and the clock of the default frames' turn.
struct ShownTerrain {
    TerrainModel model;
    std::uint32_t textureId = 0xFFFFFFFFu;
    std::vector<LegendEntry> legend;
    // When the previous default frame was drawn; -1 before the first.
    double lastFrameTime = -1.0;
};

// Turns the view by the time since the previous frame and draws the mesh.
void drawTerrain(ShownTerrain& terrain);

// Binds `textureId` and draws every triangle of `model` with its normals and texture
// coordinates. The user's view draws the same from buffers (see mesh_buffers.h).
void drawMesh(const TerrainModel& model, std::uint32_t textureId);

} // namespace zel
