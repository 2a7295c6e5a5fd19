#pragma once

namespace zel {

// Where a ground position lies relative to one triangle. Every code but Outside means
// that the triangle holds the position.
enum PointLocation { Inside = 0, Outside = 1, OnEdge01 = 2, OnEdge12 = 3, OnEdge20 = 4 };

} // namespace zel
