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
    for (const Circle& circle : {computeCircumcircle({0, 0}, {2, 0}, {0, 2}),
                                 computeCircumcircle({0, 0}, {0, 2}, {2, 0})}) {
        EXPECT_EQ(circle.centre.x, 1.0f);
        EXPECT_EQ(circle.centre.y, 1.0f);
        EXPECT_EQ(circle.radius, rootOf(2.0));
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
        const Circle circle = computeCircumcircle(corners[0], corners[1], corners[2]);
        EXPECT_NEAR(circle.centre.x, ux, 1e-5);
        EXPECT_NEAR(circle.centre.y, uy, 1e-5);
        EXPECT_NEAR(circle.radius, radius, 1e-5);
        ++orders;
    } while (std::next_permutation(corners.begin(), corners.end(),
                                   [](const Point2& p, const Point2& q) { return p.x < q.x; }));
    EXPECT_EQ(orders, 6);
}

TEST(Circumcircle, CollinearPointsGetTheOriginAsCentreAndTheFirstPointsDistance) {
    const Circle ascending = computeCircumcircle({1, 1}, {2, 2}, {3, 3});
    EXPECT_EQ(ascending.centre.x, 0.0f);
    EXPECT_EQ(ascending.centre.y, 0.0f);
    EXPECT_EQ(ascending.radius, rootOf(2.0));

    const Circle shuffled = computeCircumcircle({3, 3}, {1, 1}, {2, 2});
    EXPECT_EQ(shuffled.centre.x, 0.0f);
    EXPECT_EQ(shuffled.centre.y, 0.0f);
    EXPECT_EQ(shuffled.radius, rootOf(18.0));
}

TEST(Circumcircle, CoincidentPointsGetTheOriginAsCentre) {
    const Circle circle = computeCircumcircle({3, 4}, {3, 4}, {3, 4});
    EXPECT_EQ(circle.centre.x, 0.0f);
    EXPECT_EQ(circle.centre.y, 0.0f);
    EXPECT_EQ(circle.radius, 5.0f);
}

TEST(Circumcircle, TwiceTheAreaIsRoundedToFloatBeforeTheDegeneracyTest) {
    // Twice the area is 1e-60: not zero in double, but zero once rounded to float.
    const Circle circle = computeCircumcircle({0, 0}, {1e-30f, 0}, {0, 1e-30f});
    EXPECT_EQ(circle.centre.x, 0.0f);
    EXPECT_EQ(circle.centre.y, 0.0f);
    EXPECT_EQ(circle.radius, 0.0f);
}

TEST(Circumcircle, SquaredLengthsAreFormedInDouble) {
    // |b|^2 = 200020001 has no exact float; float sums would move the centre by whole units.
    const Circle circle = computeCircumcircle({10000, 10000}, {10001, 10000}, {10000, 10001});
    EXPECT_EQ(circle.centre.x, 10000.5f);
    EXPECT_EQ(circle.centre.y, 10000.5f);
    EXPECT_EQ(circle.radius, rootOf(0.5));
}

} // namespace
} // namespace zel
