#include "viewer/height_scale.h"

#include <cmath>
#include <cstdlib>

namespace zel {

double HeightScale::factor() const {
    return initial * std::pow(heightStep, steps);
}

HeightScale stepped(const HeightScale& scale, int step) {
    HeightScale result = scale;
    if (std::abs(scale.steps + step) <= mostHeightSteps) {
        result.steps += step;
    }
    return result;
}

float exaggeratedHeight(float height, double factor) {
    return static_cast<float>(static_cast<double>(height) * factor);
}

bool staysWithinFloat(float tallestHeight, const HeightScale& scale) {
    return std::isfinite(exaggeratedHeight(tallestHeight, scale.factor()));
}

} // namespace zel
