#pragma once

#include <cmath>

namespace zel {

// The height that the density rule gives a point whose triangles have the mean circumradius
// `meanRadius`: 40 log10(5 / r + 1), high where points crowd. Inline: it runs once a point.
inline float densityHeight(double meanRadius) {
    return static_cast<float>(40.0 * std::log10(5.0 / meanRadius + 1.0));
}

// The mean circumradius whose density height is `height`: the rule read backwards, infinite
// at height 0 (a point that no triangle uses).
inline double meanRadiusForDensityHeight(double height) {
    return 5.0 / (std::pow(10.0, height / 40.0) - 1.0);
}

} // namespace zel
