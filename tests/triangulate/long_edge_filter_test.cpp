// --max-edge: the triangles kept have no edge longer than the length, those left out have one,
// and the kept ones stay in their order.
#include "triangulate/delaunay_triangles.h"
#include "triangulate/long_edge_filter.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace zel {
namespace {

long double longestEdge(const std::vector<ViewerPoint>& points,
                        const std::array<std::uint32_t, 3>& t) {
    long double longest = 0;
    for (int i = 0; i < 3; ++i) {
        const ViewerPoint& a = points[t[i]];
        const ViewerPoint& b = points[t[(i + 1) % 3]];
        longest = std::max(longest, std::hypot(static_cast<long double>(a.x) - b.x,
                                               static_cast<long double>(a.y) - b.y));
    }
    return longest;
}

// Unit grid points in an L: a concave outline.
std::vector<ViewerPoint> lShape() {
    std::vector<ViewerPoint> points;
    for (int i = 0; i < 121; ++i) {
        if (i % 11 <= 3 || i / 11 <= 3) {
            points.push_back({static_cast<float>(i % 11), static_cast<float>(i / 11)});
        }
    }
    return points;
}

// Random points and two far outliers.
std::vector<ViewerPoint> scatterWithOutliers() {
    std::mt19937 random(17);
    std::uniform_real_distribution<float> field(0.0f, 100.0f);
    std::vector<ViewerPoint> points{{-400.0f, 50.0f}, {50.0f, 900.0f}};
    for (int i = 0; i < 300; ++i) {
        points.push_back({field(random), field(random)});
    }
    return points;
}

TEST(LongEdgeFilterTest, KeepsExactlyTheTrianglesWithinTheLength) {
    struct Case {
        std::string name;
        std::vector<ViewerPoint> points;
        double maxEdge;
    };
    const std::vector<Case> cases{
        {"SquareAndFarPoint", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {60, 5}}, 15.0},
        {"ConcaveOutline", lShape(), 1.5},
        {"EdgesOfExactlyTheLength", lShape(), 1.0},
        {"ScatterWithOutliers", scatterWithOutliers(), 12.0},
        {"LengthBeyondEveryEdge", scatterWithOutliers(), 1e300},
        {"LengthBelowEveryEdge", scatterWithOutliers(), 1e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto all = triangulateClockwise(c.points).triangles;
        auto kept = all;
        const std::size_t leftOut = dropLongEdgedTriangles(kept, c.points, c.maxEdge);
        std::vector<std::array<std::uint32_t, 3>> within;
        std::copy_if(all.begin(), all.end(), std::back_inserter(within),
                     [&](const auto& t) { return longestEdge(c.points, t) <= c.maxEdge; });
        EXPECT_EQ(kept, within);
        EXPECT_EQ(leftOut, all.size() - within.size());
    }
}

} // namespace
} // namespace zel
