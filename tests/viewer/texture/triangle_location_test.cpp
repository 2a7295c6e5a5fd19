#include "tests/viewer/texture/small_terrain.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

class TriangleLocation : public ::testing::Test {
protected:
    PointLocation at(const Triangle& t, float x, float y) { return t.locate(points, x, y); }

    test::SmallTerrain terrain;
    const std::int32_t p0 = terrain.point(0, 0);
    const std::int32_t p1 = terrain.point(0, 1);
    const std::int32_t p2 = terrain.point(1, 0);
    // Clockwise with x to the right and y upward.
    const Triangle& clockwise = terrain.triangle(p0, p1, p2);
    const Triangle& counterClockwise = terrain.triangle(p0, p2, p1);
};

TEST_F(TriangleLocation, ClockwiseTriangleHoldsItsInterior) {
    EXPECT_EQ(at(clockwise, 0.25f, 0.25f), Inside);
    EXPECT_EQ(at(clockwise, 0.1f, 0.8f), Inside);
    EXPECT_EQ(at(clockwise, 2.0f, 2.0f), Outside);
    EXPECT_EQ(at(clockwise, 0.6f, 0.6f), Outside);
    EXPECT_EQ(at(clockwise, -0.1f, 0.5f), Outside);
}

TEST_F(TriangleLocation, CounterClockwiseTriangleHoldsOnlyItsEdges) {
    EXPECT_EQ(at(counterClockwise, 0.25f, 0.25f), Outside);
    EXPECT_EQ(at(counterClockwise, 0.5f, 0.0f), OnEdge01);
    EXPECT_EQ(at(counterClockwise, 0.5f, 0.5f), OnEdge12);
    EXPECT_EQ(at(counterClockwise, 0.0f, 0.5f), OnEdge20);
}

TEST_F(TriangleLocation, EdgesAreNamedByTheFirstEdgeThatHoldsThePosition) {
    EXPECT_EQ(at(clockwise, 0.0f, 0.5f), OnEdge01);
    EXPECT_EQ(at(clockwise, 0.5f, 0.5f), OnEdge12);
    EXPECT_EQ(at(clockwise, 0.5f, 0.0f), OnEdge20);
    // A vertex lies on two edges; the earlier rule wins.
    EXPECT_EQ(at(clockwise, 0.0f, 0.0f), OnEdge01);
    EXPECT_EQ(at(clockwise, 0.0f, 1.0f), OnEdge01);
    EXPECT_EQ(at(clockwise, 1.0f, 0.0f), OnEdge12);
}

TEST_F(TriangleLocation, EdgeLineBeyondTheSegmentIsOutside) {
    EXPECT_EQ(at(clockwise, 0.0f, 5.0f), Outside);  // line of P0 P1, beyond P1
    EXPECT_EQ(at(clockwise, 0.0f, -1.0f), Outside); // line of P0 P1, beyond P0
    EXPECT_EQ(at(clockwise, 2.0f, -1.0f), Outside); // line of P1 P2, beyond P2
    EXPECT_EQ(at(clockwise, -3.0f, 0.0f), Outside); // line of P2 P0, beyond P0
    EXPECT_EQ(at(counterClockwise, 4.0f, 0.0f), Outside);
}

TEST(DegenerateTriangleLocation, CollinearTriangleHoldsItsSegmentsOnly) {
    test::SmallTerrain line;
    const std::int32_t a = line.point(0, 0);
    const std::int32_t b = line.point(1, 1);
    const std::int32_t c = line.point(2, 2);
    const Triangle& t = line.triangle(a, b, c);
    EXPECT_EQ(t.locate(points, 0.5f, 0.5f), OnEdge01);
    // On the line of P0 P1 but beyond it: the next edge whose segment holds it names it.
    EXPECT_EQ(t.locate(points, 1.5f, 1.5f), OnEdge12);
    EXPECT_EQ(t.locate(points, 3.0f, 3.0f), Outside);
    EXPECT_EQ(t.locate(points, 1.0f, 0.0f), Outside);
}

TEST(DegenerateTriangleLocation, CoincidentPointsHoldOnlyThemselves) {
    test::SmallTerrain dot;
    const std::int32_t p = dot.point(3, 4);
    const Triangle& t = dot.triangle(p, p, p);
    EXPECT_EQ(t.locate(points, 3.0f, 4.0f), OnEdge01);
    EXPECT_EQ(t.locate(points, 3.0f, 5.0f), Outside);
}

} // namespace
} // namespace zel
