#pragma once

#include "triangulate/density_grid.h"
#include "triangulate/point_input.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zel {

// What --density asks for.
struct DensitySettings {
    std::optional<double> bandwidth; // positive and finite; none: Scott's rule
    std::uint32_t cells = 512;       // 2 to mostDensityCells
    bool logarithmic = false;
};

// The points' kernel density as ground: a grid over them and a height at every node.
struct DensityLandscape {
    DensityGrid grid;
    double bandwidth = 0.0;
    bool bandwidthByRule = false;
    // The density in points per square kilometre for metres, else per square unit; with
    // `logarithmic`, log10(1 + density / logReference) instead. In node order.
    std::vector<double> heights;
    double highestDensity = 0.0;
    // The density a lone point gives at its own place, 1 / (2 pi h^2): log heights then read
    // as how many lone points' worth crowd there, whatever the bandwidth and units.
    double logReference = 0.0;
};

// The landscape of `points` (in metres when `metres`) on a grid that covers their box with a
// margin of three bandwidths, so that next to nothing of any kernel falls outside it. Throws
// std::range_error when there are no points, when they all lie at one place with no bandwidth
// given (Scott's rule has no spread to go by), or when the grid or the density lie beyond the
// range of a double.
DensityLandscape densityLandscape(const std::vector<PlanePoint>& points, bool metres,
                                  const DensitySettings& settings);

} // namespace zel
