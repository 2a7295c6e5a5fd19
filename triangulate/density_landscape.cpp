#include "triangulate/density_landscape.h"

#include "triangulate/bandwidth_rule.h"
#include "triangulate/kernel_density.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace zel {

namespace {

constexpr double marginInBandwidths = 3.0;
constexpr double squareMetresPerSquareKilometre = 1e6;

double chosenBandwidth(const std::vector<PlanePoint>& points, const DensitySettings& settings) {
    if (settings.bandwidth) {
        return *settings.bandwidth;
    }
    const double bandwidth = scottsBandwidth(points);
    if (!(bandwidth > 0.0)) {
        throw std::range_error("the points all lie at one place, so they give no bandwidth; "
                               "--bandwidth sets it");
    }
    return bandwidth;
}

} // namespace

DensityLandscape densityLandscape(const std::vector<PlanePoint>& points, bool metres,
                                  const DensitySettings& settings) {
    const std::optional<Bounds> box = boundsOf(points);
    if (!box) {
        throw std::range_error("the file holds no points, so there is no density to map");
    }
    DensityLandscape landscape;
    landscape.bandwidthByRule = !settings.bandwidth;
    landscape.bandwidth = chosenBandwidth(points, settings);
    landscape.grid =
        densityGridAround(*box, marginInBandwidths * landscape.bandwidth, settings.cells);
    landscape.heights = kernelDensity(points, landscape.grid, landscape.bandwidth);

    const double perUnitArea = metres ? squareMetresPerSquareKilometre : 1.0;
    const double h = landscape.bandwidth;
    landscape.logReference = perUnitArea / (2.0 * std::numbers::pi * h * h);
    double highest = 0.0;
    for (double& height : landscape.heights) {
        height *= perUnitArea;
        highest = std::max(highest, height);
    }
    const double reference = landscape.logReference;
    const bool referenceInRange = reference > 0.0 && std::isfinite(reference);
    if (!(highest > 0.0) || !std::isfinite(highest) ||
        (settings.logarithmic && !referenceInRange)) {
        throw std::range_error("the points' density lies beyond the range of a double");
    }
    landscape.highestDensity = highest;
    if (settings.logarithmic) {
        for (double& height : landscape.heights) {
            height = std::log10(1.0 + height / landscape.logReference);
        }
    }
    return landscape;
}

} // namespace zel
