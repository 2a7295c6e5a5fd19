#pragma once

#include "triangulate/framing.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

// Leaves out of `triangles` every triangle that has an edge longer than `maxEdge` across the
// ground (in x and y, heights aside: a long edge spans ground without points, a steep one
// does not), keeping the others in their order. Returns how many it left out. Every index
// must name one of `points`.
std::size_t dropLongEdgedTriangles(std::vector<std::array<std::uint32_t, 3>>& triangles,
                                   const std::vector<ViewerPoint>& points, double maxEdge);

} // namespace zel
