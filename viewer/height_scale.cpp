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

} // namespace zel
