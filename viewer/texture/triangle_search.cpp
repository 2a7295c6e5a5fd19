#include "viewer/texture/triangle_search.h"

#include "viewer/texture/sample_holder_index.h"

#include <cstddef>
#include <optional>

namespace zel {

const Triangle* firstHolder(const std::list<Triangle*>& triangles, const std::vector<Point2>& pts,
                            float x, float y) {
    for (const Triangle* triangle : triangles) {
        if (triangle->locate(pts, x, y) != Outside) {
            return triangle;
        }
    }
    return nullptr;
}

std::vector<const Triangle*> texelTriangles(const std::list<Triangle*>& triangles,
                                            const std::vector<Point2>& pts,
                                            const SampleLattice& lattice, MissSearch search) {
    std::optional<SampleHolderIndex> index;
    if (search == MissSearch::Indexed) {
        index.emplace(triangles, pts, lattice);
    }

    std::vector<const Triangle*> chosen(static_cast<std::size_t>(textureSize * textureSize));
    const Triangle* lastFound = nullptr;
    for (int i = 0; i < textureSize; ++i) {
        const float x = lattice.x[static_cast<std::size_t>(i)];
        for (int j = 0; j < textureSize; ++j) {
            const float z = lattice.z[static_cast<std::size_t>(j)];
            if (lastFound == nullptr || lastFound->locate(pts, x, z) == Outside) {
                lastFound = index ? index->holder(i, j) : firstHolder(triangles, pts, x, z);
            }
            chosen[static_cast<std::size_t>(i * textureSize + j)] = lastFound;
        }
    }
    return chosen;
}

} // namespace zel
