#pragma once

namespace zel {

// A point of a triangulation file as the viewer holds it: two floats, x then y, consecutive.
struct Point2 {
    float x;
    float y;
};

} // namespace zel
