#pragma once

#include <string>

namespace zel {

// A scale bar: how many pixels long it is drawn and what length it stands for.
struct ScaleBar {
    double pixels;
    std::string label;
};

// The longest round length (1, 2 or 5 times a power of ten) whose bar is at most
// `maxPixels` long where one data unit spans `pixelsPerUnit` pixels, labelled in `unit`;
// metres from 1000 on are given in km ("500 m", "2 km", "0.05 units").
ScaleBar scaleBar(double pixelsPerUnit, const std::string& unit, double maxPixels);

} // namespace zel
