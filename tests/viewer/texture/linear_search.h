#pragma once

#include "viewer/texture/triangle_search.h"

#include <cstddef>
#include <list>
#include <vector>

namespace zel::test {

// The first triangle in list order that holds (x, y), or null; one locate per triangle.
inline const Triangle* firstHolder(const std::list<Triangle*>& triangles,
                                   const std::vector<Point2>& pts, float x, float y) {
    for (const Triangle* triangle : triangles) {
        if (triangle->locate(pts, x, y) != Outside) {
            return triangle;
        }
    }
    return nullptr;
}

// The texel walk with a scan of the whole list on every miss: the reference that the
// indexed walk must agree with.
inline std::vector<const Triangle*> linearTexelTriangles(const std::list<Triangle*>& triangles,
                                                         const std::vector<Point2>& pts,
                                                         const SampleLattice& lattice) {
    return texelTriangles(pts, lattice, [&](int column, int row) {
        return firstHolder(triangles, pts, lattice.x[static_cast<std::size_t>(column)],
                           lattice.z[static_cast<std::size_t>(row)]);
    });
}

} // namespace zel::test
