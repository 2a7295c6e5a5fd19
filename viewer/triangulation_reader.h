#pragma once

#include "viewer/terrain_model.h"
#include "viewer/triangulation_format_exception.h"

#include <istream>

namespace zel {

// Reads a whole triangulation (point count, points, triangle count, triangles) from `in` into
// a new terrain: its points, triangles and frame. Throws TriangulationFormatException naming
// what is wrong and where when the text is not a well-formed triangulation.
// Numbers are whitespace-separated tokens (see NumberTokens), read in the classic locale
// whatever the stream's own; each number must be a whole token, each count a plain unsigned
// integer. A frame record (see map_frame_record.h) after the last triangle sets the frame;
// without one the frame is the identity. Whatever follows the last triangle or the record is
// not looked at, though the stream may have been read past it. A read error of the stream is
// also a TriangulationFormatException.
// A file whose point count is followed by "xyz" (a terrain file) is refused.
TerrainModel readTriangulation(std::istream& in);

// Reads a whole terrain file: the layout above, but with "xyz" after the point count on the
// first line (and optionally a frame record after it, which sets the frame) and each point on
// a line of its own holding exactly x, y and z. The terrain holds x and y as its points, z as
// its elevations, under the same rules.
TerrainModel readTerrain(std::istream& in);

} // namespace zel
