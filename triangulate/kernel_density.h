#pragma once

#include "triangulate/density_grid.h"
#include "triangulate/point_input.h"

#include <vector>

namespace zel {

// The Gaussian kernel density of the points at every node of the grid, in node order, in
// points per square unit: at each node the sum over the points of
// exp(-d^2 / (2 h^2)) / (2 pi h^2), d the point's distance and h the bandwidth.
//
// Binned rather than summed per point and node: each point's weight is split among the four
// nodes of its cell by nearness (linear binning), then the binned counts are smoothed along
// the rows and then the columns with the Gaussian sampled at the nodes, cut off at four
// bandwidths and scaled to sum to one. The density so integrates over the grid to the number
// of points, less what their kernels carry beyond its edge; below a cell's width the
// bandwidth leaves each cell its own count. Every point must lie within the grid, and the
// bandwidth must be positive.
std::vector<double> kernelDensity(const std::vector<PlanePoint>& points, const DensityGrid& grid,
                                  double bandwidth);

} // namespace zel
