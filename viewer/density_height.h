#pragma once

#include <cmath>

namespace zel {

// The density rule's numbers: height = densityHeightScale * log10(densityRadiusScale / r + 1).
inline constexpr double densityHeightScale = 40.0;
inline constexpr double densityRadiusScale = 5.0;

// The height that the density rule gives a point whose triangles have the mean circumradius
// `meanRadius`: 40 log10(5 / r + 1), high where points crowd. Inline: it runs once a point.
inline float densityHeight(double meanRadius) {
    return static_cast<float>(densityHeightScale *
                              std::log10(densityRadiusScale / meanRadius + 1.0));
}

// The mean circumradius whose density height is `height`: the rule read backwards, infinite
// at height 0 (a point that no triangle uses).
inline double meanRadiusForDensityHeight(double height) {
    return densityRadiusScale / (std::pow(10.0, height / densityHeightScale) - 1.0);
}

} // namespace zel
