#pragma once

#include "viewer/geometry.h"
#include "viewer/sample_lattice.h"
#include "viewer/triangle.h"

#include <functional>
#include <vector>

namespace zel {

// Where the texel walk looks on a miss: the triangle that holds sample (column, row) of
// the lattice, or null.
using HolderSearch = std::function<const Triangle*(int column, int row)>;

// The triangle chosen for every texel, visited column by column and, within a column,
// row by row (entry i * textureSize + j for column i and row j; null where none holds the
// sample). The last triangle found is kept and taken again for as long as it holds the
// next sample, across rows and columns; only a miss asks `onMiss`.
std::vector<const Triangle*> texelTriangles(const std::vector<Point2>& points,
                                            const SampleLattice& lattice,
                                            const HolderSearch& onMiss);

// The same walk, whose misses are answered by a SampleHolderIndex of `triangles` built once
// (the first triangle in order that holds the sample): what the texture uses.
std::vector<const Triangle*> texelTriangles(const std::vector<Triangle>& triangles,
                                            const std::vector<Point2>& points,
                                            const SampleLattice& lattice);

} // namespace zel
