#pragma once

#include "triangulate/point_input.h"

#include <vector>

namespace zel {

// Scott's rule of thumb for the bandwidth of a two-dimensional Gaussian kernel:
// h = sigma * n^(-1/6), n the number of points and sigma the root mean square of the standard
// deviations of x and of y (so that one radius serves both), rounded to three significant
// digits. 0 when the points all lie at one place.
double scottsBandwidth(const std::vector<PlanePoint>& points);

} // namespace zel
