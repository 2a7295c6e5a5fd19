#include "viewer/map_frame.h"

#include <cmath>

namespace zel {

namespace {

// The inverse of ((value - centre) * 2^binaryExponent - offset) * scale.
double unframed(double fileValue, double centre, double offset, const FrameTransform& t) {
    return centre + std::ldexp(fileValue / t.scale + offset, -t.binaryExponent);
}

} // namespace

DataPosition MapFrame::toData(double fileX, double fileY) const {
    const FrameTransform& t = transform;
    DataPosition data{unframed(fileX, t.centreX, t.offsetX, t),
                      unframed(fileY, t.centreY, t.offsetY, t)};
    if (projection) {
        data.x /= projection->metresPerDegreeX;
        data.y /= projection->metresPerDegree;
        if (projection->centralMeridian) {
            // Back within -180 to 180 degrees, as a longitude is usually given.
            data.x = std::remainder(data.x + *projection->centralMeridian, 360.0);
        }
    }
    return data;
}

double MapFrame::heightToData(double fileZ) const {
    if (transform.heightScale) {
        return fileZ / *transform.heightScale;
    }
    return transform.ground ? unframed(fileZ, *transform.ground, 0.0, transform) : fileZ;
}

double MapFrame::heightToFile(double dataZ) const {
    const FrameTransform& t = transform;
    if (t.heightScale) {
        return dataZ * *t.heightScale;
    }
    return t.ground ? std::ldexp(dataZ - *t.ground, t.binaryExponent) * t.scale : dataZ;
}

double MapFrame::dataUnitsPerFileUnit() const {
    return std::ldexp(1.0 / transform.scale, -transform.binaryExponent);
}

std::string MapFrame::unitName() const {
    return projection ? "m" : "units";
}

} // namespace zel
