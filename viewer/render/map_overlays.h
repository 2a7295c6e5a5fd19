#pragma once

#include "viewer/map_scale.h"
#include "viewer/texture/image_legend.h"

#include <array>
#include <string>
#include <vector>

namespace zel {

// What makes the picture readable as a map: which way north is, how long a stretch of
// ground is, and which colour stands for which height.
struct MapOverlayContent {
    std::array<double, 2> north; // unit (right, up) direction on the screen
    ScaleBar scale;
    std::vector<LegendEntry> legend; // from the lowest height up
};

// North arrow at the top right, legend below it, scale bar at the bottom right, over a
// window of width x height pixels. Leaves the GL state as it found it.
void drawMapOverlays(const MapOverlayContent& content, int width, int height);

// The values of the last pick, in a panel at the bottom left. Leaves the GL state as it
// found it.
void drawPickReadout(const std::string& text, int width, int height);

} // namespace zel
