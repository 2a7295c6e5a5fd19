#pragma once

#include "triangulate/framing.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

struct DelaunayTriangles {
    // Indices into the input, each triangle running clockwise (x to the right, y upward).
    std::vector<std::array<std::uint32_t, 3>> triangles;
    // Points left out because an earlier or later one lies at the same place.
    std::size_t duplicates = 0;
    // Three or more distinct points, all on one line: no triangle.
    bool collinear = false;
};

// The Delaunay triangulation of the points exactly as given: every orientation and
// empty-circle decision is exact for these float values. Of several points at one place,
// the first in input order stands for all in the triangles.
DelaunayTriangles triangulateClockwise(const std::vector<Point2>& points);

} // namespace zel
