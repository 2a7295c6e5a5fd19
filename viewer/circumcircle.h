#pragma once

#include "viewer/geometry.h"

namespace zel {

// Circumcircle of a, b, c. Collinear or coincident points give the centre (0, 0) and the
// distance of a from it as the radius.
Circle computeCircumcircle(const Point2& a, const Point2& b, const Point2& c);

} // namespace zel
