#include "triangulate/delaunay_triangles.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
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

} // namespace

DelaunayTriangles triangulateClockwise(const std::vector<ViewerPoint>& points) {
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
