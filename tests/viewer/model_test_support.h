#pragma once

#include "viewer/terrain_model.h"
#include "viewer/triangle.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <vector>

namespace zel::test {

// A terrain of just these points, without triangles yet.
inline TerrainModel terrainOf(std::initializer_list<Point2> points) {
    TerrainModel model;
    model.points.assign(points);
    return model;
}

// The height that a vertex with mean circumradius m gets, 40 log10(5 / m + 1), with its one
// rounding to float. Written here as 40 log10((m + 5) / m), not as the product writes it.
inline float heightForRadius(double m) {
    return static_cast<float>(40.0 * std::log10((m + 5.0) / m));
}

// For every point, the triangles that use it, in triangle order (a triangle naming a point
// twice is listed twice): the per-vertex view that the one-pass sums must agree with.
using VertexTriangles = std::vector<std::vector<Triangle>>;

inline VertexTriangles vertexTriangles(const TerrainModel& model) {
    VertexTriangles adjacency(model.points.size());
    for (const Triangle& triangle : model.triangles) {
        for (const std::int32_t index : triangle.indices) {
            adjacency[static_cast<std::size_t>(index)].push_back(triangle);
        }
    }
    return adjacency;
}

// Mean circumradius of the triangles around a vertex, summed in their order (0/0 for an
// unused vertex).
inline double meanCircumradius(const std::vector<Triangle>& around) {
    double sum = 0.0;
    for (const Triangle& triangle : around) {
        sum += triangle.circumcircle.radius;
    }
    return sum / static_cast<double>(around.size());
}

// The normal that vertex i gets from its own triangles alone, in their order: a terrain of
// just those triangles over the same vertices.
inline Vec3 vertexNormal(const TerrainModel& model, const std::vector<Triangle>& around,
                         std::size_t i) {
    TerrainModel alone;
    alone.vertices = model.vertices;
    alone.triangles = around;
    alone.computeNormals();
    return alone.normals[i];
}

} // namespace zel::test
