#include "viewer/circumcircle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace zel {
namespace {

float rootOf(double value) {
    return static_cast<float>(std::sqrt(value));
}

TEST(Circumcircle, RightTriangleHasItsHypotenuseAsDiameterInEitherOrientation) {
    for (const Vec3& circle : {computeCircumcircle({0, 0}, {2, 0}, {0, 2}),
                               computeCircumcircle({0, 0}, {0, 2}, {2, 0})}) {
        EXPECT_EQ(circle.x, 1.0f);
        EXPECT_EQ(circle.y, 1.0f);
        EXPECT_EQ(circle.z, rootOf(2.0));
    }
}

TEST(Circumcircle, EveryOrderOfAGeneralTriangleGivesTheSameCircle) {
    std::array<Point2, 3> corners{{{-3.5f, 1.25f}, {7.0f, 2.0f}, {1.5f, 9.75f}}};
    // Reference centre from the perpendicular bisectors, in double.
    const double ax = -3.5, ay = 1.25, bx = 7.0, by = 2.0, cx = 1.5, cy = 9.75;
    const double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    const double ux = ((ax * ax + ay * ay) * (by - cy) + (bx * bx + by * by) * (cy - ay) +
                       (cx * cx + cy * cy) * (ay - by)) /
                      d;
    const double uy = ((ax * ax + ay * ay) * (cx - bx) + (bx * bx + by * by) * (ax - cx) +
                       (cx * cx + cy * cy) * (bx - ax)) /
                      d;
    const double radius = std::hypot(ax - ux, ay - uy);

    std::sort(corners.begin(), corners.end(),
              [](const Point2& p, const Point2& q) { return p.x < q.x; });
    int orders = 0;
    do {
        const Vec3 circle = computeCircumcircle(corners[0], corners[1], corners[2]);
        EXPECT_NEAR(circle.x, ux, 1e-5);
        EXPECT_NEAR(circle.y, uy, 1e-5);
        EXPECT_NEAR(circle.z, radius, 1e-5);
        ++orders;
    } while (std::next_permutation(corners.begin(), corners.end(),
                                   [](const Point2& p, const Point2& q) { return p.x < q.x; }));
    EXPECT_EQ(orders, 6);
}

TEST(Circumcircle, CollinearPointsGetTheOriginAsCentreAndTheFirstPointsDistance) {
    const Vec3 ascending = computeCircumcircle({1, 1}, {2, 2}, {3, 3});
    EXPECT_EQ(ascending.x, 0.0f);
    EXPECT_EQ(ascending.y, 0.0f);
    EXPECT_EQ(ascending.z, rootOf(2.0));

    const Vec3 shuffled = computeCircumcircle({3, 3}, {1, 1}, {2, 2});
    EXPECT_EQ(shuffled.x, 0.0f);
    EXPECT_EQ(shuffled.y, 0.0f);
    EXPECT_EQ(shuffled.z, rootOf(18.0));
}

TEST(Circumcircle, CoincidentPointsGetTheOriginAsCentre) {
    const Vec3 circle = computeCircumcircle({3, 4}, {3, 4}, {3, 4});
    EXPECT_EQ(circle.x, 0.0f);
    EXPECT_EQ(circle.y, 0.0f);
    EXPECT_EQ(circle.z, 5.0f);
}

TEST(Circumcircle, TwiceTheAreaIsRoundedToFloatBeforeTheDegeneracyTest) {
    // Twice the area is 1e-60: not zero in double, but zero once rounded to float.
    const Vec3 circle = computeCircumcircle({0, 0}, {1e-30f, 0}, {0, 1e-30f});
    EXPECT_EQ(circle.x, 0.0f);
    EXPECT_EQ(circle.y, 0.0f);
    EXPECT_EQ(circle.z, 0.0f);
}

TEST(Circumcircle, SquaredLengthsAreFormedInDouble) {
    // |b|^2 = 200020001 has no exact float; float sums would move the centre by whole units.
    const Vec3 circle = computeCircumcircle({10000, 10000}, {10001, 10000}, {10000, 10001});
    EXPECT_EQ(circle.x, 10000.5f);
    EXPECT_EQ(circle.y, 10000.5f);
    EXPECT_EQ(circle.z, rootOf(0.5));
}

} // namespace
} // namespace zel
