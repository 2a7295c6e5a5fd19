#pragma once

#include "tests/support/empty_point_list.h"
#include "viewer/point_list.h"
#include "viewer/terrain_model.h"
#include "viewer/triangle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace zel::test {

// Every test starts and ends with the process-wide point list empty.
class PointListTest : public ::testing::Test {
private:
    EmptyPointList emptyPointList_;
};

inline void setPoints(std::initializer_list<Point2> list) { points.assign(list); }

inline Triangle* addTriangle(TerrainModel& model, std::int32_t i0, std::int32_t i1,
                             std::int32_t i2) {
    model.triangles.push_back(new Triangle(i0, i1, i2));
    return model.triangles.back();
}

// The height that a vertex with mean circumradius m gets, with its one rounding to float.
inline float heightForRadius(double m) {
    return static_cast<float>(40.0 * std::log10(5.0 / m + 1.0));
}

} // namespace zel::test
