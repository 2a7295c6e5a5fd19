#pragma once

#include <functional>

namespace zel {

// Draws the triangle edges of the terrain over the surface just drawn: `drawMesh` again, as
// unlit, untextured lines pulled towards the eye by a polygon offset, so that they sit on
// the surface without fighting it for depth. Leaves the GL state as it found it.
void drawTriangleEdges(const std::function<void()>& drawMesh);

} // namespace zel
