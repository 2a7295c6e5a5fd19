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
// integer. A frame record (see map_frame_record.h) after the last triangle sets
// `model.frame`; without one the frame is the identity. Whatever follows the last triangle
// or the record is not looked at, though the stream may have been read past it. A read error
// of the stream is also a TriangulationFormatException.
// A file whose point count is followed by "xyz" (a terrain file) is refused.
std::istream& operator>>(std::istream& in, TerrainModel& model);

// Reads a whole terrain file: the layout above, but with "xyz" after the point count on the
// first line (and optionally a frame record after it, which sets `model.frame`) and each point
// on a line of its own holding exactly x, y and z. Appends x and y
// to `points`, z to `model.elevations` and the triangles to `model.triangles`, under the same
// rules, and leaves all three as they were when the text is not a well-formed terrain file.
void readTerrain(std::istream& in, TerrainModel& model);

} // namespace zel
