#pragma once

#include "viewer/geometry.h"

#include <optional>
#include <string>
#include <vector>

namespace zel {

// The exaggeration an elevation terrain starts with when the user names none: real ground is
// flat at the scale of a whole map, and a user should not have to guess factors of 10 to 60.
struct AutomaticExaggeration {
    double factor;
    // The relief (highest less lowest height) in percent of the larger horizontal side.
    double reliefPercent;
};

// Some when the relief of `elevations` is above 0 and under a twentieth of the larger side of
// the box around `points` (in the file's units): the factor that makes the relief about an
// eighth of that side, rounded to the nearest round number (1, 2 or 5 times a power of ten,
// nearest by ratio). None otherwise, for no points, and where that factor would lift a height
// beyond the range of a float.
std::optional<AutomaticExaggeration> automaticExaggeration(const std::vector<Point2>& points,
                                                           const std::vector<float>& elevations);

// The nearest of 1, 2 and 5 times a power of ten to `value` (positive and finite), by ratio.
double roundNumber(double value);

// The line that tells the user: "Exaggeration: 20 (true relief is 0.6% of the width;
// --exaggeration 1 shows true proportions)", the percentage with 2 significant digits.
std::string describe(const AutomaticExaggeration& exaggeration);

} // namespace zel
