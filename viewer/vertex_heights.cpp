#include "viewer/density_height.h"
#include "viewer/height_scale.h"
#include "viewer/huge_pages.h"
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

HeightRange finiteRange(const std::vector<float>& heights) {
    HeightRange range;
    for (const float height : heights) {
        if (std::isfinite(height)) {
            range.lowest = std::min(range.lowest, height);
            range.highest = std::max(range.highest, height);
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
    // 0/0 for a vertex no triangle uses: not a number, which densityHeights resolves.
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

// Each vertex's sum is taken in triangle order, in one pass over the triangles, which walks
// the memory in order rather than vertex by vertex.
std::vector<float> densityHeights(const std::vector<Point2>& points,
                                  const std::vector<Triangle>& triangles) {
    std::vector<RadiusSum> sums = hugePageVector<RadiusSum>(points.size());
    for (const Triangle& triangle : triangles) {
        for (const std::int32_t index : triangle.indices) {
            sums[static_cast<std::size_t>(index)].add(triangle.circumcircle.radius);
        }
    }
    std::vector<float> heights;
    reserveHugePages(heights, points.size());
    for (const RadiusSum& sum : sums) {
        heights.push_back(densityHeight(sum.mean()));
    }

    // A point that no triangle uses has no mean radius (0/0), and one whose triangles are
    // all degenerate with radius 0 would stand infinitely high. Neither may reach the
    // texture or the drawing: the first lies at the lowest ground, the second at the highest.
    const HeightRange range = finiteRange(heights);
    const float lowest = std::isfinite(range.lowest) ? range.lowest : 0.0f;
    const float highest = std::isfinite(range.highest) ? range.highest : 0.0f;
    for (float& height : heights) {
        if (std::isinf(height) && height > 0.0f) {
            height = highest;
        } else if (!std::isfinite(height)) {
            height = lowest;
        }
    }
    return heights;
}

std::vector<float> elevationHeights(const std::vector<Point2>& points,
                                    const std::vector<float>& elevations) {
    assert(elevations.size() == points.size());
    const double base = drawnHeightBase(elevations, points);
    if (base == 0.0) {
        return elevations;
    }
    std::vector<float> heights;
    reserveHugePages(heights, elevations.size());
    for (const float elevation : elevations) {
        heights.push_back(static_cast<float>(elevation - base));
    }
    return heights;
}

float tallestOf(const std::vector<float>& heights) {
    float tallest = 0.0f;
    for (const float height : heights) {
        tallest = std::max(tallest, std::fabs(height));
    }
    return tallest;
}

} // namespace

void TerrainModel::computeHeights() {
    baseHeights = elevations.empty() ? densityHeights(points, triangles)
                                     : elevationHeights(points, elevations);
    tallestHeight = tallestOf(baseHeights);
    placeVertices();
}

void TerrainModel::placeVertices() {
    const double factor = exaggeration();
    reserveHugePages(vertices, points.size());
    vertices.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        vertices[i] = Vec3{points[i].x, exaggeratedHeight(baseHeights[i], factor), points[i].y};
    }
}

} // namespace zel
