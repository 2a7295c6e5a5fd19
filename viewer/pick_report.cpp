#include "viewer/pick_report.h"

#include "viewer/density_height.h"

#include <sstream>

namespace zel {
PickedValues pickedValues(const std::array<double, 3>& hit, double exaggeration,
                          bool densityHeights, const MapFrame& frame) {
    const DataPosition ground = frame.toData(hit[0], hit[2]);
    const double fileHeight = hit[1] / exaggeration;
    if (densityHeights) {
        return {ground.x, ground.y, fileHeight, meanRadiusForDensityHeight(fileHeight)};
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
