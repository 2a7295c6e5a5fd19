#pragma once

#include "viewer/texture/triangle_search.h"

#include <cstddef>
#include <vector>

namespace zel::test {

// The first triangle in order that holds (x, y), or null; one locate per triangle.
inline const Triangle* firstHolder(const std::vector<Triangle>& triangles,
                                   const std::vector<Point2>& points, float x, float y) {
    for (const Triangle& triangle : triangles) {
        if (triangle.locate(points, x, y) != PointLocation::Outside) {
            return &triangle;
        }
    }
    return nullptr;
}

// The texel walk with a scan of all the triangles on every miss: the reference that the
// indexed walk must agree with.
inline std::vector<const Triangle*> linearTexelTriangles(const std::vector<Triangle>& triangles,
                                                         const std::vector<Point2>& points,
                                                         const SampleLattice& lattice) {
    return texelTriangles(points, lattice, [&](int column, int row) {
        return firstHolder(triangles, points, lattice.x[static_cast<std::size_t>(column)],
                           lattice.z[static_cast<std::size_t>(row)]);
    });
}

} // namespace zel::test
