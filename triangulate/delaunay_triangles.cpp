#include "triangulate/delaunay_triangles.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <algorithm>
#include <numeric>
#include <utility>

namespace zel {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<std::uint32_t, Kernel>;
using DataStructure =
    CGAL::Triangulation_data_structure_2<VertexBase, CGAL::Triangulation_face_base_2<Kernel>>;
using Triangulation = CGAL::Delaunay_triangulation_2<Kernel, DataStructure>;

constexpr int plane = 2;
constexpr std::size_t triangleCorners = 3;

// For every point, the first point in input order at the same place.
std::vector<std::uint32_t> firstAtEachPlace(const std::vector<Point2>& points) {
    std::vector<std::uint32_t> order(points.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&points](std::uint32_t a, std::uint32_t b) {
        return std::pair(points[a].x, points[a].y) < std::pair(points[b].x, points[b].y);
    });
    std::vector<std::uint32_t> first(points.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const bool samePlace = k > 0 && points[order[k]].x == points[order[k - 1]].x &&
                               points[order[k]].y == points[order[k - 1]].y;
        first[order[k]] = samePlace ? first[order[k - 1]] : order[k];
    }
    return first;
}

} // namespace

DelaunayTriangles triangulateClockwise(const std::vector<Point2>& points) {
    Triangulation triangulation;
    {
        std::vector<std::pair<Kernel::Point_2, std::uint32_t>> indexed;
        indexed.reserve(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            indexed.emplace_back(Kernel::Point_2(points[i].x, points[i].y),
                                 static_cast<std::uint32_t>(i));
        }
        // One range, so that CGAL sorts the points spatially before inserting them.
        triangulation.insert(indexed.begin(), indexed.end());
    }

    DelaunayTriangles result;
    result.duplicates = points.size() - triangulation.number_of_vertices();
    if (result.duplicates > 0) {
        // CGAL keeps whichever of them its spatial order met first.
        const std::vector<std::uint32_t> first = firstAtEachPlace(points);
        for (const auto vertex : triangulation.finite_vertex_handles()) {
            vertex->info() = first[vertex->info()];
        }
    }
    if (triangulation.dimension() < plane) {
        result.collinear = triangulation.dimension() == 1 && triangulation.number_of_vertices() > 2;
        return result;
    }
    result.triangles.reserve(triangulation.number_of_faces());
    for (const auto face : triangulation.finite_face_handles()) {
        // CGAL's faces run counter-clockwise; the viewer wants them the other way round.
        std::array<std::uint32_t, triangleCorners> corners{};
        corners[0] = face->vertex(0)->info();
        corners[1] = face->vertex(2)->info();
        corners[2] = face->vertex(1)->info();
        result.triangles.push_back(corners);
    }
    return result;
}

} // namespace zel
