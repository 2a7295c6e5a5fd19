#pragma once

#include "viewer/geometry.h"

#include <array>
#include <cstddef>

namespace zel {

// The terrain texture is textureSize x textureSize RGB texels, one per ground sample.
inline constexpr int textureSize = 128;
inline constexpr std::size_t texelBufferSize = 3u * textureSize * textureSize;
// The float nearest to 1/127: column 0 samples the box's minimum x, column 127 its maximum.
inline constexpr float sampleStep = 1.0f / static_cast<float>(textureSize - 1);

// The ground positions that the texels stand for: column i at x[i], row j at z[j].
struct SampleLattice {
    std::array<float, textureSize> x;
    std::array<float, textureSize> z;
};

// x[i] = min.x + i * step * (max.x - min.x) and z[j] likewise, evaluated in float; an extent
// too large for float (max - min overflows) is evaluated in double, the last position held at
// the maximum, so every position is finite.
SampleLattice sampleLattice(const Box& box);

} // namespace zel
