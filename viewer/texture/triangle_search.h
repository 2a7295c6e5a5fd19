#pragma once

#include "viewer/geometry.h"
#include "viewer/texture/sample_lattice.h"
#include "viewer/triangle.h"

#include <list>
#include <vector>

namespace zel {

// The first triangle in list order that holds (x, y), or null; one locate per triangle.
const Triangle* firstHolder(const std::list<Triangle*>& triangles, const std::vector<Point2>& pts,
                            float x, float y);

enum class MissSearch {
    Indexed, // a SampleHolderIndex built once: what the texture uses
    Linear,  // a scan of the whole list on every miss: the reference it must agree with
};

// The triangle chosen for every texel, visited column by column and, within a column,
// row by row (entry i * textureSize + j for column i and row j; null where none holds the
// sample). The last triangle found is kept and taken again for as long as it holds the
// next sample, across rows and columns; only a miss searches the list.
std::vector<const Triangle*> texelTriangles(const std::list<Triangle*>& triangles,
                                            const std::vector<Point2>& pts,
                                            const SampleLattice& lattice, MissSearch search);

} // namespace zel
