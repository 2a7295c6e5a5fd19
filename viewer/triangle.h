#pragma once

#include "viewer/geometry.h"
#include "viewer/texture/point_location.h"

#include <cstdint>
#include <vector>

namespace zel {

// One triangle of the terrain, kept by the TerrainModel that lists it.
struct Triangle {
    // Stores the indices and computes the circumcircle from entries i0, i1, i2 of
    // `points`, which must already exist.
    Triangle(std::int32_t i0, std::int32_t i1, std::int32_t i2);

    // Where (x, y) lies relative to this triangle's points in `pts`.
    PointLocation locate(const std::vector<Point2>& pts, float x, float y) const;

    std::int32_t indices[3];
    Vec3 circumcircle; // x, y: centre in the plane of `points`; z: radius
};

} // namespace zel
