#include "tests/support/terrain_generator.h"
#include "viewer/height_scale.h"
#include "viewer/terrain_model.h"
#include "viewer/texture/terrain_surface.h"

#include <cmath>
#include <gtest/gtest.h>
#include <iomanip>
#include <random>
#include <utility>
#include <vector>

namespace zel {
namespace {

// A warped grid, its heights from the density of its points or, with elevations, the plane
// 0.3 x - 0.2 y + 5, whose upward unit normal under a factor f is (-0.3 f, 1, 0.2 f) / length.
// The surface is sampled too, so that a change of heights can be followed there.
void buildTerrain(TerrainModel& model, bool elevation) {
    test::GridTerrain grid = test::gridTerrain({.columns = 7, .rows = 6, .warp = 0.3f});
    model.points = std::move(grid.points);
    for (const auto& t : grid.triangles) {
        model.addTriangle(t[0], t[1], t[2]);
    }
    for (std::size_t i = 0; elevation && i < model.points.size(); ++i) {
        const Point2& p = model.points[i];
        model.elevations.push_back(0.3f * p.x - 0.2f * p.y + 5.0f);
    }
    model.computeHeights();
    model.computeNormals();
    computeSurface(model);
}

TEST(ExaggerationTest, AKeyMultipliesEveryHeightAndTurnsTheNormalsInBothModes) {
    for (const bool elevation : {false, true}) {
        TerrainModel model;
        buildTerrain(model, elevation);
        const std::vector<Vec3> before = model.vertices;
        HeightScale scale;
        for (const int step : {1, 1, -1, -1, -1}) {
            scale = stepped(scale, step);
            model.setHeightScale(scale);
            const double f = scale.factor();
            const double length = std::sqrt(0.13 * f * f + 1.0);
            for (std::size_t i = 0; i < before.size(); ++i) {
                SCOPED_TRACE(testing::Message() << elevation << " " << f << " " << i);
                EXPECT_EQ(model.vertices[i].x, before[i].x);
                EXPECT_EQ(model.vertices[i].z, before[i].z);
                EXPECT_EQ(model.vertices[i].y, static_cast<float>(before[i].y * f));
                if (elevation) {
                    EXPECT_NEAR(model.normals[i].x, -0.3 * f / length, 1e-5);
                    EXPECT_NEAR(model.normals[i].y, 1.0 / length, 1e-5);
                    EXPECT_NEAR(model.normals[i].z, 0.2 * f / length, 1e-5);
                }
            }
            // The normals follow the new heights as those of a terrain that had them from the
            // start do, to within the rounding of its heights to floats.
            TerrainModel same;
            same.points = model.points;
            for (const Vec3& v : model.vertices) {
                same.elevations.push_back(v.y);
            }
            same.triangles = model.triangles;
            same.computeHeights();
            same.computeNormals();
            same.computeBounds();
            for (std::size_t i = 0; i < before.size(); ++i) {
                EXPECT_NEAR(model.normals[i].x, same.normals[i].x, 1e-5);
                EXPECT_NEAR(model.normals[i].y, same.normals[i].y, 1e-5);
                EXPECT_NEAR(model.normals[i].z, same.normals[i].z, 1e-5);
            }
            EXPECT_EQ(model.bounds.max.y, same.bounds.max.y);
        }
        // ] ] [ [ [ ends one step below where it started, and ] brings back the very heights.
        model.setHeightScale(stepped(scale, 1));
        EXPECT_EQ(model.vertices.back().y, before.back().y);
    }
}

// The check before a step agrees with the heights the step then computes, down to the last
// rounding, for heights and factors at the edge of a float (2.2685489775901924e38 under
// 1.00000004 and then ] once made an infinite height).
TEST(ExaggerationTest, AStepIsTakenExactlyWhenItsHeightsStayFinite) {
    std::mt19937 random(29);
    std::uniform_real_distribution<double> nearTheEdge(2.2e38, 2.3e38);
    std::uniform_real_distribution<double> factorNearOne(1.0, 1.0000002);
    int taken = 0;
    for (int k = 0; k < 2000; ++k) {
        const float z = k == 0 ? 2.2685489775901924e38f : static_cast<float>(nearTheEdge(random));
        const HeightScale start{k == 0 ? 1.00000004 : factorNearOne(random), 0};
        TerrainModel model;
        model.points = {{0.0f, 0.0f}, {100.0f, 0.0f}, {0.0f, 100.0f}};
        model.elevations = {z, 0.0f, -z / 2};
        model.heightScale = start;
        model.computeHeights();
        const HeightScale up = stepped(start, 1);
        model.heightScale = up;
        model.placeVertices();
        const bool finite = std::isfinite(model.vertices[0].y);
        ASSERT_EQ(staysWithinFloat(model.tallestHeight, up), finite)
            << std::setprecision(17) << z << " under " << start.initial;
        taken += finite ? 1 : 0;
    }
    // Both answers occur, so the edge itself is what was tested.
    EXPECT_GT(taken, 100);
    EXPECT_LT(taken, 1900);
}

// Ten presses of ] and ten of [ bring back every vertex and surface sample exactly, and every
// normal to within its rounding, whatever factor the terrain started with.
TEST(ExaggerationTest, TenStepsUpAndTenDownRestoreTheVeryHeightsAndSurface) {
    for (const bool elevation : {false, true}) {
        for (const double initial : {1.0, 0.7, 12.0}) {
            SCOPED_TRACE(testing::Message() << elevation << " from " << initial);
            TerrainModel model;
            model.heightScale = HeightScale{initial, 0};
            buildTerrain(model, elevation);
            const TerrainModel start = model;
            for (const int step : {1, -1}) {
                for (int press = 0; press < 10; ++press) {
                    model.setHeightScale(stepped(model.heightScale, step));
                }
            }
            ASSERT_EQ(model.heightScale.steps, 0);
            std::size_t onTheTerrain = 0;
            for (std::size_t k = 0; k < start.surface.heights.size(); ++k) {
                ASSERT_EQ(model.surface.heights[k], start.surface.heights[k]) << "sample " << k;
                onTheTerrain += start.surface.heights[k] ? 1 : 0;
            }
            EXPECT_GT(onTheTerrain, start.surface.heights.size() / 2);
            for (std::size_t i = 0; i < start.vertices.size(); ++i) {
                ASSERT_EQ(model.vertices[i].y, start.vertices[i].y) << "vertex " << i;
                // Turned twenty times, each time within a float's rounding.
                ASSERT_NEAR(model.normals[i].x, start.normals[i].x, 1e-6) << "vertex " << i;
                ASSERT_NEAR(model.normals[i].y, start.normals[i].y, 1e-6) << "vertex " << i;
                ASSERT_NEAR(model.normals[i].z, start.normals[i].z, 1e-6) << "vertex " << i;
            }
            EXPECT_EQ(model.bounds.max.y, start.bounds.max.y);
        }
    }
}

} // namespace
} // namespace zel
