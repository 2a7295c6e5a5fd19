#include "triangulate/framing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace zel {

namespace {

constexpr double largestCenterDistance = viewerFieldSize / 2.0;
constexpr double largestSide = 2.0 * viewerFieldSize;
constexpr double smallestSide = 2.0;
constexpr double largestFloat = std::numeric_limits<float>::max();

// The shortest text that reads back as the same double.
std::string shortest(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string shifted(char axis, double center) {
    if (center == 0.0) {
        return std::string(1, axis);
    }
    std::string text = "(";
    text += axis;
    text += center < 0.0 ? " + " : " - ";
    text += shortest(std::fabs(center));
    text += ')';
    return text;
}

} // namespace

double Bounds::longerSide() const {
    return std::max(maxX - minX, maxY - minY);
}

double Bounds::halfLongerSide() const {
    return std::max(maxX / 2.0 - minX / 2.0, maxY / 2.0 - minY / 2.0);
}

std::optional<Bounds> boundsOf(const std::vector<PlanePoint>& points) {
    if (points.empty()) {
        return std::nullopt;
    }
    Bounds box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const PlanePoint& p : points) {
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
    }
    return box;
}

Framing framingFor(const Bounds& bounds, FramingMode mode) {
    if (mode == FramingMode::AsGiven) {
        return {};
    }
    Framing framing{bounds.centerX(), bounds.centerY(), 1.0};
    // A box without extent (one distinct point) has nothing to scale.
    const double scale = (viewerFieldSize / 2.0) / bounds.halfLongerSide();
    if (mode == FramingMode::Fit && std::isfinite(scale) && scale > 0.0) {
        framing.scale = scale;
    }
    return framing;
}

std::string describe(const Framing& framing) {
    std::string text = "x' = ";
    text.append(shifted('x', framing.centerX)).append(" * ").append(shortest(framing.scale));
    text.append(", y' = ");
    text.append(shifted('y', framing.centerY)).append(" * ").append(shortest(framing.scale));
    return text;
}

bool outsideViewerField(const Bounds& bounds) {
    const double side = bounds.longerSide();
    return std::hypot(bounds.centerX(), bounds.centerY()) > largestCenterDistance ||
           side > largestSide || (side > 0.0 && side < smallestSide);
}

std::vector<ViewerPoint> framedFloats(const std::vector<PlanePoint>& points,
                                      const Framing& framing) {
    std::vector<ViewerPoint> framed(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double x = (points[i].x - framing.centerX) * framing.scale;
        const double y = (points[i].y - framing.centerY) * framing.scale;
        // Converting a double beyond the float range is undefined, so look first.
        if (!(std::fabs(x) <= largestFloat) || !(std::fabs(y) <= largestFloat)) {
            throw std::range_error("point " + std::to_string(i + 1) +
                                   " lies beyond the range of a float; --fit brings it in");
        }
        framed[i] = {static_cast<float>(x), static_cast<float>(y)};
    }
    return framed;
}

} // namespace zel
