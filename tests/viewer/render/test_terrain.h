#pragma once

#include "tests/support/terrain_generator.h"
#include "viewer/terrain_model.h"

#include <cstdint>

namespace zel::test {

// A flat 160 x 160 square at height 0, centred on the origin, split along the diagonal from
// point 0 (-80, -80) to point 2 (80, 80) into the triangles 0 3 2 and 0 2 1 (clockwise,
// x to the right, y upward). Every normal points up; the texture coordinates run from
// (0, 0) at the minimum corner to (1, 1) at the maximum corner.
TerrainModel flatSquare();

// A new 2 x 2 texture of one colour, made with plain GL calls, left bound.
std::uint32_t makeSolidTexture(unsigned char r, unsigned char g, unsigned char b);

} // namespace zel::test
