#include "model_test_support.h"
#include "viewer/terrain_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <vector>

namespace zel {
namespace {

void buildSurface(TerrainModel& model) {
    model.computeHeights();
    model.computeNormals();
}

void expectNormal(const Vec3& normal, float x, float y, float z) {
    EXPECT_EQ(normal.x, x);
    EXPECT_EQ(normal.y, y);
    EXPECT_EQ(normal.z, z);
}

TEST(VertexNormalsTest, CounterClockwiseTriangleFacesDown) {
    TerrainModel model = test::terrainOf({{0, 0}, {1, 0}, {0, 1}});
    model.addTriangle(0, 1, 2);
    buildSurface(model);

    ASSERT_EQ(model.normals.size(), 3u);
    for (const Vec3& normal : model.normals) {
        expectNormal(normal, 0.0f, -1.0f, 0.0f);
    }
}

TEST(VertexNormalsTest, SquareFacesDownCounterClockwiseAndUpClockwise) {
    TerrainModel counterClockwise = test::terrainOf({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    counterClockwise.addTriangle(0, 1, 2);
    counterClockwise.addTriangle(0, 2, 3);
    buildSurface(counterClockwise);
    TerrainModel clockwise = test::terrainOf({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    clockwise.addTriangle(0, 2, 1);
    clockwise.addTriangle(0, 3, 2);
    buildSurface(clockwise);

    ASSERT_EQ(counterClockwise.normals.size(), 4u);
    ASSERT_EQ(clockwise.normals.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        expectNormal(counterClockwise.normals[i], 0.0f, -1.0f, 0.0f);
        expectNormal(clockwise.normals[i], 0.0f, 1.0f, 0.0f);
    }
}

TEST(VertexNormalsTest, LargerTrianglesWeighMore) {
    // Vertex 0 is shared by a small triangle tilted one way and a large one tilted the other
    // way; the sum of unnormalised cross products leans towards the large one.
    TerrainModel model = test::terrainOf({{0, 0}, {0, 1}, {1, 0}, {0, -30}, {-30, 0}});
    model.addTriangle(0, 1, 2);
    model.addTriangle(0, 3, 4);
    model.computeHeights();
    for (Vec3& vertex : model.vertices) {
        vertex.y = 0.0f;
    }
    model.vertices[1].y = 1.0f; // tilts the small triangle towards -z
    model.vertices[3].y = 1.0f; // tilts the large one, less steeply, towards +z
    model.computeNormals();

    const Vec3 normal = model.normals[0];
    EXPECT_GT(normal.y, 0.0f);
    EXPECT_GT(normal.z, 0.0f); // averaging unit normals instead would lean towards -z
    EXPECT_NEAR(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z, 1.0, 1e-6);
}

TEST(VertexNormalsTest, FlatClockwiseGridFacesStraightUpWithUnitNormals) {
    constexpr int side = 5;
    TerrainModel model;
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            model.points.push_back(Point2{static_cast<float>(column), static_cast<float>(row)});
        }
    }
    for (int row = 0; row + 1 < side; ++row) {
        for (int column = 0; column + 1 < side; ++column) {
            const std::int32_t corner = row * side + column;
            model.addTriangle(corner, corner + side, corner + 1);
            model.addTriangle(corner + 1, corner + side, corner + side + 1);
        }
    }
    buildSurface(model);

    ASSERT_EQ(model.normals.size(), static_cast<std::size_t>(side * side));
    for (const Vec3& normal : model.normals) {
        EXPECT_EQ(normal.x, 0.0f);
        EXPECT_FLOAT_EQ(normal.y, 1.0f);
        EXPECT_EQ(normal.z, 0.0f);
    }
}

TEST(VertexNormalsTest, NormalsOfAnUnevenTerrainHaveUnitLength) {
    constexpr int side = 6;
    TerrainModel model;
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            // A fixed jitter that keeps every cell convex and clockwise.
            const float jitter = static_cast<float>((row * 7 + column * 3) % 5) * 0.1f;
            model.points.push_back(Point2{column * 2.0f + jitter, row * 2.0f - jitter});
        }
    }
    for (int row = 0; row + 1 < side; ++row) {
        for (int column = 0; column + 1 < side; ++column) {
            const std::int32_t corner = row * side + column;
            model.addTriangle(corner, corner + side, corner + 1);
            model.addTriangle(corner + 1, corner + side, corner + side + 1);
        }
    }
    buildSurface(model);

    for (const Vec3& normal : model.normals) {
        const double length = std::sqrt(double(normal.x) * normal.x + double(normal.y) * normal.y +
                                        double(normal.z) * normal.z);
        EXPECT_NEAR(length, 1.0, 1e-6);
        EXPECT_GT(normal.y, 0.0f);
    }
}

// Heights and normals are summed in one pass over the triangles; they must be exactly what
// each vertex's own adjacency gives, also when the points come in no spatial order.
TEST(VertexNormalsTest, WholeTerrainPassesEqualThePerVertexSums) {
    constexpr int side = 30;
    std::vector<std::int32_t> slot(side * side);
    std::iota(slot.begin(), slot.end(), 0);
    std::mt19937 random(7);
    std::shuffle(slot.begin(), slot.end(), random);
    std::uniform_real_distribution<float> jitter(-0.3f, 0.3f);
    TerrainModel model;
    model.points.resize(slot.size());
    for (int i = 0; i < side * side; ++i) {
        model.points[static_cast<std::size_t>(slot[static_cast<std::size_t>(i)])] =
            Point2{static_cast<float>(i % side) + jitter(random),
                   static_cast<float>(i / side) + jitter(random)};
    }
    const auto at = [&](int column, int row) {
        return slot[static_cast<std::size_t>(row * side + column)];
    };
    std::vector<std::array<std::int32_t, 3>> cells;
    for (int row = 0; row + 1 < side; ++row) {
        for (int column = 0; column + 1 < side; ++column) {
            cells.push_back({at(column, row), at(column + 1, row + 1), at(column + 1, row)});
            cells.push_back({at(column, row), at(column, row + 1), at(column + 1, row + 1)});
        }
    }
    std::shuffle(cells.begin(), cells.end(), random);
    for (const auto& t : cells) {
        model.addTriangle(t[0], t[1], t[2]);
    }
    buildSurface(model);

    const test::VertexTriangles adjacency = test::vertexTriangles(model);
    for (std::size_t i = 0; i < model.points.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(model.vertices[i].y, test::heightForRadius(test::meanCircumradius(adjacency[i])));
        const Vec3 normal = test::vertexNormal(model, adjacency[i], i);
        expectNormal(model.normals[i], normal.x, normal.y, normal.z);
    }
}

TEST(VertexNormalsTest, MinuteTriangleKeepsItsDirection) {
    // The cross product is about 1e-40, so 1/|S| is no finite float.
    TerrainModel model = test::terrainOf({{0, 0}, {1e-20f, 0}, {0, 1e-20f}});
    model.addTriangle(0, 1, 2);
    buildSurface(model);

    for (const Vec3& normal : model.normals) {
        expectNormal(normal, 0.0f, -1.0f, 0.0f);
    }
}

TEST(VertexNormalsTest, HugeSumOfCrossProductsStillGivesAUnitNormal) {
    // Each cross product is 1e38; a hundred of them make 1/|S| a subnormal float with
    // too few significant bits for a unit normal.
    TerrainModel model = test::terrainOf({{0, 0}, {0, 1e19f}, {1e19f, 0}});
    for (int copy = 0; copy < 100; ++copy) {
        model.addTriangle(0, 1, 2);
    }
    buildSurface(model);

    for (const Vec3& normal : model.normals) {
        EXPECT_EQ(normal.x, 0.0f);
        EXPECT_FLOAT_EQ(normal.y, 1.0f);
        EXPECT_EQ(normal.z, 0.0f);
    }
}

TEST(VertexNormalsTest, UnusedPointAndCancellingTrianglesFaceUp) {
    TerrainModel model = test::terrainOf({{0, 0}, {1, 0}, {0, 1}, {5, 5}});
    model.addTriangle(0, 1, 2);
    model.addTriangle(0, 2, 1); // the same triangle turned over: the cross products cancel
    buildSurface(model);

    ASSERT_EQ(model.normals.size(), 4u);
    for (const Vec3& normal : model.normals) {
        expectNormal(normal, 0.0f, 1.0f, 0.0f);
    }
}

TEST(VertexNormalsTest, VertexOnlyOnDegenerateTrianglesFacesUp) {
    TerrainModel model = test::terrainOf({{0, 0}, {1, 1}, {2, 2}, {10, 0}, {10, 1}, {11, 0}});
    model.addTriangle(0, 1, 2);
    model.addTriangle(3, 4, 5);
    buildSurface(model);

    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(std::isfinite(model.vertices[i].y)) << "vertex " << i;
    }
    expectNormal(model.normals[0], 0.0f, 1.0f, 0.0f);
    expectNormal(model.normals[1], 0.0f, 1.0f, 0.0f);
    expectNormal(model.normals[2], 0.0f, 1.0f, 0.0f);
    expectNormal(model.normals[3], 0.0f, 1.0f, 0.0f);
}

} // namespace
} // namespace zel
