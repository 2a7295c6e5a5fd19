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
// Numbers are read as stream extraction reads them in the classic locale, whatever the
// stream's own locale. Whatever follows the last triangle is not read.
std::istream& operator>>(std::istream& in, TerrainModel& model);

// Reads three vertex indices and makes a new Triangle of them. Throws
// TriangulationFormatException when an index cannot be read or lies outside `points`;
// `triangle` is then unchanged.
std::istream& operator>>(std::istream& in, Triangle*& triangle);

} // namespace zel
