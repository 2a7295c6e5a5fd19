#pragma once

#include "viewer/geometry.h"
#include "viewer/sample_lattice.h"
#include "viewer/triangle.h"

#include <vector>

namespace zel {

// For every sample position of a lattice, the first triangle in order that holds it
// (locate gives anything but Outside), or null: exactly what a scan of all the triangles
// from the first would find, but built in one pass over the triangles, each of which
// tests only the samples within its bounding box.
class SampleHolderIndex {
public:
    SampleHolderIndex(const std::vector<Triangle>& triangles, const std::vector<Point2>& points,
                      const SampleLattice& lattice);

    const Triangle* holder(int column, int row) const {
        return holders_[static_cast<std::size_t>(column * textureSize + row)];
    }

private:
    std::vector<const Triangle*> holders_;
};

} // namespace zel
