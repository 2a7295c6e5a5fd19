#include "triangulate/geographic_projection.h"

#include "triangulate/message_number.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace zel {

namespace {

// The Earth's mean radius (IUGG), in metres.
constexpr double earthRadius = 6371008.8;
constexpr double metresPerDegree = earthRadius * std::numbers::pi / 180.0;
constexpr double fullTurn = 360.0;
constexpr double halfTurn = 180.0;
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

// A longitude as the angle from `meridian`, within -180 to 180.
double fromMeridian(double longitude, double meridian) {
    const double angle = std::remainder(longitude - meridian, fullTurn);
    return angle == halfTurn ? -halfTurn : angle;
}

// The middle of the shortest arc of the equator that holds every longitude, when taking them
// as given spans more than that arc (beyond rounding); none when they are best as given.
std::optional<double> centralMeridianFor(const std::vector<PlanePoint>& degrees) {
    if (degrees.empty()) {
        return std::nullopt;
    }
    std::vector<double> around(degrees.size());
    double west = degrees.front().x;
    double east = west;
    for (std::size_t i = 0; i < degrees.size(); ++i) {
        around[i] = std::fmod(degrees[i].x + fullTurn, fullTurn);
        west = std::min(west, degrees[i].x);
        east = std::max(east, degrees[i].x);
    }
    std::sort(around.begin(), around.end());
    // The widest gap between neighbours on the circle is what the shortest arc leaves out.
    double widestGap = around.front() + fullTurn - around.back();
    double arcStart = around.front();
    for (std::size_t i = 1; i < around.size(); ++i) {
        if (around[i] - around[i - 1] > widestGap) {
            widestGap = around[i] - around[i - 1];
            arcStart = around[i];
        }
    }
    const double shortestSpan = fullTurn - widestGap;
    constexpr double rounding = 1e-9;
    if (east - west <= shortestSpan + rounding) {
        return std::nullopt;
    }
    const double middle = std::remainder(arcStart + shortestSpan / 2.0, fullTurn);
    return middle == -halfTurn ? halfTurn : middle;
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
    return {middle, metresPerDegree * std::cos(middle * std::numbers::pi / 180.0), metresPerDegree,
            centralMeridianFor(degrees)};
}

void project(std::vector<PlanePoint>& points, const EquirectangularProjection& projection) {
    for (PlanePoint& p : points) {
        const double longitude =
            projection.centralMeridian ? fromMeridian(p.x, *projection.centralMeridian) : p.x;
        p = {longitude * projection.metresPerDegreeX, p.y * projection.metresPerDegree};
    }
}

std::string describe(const EquirectangularProjection& projection) {
    std::string longitude = "longitude";
    std::string meridian;
    if (const std::optional<double> central = projection.centralMeridian) {
        longitude = "(longitude " + std::string(*central < 0.0 ? "+ " : "- ") +
                    messageNumber(std::fabs(*central)) + ")";
        meridian = ", longitudes within 180 degrees of " + messageNumber(*central);
    }
    return "x = " + longitude + " * " + messageNumber(projection.metresPerDegreeX) +
           ", y = latitude * " + messageNumber(projection.metresPerDegree) +
           " (metres, equirectangular about latitude " +
           messageNumber(projection.standardLatitude) + meridian + ")";
}

} // namespace zel
