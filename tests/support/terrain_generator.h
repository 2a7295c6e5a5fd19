#pragma once

#include "viewer/point_list.h"
#include "viewer/terrain_model.h"
#include "viewer/triangle.h"

#include <cmath>
#include <cstdint>
#include <random>

namespace zel::test {

// The shape of a generated terrain: a grid of columns x rows points, `spacing` apart,
// optionally warped by a smooth wave and jittered at random (both as fractions of the
// spacing, small enough that no triangle turns over).
struct GridTerrainShape {
    int columns = 2;
    int rows = 2;
    float spacing = 1.0f;
    float originX = 0.0f;
    float originY = 0.0f;
    float warp = 0.0f;
    float jitter = 0.0f;
    std::uint32_t seed = 1;
};

// Replaces `zel::points` with the grid's points (row by row) and fills `model` with two
// clockwise triangles per cell, in cell order, and one vertex per point whose height is
// a smooth hill. The model must be empty. Heights come from a formula rather than the
// circumcircles so that a terrain of a million points is made in moments.
inline void generateGridTerrain(TerrainModel& model, const GridTerrainShape& shape) {
    std::mt19937 random(shape.seed);
    std::uniform_real_distribution<float> offset(-shape.jitter, shape.jitter);
    const auto count =
        static_cast<std::size_t>(shape.columns) * static_cast<std::size_t>(shape.rows);

    points.clear();
    points.reserve(count);
    model.vertices.reserve(count);
    for (int r = 0; r < shape.rows; ++r) {
        for (int c = 0; c < shape.columns; ++c) {
            const float waveX =
                std::sin(0.37f * static_cast<float>(r) + 0.11f * static_cast<float>(c));
            const float waveY =
                std::cos(0.23f * static_cast<float>(c) - 0.17f * static_cast<float>(r));
            const float x = shape.originX + shape.spacing * (static_cast<float>(c) +
                                                             shape.warp * waveX + offset(random));
            const float y = shape.originY + shape.spacing * (static_cast<float>(r) +
                                                             shape.warp * waveY + offset(random));
            points.push_back(Point2{x, y});
            const float height = 10.0f + 5.0f * std::sin(0.05f * static_cast<float>(c)) *
                                             std::cos(0.07f * static_cast<float>(r));
            model.vertices.push_back(Vec3{x, height, y});
        }
    }

    // With x to the right and y upward, (a, c, b) and (a, d, c) run clockwise around the
    // cell whose lower left corner is a and upper right corner c.
    for (int r = 0; r + 1 < shape.rows; ++r) {
        for (int c = 0; c + 1 < shape.columns; ++c) {
            const std::int32_t a = r * shape.columns + c;
            const std::int32_t b = a + 1;
            const std::int32_t d = a + shape.columns;
            const std::int32_t e = d + 1;
            model.triangles.push_back(new Triangle(a, e, b));
            model.triangles.push_back(new Triangle(a, d, e));
        }
    }
}

} // namespace zel::test
