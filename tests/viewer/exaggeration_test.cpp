#include "model_test_support.h"
#include "tests/support/terrain_generator.h"
#include "viewer/height_scale.h"
#include "viewer/terrain_model.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace zel {
namespace {

using ExaggerationTest = test::PointListTest;

// A warped grid whose heights are the plane 0.3 x - 0.2 y + 5 (elevation mode), or follow
// from the density of its points (density mode).
void buildTerrain(TerrainModel& model, bool elevation) {
    test::GridTerrain grid =
        test::gridTerrain({.columns = 7, .rows = 6, .spacing = 10.0f, .warp = 0.3f});
    points = std::move(grid.points);
    for (const auto& t : grid.triangles) {
        test::addTriangle(model, t[0], t[1], t[2]);
    }
    if (elevation) {
        for (const Point2& p : points) {
            model.elevations.push_back(0.3f * p.x - 0.2f * p.y + 5.0f);
        }
    }
    model.computeHeights();
    model.computeNormals();
    model.computeBounds();
}

// The unit upward normal of the plane height = a x + b y, heights multiplied by `factor`.
Vec3 planeNormal(double a, double b, double factor) {
    const double length = std::sqrt(a * a * factor * factor + 1.0 + b * b * factor * factor);
    return Vec3{static_cast<float>(-a * factor / length), static_cast<float>(1.0 / length),
                static_cast<float>(-b * factor / length)};
}

TEST_F(ExaggerationTest, AFactorMultipliesEveryHeightAndTurnsTheNormalsInBothModes) {
    for (const bool elevation : {false, true}) {
        SCOPED_TRACE(elevation ? "elevation" : "density");
        TerrainModel model;
        buildTerrain(model, elevation);
        const std::vector<Vec3> before = model.vertices;

        for (const double factor : {1.5, 1.5 * 1.5, 1.0 / 1.5, 1.0}) {
            model.changeExaggeration(factor);
            ASSERT_EQ(model.vertices.size(), before.size());
            ASSERT_EQ(model.normals.size(), before.size());
            for (std::size_t i = 0; i < before.size(); ++i) {
                EXPECT_EQ(model.vertices[i].x, before[i].x);
                EXPECT_EQ(model.vertices[i].z, before[i].z);
                EXPECT_FLOAT_EQ(model.vertices[i].y, before[i].y * factor);
            }
            // The same terrain started with the factor: a key is start-up again.
            points.clear();
            TerrainModel fresh;
            fresh.exaggeration = factor;
            buildTerrain(fresh, elevation);
            for (std::size_t i = 0; i < before.size(); ++i) {
                EXPECT_EQ(model.vertices[i].y, fresh.vertices[i].y);
                EXPECT_EQ(model.normals[i].x, fresh.normals[i].x);
                EXPECT_EQ(model.normals[i].y, fresh.normals[i].y);
                EXPECT_EQ(model.normals[i].z, fresh.normals[i].z);
                if (elevation) {
                    const Vec3 expected = planeNormal(0.3, -0.2, factor);
                    EXPECT_NEAR(model.normals[i].x, expected.x, 1e-5);
                    EXPECT_NEAR(model.normals[i].y, expected.y, 1e-5);
                    EXPECT_NEAR(model.normals[i].z, expected.z, 1e-5);
                }
            }
            EXPECT_EQ(model.boundsMax.y, fresh.boundsMax.y);
            EXPECT_EQ(model.boundsMin.y, fresh.boundsMin.y);
        }
        EXPECT_EQ(model.vertices.back().y, before.back().y);
    }
}

TEST(HeightScaleTest, PressesCountFromTheStartingFactorWithinTheirLimit) {
    HeightScale scale{2.0, 0};
    for (int step : {1, 1, -1, -1}) {
        scale = stepped(scale, step);
    }
    EXPECT_EQ(scale.factor(), 2.0);
    EXPECT_EQ(stepped(scale, 1).factor(), 3.0);
    EXPECT_EQ(stepped(scale, -1).factor(), 2.0 / 1.5);

    for (int k = 0; k < mostHeightSteps + 5; ++k) {
        scale = stepped(scale, -1);
    }
    EXPECT_EQ(scale.steps, -mostHeightSteps);
    EXPECT_EQ(stepped(scale, 1).steps, 1 - mostHeightSteps);
}

} // namespace
} // namespace zel
