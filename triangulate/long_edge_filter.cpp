#include "triangulate/long_edge_filter.h"

#include <algorithm>

namespace zel {

namespace {

// Squared, so that no root is taken per edge. A square that overflows is infinite, longer
// than any finite limit, as the edge is.
double squaredDistance(const PlanePoint& a, const PlanePoint& b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

} // namespace

std::size_t dropLongEdgedTriangles(std::vector<std::array<std::uint32_t, 3>>& triangles,
                                   const std::vector<PlanePoint>& points, double maxEdge) {
    // A length whose square overflows leaves every triangle in.
    const double limit = maxEdge * maxEdge;
    const auto tooLong = [&points, limit](const std::array<std::uint32_t, 3>& t) {
        const PlanePoint& a = points[t[0]];
        const PlanePoint& b = points[t[1]];
        const PlanePoint& c = points[t[2]];
        return squaredDistance(a, b) > limit || squaredDistance(b, c) > limit ||
               squaredDistance(c, a) > limit;
    };
    const auto kept = std::remove_if(triangles.begin(), triangles.end(), tooLong);
    const auto leftOut = static_cast<std::size_t>(triangles.end() - kept);
    triangles.erase(kept, triangles.end());
    return leftOut;
}

} // namespace zel
