#pragma once

#include "common/point2.h"

#include <cstddef>
#include <type_traits>

namespace zel {

// Plain value records. Vec3 and TexCoord are handed to OpenGL by address as arrays of
// three and two floats, so each is exactly its floats, consecutive, in this order.
struct Vec3 {
    float x;
    float y;
    float z;
};

struct TexCoord {
    float u;
    float v;
};

// A circle in the plane of the points.
struct Circle {
    Point2 centre;
    float radius;
};

// An axis-aligned box: the least and the greatest coordinate along each axis.
struct Box {
    Vec3 min{0.0f, 0.0f, 0.0f};
    Vec3 max{0.0f, 0.0f, 0.0f};
};

static_assert(sizeof(Point2) == 2 * sizeof(float) && std::is_standard_layout_v<Point2>);
static_assert(sizeof(Vec3) == 3 * sizeof(float) && std::is_standard_layout_v<Vec3>);
static_assert(sizeof(TexCoord) == 2 * sizeof(float) && std::is_standard_layout_v<TexCoord>);
static_assert(offsetof(Vec3, x) == 0 && offsetof(Vec3, y) == sizeof(float) &&
              offsetof(Vec3, z) == 2 * sizeof(float));
static_assert(offsetof(TexCoord, u) == 0 && offsetof(TexCoord, v) == sizeof(float));

} // namespace zel
