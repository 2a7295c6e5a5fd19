#include "viewer/pick_report.h"

#include <cmath>
#include <sstream>

namespace zel {
namespace {

// The inverse of the density height 40 log10(5 / r + 1): infinite at height 0, the height
// of a point that no triangle uses.
double circumradiusForHeight(double height) {
    return 5.0 / (std::pow(10.0, height / 40.0) - 1.0);
}

} // namespace

PickedValues pickedValues(const std::array<double, 3>& hit, double exaggeration,
                          bool densityHeights, const MapFrame& frame) {
    const DataPosition ground = frame.toData(hit[0], hit[2]);
    const double fileHeight = hit[1] / exaggeration;
    if (densityHeights) {
        return {ground.x, ground.y, fileHeight, circumradiusForHeight(fileHeight)};
    }
    return {ground.x, ground.y, frame.heightToData(fileHeight), std::nullopt};
}

std::string describePick(const PickedValues& values) {
    // Ten digits keep a projected coordinate or a longitude to well below a float's step.
    std::ostringstream text;
    text.precision(10);
    text << "x=" << values.x << " y=" << values.y << " z=" << values.z;
    if (values.meanCircumradius) {
        text << " r=" << *values.meanCircumradius;
    }
    return text.str();
}

} // namespace zel
