#include "viewer/terrain_model.h"

#include <cmath>

namespace zel {
namespace {

constexpr Vec3 upward{0.0f, 1.0f, 0.0f};

Vec3 difference(const Vec3& a, const Vec3& b) { return Vec3{a.x - b.x, a.y - b.y, a.z - b.z}; }

} // namespace

Vec3 TerrainModel::vertexNormal(std::size_t i) const {
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (const Triangle* triangle : adjacency[i]) {
        const Vec3& p0 = vertices[static_cast<std::size_t>(triangle->indices[0])];
        const Vec3& p1 = vertices[static_cast<std::size_t>(triangle->indices[1])];
        const Vec3& p2 = vertices[static_cast<std::size_t>(triangle->indices[2])];
        const Vec3 e1 = difference(p1, p0);
        const Vec3 e2 = difference(p2, p0);
        // Not normalised: each triangle weighs in proportion to its area.
        sx += static_cast<float>(double(e1.y) * e2.z - double(e1.z) * e2.y);
        sy += static_cast<float>(double(e1.z) * e2.x - double(e1.x) * e2.z);
        sz += static_cast<float>(double(e1.x) * e2.y - double(e1.y) * e2.x);
    }

    // An unused vertex, or one whose triangles' normals cancel out (or overflow), has no
    // direction of its own; it faces straight up like flat ground.
    const double lengthSquared = sx * sx + sy * sy + sz * sz;
    if (!(lengthSquared > 0.0) || !std::isfinite(lengthSquared)) {
        return upward;
    }
    const double length = std::sqrt(lengthSquared);
    const float s = static_cast<float>(1.0 / length);
    if (std::isnormal(s)) {
        return Vec3{static_cast<float>(s * sx), static_cast<float>(s * sy),
                    static_cast<float>(s * sz)};
    }
    // For very small or very large sums 1/|S| is infinite, or subnormal with only a few
    // significant bits, as a float; dividing in double keeps the normal a unit vector.
    return Vec3{static_cast<float>(sx / length), static_cast<float>(sy / length),
                static_cast<float>(sz / length)};
}

void TerrainModel::computeNormals() {
    normals.reserve(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        normals.push_back(vertexNormal(i));
    }
}

} // namespace zel
