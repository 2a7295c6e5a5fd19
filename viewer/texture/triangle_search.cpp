#include "viewer/texture/triangle_search.h"

#include "viewer/texture/sample_holder_index.h"

#include <cstddef>

namespace zel {

std::vector<const Triangle*> texelTriangles(const std::vector<Point2>& points,
                                            const SampleLattice& lattice,
                                            const HolderSearch& onMiss) {
    std::vector<const Triangle*> chosen(static_cast<std::size_t>(textureSize * textureSize));
    const Triangle* lastFound = nullptr;
    for (int i = 0; i < textureSize; ++i) {
        const float x = lattice.x[static_cast<std::size_t>(i)];
        for (int j = 0; j < textureSize; ++j) {
            const float z = lattice.z[static_cast<std::size_t>(j)];
            if (lastFound == nullptr || lastFound->locate(points, x, z) == PointLocation::Outside) {
                lastFound = onMiss(i, j);
            }
            chosen[static_cast<std::size_t>(i * textureSize + j)] = lastFound;
        }
    }
    return chosen;
}

std::vector<const Triangle*> texelTriangles(const std::vector<Triangle>& triangles,
                                            const std::vector<Point2>& points,
                                            const SampleLattice& lattice) {
    const SampleHolderIndex index(triangles, points, lattice);
    return texelTriangles(points, lattice,
                          [&index](int column, int row) { return index.holder(column, row); });
}

} // namespace zel
