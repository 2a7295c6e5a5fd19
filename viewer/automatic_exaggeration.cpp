#include "viewer/automatic_exaggeration.h"

#include "viewer/height_scale.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace zel {

namespace {

// Flatter than this is hard to read as relief; an eighth shows it without towering.
constexpr double flattestShown = 1.0 / 20.0;
constexpr double reliefAimedAt = 1.0 / 8.0;
constexpr int percentDigits = 2;
constexpr int factorDigits = 15;

template <typename Value, typename Get>
double extent(const std::vector<Value>& values, const Get& get) {
    const auto [lowest, highest] =
        std::minmax_element(values.begin(), values.end(),
                            [&get](const Value& a, const Value& b) { return get(a) < get(b); });
    return static_cast<double>(get(*highest)) - static_cast<double>(get(*lowest));
}

} // namespace

double roundNumber(double value) {
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    const double mantissa = value / power;
    // The geometric means of neighbouring round numbers part them by ratio.
    if (mantissa < std::sqrt(2.0)) {
        return power;
    }
    if (mantissa < std::sqrt(10.0)) {
        return 2.0 * power;
    }
    if (mantissa < std::sqrt(50.0)) {
        return 5.0 * power;
    }
    return 10.0 * power;
}

std::optional<AutomaticExaggeration> automaticExaggeration(const std::vector<Point2>& points,
                                                           const std::vector<float>& elevations) {
    if (points.empty() || elevations.empty()) {
        return std::nullopt;
    }
    const double side = std::max(extent(points, [](const Point2& p) { return p.x; }),
                                 extent(points, [](const Point2& p) { return p.y; }));
    const auto [lowest, highest] = std::minmax_element(elevations.begin(), elevations.end());
    const double relief = static_cast<double>(*highest) - static_cast<double>(*lowest);
    if (!(relief > 0.0) || !(relief < side * flattestShown)) {
        return std::nullopt;
    }
    const double factor = roundNumber(reliefAimedAt * side / relief);
    // Heights far from 0 may not bear it; the user has not asked for it, so it is not tried.
    const float tallest = std::max(std::fabs(*lowest), std::fabs(*highest));
    if (!staysWithinFloat(tallest, HeightScale{factor, 0})) {
        return std::nullopt;
    }
    return AutomaticExaggeration{factor, 100.0 * relief / side};
}

std::string describe(const AutomaticExaggeration& exaggeration) {
    std::ostringstream line;
    line << "Exaggeration: " << std::setprecision(factorDigits) << exaggeration.factor
         << " (true relief is " << std::setprecision(percentDigits) << exaggeration.reliefPercent
         << "% of the width; --exaggeration 1 shows true proportions)";
    return line.str();
}

} // namespace zel
