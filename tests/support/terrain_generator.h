#pragma once

#include "viewer/terrain_model.h"
#include "viewer/triangle.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

// The grid's points, row by row, each with the height of a smooth hill, and two clockwise
// triangles per cell, in cell order.
struct GridTerrain {
    std::vector<Point2> points;
    std::vector<float> heights;
    std::vector<std::array<std::int32_t, 3>> triangles;
};

inline GridTerrain gridTerrain(const GridTerrainShape& shape) {
    std::mt19937 random(shape.seed);
    std::uniform_real_distribution<float> offset(-shape.jitter, shape.jitter);
    const auto count =
        static_cast<std::size_t>(shape.columns) * static_cast<std::size_t>(shape.rows);

    GridTerrain grid;
    grid.points.reserve(count);
    grid.heights.reserve(count);
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
            grid.points.push_back(Point2{x, y});
            grid.heights.push_back(10.0f + 5.0f * std::sin(0.05f * static_cast<float>(c)) *
                                               std::cos(0.07f * static_cast<float>(r)));
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
            grid.triangles.push_back({a, e, b});
            grid.triangles.push_back({a, d, e});
        }
    }
    return grid;
}

// The grid as a triangulation file says it (the heights are the viewer's to find).
inline std::string triangulationText(const GridTerrain& grid) {
    std::ostringstream text;
    text << grid.points.size() << '\n';
    for (const Point2& p : grid.points) {
        text << p.x << ' ' << p.y << '\n';
    }
    text << grid.triangles.size() << '\n';
    for (const auto& t : grid.triangles) {
        text << t[0] << ' ' << t[1] << ' ' << t[2] << '\n';
    }
    return text.str();
}

// The grid as a terrain: its points, its triangles and one vertex per point at the grid's
// height. Heights come from a formula rather than the circumcircles so that a terrain of a
// million points is made in moments.
inline TerrainModel generateGridTerrain(const GridTerrainShape& shape) {
    GridTerrain grid = gridTerrain(shape);
    TerrainModel model;
    model.points = std::move(grid.points);
    model.vertices.reserve(model.points.size());
    for (std::size_t i = 0; i < model.points.size(); ++i) {
        const Point2& p = model.points[i];
        model.vertices.push_back(Vec3{p.x, grid.heights[i], p.y});
    }
    model.triangles.reserve(grid.triangles.size());
    for (const auto& t : grid.triangles) {
        model.addTriangle(t[0], t[1], t[2]);
    }
    return model;
}

} // namespace zel::test
