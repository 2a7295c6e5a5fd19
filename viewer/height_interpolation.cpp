#include "viewer/terrain_model.h"

#include <cmath>
#include <cstddef>

namespace zel {
namespace {

const Vec3& vertexAt(const std::vector<Vec3>& vertices, std::int32_t index) {
    return vertices[static_cast<std::size_t>(index)];
}

// A triangle whose ground positions are collinear or coincide spans no plane; the mean of
// its heights is the nearest thing to a surface it has, and keeps NaN out of the texture.
float meanHeight(const Vec3& v0, const Vec3& v1, const Vec3& v2) {
    return static_cast<float>((static_cast<double>(v0.y) + v1.y + v2.y) / 3.0);
}

} // namespace

std::vector<std::optional<float>>
TerrainModel::surfaceSamples(const SampleLattice& lattice,
                             const std::vector<std::int32_t>& holders) const {
    std::vector<std::optional<float>> heights(static_cast<std::size_t>(textureSize * textureSize));
    if (vertices.empty() || holders.size() != heights.size()) {
        return heights;
    }
    for (int i = 0; i < textureSize; ++i) {
        const float x = lattice.x[static_cast<std::size_t>(i)];
        for (int j = 0; j < textureSize; ++j) {
            const auto k = static_cast<std::size_t>(i * textureSize + j);
            if (holders[k] >= 0) {
                heights[k] = heightAt(x, lattice.z[static_cast<std::size_t>(j)],
                                      triangles[static_cast<std::size_t>(holders[k])]);
            }
        }
    }
    return heights;
}

void TerrainModel::sampleSurface() {
    surface.heights = surfaceSamples(surface.lattice, sampleHolders);
}

float TerrainModel::heightAt(float x, float z, const Triangle& t) const {
    const Vec3& v0 = vertexAt(vertices, t.indices[0]);
    const Vec3& v1 = vertexAt(vertices, t.indices[1]);
    const Vec3& v2 = vertexAt(vertices, t.indices[2]);

    const double dx1 = static_cast<double>(v1.x) - v0.x;
    const double dy1 = static_cast<double>(v1.y) - v0.y;
    const double dz1 = static_cast<double>(v1.z) - v0.z;
    const double dx2 = static_cast<double>(v2.x) - v0.x;
    const double dy2 = static_cast<double>(v2.y) - v0.y;
    const double dz2 = static_cast<double>(v2.z) - v0.z;
    const double px = static_cast<double>(x) - v0.x;
    const double pz = static_cast<double>(z) - v0.z;

    // Solve (px, pz) = s * (dx1, dz1) + w * (dx2, dz2) for the edge weights s and w.
    double s = 0.0;
    float w = 0.0f;
    if (dx1 != 0.0) {
        const double divisor = dz2 - dx2 * dz1 / dx1;
        if (divisor == 0.0) {
            return meanHeight(v0, v1, v2);
        }
        w = static_cast<float>((pz - px * dz1 / dx1) / divisor);
        s = (px - w * dx2) / dx1;
    } else {
        if (dz1 == 0.0 || dx2 == 0.0) {
            return meanHeight(v0, v1, v2);
        }
        s = (pz - px * dz2 / dx2) / dz1;
        w = static_cast<float>((px - s * dx1) / dx2);
    }

    const float height = static_cast<float>(v0.y + s * dy1 + w * dy2);
    // A nearly flat ground triangle can push the extended plane beyond the float range.
    return std::isfinite(height) ? height : meanHeight(v0, v1, v2);
}

} // namespace zel
