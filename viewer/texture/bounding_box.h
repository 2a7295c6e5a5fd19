#pragma once

#include "viewer/geometry.h"

#include <vector>

namespace zel {

struct BoundingBox {
    Vec3 max{0.0f, 0.0f, 0.0f};
    Vec3 min{0.0f, 0.0f, 0.0f};
};

// Per-axis maximum and minimum of `vertices`, starting from the first vertex and replaced
// only by strictly greater or smaller coordinates (so NaN after the first changes nothing).
// An empty list gives the box (0, 0, 0) - (0, 0, 0).
BoundingBox boundingBox(const std::vector<Vec3>& vertices);

} // namespace zel
