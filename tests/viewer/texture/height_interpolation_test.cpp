#include "tests/viewer/texture/small_terrain.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

namespace zel {
namespace {

// Vertices (x, height, z); the ground plane of the model is x-z.
class HeightInterpolation : public ::testing::Test {
protected:
    float heightAt(float x, float z, const Triangle& t) const {
        return terrain.model.heightAt(x, z, t);
    }

    test::SmallTerrain terrain;
    const std::int32_t v0 = terrain.point(0, 0, 1);
    const std::int32_t v1 = terrain.point(0, 1, 2);
    const std::int32_t v2 = terrain.point(1, 0, 3);
};

TEST_F(HeightInterpolation, FirstEdgeAlongZ) {
    const Triangle t = terrain.triangle(v0, v1, v2); // dx1 = 0
    EXPECT_FLOAT_EQ(heightAt(0.5f, 0.25f, t), 2.25f);
    EXPECT_FLOAT_EQ(heightAt(0.25f, 0.25f, t), 1.75f);
    EXPECT_FLOAT_EQ(heightAt(0.0f, 1.0f, t), 2.0f);
}

TEST_F(HeightInterpolation, FirstEdgeAcrossX) {
    const Triangle t = terrain.triangle(v0, v2, v1); // dx1 = 1
    EXPECT_FLOAT_EQ(heightAt(0.5f, 0.25f, t), 2.25f);
    EXPECT_FLOAT_EQ(heightAt(0.25f, 0.25f, t), 1.75f);
    EXPECT_FLOAT_EQ(heightAt(0.0f, 1.0f, t), 2.0f);
}

TEST_F(HeightInterpolation, VerticesKeepTheirHeightsAndThePlaneExtendsBeyond) {
    for (const Triangle& t : {terrain.triangle(v0, v1, v2), terrain.triangle(v1, v2, v0)}) {
        EXPECT_FLOAT_EQ(heightAt(0, 0, t), 1.0f);
        EXPECT_FLOAT_EQ(heightAt(0, 1, t), 2.0f);
        EXPECT_FLOAT_EQ(heightAt(1, 0, t), 3.0f);
        EXPECT_FLOAT_EQ(heightAt(2, 0, t), 5.0f); // height = 1 + 2x + z
        EXPECT_FLOAT_EQ(heightAt(-1, -1, t), -2.0f);
    }
}

TEST_F(HeightInterpolation, TriangleWithoutPlaneGivesTheMeanHeight) {
    const std::int32_t far = terrain.point(2, 0, 8);   // on the line z = 0 with v0, v2
    const std::int32_t above = terrain.point(0, 2, 6); // on the line x = 0 with v0, v1
    const std::int32_t twin = terrain.point(0, 0, 4);  // same ground position as v0
    const Triangle flat[] = {
        terrain.triangle(v0, v2, far),   // collinear, dx1 != 0
        terrain.triangle(v0, v1, above), // collinear along z, dx1 = 0 and dx2 = 0
        terrain.triangle(v0, twin, v2),  // first two coincide, dx1 = 0 and dz1 = 0
        terrain.triangle(v0, twin, v0),  // one ground position
    };
    const float means[] = {4.0f, 3.0f, 8.0f / 3.0f, 2.0f};
    const std::array<std::pair<float, float>, 3> positions{
        {{0.0f, 0.0f}, {0.5f, 0.0f}, {3.0f, 7.0f}}};
    for (int k = 0; k < 4; ++k) {
        for (const auto& [x, z] : positions) {
            const float h = heightAt(x, z, flat[k]);
            EXPECT_TRUE(std::isfinite(h)) << "triangle " << k;
            EXPECT_FLOAT_EQ(h, means[k]) << "triangle " << k;
        }
    }
}

} // namespace
} // namespace zel
