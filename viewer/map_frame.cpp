#include "viewer/map_frame.h"

#include <cmath>

namespace zel {

namespace {

// The inverse of ((value - center) * 2^binaryExponent - offset) * scale.
double unframed(double fileValue, double center, double offset, double scale, int binaryExponent) {
    return center + std::ldexp(fileValue / scale + offset, -binaryExponent);
}

} // namespace

DataPosition MapFrame::toData(double fileX, double fileY) const {
    DataPosition data{unframed(fileX, centerX, offsetX, scale, binaryExponent),
                      unframed(fileY, centerY, offsetY, scale, binaryExponent)};
    if (projection) {
        data.x /= projection->metresPerDegreeX;
        data.y /= projection->metresPerDegree;
    }
    return data;
}

double MapFrame::heightToData(double fileZ) const {
    return ground ? unframed(fileZ, *ground, 0.0, scale, binaryExponent) : fileZ;
}

double MapFrame::heightToFile(double dataZ) const {
    return ground ? std::ldexp(dataZ - *ground, binaryExponent) * scale : dataZ;
}

double MapFrame::dataUnitsPerFileUnit() const {
    return std::ldexp(1.0 / scale, -binaryExponent);
}

std::string MapFrame::unitName() const {
    return projection ? "m" : "units";
}

} // namespace zel
