#include "viewer/map_scale.h"

#include <cmath>
#include <sstream>

namespace zel {
namespace {

// The largest of 1, 2 and 5 times a power of ten that is at most `limit` (positive, finite).
double roundLengthAtMost(double limit) {
    const double power = std::pow(10.0, std::floor(std::log10(limit)));
    for (const double mantissa : {5.0, 2.0, 1.0}) {
        if (mantissa * power <= limit) {
            return mantissa * power;
        }
    }
    return power;
}

std::string lengthText(double length, const std::string& unit) {
    std::ostringstream text;
    text.precision(6);
    if (unit == "m" && length >= 1000.0) {
        text << length / 1000.0 << " km";
    } else {
        text << length << ' ' << unit;
    }
    return text.str();
}

} // namespace

ScaleBar scaleBar(double pixelsPerUnit, const std::string& unit, double maxPixels) {
    const double longest = maxPixels / pixelsPerUnit;
    if (!(longest > 0.0) || !std::isfinite(longest)) {
        return {0.0, ""};
    }
    const double length = roundLengthAtMost(longest);
    return {length * pixelsPerUnit, lengthText(length, unit)};
}

} // namespace zel
