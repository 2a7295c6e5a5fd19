#include "viewer/huge_pages.h"
#include "viewer/terrain_model.h"

#include <cmath>

namespace zel {
namespace {

constexpr Vec3 upward{0.0f, 1.0f, 0.0f};

Vec3 difference(const Vec3& a, const Vec3& b) {
    return Vec3{a.x - b.x, a.y - b.y, a.z - b.z};
}

// Not normalised: each triangle weighs in proportion to its area.
Vec3 faceNormal(const std::vector<Vec3>& vertices, const Triangle& triangle) {
    const Vec3& p0 = vertices[static_cast<std::size_t>(triangle.indices[0])];
    const Vec3& p1 = vertices[static_cast<std::size_t>(triangle.indices[1])];
    const Vec3& p2 = vertices[static_cast<std::size_t>(triangle.indices[2])];
    const Vec3 e1 = difference(p1, p0);
    const Vec3 e2 = difference(p2, p0);
    return Vec3{static_cast<float>(double(e1.y) * e2.z - double(e1.z) * e2.y),
                static_cast<float>(double(e1.z) * e2.x - double(e1.x) * e2.z),
                static_cast<float>(double(e1.x) * e2.y - double(e1.y) * e2.x)};
}

struct NormalSum {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    void add(const Vec3& n) {
        x += n.x;
        y += n.y;
        z += n.z;
    }
};

Vec3 unitNormal(const NormalSum& sum) {
    // An unused vertex, or one whose triangles' normals cancel out (or overflow), has no
    // direction of its own; it faces straight up like flat ground.
    const double lengthSquared = sum.x * sum.x + sum.y * sum.y + sum.z * sum.z;
    if (!(lengthSquared > 0.0) || !std::isfinite(lengthSquared)) {
        return upward;
    }
    const double length = std::sqrt(lengthSquared);
    const float s = static_cast<float>(1.0 / length);
    if (std::isnormal(s)) {
        return Vec3{static_cast<float>(s * sum.x), static_cast<float>(s * sum.y),
                    static_cast<float>(s * sum.z)};
    }
    // For very small or very large sums 1/|S| is infinite, or subnormal with only a few
    // significant bits, as a float; dividing in double keeps the normal a unit vector.
    return Vec3{static_cast<float>(sum.x / length), static_cast<float>(sum.y / length),
                static_cast<float>(sum.z / length)};
}

} // namespace

// Each vertex's sum is taken in triangle order, in one pass over the triangles: each face
// normal is worked out once, and memory is walked in order rather than vertex by vertex,
// which matters when the points come in no spatial order.
void TerrainModel::computeNormals() {
    std::vector<NormalSum> sums = hugePageVector<NormalSum>(vertices.size());
    for (const Triangle& triangle : triangles) {
        const Vec3 n = faceNormal(vertices, triangle);
        for (const std::int32_t index : triangle.indices) {
            sums[static_cast<std::size_t>(index)].add(n);
        }
    }
    reserveHugePages(normals, vertices.size());
    normals.resize(vertices.size());
    for (std::size_t i = 0; i < sums.size(); ++i) {
        normals[i] = unitNormal(sums[i]);
    }
}

// Scaling every height by r scales the x and z parts of each area-weighted sum by r and
// keeps its y part, so the normals at one factor give those at any other: the unit of
// (r nx, ny, r nz) points as the sum does, whatever its length was. No second set of normals
// is kept, which a terrain of millions of points has no memory to spare for.
void TerrainModel::followScaleWithNormals(double previousFactor) {
    const double ratio = exaggeration() / previousFactor;
    if (ratio == 1.0) {
        return;
    }
    for (Vec3& n : normals) {
        n = unitNormal(NormalSum{ratio * n.x, n.y, ratio * n.z});
    }
}

} // namespace zel
