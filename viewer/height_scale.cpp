#include "viewer/height_scale.h"

#include <cmath>
#include <cstdlib>
#include <limits>

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

bool staysWithinFloat(double tallestHeight, const HeightScale& from, const HeightScale& to) {
    return tallestHeight * (to.factor() / from.factor()) <= std::numeric_limits<float>::max();
}

} // namespace zel
