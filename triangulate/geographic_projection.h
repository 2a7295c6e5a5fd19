#pragma once

#include "common/frame_transform.h"
#include "triangulate/point_input.h"

#include <optional>
#include <string>
#include <vector>

namespace zel {

// The equirectangular projection (see common/frame_transform.h) on a sphere of the Earth's
// mean radius. Distances come out true along the standard latitude and every meridian, and
// stretch east-west away from it: fine for regional data, poor for wide east-west extents and
// near the poles.

// The projection about the middle latitude of the points' box. The longitudes are taken as
// given when that gives them the smallest span east to west; otherwise (across the antimeridian,
// or written partly as 350 and partly as -10) about the middle of their smallest span, the
// central meridian. Throws std::range_error naming the point (counted from 1) when a latitude
// lies outside -90 to 90 or a longitude outside -180 to 360: such numbers are no degrees.
EquirectangularProjection projectionAbout(const std::vector<PlanePoint>& degrees);

// Replaces every (longitude, latitude) in degrees by its (x, y) in metres.
void project(std::vector<PlanePoint>& points, const EquirectangularProjection& projection);

// The projection as a line for the user, numbers with at most 10 significant digits:
// "x = longitude * 78626.26, y = latitude * 111195.08 (metres, equirectangular about
// latitude 45)", or with a central meridian "x = (longitude - 180) * ..., ... (metres,
// equirectangular about latitude -17, longitudes within 180 degrees of 180)".
std::string describe(const EquirectangularProjection& projection);

} // namespace zel
