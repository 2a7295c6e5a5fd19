#include "viewer/triangle.h"

#include <gtest/gtest.h>
#include <vector>

namespace zel {
namespace {

class TriangleLocation : public ::testing::Test {
protected:
    PointLocation at(const Triangle& t, float x, float y) { return t.locate(points, x, y); }

    const std::vector<Point2> points = {{0, 0}, {0, 1}, {1, 0}};
    // Clockwise with x to the right and y upward.
    const Triangle clockwise{points, 0, 1, 2};
    const Triangle counterClockwise{points, 0, 2, 1};
};

TEST_F(TriangleLocation, ClockwiseTriangleHoldsItsInterior) {
    EXPECT_EQ(at(clockwise, 0.25f, 0.25f), PointLocation::Inside);
    EXPECT_EQ(at(clockwise, 0.1f, 0.8f), PointLocation::Inside);
    EXPECT_EQ(at(clockwise, 2.0f, 2.0f), PointLocation::Outside);
    EXPECT_EQ(at(clockwise, 0.6f, 0.6f), PointLocation::Outside);
    EXPECT_EQ(at(clockwise, -0.1f, 0.5f), PointLocation::Outside);
}

TEST_F(TriangleLocation, CounterClockwiseTriangleHoldsOnlyItsEdges) {
    EXPECT_EQ(at(counterClockwise, 0.25f, 0.25f), PointLocation::Outside);
    EXPECT_EQ(at(counterClockwise, 0.5f, 0.0f), PointLocation::OnEdge01);
    EXPECT_EQ(at(counterClockwise, 0.5f, 0.5f), PointLocation::OnEdge12);
    EXPECT_EQ(at(counterClockwise, 0.0f, 0.5f), PointLocation::OnEdge20);
}

TEST_F(TriangleLocation, EdgesAreNamedByTheFirstEdgeThatHoldsThePosition) {
    EXPECT_EQ(at(clockwise, 0.0f, 0.5f), PointLocation::OnEdge01);
    EXPECT_EQ(at(clockwise, 0.5f, 0.5f), PointLocation::OnEdge12);
    EXPECT_EQ(at(clockwise, 0.5f, 0.0f), PointLocation::OnEdge20);
    // A vertex lies on two edges; the earlier rule wins.
    EXPECT_EQ(at(clockwise, 0.0f, 0.0f), PointLocation::OnEdge01);
    EXPECT_EQ(at(clockwise, 0.0f, 1.0f), PointLocation::OnEdge01);
    EXPECT_EQ(at(clockwise, 1.0f, 0.0f), PointLocation::OnEdge12);
}

TEST_F(TriangleLocation, EdgeLineBeyondTheSegmentIsOutside) {
    EXPECT_EQ(at(clockwise, 0.0f, 5.0f), PointLocation::Outside);  // line of P0 P1, beyond P1
    EXPECT_EQ(at(clockwise, 0.0f, -1.0f), PointLocation::Outside); // line of P0 P1, beyond P0
    EXPECT_EQ(at(clockwise, 2.0f, -1.0f), PointLocation::Outside); // line of P1 P2, beyond P2
    EXPECT_EQ(at(clockwise, -3.0f, 0.0f), PointLocation::Outside); // line of P2 P0, beyond P0
    EXPECT_EQ(at(counterClockwise, 4.0f, 0.0f), PointLocation::Outside);
}

TEST(DegenerateTriangleLocation, CollinearTriangleHoldsItsSegmentsOnly) {
    const std::vector<Point2> points = {{0, 0}, {1, 1}, {2, 2}};
    const Triangle t(points, 0, 1, 2);
    EXPECT_EQ(t.locate(points, 0.5f, 0.5f), PointLocation::OnEdge01);
    // On the line of P0 P1 but beyond it: the next edge whose segment holds it names it.
    EXPECT_EQ(t.locate(points, 1.5f, 1.5f), PointLocation::OnEdge12);
    EXPECT_EQ(t.locate(points, 3.0f, 3.0f), PointLocation::Outside);
    EXPECT_EQ(t.locate(points, 1.0f, 0.0f), PointLocation::Outside);
}

TEST(DegenerateTriangleLocation, CoincidentPointsHoldOnlyThemselves) {
    const std::vector<Point2> points = {{3, 4}};
    const Triangle t(points, 0, 0, 0);
    EXPECT_EQ(t.locate(points, 3.0f, 4.0f), PointLocation::OnEdge01);
    EXPECT_EQ(t.locate(points, 3.0f, 5.0f), PointLocation::Outside);
}

} // namespace
} // namespace zel
