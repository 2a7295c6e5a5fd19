#include "viewer/point_list.h"
#include "viewer/terrain_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zel {
namespace {

float heightForRadius(double meanRadius) {
    return static_cast<float>(40.0 * std::log10(5.0 / meanRadius + 1.0));
}

struct HeightRange {
    float lowest = std::numeric_limits<float>::infinity();
    float highest = -std::numeric_limits<float>::infinity();
};

HeightRange finiteRange(const std::vector<Vec3>& vertices) {
    HeightRange range;
    for (const Vec3& v : vertices) {
        if (std::isfinite(v.y)) {
            range.lowest = std::min(range.lowest, v.y);
            range.highest = std::max(range.highest, v.y);
        }
    }
    return range;
}

} // namespace

double TerrainModel::meanCircumradius(std::size_t i) const {
    double sum = 0.0;
    unsigned count = 0;
    for (const Triangle* triangle : adjacency[i]) {
        sum += triangle->circumcircle.z;
        ++count;
    }
    return sum / count;
}

void TerrainModel::computeHeights() {
    vertices.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        vertices.push_back(Vec3{points[i].x, heightForRadius(meanCircumradius(i)), points[i].y});
    }

    // A point that no triangle uses has no mean radius (0/0), and one whose triangles are
    // all degenerate with radius 0 would stand infinitely high. Neither may reach the
    // texture or the drawing: the first lies at the lowest ground, the second at the highest.
    const HeightRange range = finiteRange(vertices);
    const float lowest = std::isfinite(range.lowest) ? range.lowest : 0.0f;
    const float highest = std::isfinite(range.highest) ? range.highest : 0.0f;
    for (Vec3& v : vertices) {
        if (std::isinf(v.y) && v.y > 0.0f) {
            v.y = highest;
        } else if (!std::isfinite(v.y)) {
            v.y = lowest;
        }
    }
}

} // namespace zel
