#pragma once

#include "viewer/terrain_model.h"
#include "viewer/triangle.h"

#include <cstdint>

namespace zel::test {

// A terrain built point by point in a test.
struct SmallTerrain {
    // Adds ground position (x, y) with the given height; returns its index.
    std::int32_t point(float x, float y, float height = 0.0f) {
        model.points.push_back(Point2{x, y});
        model.vertices.push_back(Vec3{x, height, y});
        return static_cast<std::int32_t>(model.points.size() - 1);
    }

    // Adds the triangle through points i0, i1, i2 and returns a copy of it.
    Triangle triangle(std::int32_t i0, std::int32_t i1, std::int32_t i2) {
        model.addTriangle(i0, i1, i2);
        return model.triangles.back();
    }

    TerrainModel model;
};

} // namespace zel::test
