#include "viewer/texture/sample_lattice.h"

namespace zel {
namespace {

float samplePosition(int index, float lowest, float range) {
    return lowest + static_cast<float>(index) * sampleStep * range;
}

} // namespace

SampleLattice sampleLattice(const BoundingBox& box) {
    const float rangeX = box.max.x - box.min.x;
    const float rangeZ = box.max.z - box.min.z;
    SampleLattice lattice{};
    for (int k = 0; k < textureSize; ++k) {
        lattice.x[static_cast<std::size_t>(k)] = samplePosition(k, box.min.x, rangeX);
        lattice.z[static_cast<std::size_t>(k)] = samplePosition(k, box.min.z, rangeZ);
    }
    return lattice;
}

} // namespace zel
