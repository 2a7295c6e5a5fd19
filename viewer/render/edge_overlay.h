#pragma once

namespace zel {

// Draws the triangle edges of the terrain over the surface just drawn: the display list
// `meshList` (or, when it is 0, the mesh itself) again, as unlit, untextured lines pulled
// towards the eye by a polygon offset, so that they sit on the surface without fighting it
// for depth. Leaves the GL state as it found it.
void drawTriangleEdges(unsigned int meshList);

} // namespace zel
