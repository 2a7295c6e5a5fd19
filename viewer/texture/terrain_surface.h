#pragma once

#include "viewer/sample_lattice.h"
#include "viewer/terrain_model.h"

#include <cstdint>
#include <vector>

namespace zel {

// For every sample of `lattice` (entry i * textureSize + j for column i and row j), the index
// of the triangle that the texel walk chooses there (see texelTriangles), or -1 where none
// holds the sample.
std::vector<std::int32_t> sampleHolders(const TerrainModel& model, const SampleLattice& lattice);

// The stage after the heights: the bounding box, the texture coordinates, the lattice of
// the texture's ground samples over the box, the triangle that holds each sample and the
// surface's height there. Needs the vertices.
void computeSurface(TerrainModel& model);

} // namespace zel
