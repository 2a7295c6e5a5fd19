#pragma once

#include <string_view>

namespace zel {

// The word after the point count on a terrain file's first line, which tells it from a
// triangulation file: triangulate writes it and the viewer looks for it.
inline constexpr std::string_view terrainMarker = "xyz";

} // namespace zel
