#pragma once

#include "triangulate/framing.h"
#include "triangulate/point_input.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

// The most cells a density grid may have along its longer side: some 16.8 million nodes, as
// many as the viewer starts on in a few seconds.
inline constexpr std::uint32_t mostDensityCells = 4096;

// A regular grid of `columns` x `rows` square cells of side `cellSize`. Node (i, j), for i
// from 0 to columns and j from 0 to rows, lies at (originX + i * cellSize, originY + j *
// cellSize) and is numbered j * (columns + 1) + i: row by row from the lowest y, each row
// from the lowest x.
struct DensityGrid {
    double originX = 0.0;
    double originY = 0.0;
    double cellSize = 1.0;
    std::uint32_t columns = 1;
    std::uint32_t rows = 1;

    std::size_t nodeCount() const {
        return (static_cast<std::size_t>(columns) + 1) * (static_cast<std::size_t>(rows) + 1);
    }
    Bounds bounds() const;
};

// The grid over `points` widened by `margin` on every side: `cells` cells (2 to
// mostDensityCells) along the longer side, and along the shorter as few as cover it (at least
// one), centred on the box. `margin` must be positive. Throws std::range_error when the
// widened box reaches beyond the range of a double.
DensityGrid densityGridAround(const Bounds& points, double margin, std::uint32_t cells);

// Every node's position, in node order.
std::vector<PlanePoint> gridNodes(const DensityGrid& grid);

// Two triangles per cell, split along the diagonal from its lowest corner, each running
// clockwise with x to the right and y upward.
std::vector<std::array<std::uint32_t, 3>> gridTriangles(const DensityGrid& grid);

} // namespace zel
