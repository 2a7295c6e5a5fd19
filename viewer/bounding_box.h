#pragma once

#include "viewer/geometry.h"

#include <vector>

namespace zel {

// Per-axis minimum and maximum of `vertices`, starting from the first vertex and replaced
// only by strictly smaller or greater coordinates (so NaN after the first changes nothing).
// An empty list gives the box (0, 0, 0) - (0, 0, 0).
Box boundingBox(const std::vector<Vec3>& vertices);

} // namespace zel
