#pragma once

#include "viewer/map_frame.h"

#include <array>
#include <optional>
#include <string>

namespace zel {

// What a pick tells of a point of the surface, in the data's own units.
struct PickedValues {
    double x;
    double y;
    // The height: the data's own, or the density height where the heights follow from the
    // spacing of the points.
    double z;
    // Where the heights follow from the spacing: the mean circumradius that gives z.
    std::optional<double> meanCircumradius;
};

// The values at `hit`, a point (x, height, y) of the surface as drawn, whose heights are the
// file's (or the density heights) times `exaggeration`.
PickedValues pickedValues(const std::array<double, 3>& hit, double exaggeration,
                          bool densityHeights, const MapFrame& frame);

// "x=512000.5 y=4123000.25 z=120.5", then " r=3.5" with a mean circumradius.
std::string describePick(const PickedValues& values);

} // namespace zel
