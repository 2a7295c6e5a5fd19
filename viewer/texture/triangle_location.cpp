#include "viewer/triangle.h"

#include <algorithm>
#include <cstddef>

namespace zel {
namespace {

// Twice the signed area of (from, to, position): negative when the position lies to the
// right of the edge, which is the inner side of a clockwise triangle. Formed in double so
// that grid-aligned input gives exact zeros, then rounded to a float.
float edgeValue(const Point2& from, const Point2& to, float x, float y) {
    const double value = (static_cast<double>(to.x) - from.x) * (static_cast<double>(y) - from.y) -
                         (static_cast<double>(to.y) - from.y) * (static_cast<double>(x) - from.x);
    return static_cast<float>(value);
}

// Whether a position already found on an edge's line lies between the edge's end points.
// Beyond them the line leaves the triangle, so the position is not held there.
bool withinSegment(const Point2& from, const Point2& to, float x, float y) {
    return x >= std::min(from.x, to.x) && x <= std::max(from.x, to.x) &&
           y >= std::min(from.y, to.y) && y <= std::max(from.y, to.y);
}

const Point2& pointAt(const std::vector<Point2>& pts, std::int32_t index) {
    return pts[static_cast<std::size_t>(index)];
}

} // namespace

PointLocation Triangle::locate(const std::vector<Point2>& pts, float x, float y) const {
    const Point2& p0 = pointAt(pts, indices[0]);
    const Point2& p1 = pointAt(pts, indices[1]);
    const Point2& p2 = pointAt(pts, indices[2]);
    const float e0 = edgeValue(p0, p1, x, y);
    const float e1 = edgeValue(p1, p2, x, y);
    const float e2 = edgeValue(p2, p0, x, y);

    if (e0 == 0.0f && withinSegment(p0, p1, x, y)) {
        return OnEdge01;
    }
    if (e1 == 0.0f && withinSegment(p1, p2, x, y)) {
        return OnEdge12;
    }
    if (e2 == 0.0f && withinSegment(p2, p0, x, y)) {
        return OnEdge20;
    }
    if (e0 < 0.0f && e1 < 0.0f && e2 < 0.0f) {
        return Inside;
    }
    return Outside;
}

} // namespace zel
