#include "tests/viewer/texture/linear_search.h"
#include "tests/viewer/texture/small_terrain.h"
#include "viewer/bounding_box.h"
#include "viewer/sample_lattice.h"
#include "viewer/texture/texture_coordinates.h"
#include "viewer/texture/texture_synthesis.h"
#include "viewer/texture/triangle_search.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace zel {
namespace {

using Rgb = std::array<unsigned char, 3>;

Rgb texelAt(const std::vector<unsigned char>& texels, int column, int row) {
    const std::size_t offset = 3u * static_cast<std::size_t>(textureSize * row + column);
    return Rgb{texels[offset], texels[offset + 1], texels[offset + 2]};
}

void fitBox(TerrainModel& model) {
    model.bounds = boundingBox(model.vertices);
}

RgbImageView onePixel(const Rgb& pixel) {
    return RgbImageView{1, 1, pixel.data(), 3, nullptr};
}

constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};

TEST(Box, TakesEveryAxisSeparatelyAndSkipsNaN) {
    const Box box = boundingBox({{1, 2, 3}, {-4, 5, 0}, {2, std::nanf(""), 7}});
    EXPECT_EQ(box.max.x, 2);
    EXPECT_EQ(box.max.y, 5);
    EXPECT_EQ(box.max.z, 7);
    EXPECT_EQ(box.min.x, -4);
    EXPECT_EQ(box.min.y, 2);
    EXPECT_EQ(box.min.z, 0);
}

TEST(Box, NoVerticesLeaveTheOrigin) {
    const Box box = boundingBox({});
    for (float c : {box.max.x, box.max.y, box.max.z, box.min.x, box.min.y, box.min.z}) {
        EXPECT_EQ(c, 0.0f);
    }
}

TEST(TextureCoordinates, StretchTheTextureOverTheBox) {
    const std::vector<Vec3> vertices{{-2, 0, 10}, {6, 9, 30}, {0, 1, 15}};
    const std::vector<TexCoord> uv = textureCoordinates(vertices, boundingBox(vertices));
    ASSERT_EQ(uv.size(), 3u);
    EXPECT_EQ(uv[0].u, 0.0f);
    EXPECT_EQ(uv[0].v, 0.0f);
    EXPECT_EQ(uv[1].u, 1.0f);
    EXPECT_EQ(uv[1].v, 1.0f);
    EXPECT_FLOAT_EQ(uv[2].u, 0.25f);
    EXPECT_FLOAT_EQ(uv[2].v, 0.25f);
}

TEST(TextureCoordinates, AxisWithoutExtentGivesZero) {
    const std::vector<Vec3> column{{5, 0, 1}, {5, 1, 3}};
    for (const TexCoord& c : textureCoordinates(column, boundingBox(column))) {
        EXPECT_EQ(c.u, 0.0f);
    }
    const std::vector<Vec3> row{{1, 0, 5}, {3, 1, 5}};
    const std::vector<TexCoord> uv = textureCoordinates(row, boundingBox(row));
    EXPECT_EQ(uv[0].v, 0.0f);
    EXPECT_EQ(uv[1].v, 0.0f);
    EXPECT_EQ(uv[1].u, 1.0f);
}

TEST(TextureCoordinates, ExtentBeyondFloatStillGivesCoordinatesAndSamplesInTheBox) {
    for (const float edge : {2e38f, std::numeric_limits<float>::max()}) {
        SCOPED_TRACE(edge);
        const std::vector<Vec3> vertices{{-edge, 0, -edge}, {edge, 1, edge}, {0, 2, edge / 2}};
        const Box box = boundingBox(vertices);
        const std::vector<TexCoord> uv = textureCoordinates(vertices, box);
        EXPECT_EQ(uv[0].u, 0.0f);
        EXPECT_EQ(uv[1].u, 1.0f);
        EXPECT_EQ(uv[1].v, 1.0f);
        EXPECT_EQ(uv[2].u, 0.5f);
        EXPECT_EQ(uv[2].v, 0.75f);
        const SampleLattice lattice = sampleLattice(box);
        EXPECT_EQ(lattice.x[0], -edge);
        EXPECT_EQ(lattice.z[127], edge);
        for (const float x : lattice.x) {
            ASSERT_TRUE(x >= -edge && x <= edge) << x;
        }
    }
}

TEST(SampleLattice, RunsFromTheMinimumToTheMaximumEdge) {
    const SampleLattice lattice = sampleLattice(Box{{0, 0, 0}, {127, 0, 254}});
    EXPECT_EQ(sampleStep, 1.0f / 127.0f);
    EXPECT_EQ(lattice.x[0], 0.0f);
    EXPECT_FLOAT_EQ(lattice.x[127], 127.0f);
    EXPECT_FLOAT_EQ(lattice.z[127], 254.0f);
    EXPECT_FLOAT_EQ(lattice.x[100], 100.0f);
    EXPECT_FLOAT_EQ(lattice.z[40], 80.0f);
}

// The square [0, 127] x [0, 127] as two clockwise triangles, the height rising with x.
class SquareTerrain : public ::testing::Test {
protected:
    void SetUp() override { fitBox(terrain.model); }

    std::vector<unsigned char> synthesize(const std::vector<RgbImageView>& images) {
        return synthesizeTexels(terrain.model, images);
    }

    test::SmallTerrain terrain;
    const std::int32_t a = terrain.point(0, 0, 0);
    const std::int32_t b = terrain.point(127, 0, 127);
    const std::int32_t c = terrain.point(127, 127, 127);
    const std::int32_t d = terrain.point(0, 127, 0);
};

