#pragma once

#include "viewer/geometry.h"
#include "viewer/sample_lattice.h"

#include <array>
#include <optional>
#include <vector>

namespace zel {

// The terrain's surface at the texture's ground samples: for column i and row j of the
// lattice (entry i * textureSize + j), the height of the triangle that holds the sample, or
// none where no triangle does. A plain value that the camera can look at without the model.
struct SurfaceHeights {
    SampleLattice lattice{};
    std::vector<std::optional<float>> heights;
};

// The surface's height at ground position (x, z): bilinear between the four samples around
// it, or the highest of them where some are missing or not finite. None outside the lattice
// and where no sample around the position is on the terrain.
std::optional<double> heightUnder(const SurfaceHeights& surface, double x, double z);

// A half-line in terrain coordinates (x, height, z); `direction` has unit length.
struct Sightline {
    std::array<double, 3> from;
    std::array<double, 3> direction;
};

// How far along `line` it first meets the surface (as heightUnder gives it, tested at least
// twice per sample spacing, then narrowed down); none when it misses the surface or starts
// under it.
std::optional<double> distanceToSurface(const SurfaceHeights& surface, const Sightline& line);

} // namespace zel
