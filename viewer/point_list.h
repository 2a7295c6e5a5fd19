#pragma once

#include "viewer/geometry.h"

#include <vector>

namespace zel {

// The points of the triangulation file, in file order. Process-wide: the reader appends
// to it, everything else only reads it. Entry i belongs to vertex i of the terrain.
extern std::vector<Point2> points;

} // namespace zel
