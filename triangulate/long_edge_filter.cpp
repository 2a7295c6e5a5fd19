#include "triangulate/long_edge_filter.h"

#include <algorithm>

namespace zel {

namespace {

// Squared, so that no root is taken per edge; floats squared in double neither overflow nor
// lose the comparison.
double squaredDistance(const ViewerPoint& a, const ViewerPoint& b) {
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    return dx * dx + dy * dy;
}

} // namespace

std::size_t dropLongEdgedTriangles(std::vector<std::array<std::uint32_t, 3>>& triangles,
                                   const std::vector<ViewerPoint>& points, double maxEdge) {
    // A length whose square overflows leaves every triangle in.
    const double limit = maxEdge * maxEdge;
    const auto tooLong = [&points, limit](const std::array<std::uint32_t, 3>& t) {
        const ViewerPoint& a = points[t[0]];
        const ViewerPoint& b = points[t[1]];
        const ViewerPoint& c = points[t[2]];
        return squaredDistance(a, b) > limit || squaredDistance(b, c) > limit ||
               squaredDistance(c, a) > limit;
    };
    const auto kept = std::remove_if(triangles.begin(), triangles.end(), tooLong);
    const auto leftOut = static_cast<std::size_t>(triangles.end() - kept);
    triangles.erase(kept, triangles.end());
    return leftOut;
}

} // namespace zel
