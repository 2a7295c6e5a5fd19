#pragma once

#include "viewer/bounding_box.h"
#include "viewer/geometry.h"

#include <vector>

namespace zel {

// One texture coordinate per vertex, stretching the texture once over the box's x-z
// extent: the minimum corner gets (0, 0), the maximum corner (1, 1). Along an axis
// without extent (all vertices on one line) the coordinate is 0. Every coordinate is finite
// and within 0..1 for finite vertices, even where the extent is too large for float.
std::vector<TexCoord> textureCoordinates(const std::vector<Vec3>& vertices, const Box& box);

} // namespace zel
