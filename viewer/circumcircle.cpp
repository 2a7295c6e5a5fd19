#include "viewer/circumcircle.h"

#include <cmath>

namespace zel {

Circle computeCircumcircle(const Point2& a, const Point2& b, const Point2& c) {
    // Products and sums in double from the float inputs; only D, the centre and the
    // radius are rounded to float, where they are stored.
    const double ax = a.x, ay = a.y, bx = b.x, by = b.y, cx = c.x, cy = c.y;
    const float d = static_cast<float>((bx - ax) * (cy - ay) - (by - ay) * (cx - ax));

    float centreX = 0.0f;
    float centreY = 0.0f;
    if (d != 0.0f) {
        const double k = 1.0 / (2.0 * static_cast<double>(d));
        const double a2 = ax * ax + ay * ay;
        const double b2 = bx * bx + by * by;
        const double c2 = cx * cx + cy * cy;
        centreX = static_cast<float>(k * (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)));
        centreY = static_cast<float>(k * (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)));
    }
    const double dx = ax - static_cast<double>(centreX);
    const double dy = ay - static_cast<double>(centreY);
    const float radius = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    return Circle{{centreX, centreY}, radius};
}

} // namespace zel
