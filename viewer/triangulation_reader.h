#pragma once

#include "viewer/terrain_model.h"
#include "viewer/triangle.h"
#include "viewer/triangulation_format_exception.h"

#include <istream>

namespace zel {

// Reads a whole triangulation (point count, points, triangle count, triangles) from `in`,
// appending the points to `points` and the triangles to `model.triangles`. Throws
// TriangulationFormatException naming what is wrong and where when the text is not a
// well-formed triangulation, and then leaves `points` and `model` as they were.
// Numbers are whitespace-separated tokens (see NumberTokens), read in the classic locale
// whatever the stream's own; each number must be a whole token, each count a plain unsigned
// integer. Whatever follows the last triangle is not looked at, though the stream may have
// been read past it. A read error of the stream is also a TriangulationFormatException.
std::istream& operator>>(std::istream& in, TerrainModel& model);

} // namespace zel