TEST_F(SquareTerrain, HeightPicksTheBlendOfEachTexel) {
    terrain.triangle(a, c, b);
    terrain.triangle(a, d, c);
    const Rgb low{0, 200, 10};
    const Rgb high{254, 0, 10};
    const std::vector<unsigned char> texels = synthesize({onePixel(low), onePixel(high)});
    ASSERT_EQ(texels.size(), 49152u);
    for (int j : {0, 40, 126}) {
        EXPECT_EQ(texelAt(texels, 0, j), low);
        for (int i = 1; i < 127; ++i) {
            // Where the sample lies exactly at x = i, t = i / 127 and the blend is exact;
            // elsewhere rounding may cost the truncated sum one unit.
            const Rgb rgb = texelAt(texels, i, j);
            EXPECT_NEAR(rgb[0], 2 * i, 1) << i << ", " << j;
            EXPECT_NEAR(rgb[1], 200 - 200 * i / 127.0, 1) << i << ", " << j;
            EXPECT_EQ(rgb[2], 10);
        }
    }
}

TEST_F(SquareTerrain, TexelsBeyondTheHullAreBlack) {
    terrain.triangle(a, d, c); // only the half above the diagonal, x <= z
    const Rgb colour{30, 60, 90};
    const std::vector<unsigned char> texels = synthesize({onePixel(colour)});
    EXPECT_EQ(texelAt(texels, 0, 0), colour);
    EXPECT_EQ(texelAt(texels, 10, 100), colour);
    EXPECT_EQ(texelAt(texels, 50, 50), colour); // on the diagonal edge
    EXPECT_EQ(texelAt(texels, 100, 10), black);
    EXPECT_EQ(texelAt(texels, 51, 50), black);
}

TEST_F(SquareTerrain, WithoutImagesHeldTexelsAreWhite) {
    terrain.triangle(a, d, c);
    const std::vector<unsigned char> texels = synthesize({});
    EXPECT_EQ(texelAt(texels, 3, 90), white);
    EXPECT_EQ(texelAt(texels, 90, 3), black);
}

TEST_F(SquareTerrain, LastFoundTriangleIsKeptWhereAnEarlierOneAlsoHolds) {
    terrain.triangle(a, d, c);
    terrain.triangle(a, c, b);
    const Triangle& upper = terrain.model.triangles[0];
    const Triangle& lower = terrain.model.triangles[1];
    const std::vector<Point2>& points = terrain.model.points;
    const SampleLattice lattice = sampleLattice(terrain.model.bounds);
    for (const std::vector<const Triangle*>& chosen :
         {texelTriangles(terrain.model.triangles, points, lattice),
          test::linearTexelTriangles(terrain.model.triangles, points, lattice)}) {
        // Column 0 lies on the upper triangle's edge; in every later column the rows
        // climb out of the lower triangle and reach the shared diagonal while it is the
        // last found, although the upper one comes first in the list.
        EXPECT_EQ(chosen[0], &upper);
        EXPECT_EQ(chosen[5 * textureSize + 0], &lower);
        for (int k = 1; k < textureSize; ++k) {
            EXPECT_EQ(chosen[static_cast<std::size_t>(k * textureSize + k)], &lower) << k;
            EXPECT_EQ(
                test::firstHolder(terrain.model.triangles, points, lattice.x[k], lattice.z[k]),
                &upper);
        }
        EXPECT_EQ(chosen[5 * textureSize + 6], &upper);
    }
}

TEST_F(SquareTerrain, FlatTerrainShowsTheFirstImage) {
    for (Vec3& v : terrain.model.vertices) {
        v.y = 4.0f;
    }
    fitBox(terrain.model);
    terrain.triangle(a, c, b);
    terrain.triangle(a, d, c);
    const Rgb low{1, 2, 3};
    const Rgb high{4, 5, 6};
    const std::vector<unsigned char> texels = synthesize({onePixel(low), onePixel(high)});
    for (int k = 0; k < textureSize; k += 9) {
        EXPECT_EQ(texelAt(texels, k, 127 - k), low) << k;
    }
}

TEST(TextureSynthesis, GroundOnOneLineGivesFiniteBlends) {
    test::SmallTerrain terrain;
    const std::int32_t p0 = terrain.point(5, 0, 0);
    const std::int32_t p1 = terrain.point(5, 1, 5);
    const std::int32_t p2 = terrain.point(5, 2, 10);
    terrain.triangle(p0, p1, p2);
    fitBox(terrain.model);
    const Rgb low{0, 0, 0};
    const Rgb high{100, 200, 50};
    const std::vector<unsigned char> texels =
        synthesizeTexels(terrain.model, {onePixel(low), onePixel(high)});
    // Every column samples x = 5; the triangle has no plane, so every held texel shows
    // the mean height 5, half way up.
    for (int i : {0, 64, 127}) {
        for (int j = 0; j < 127; ++j) {
            EXPECT_EQ(texelAt(texels, i, j), (Rgb{50, 100, 25})) << i << ", " << j;
        }
    }
}

TEST(TextureSynthesis, NoVerticesGiveABlackTexture) {
    test::SmallTerrain empty;
    fitBox(empty.model);
    const Rgb colour{9, 9, 9};
    const std::vector<unsigned char> texels = synthesizeTexels(empty.model, {onePixel(colour)});
    ASSERT_EQ(texels.size(), 49152u);
    for (unsigned char byte : texels) {
        ASSERT_EQ(byte, 0);
    }
}

} // namespace
} // namespace zel
