#include "viewer/sample_lattice.h"

#include <algorithm>
#include <cmath>

namespace zel {
namespace {

// An extent that float cannot hold is stepped through in double, so that every position is
// finite and inside the box; any other extent in float, as it always was.
float samplePosition(int index, float lowest, float highest) {
    const float range = highest - lowest;
    if (!std::isfinite(range)) {
        const double wideRange = static_cast<double>(highest) - static_cast<double>(lowest);
        // The float step is a little more than 1/127: the last position is held at the edge.
        const double position = lowest + index * static_cast<double>(sampleStep) * wideRange;
        return static_cast<float>(std::min(position, static_cast<double>(highest)));
    }
    return lowest + static_cast<float>(index) * sampleStep * range;
}

} // namespace

SampleLattice sampleLattice(const Box& box) {
    SampleLattice lattice{};
    for (int k = 0; k < textureSize; ++k) {
        lattice.x[static_cast<std::size_t>(k)] = samplePosition(k, box.min.x, box.max.x);
        lattice.z[static_cast<std::size_t>(k)] = samplePosition(k, box.min.z, box.max.z);
    }
    return lattice;
}

} // namespace zel
