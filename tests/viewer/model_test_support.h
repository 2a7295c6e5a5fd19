#pragma once

#include "tests/support/empty_point_list.h"
#include "viewer/point_list.h"
#include "viewer/terrain_model.h"
#include "viewer/triangle.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <list>
#include <vector>

namespace zel::test {

// Every test starts and ends with the process-wide point list empty.
class PointListTest : public ::testing::Test {
private:
    EmptyPointList emptyPointList_;
};

inline void setPoints(std::initializer_list<Point2> list) {
    points.assign(list);
}

inline Triangle* addTriangle(TerrainModel& model, std::int32_t i0, std::int32_t i1,
                             std::int32_t i2) {
    return model.addTriangle(Triangle(i0, i1, i2));
}

// The height that a vertex with mean circumradius m gets, 40 log10(5 / m + 1), with its one
// rounding to float. Written here as 40 log10((m + 5) / m), not as the product writes it.
inline float heightForRadius(double m) {
    return static_cast<float>(40.0 * std::log10((m + 5.0) / m));
}

// For every point, the triangles that use it, in list order (a triangle naming a point twice
// is listed twice): the per-vertex view that the one-pass sums must agree with.
using VertexTriangles = std::vector<std::list<Triangle*>>;

inline VertexTriangles vertexTriangles(const TerrainModel& model) {
    VertexTriangles adjacency(points.size());
    for (Triangle* triangle : model.triangles) {
        for (const std::int32_t index : triangle->indices) {
            adjacency[static_cast<std::size_t>(index)].push_back(triangle);
        }
    }
    return adjacency;
}

// Mean circumradius of the triangles around a vertex, summed in their order (0/0 for an
// unused vertex).
inline double meanCircumradius(const std::list<Triangle*>& around) {
    double sum = 0.0;
    for (const Triangle* triangle : around) {
        sum += triangle->circumcircle.z;
    }
    return sum / static_cast<double>(around.size());
}

// The normal that vertex i gets from its own triangles alone, in their order: a terrain of
// just those triangles over the same vertices.
inline Vec3 vertexNormal(const TerrainModel& model, const std::list<Triangle*>& around,
                         std::size_t i) {
    TerrainModel alone;
    alone.vertices = model.vertices;
    for (const Triangle* triangle : around) {
        alone.addTriangle(*triangle);
    }
    alone.computeNormals();
    return alone.normals[i];
}

} // namespace zel::test
