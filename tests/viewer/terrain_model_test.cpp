#include "model_test_support.h"
#include "viewer/terrain_model.h"

#include <cmath>
#include <gtest/gtest.h>
#include <list>

namespace zel {
namespace {

using TerrainModelTest = test::PointListTest;
using test::addTriangle;
using test::setPoints;

TEST_F(TerrainModelTest, StartsEmptyWithNoTextureAndNoFrameYet) {
    const TerrainModel model;
    EXPECT_TRUE(model.triangles.empty());
    EXPECT_TRUE(test::vertexTriangles(model).empty());
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_TRUE(model.normals.empty());
    EXPECT_TRUE(model.texCoords.empty());
    EXPECT_EQ(model.textureId, 0xFFFFFFFFu);
    EXPECT_EQ(model.lastFrameTime, -1.0);
    EXPECT_EQ(model.boundsMax.x, 0.0f);
    EXPECT_EQ(model.boundsMax.y, 0.0f);
    EXPECT_EQ(model.boundsMax.z, 0.0f);
    EXPECT_EQ(model.boundsMin.x, 0.0f);
    EXPECT_EQ(model.boundsMin.y, 0.0f);
    EXPECT_EQ(model.boundsMin.z, 0.0f);
}

TEST_F(TerrainModelTest, TriangleKeepsItsIndicesAndTakesItsCircleFromThePointList) {
    setPoints({{9, 9}, {0, 0}, {0, 2}, {2, 0}});
    const Triangle triangle(1, 2, 3);
    EXPECT_EQ(triangle.indices[0], 1);
    EXPECT_EQ(triangle.indices[1], 2);
    EXPECT_EQ(triangle.indices[2], 3);
    EXPECT_EQ(triangle.circumcircle.x, 1.0f);
    EXPECT_EQ(triangle.circumcircle.y, 1.0f);
    EXPECT_EQ(triangle.circumcircle.z, static_cast<float>(std::sqrt(2.0)));
}

TEST_F(TerrainModelTest, AdjacencyListsEachVertexsTrianglesInTriangleOrder) {
    setPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    TerrainModel model;
    Triangle* first = addTriangle(model, 0, 1, 2);
    Triangle* second = addTriangle(model, 0, 2, 3);
    const test::VertexTriangles adjacency = test::vertexTriangles(model);

    ASSERT_EQ(adjacency.size(), 4u);
    EXPECT_EQ(adjacency[0], (std::list<Triangle*>{first, second}));
    EXPECT_EQ(adjacency[1], (std::list<Triangle*>{first}));
    EXPECT_EQ(adjacency[2], (std::list<Triangle*>{first, second}));
    EXPECT_EQ(adjacency[3], (std::list<Triangle*>{second}));
}

TEST_F(TerrainModelTest, AdjacencyFollowsTriangleOrderNotIndexOrder) {
    setPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    TerrainModel model;
    Triangle* later = addTriangle(model, 3, 2, 0);
    Triangle* earlier = addTriangle(model, 2, 1, 0);
    const test::VertexTriangles adjacency = test::vertexTriangles(model);

    EXPECT_EQ(adjacency[0], (std::list<Triangle*>{later, earlier}));
    EXPECT_EQ(adjacency[2], (std::list<Triangle*>{later, earlier}));
}

TEST_F(TerrainModelTest, AVertexNamedTwiceIsListedTwiceAndAnUnusedPointHasNoTriangles) {
    setPoints({{0, 0}, {1, 0}, {5, 5}});
    TerrainModel model;
    Triangle* twice = addTriangle(model, 0, 0, 1);
    const test::VertexTriangles adjacency = test::vertexTriangles(model);

    ASSERT_EQ(adjacency.size(), 3u);
    EXPECT_EQ(adjacency[0], (std::list<Triangle*>{twice, twice}));
    EXPECT_EQ(adjacency[1], (std::list<Triangle*>{twice}));
    EXPECT_TRUE(adjacency[2].empty());
}

} // namespace
} // namespace zel
