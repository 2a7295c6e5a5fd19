#include "triangulate/bandwidth_rule.h"

#include "triangulate/message_number.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {

constexpr int bandwidthDigits = 3;

} // namespace

double scottsBandwidth(const std::vector<PlanePoint>& points) {
    // Exactly, as the mean of equal numbers may differ from them in the last place.
    const auto elsewhere = [&points](const PlanePoint& p) {
        return p.x != points[0].x || p.y != points[0].y;
    };
    if (std::none_of(points.begin(), points.end(), elsewhere)) {
        return 0.0;
    }
    const auto n = static_cast<double>(points.size());
    double meanX = 0.0;
    double meanY = 0.0;
    for (const PlanePoint& p : points) {
        meanX += p.x / n;
        meanY += p.y / n;
    }
    // From the mean, in a second pass: projected coordinates in the millions would swamp a
    // single pass's sums of squares.
    double squares = 0.0;
    for (const PlanePoint& p : points) {
        const double dx = p.x - meanX;
        const double dy = p.y - meanY;
        squares += (dx * dx + dy * dy) / n;
    }
    const double sigma = std::sqrt(squares / 2.0);
    return roundedToDigits(sigma * std::pow(n, -1.0 / 6.0), bandwidthDigits);
}

} // namespace zel
