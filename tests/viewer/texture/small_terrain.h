#pragma once

#include "tests/support/empty_point_list.h"
#include "viewer/point_list.h"
#include "viewer/terrain_model.h"
#include "viewer/triangle.h"

#include <cstdint>

namespace zel::test {

// A terrain built point by point in a test. It takes over the process-wide point list,
// which the triangles and the texture read.
struct SmallTerrain {
    EmptyPointList emptyPointList;

    // Adds ground position (x, y) with the given height; returns its index.
    std::int32_t point(float x, float y, float height = 0.0f) {
        points.push_back(Point2{x, y});
        model.vertices.push_back(Vec3{x, height, y});
        return static_cast<std::int32_t>(points.size() - 1);
    }

    const Triangle& triangle(std::int32_t i0, std::int32_t i1, std::int32_t i2) {
        return *model.addTriangle(Triangle(i0, i1, i2));
    }

    TerrainModel model;
};

} // namespace zel::test
