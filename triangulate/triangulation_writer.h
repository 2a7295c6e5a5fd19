#pragma once

#include "common/staged_output_file.h"
#include "triangulate/delaunay_triangles.h"
#include "triangulate/framing.h"

#include <ostream>
#include <string_view>
#include <vector>

namespace zel {

// Writes the triangulation file the viewer reads: the point count, every point "x y" in
// input order (duplicates too, so that indices keep naming the input's points), the
// triangle count, then every triangle "i0 i1 i2". Each coordinate is written with the
// shortest text that reads back as the same float.
// Given `heights` (one per point), it writes a terrain file instead: "xyz" after the point
// count, and each point's height after its x and y.
// A `frameRecord` (see common/frame_record.h; empty for none) follows "xyz" on a terrain
// file's first line, and the last triangle on a line of its own in a triangulation file.
void writeTriangulation(StagedOutputFile& out, const std::vector<Point2>& points,
                        const std::vector<float>* heights,
                        const std::vector<std::array<std::uint32_t, 3>>& triangles,
                        std::string_view frameRecord = {});

// The same, to an open stream such as standard output; a failure leaves the stream failed.
void writeTriangulation(std::ostream& out, const std::vector<Point2>& points,
                        const std::vector<float>* heights,
                        const std::vector<std::array<std::uint32_t, 3>>& triangles,
                        std::string_view frameRecord = {});

} // namespace zel
