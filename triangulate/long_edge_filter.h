#pragma once

#include "triangulate/point_input.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

// Leaves out of `triangles` every triangle that has an edge longer than `maxEdge` across the
// ground (in x and y, heights aside: a long edge spans ground without points, a steep one
// does not), keeping the others in their order. Returns how many it left out. Every index
// must name one of `points`. The points are the input's, before framing, in double
// precision: the length is in the units the user knows, and an edge exactly as long as it
// stays in whatever the framing's rounding would make of it.
std::size_t dropLongEdgedTriangles(std::vector<std::array<std::uint32_t, 3>>& triangles,
                                   const std::vector<PlanePoint>& points, double maxEdge);

} // namespace zel
