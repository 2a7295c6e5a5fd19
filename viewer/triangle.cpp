#include "viewer/triangle.h"

#include "viewer/circumcircle.h"

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

const Point2& pointAt(const std::vector<Point2>& points, std::int32_t index) {
    return points[static_cast<std::size_t>(index)];
}

} // namespace

PointLocation Triangle::locate(const std::vector<Point2>& points, float x, float y) const {
    const Point2& p0 = pointAt(points, indices[0]);
    const Point2& p1 = pointAt(points, indices[1]);
    const Point2& p2 = pointAt(points, indices[2]);
    const float e0 = edgeValue(p0, p1, x, y);
    const float e1 = edgeValue(p1, p2, x, y);
    const float e2 = edgeValue(p2, p0, x, y);

    if (e0 == 0.0f && withinSegment(p0, p1, x, y)) {
        return PointLocation::OnEdge01;
    }
    if (e1 == 0.0f && withinSegment(p1, p2, x, y)) {
        return PointLocation::OnEdge12;
    }
    if (e2 == 0.0f && withinSegment(p2, p0, x, y)) {
        return PointLocation::OnEdge20;
    }
    if (e0 < 0.0f && e1 < 0.0f && e2 < 0.0f) {
        return PointLocation::Inside;
    }
    return PointLocation::Outside;
}

Triangle::Triangle(const std::vector<Point2>& points, std::int32_t i0, std::int32_t i1,
                   std::int32_t i2)
    : indices{i0, i1, i2}, circumcircle(computeCircumcircle(points[static_cast<std::size_t>(i0)],
                                                            points[static_cast<std::size_t>(i1)],
                                                            points[static_cast<std::size_t>(i2)])) {
}

} // namespace zel
