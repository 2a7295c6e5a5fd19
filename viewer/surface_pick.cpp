#include "viewer/surface_pick.h"

#include <cmath>
#include <limits>

namespace zel {
namespace {

using Vector = std::array<double, 3>;

Vector corner(const std::vector<Vec3>& vertices, std::int32_t index) {
    const Vec3& v = vertices[static_cast<std::size_t>(index)];
    return {v.x, v.y, v.z};
}

Vector minus(const Vector& a, const Vector& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vector cross(const Vector& a, const Vector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Möller and Trumbore's test: the distance along the line to the triangle (a, b, c), or
// none. Edges count as inside, so that a line through a shared edge never slips between.
std::optional<double> distanceToTriangle(const Sightline& line, const Vector& a, const Vector& b,
                                         const Vector& c) {
    const Vector edge1 = minus(b, a);
    const Vector edge2 = minus(c, a);
    const Vector p = cross(line.direction, edge2);
    const double determinant = dot(edge1, p);
    if (determinant == 0.0 || !std::isfinite(determinant)) {
        return std::nullopt; // parallel to the triangle's plane, or a degenerate triangle
    }
    const Vector fromA = minus(line.from, a);
    const double u = dot(fromA, p) / determinant;
    if (u < 0.0 || u > 1.0) {
        return std::nullopt;
    }
    const Vector q = cross(fromA, edge1);
    const double v = dot(line.direction, q) / determinant;
    if (v < 0.0 || u + v > 1.0) {
        return std::nullopt;
    }
    const double t = dot(edge2, q) / determinant;
    return t >= 0.0 ? std::optional<double>(t) : std::nullopt;
}

} // namespace

std::optional<std::array<double, 3>> firstSurfaceHit(const std::vector<Vec3>& vertices,
                                                     const std::vector<Triangle>& triangles,
                                                     const Sightline& line) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const Triangle& t : triangles) {
        const std::optional<double> reach =
            distanceToTriangle(line, corner(vertices, t.indices[0]), corner(vertices, t.indices[1]),
                               corner(vertices, t.indices[2]));
        if (reach && *reach < nearest) {
            nearest = *reach;
        }
    }
    if (!std::isfinite(nearest)) {
        return std::nullopt;
    }
    return std::array<double, 3>{line.from[0] + nearest * line.direction[0],
                                 line.from[1] + nearest * line.direction[1],
                                 line.from[2] + nearest * line.direction[2]};
}

} // namespace zel
