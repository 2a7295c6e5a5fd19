#pragma once

namespace zel {

// Where a ground position lies relative to one triangle. Every value but Outside means
// that the triangle holds the position.
enum class PointLocation { Inside, Outside, OnEdge01, OnEdge12, OnEdge20 };

} // namespace zel
