// The triangulation on generated sets, checked against oracles that share nothing with
// CGAL: signed areas, the convex hull's area, and a brute-force empty-circle test; and the
// triangles that --max-edge keeps of it.
#include "triangulate/delaunay_triangles.h"
#include "triangulate/long_edge_filter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>

namespace zel {
namespace {

using Real = long double;

Real cross(const Point2& o, const Point2& a, const Point2& b) {
    return (Real{a.x} - o.x) * (Real{b.y} - o.y) - (Real{a.y} - o.y) * (Real{b.x} - o.x);
}

// Andrew's monotone chain.
Real convexHullArea(std::vector<Point2> points) {
    std::sort(points.begin(), points.end(), [](const Point2& a, const Point2& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    std::vector<Point2> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) {
            --k;
        }
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0) {
            --k;
        }
        hull[k++] = points[i - 1];
    }
    Real twiceArea = 0;
    for (std::size_t i = 0; i + 1 < k; ++i) {
        twiceArea += Real{hull[i].x} * hull[i + 1].y - Real{hull[i + 1].x} * hull[i].y;
    }
    return std::fabs(twiceArea) / 2;
}

// Positive when d lies inside the circle through the counter-clockwise a, b, c; `scale` gets
// the size of the terms, against which rounding is judged.
Real inCircle(const Point2& a, const Point2& b, const Point2& c, const Point2& d, Real& scale) {
    const Real ax = Real{a.x} - d.x, ay = Real{a.y} - d.y;
    const Real bx = Real{b.x} - d.x, by = Real{b.y} - d.y;
    const Real cx = Real{c.x} - d.x, cy = Real{c.y} - d.y;
    const Real a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    scale = a2 * (std::fabs(bx * cy) + std::fabs(by * cx)) +
            b2 * (std::fabs(cx * ay) + std::fabs(cy * ax)) +
            c2 * (std::fabs(ax * by) + std::fabs(ay * bx));
    return a2 * (bx * cy - by * cx) + b2 * (cx * ay - cy * ax) + c2 * (ax * by - ay * bx);
}

struct GeneratedSet {
    std::string name;
    std::function<std::vector<Point2>()> make;
    std::size_t duplicates;
};

// Test names say what the case is; the default would print its bytes.
void PrintTo(const GeneratedSet& param, std::ostream* os) {
    *os << param.name;
}

std::vector<Point2> randomPoints(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> field(-100.0f, 100.0f);
    std::vector<Point2> points(count);
    for (Point2& p : points) {
        p = {field(random), field(random)};
    }
    return points;
}

struct Cluster {
    float x, y, spread;
};

std::vector<Point2> clusteredPoints() {
    constexpr Cluster clusters[] = {
        {-40.0f, 30.0f, 3.0f}, {35.0f, 20.0f, 12.0f}, {0.0f, -50.0f, 0.5f}};
    std::mt19937 random(7);
    std::vector<Point2> points;
    for (const Cluster& cluster : clusters) {
        std::normal_distribution<float> x(cluster.x, cluster.spread);
        std::normal_distribution<float> y(cluster.y, cluster.spread);
        for (int i = 0; i < 600; ++i) {
            points.push_back({x(random), y(random)});
        }
    }
    return points;
}

// Every cell's four corners share a circle: the triangulation must still be one.
std::vector<Point2> gridPoints() {
    std::vector<Point2> points;
    for (int row = 0; row < 30; ++row) {
        for (int column = 0; column < 40; ++column) {
            points.push_back({2.5f * static_cast<float>(column), -1.25f * static_cast<float>(row)});
        }
    }
    return points;
}

std::vector<Point2> pointsWithDuplicates() {
    std::vector<Point2> points = randomPoints(1500, 3);
    for (std::size_t i = 0; i < 150; ++i) {
        points.insert(points.begin() + static_cast<std::ptrdiff_t>(3 * i), points[7 * i + 500]);
    }
    return points;
}

class DelaunayTrianglesTest : public ::testing::TestWithParam<GeneratedSet> {};

TEST_P(DelaunayTrianglesTest, ClockwiseDelaunayTrianglesCoverTheHull) {
    const std::vector<Point2> points = GetParam().make();
    const DelaunayTriangles result = triangulateClockwise(points);
    EXPECT_EQ(result.duplicates, GetParam().duplicates);
    EXPECT_FALSE(result.collinear);

    Real area = 0;
    std::vector<bool> used(points.size());
    for (const auto& t : result.triangles) {
        ASSERT_TRUE(t[0] < points.size() && t[1] < points.size() && t[2] < points.size());
        const Real signedArea = cross(points[t[0]], points[t[1]], points[t[2]]);
        ASSERT_LT(signedArea, 0) << "triangle " << t[0] << " " << t[1] << " " << t[2];
        area -= signedArea / 2;
        used[t[0]] = used[t[1]] = used[t[2]] = true;
    }
    const Real hull = convexHullArea(points);
    EXPECT_NEAR(static_cast<double>(area), static_cast<double>(hull),
                static_cast<double>(hull) * 1e-12);

    for (const auto& t : result.triangles) {
        for (std::size_t d = 0; d < points.size(); ++d) {
            Real scale = 0;
            const Real inside =
                inCircle(points[t[0]], points[t[2]], points[t[1]], points[d], scale);
            ASSERT_LE(inside, scale * 1e-15L) << "point " << d << " lies inside the circle of "
                                              << t[0] << " " << t[1] << " " << t[2];
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(std::count(used.begin(), used.end(), true)),
              points.size() - GetParam().duplicates);
}

// --max-edge keeps exactly the triangles whose longest edge, measured apart from the filter,
// is within the length, in their order.
TEST_P(DelaunayTrianglesTest, MaxEdgeKeepsExactlyTheTrianglesWithinTheLength) {
    const std::vector<Point2> points = GetParam().make();
    const auto all = triangulateClockwise(points).triangles;
    const auto longestEdge = [&points](const std::array<std::uint32_t, 3>& t) {
        Real longest = 0;
        for (int i = 0; i < 3; ++i) {
            const Point2& a = points[t[i]];
            const Point2& b = points[t[(i + 1) % 3]];
            longest = std::max(longest, std::hypot(Real{a.x} - b.x, Real{a.y} - b.y));
        }
        return longest;
    };
    std::vector<PlanePoint> input;
    for (const Point2& p : points) {
        input.push_back({p.x, p.y});
    }
    for (const double maxEdge : {2.0, 3.0, 12.0}) {
        auto kept = all;
        const std::size_t leftOut = dropLongEdgedTriangles(kept, input, maxEdge);
        std::vector<std::array<std::uint32_t, 3>> within;
        std::copy_if(all.begin(), all.end(), std::back_inserter(within),
                     [&](const auto& t) { return longestEdge(t) <= maxEdge; });
        EXPECT_EQ(kept, within) << "length " << maxEdge;
        EXPECT_EQ(leftOut, all.size() - within.size()) << "length " << maxEdge;
    }
}

INSTANTIATE_TEST_SUITE_P(
    GeneratedSets, DelaunayTrianglesTest,
    ::testing::Values(GeneratedSet{"Random", [] { return randomPoints(2000, 1); }, 0},
                      GeneratedSet{"Clustered", clusteredPoints, 0},
                      GeneratedSet{"GridOnSharedCircles", gridPoints, 0},
                      GeneratedSet{"WithDuplicates", pointsWithDuplicates, 150}),
    [](const auto& test) { return test.param.name; });

} // namespace
} // namespace zel
