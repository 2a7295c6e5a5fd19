#include "viewer/density_height.h"
#include "viewer/height_scale.h"
#include "viewer/point_list.h"
#include "viewer/terrain_model.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace zel {
namespace {

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

struct RadiusSum {
    double sum = 0.0;
    unsigned count = 0;

    void add(float radius) {
        sum += radius;
        ++count;
    }
    // 0/0 for a vertex no triangle uses: not a number, which computeHeights resolves.
    double mean() const { return sum / count; }
};

// The height drawn as 0: the lowest elevation when the elevations lie farther from 0 than ten
// thousand times the terrain's size (a plateau a billion units up), else 0. The graphics card
// places vertices in single precision, which at such a distance cannot tell the terrain's
// parts apart; drawn from its lowest point, the same shape shows, with the same relative
// heights, texture and exaggeration.
double drawnHeightBase(const std::vector<float>& elevations, const std::vector<Point2>& ground) {
    constexpr double farForItsSize = 1e4;
    const auto [lowest, highest] = std::minmax_element(elevations.begin(), elevations.end());
    double size = static_cast<double>(*highest) - *lowest;
    const auto [west, east] = std::minmax_element(
        ground.begin(), ground.end(), [](const Point2& a, const Point2& b) { return a.x < b.x; });
    const auto [south, north] = std::minmax_element(
        ground.begin(), ground.end(), [](const Point2& a, const Point2& b) { return a.y < b.y; });
    size = std::max(
        {size, static_cast<double>(east->x) - west->x, static_cast<double>(north->y) - south->y});
    const double far = std::max(std::fabs(*lowest), std::fabs(*highest));
    return far > farForItsSize * size ? *lowest : 0.0;
}

} // namespace

// Each vertex's sum is taken in list order, in one pass over the triangles, which walks the
// memory in order rather than vertex by vertex.
void TerrainModel::computeHeights() {
    if (!elevations.empty()) {
        assert(elevations.size() == points.size());
        vertices.reserve(points.size());
        tallestHeight = 0.0f;
        const double base = drawnHeightBase(elevations, points);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const float height =
                base == 0.0 ? elevations[i] : static_cast<float>(elevations[i] - base);
            vertices.push_back(
                Vec3{points[i].x, exaggeratedHeight(height, exaggeration), points[i].y});
            tallestHeight = std::max(tallestHeight, std::fabs(height));
        }
        return;
    }
    std::vector<RadiusSum> sums(points.size());
    for (const Triangle* triangle : triangles) {
        for (const std::int32_t index : triangle->indices) {
            sums[static_cast<std::size_t>(index)].add(triangle->circumcircle.z);
        }
    }
    vertices.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        vertices.push_back(Vec3{points[i].x, densityHeight(sums[i].mean()), points[i].y});
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
    tallestHeight = std::max(std::fabs(lowest), std::fabs(highest));
    if (exaggeration != 1.0) {
        for (Vec3& v : vertices) {
            v.y = exaggeratedHeight(v.y, exaggeration);
        }
    }
}

} // namespace zel
