#pragma once

#include <optional>

namespace zel {

// How triangulate frames points for the viewer, and how the viewer maps them back.
// A point goes to (((x - centreX) * 2^binaryExponent - offsetX) * scale, likewise for y).
// The power of two and the offsets are 0 but for a box too narrow for any double scale to span
// the field: there centreX is the box's lower corner and offsetX its half width after the
// power of two, because the middle of such a box need not be a double.
// A height goes to ((z - ground) * 2^binaryExponent) * scale, so that the ground starts at 0
// and the proportions stay true; with no ground, heights are not framed. Heights that are no
// lengths (densities) go to z * heightScale instead, when it is given.
struct FrameTransform {
    double centreX = 0.0;
    double centreY = 0.0;
    double scale = 1.0;
    int binaryExponent = 0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    std::optional<double> ground;
    std::optional<double> heightScale;
};

// An equirectangular projection from degrees to metres: x = longitude * metresPerDegreeX,
// y = latitude * metresPerDegree, where the first factor is the second shrunk by the cosine of
// a standard latitude. With a central meridian, x is measured from it, each longitude taken
// within 180 degrees of it: points on both sides of the antimeridian (179.9 and -179.9) lie
// side by side.
struct EquirectangularProjection {
    double standardLatitude;
    double metresPerDegreeX;
    double metresPerDegree;
    std::optional<double> centralMeridian; // none: x = longitude * metresPerDegreeX
};

} // namespace zel
