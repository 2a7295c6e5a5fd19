#pragma once

#include "viewer/geometry.h"
#include "viewer/point_location.h"

#include <cstdint>
#include <vector>

namespace zel {

// One triangle of the terrain: three indices into the terrain's points, and the circle
// through those points.
struct Triangle {
    // Stores the indices and computes the circumcircle from entries i0, i1, i2 of `points`,
    // which must exist.
    Triangle(const std::vector<Point2>& points, std::int32_t i0, std::int32_t i1, std::int32_t i2);

    // Where (x, y) lies relative to this triangle's corners in `points`.
    PointLocation locate(const std::vector<Point2>& points, float x, float y) const;

    std::int32_t indices[3];
    Circle circumcircle;
};

} // namespace zel
