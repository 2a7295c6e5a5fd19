#include "triangulate/framing.h"

#include "triangulate/message_number.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace zel {

namespace {

constexpr double largestCentreDistance = viewerFieldSize / 2.0;
constexpr double largestSide = 2.0 * viewerFieldSize;
constexpr double smallestSide = 2.0;
constexpr double largestFloat = std::numeric_limits<float>::max();

std::string shifted(char axis, long double centre) {
    if (centre == 0.0L) {
        return std::string(1, axis);
    }
    std::string text = "(";
    text += axis;
    text += centre < 0.0L ? " + " : " - ";
    text += messageNumber(std::fabs(centre));
    text += ')';
    return text;
}

double framedCoordinate(double value, double centre, double offset, double scale,
                        int binaryExponent) {
    const double shifted = value - centre;
    return binaryExponent == 0 ? shifted * scale
                               : (std::ldexp(shifted, binaryExponent) - offset) * scale;
}

// A box narrower than about 1e-306, whose half side no double scale brings to the field's:
// its sides, exact differences of nearby doubles, are brought to about 1 by a power of two
// first. The coordinates themselves may be large (a box of zero width far from the origin),
// so it is the differences from the corner that are scaled.
Framing narrowBoxFraming(const Bounds& bounds) {
    Framing framing;
    framing.centreX = bounds.minX;
    framing.centreY = bounds.minY;
    framing.binaryExponent = -std::ilogb(bounds.longerSide());
    framing.offsetX = std::ldexp(bounds.maxX - bounds.minX, framing.binaryExponent) / 2.0;
    framing.offsetY = std::ldexp(bounds.maxY - bounds.minY, framing.binaryExponent) / 2.0;
    framing.scale = (viewerFieldSize / 2.0) / std::max(framing.offsetX, framing.offsetY);
    return framing;
}

double framedHeight(double height, const Framing& framing) {
    if (framing.heightScale) {
        return height * *framing.heightScale;
    }
    if (!framing.ground) {
        return height;
    }
    const double above = height - *framing.ground;
    if (!std::isinf(above)) {
        return std::ldexp(above, framing.binaryExponent) * framing.scale;
    }
    // Heights from -1e308 to 1e308 lie further apart than a double reaches; their halves do not.
    return std::ldexp(height / 2.0 - *framing.ground / 2.0, framing.binaryExponent) *
           framing.scale * 2.0;
}

bool isSinglePoint(const Bounds& bounds) {
    return bounds.minX == bounds.maxX && bounds.minY == bounds.maxY;
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

Framing framingFor(const Bounds& bounds, FramingMode mode, std::optional<double> lowestHeight) {
    if (mode == FramingMode::AsGiven) {
        return {};
    }
    Framing framing;
    framing.centreX = bounds.centreX();
    framing.centreY = bounds.centreY();
    // A box without extent (one distinct point) has nothing to scale.
    if (mode == FramingMode::Fit && !isSinglePoint(bounds)) {
        const double scale = (viewerFieldSize / 2.0) / bounds.halfLongerSide();
        if (std::isfinite(scale) && scale > 0.0) {
            framing.scale = scale;
        } else {
            framing = narrowBoxFraming(bounds);
        }
    }
    framing.ground = lowestHeight;
    return framing;
}

std::string describe(const Framing& framing) {
    const int e = framing.binaryExponent;
    const long double scale = std::ldexp(static_cast<long double>(framing.scale), e);
    const long double centreX =
        framing.centreX + std::ldexp(static_cast<long double>(framing.offsetX), -e);
    const long double centreY =
        framing.centreY + std::ldexp(static_cast<long double>(framing.offsetY), -e);
    std::string text = "x' = ";
    text.append(shifted('x', centreX)).append(" * ").append(messageNumber(scale));
    text.append(", y' = ");
    text.append(shifted('y', centreY)).append(" * ").append(messageNumber(scale));
    if (framing.heightScale) {
        text.append(", z' = z * ").append(messageNumber(*framing.heightScale));
    } else if (framing.ground) {
        text.append(", z' = ");
        text.append(shifted('z', *framing.ground)).append(" * ").append(messageNumber(scale));
    }
    return text;
}

Bounds shownBounds(const Bounds& bounds, FramingMode mode) {
    if (mode != FramingMode::Centre) {
        return bounds;
    }
    const double halfWidth = bounds.maxX / 2.0 - bounds.minX / 2.0;
    const double halfHeight = bounds.maxY / 2.0 - bounds.minY / 2.0;
    return {-halfWidth, -halfHeight, halfWidth, halfHeight};
}

bool outsideViewerField(const Bounds& bounds) {
    const double side = bounds.longerSide();
    return std::hypot(bounds.centreX(), bounds.centreY()) > largestCentreDistance ||
           side > largestSide || (side > 0.0 && side < smallestSide);
}

std::vector<Point2> framedFloats(const std::vector<PlanePoint>& points, const Framing& framing) {
    std::vector<Point2> framed(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double x = framedCoordinate(points[i].x, framing.centreX, framing.offsetX,
                                          framing.scale, framing.binaryExponent);
        const double y = framedCoordinate(points[i].y, framing.centreY, framing.offsetY,
                                          framing.scale, framing.binaryExponent);
        // Converting a double beyond the float range is undefined, so look first.
        if (!(std::fabs(x) <= largestFloat) || !(std::fabs(y) <= largestFloat)) {
            throw std::range_error("point " + std::to_string(i + 1) +
                                   " lies beyond the range of a float; --fit brings it in");
        }
        framed[i] = {static_cast<float>(x), static_cast<float>(y)};
    }
    return framed;
}

std::vector<float> framedHeights(const std::vector<double>& heights, const Framing& framing) {
    std::vector<float> framed(heights.size());
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const double z = framedHeight(heights[i], framing);
        if (!(std::fabs(z) <= largestFloat)) {
            throw std::range_error("the height of point " + std::to_string(i + 1) +
                                   " lies beyond the range of a float");
        }
        framed[i] = static_cast<float>(z);
    }
    return framed;
}

std::optional<double> lowestHeight(const std::vector<double>& heights) {
    if (heights.empty()) {
        return std::nullopt;
    }
    return *std::min_element(heights.begin(), heights.end());
}

} // namespace zel
