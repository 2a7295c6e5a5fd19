#include "model_test_support.h"
#include "viewer/terrain_model.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zel {
namespace {

using test::heightForRadius;

TEST(VertexHeightsTest, SingleTriangleLiftsEveryVertexToTheSameHeight) {
    TerrainModel model = test::terrainOf({{0, 0}, {1, 0}, {0, 1}});
    model.addTriangle(0, 1, 2);
    model.computeHeights();
    const test::VertexTriangles adjacency = test::vertexTriangles(model);

    const float radius = static_cast<float>(std::sqrt(0.5));
    ASSERT_EQ(model.vertices.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(test::meanCircumradius(adjacency[i]), static_cast<double>(radius));
        EXPECT_EQ(model.vertices[i].x, model.points[i].x);
        EXPECT_EQ(model.vertices[i].y, heightForRadius(radius));
        EXPECT_EQ(model.vertices[i].z, model.points[i].y);
        EXPECT_NEAR(model.vertices[i].y, 36.277, 1e-3);
    }
}

TEST(VertexHeightsTest, SquareOfTwoTrianglesIsFlat) {
    TerrainModel model = test::terrainOf({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    model.addTriangle(0, 1, 2);
    model.addTriangle(0, 2, 3);
    model.computeHeights();

    ASSERT_EQ(model.vertices.size(), 4u);
    for (const Vec3& vertex : model.vertices) {
        EXPECT_EQ(vertex.y, heightForRadius(static_cast<float>(std::sqrt(50.0))));
        EXPECT_NEAR(vertex.y, 9.2904, 1e-4);
    }
}

TEST(VertexHeightsTest, SharedVertexTakesTheHeightOfTheMeanRadiusNotTheMeanHeight) {
    TerrainModel model = test::terrainOf({{0, 0}, {1, 0}, {0, 1}, {-10, 0}, {0, -10}});
    model.addTriangle(0, 1, 2);
    model.addTriangle(0, 3, 4);
    model.computeHeights();
    const test::VertexTriangles adjacency = test::vertexTriangles(model);

    const double smallRadius = model.triangles[0].circumcircle.radius;
    const double largeRadius = model.triangles[1].circumcircle.radius;
    const double meanRadius = (smallRadius + largeRadius) / 2;
    EXPECT_EQ(test::meanCircumradius(adjacency[0]), meanRadius);
    EXPECT_EQ(model.vertices[0].y, heightForRadius(meanRadius));
    const float meanHeight = (heightForRadius(smallRadius) + heightForRadius(largeRadius)) / 2;
    EXPECT_GT(std::abs(model.vertices[0].y - meanHeight), 1.0f);
}

TEST(VertexHeightsTest, DegenerateTriangleContributesItsFirstPointsDistanceFromTheOrigin) {
    TerrainModel model = test::terrainOf({{0, 0}, {1, 0}, {0, 1}, {3, 4}, {6, 8}});
    model.addTriangle(0, 1, 2);
    model.addTriangle(3, 4, 0);
    const Triangle& proper = model.triangles[0];
    const Triangle& collinear = model.triangles[1];
    model.computeHeights();
    const test::VertexTriangles adjacency = test::vertexTriangles(model);

    ASSERT_EQ(collinear.circumcircle.radius, 5.0f);
    EXPECT_EQ(test::meanCircumradius(adjacency[0]),
              (static_cast<double>(proper.circumcircle.radius) + 5.0) / 2);
    EXPECT_EQ(test::meanCircumradius(adjacency[4]), 5.0);
    EXPECT_EQ(model.vertices[4].y, heightForRadius(5.0));
}

// A point that no triangle uses has no mean radius (0/0); a vertex on degenerate triangles of
// radius 0 would stand infinitely high. Neither may leave a NaN or an infinity behind.
TEST(VertexHeightsTest, UnusedPointLiesAtTheLowestAndAZeroRadiusVertexAtTheHighestGround) {
    // One degenerate triangle of radius 0, a small triangle (high ground), a large triangle
    // (low ground), and a point used by no triangle.
    TerrainModel model = test::terrainOf(
        {{0, 0}, {1, 1}, {2, 2}, {10, 0}, {11, 0}, {10, 1}, {50, 0}, {70, 0}, {50, 20}, {5, 5}});
    model.addTriangle(0, 1, 2);
    model.addTriangle(3, 4, 5);
    model.addTriangle(6, 7, 8);
    model.computeHeights();

    ASSERT_EQ(model.triangles[0].circumcircle.radius, 0.0f);
    const float highest = heightForRadius(model.triangles[1].circumcircle.radius);
    const float lowest = heightForRadius(model.triangles[2].circumcircle.radius);
    ASSERT_EQ(model.vertices.size(), 10u);
    EXPECT_EQ(model.vertices[0].y, highest);
    EXPECT_EQ(model.vertices[1].y, highest);
    EXPECT_EQ(model.vertices[2].y, highest);
    EXPECT_EQ(model.vertices[9].y, lowest);
    EXPECT_EQ(model.vertices[9].x, 5.0f);
    EXPECT_EQ(model.vertices[9].z, 5.0f);
}

TEST(VertexHeightsTest, WithoutAnyFiniteHeightEveryVertexLiesAtZero) {
    TerrainModel model = test::terrainOf({{0, 0}, {1, 1}, {2, 2}, {7, 7}});
    model.addTriangle(0, 1, 2);
    model.computeHeights();

    ASSERT_EQ(model.vertices.size(), 4u);
    for (const Vec3& vertex : model.vertices) {
        EXPECT_EQ(vertex.y, 0.0f);
    }
}

} // namespace
} // namespace zel
