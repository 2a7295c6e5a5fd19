#pragma once

#include "viewer/geometry.h"
#include "viewer/surface_heights.h"
#include "viewer/triangle.h"

#include <array>
#include <optional>
#include <vector>

namespace zel {

// The first point, in terrain coordinates (x, height, z), where `line` meets a triangle of
// the mesh as it is drawn (`vertices` indexed by the triangles' corners), from either side;
// none when it meets none. Every triangle is tried: a click, not a frame, pays for it.
std::optional<std::array<double, 3>> firstSurfaceHit(const std::vector<Vec3>& vertices,
                                                     const std::vector<Triangle>& triangles,
                                                     const Sightline& line);

} // namespace zel
