#include "model_test_support.h"
#include "viewer/terrain_model.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zel {
namespace {

TEST(TerrainModelTest, TriangleKeepsItsIndicesAndTakesItsCircleFromTheTerrainsPoints) {
    TerrainModel model = test::terrainOf({{9, 9}, {0, 0}, {0, 2}, {2, 0}});
    model.addTriangle(1, 2, 3);
    const Triangle& triangle = model.triangles.front();
    EXPECT_EQ(triangle.indices[0], 1);
    EXPECT_EQ(triangle.indices[1], 2);
    EXPECT_EQ(triangle.indices[2], 3);
    EXPECT_EQ(triangle.circumcircle.centre.x, 1.0f);
    EXPECT_EQ(triangle.circumcircle.centre.y, 1.0f);
    EXPECT_EQ(triangle.circumcircle.radius, static_cast<float>(std::sqrt(2.0)));
}

} // namespace
} // namespace zel
