#include "triangulate/geographic_projection.h"

#include "triangulate/message_number.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace zel {

namespace {

// The Earth's mean radius (IUGG), in metres.
constexpr double earthRadius = 6371008.8;
constexpr double metresPerDegree = earthRadius * std::numbers::pi / 180.0;
void checkDegrees(const PlanePoint& point, std::size_t index) {
    const auto refuse = [index](const char* what, double value, const char* range) {
        throw std::range_error("point " + std::to_string(index + 1) + " has the " + what + " " +
                               messageNumber(value) + ", outside " + range +
                               "; --no-projection keeps the coordinates as they are");
    };
    if (!(point.y >= -90.0 && point.y <= 90.0)) {
        refuse("latitude", point.y, "-90 to 90");
    }
    if (!(point.x >= -180.0 && point.x <= 360.0)) {
        refuse("longitude", point.x, "-180 to 360");
    }
}

} // namespace

EquirectangularProjection projectionAbout(const std::vector<PlanePoint>& degrees) {
    double south = 0.0;
    double north = 0.0;
    for (std::size_t i = 0; i < degrees.size(); ++i) {
        checkDegrees(degrees[i], i);
        south = i == 0 ? degrees[i].y : std::min(south, degrees[i].y);
        north = i == 0 ? degrees[i].y : std::max(north, degrees[i].y);
    }
    const double middle = (south + north) / 2.0;
    return {middle, metresPerDegree * std::cos(middle * std::numbers::pi / 180.0), metresPerDegree};
}

void project(std::vector<PlanePoint>& points, const EquirectangularProjection& projection) {
    for (PlanePoint& p : points) {
        p = {p.x * projection.metresPerDegreeX, p.y * projection.metresPerDegree};
    }
}

std::string describe(const EquirectangularProjection& projection) {
    return "x = longitude * " + messageNumber(projection.metresPerDegreeX) + ", y = latitude * " +
           messageNumber(projection.metresPerDegree) + " (metres, equirectangular about latitude " +
           messageNumber(projection.standardLatitude) + ")";
}

} // namespace zel
