#include "triangulate/density_grid.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zel {

namespace {

// The cells that span `side` at `cellSize` each. A side equal to the longer one must come out
// at exactly the longer side's count, though side / cellSize may round just above it.
std::uint32_t cellsAcross(double side, double cellSize, std::uint32_t most) {
    constexpr double roundingSlack = 1e-9;
    const double cells = std::ceil(side / cellSize - roundingSlack);
    return static_cast<std::uint32_t>(std::clamp(cells, 1.0, static_cast<double>(most)));
}

} // namespace

Bounds DensityGrid::bounds() const {
    return {originX, originY, originX + columns * cellSize, originY + rows * cellSize};
}

DensityGrid densityGridAround(const Bounds& points, double margin, std::uint32_t cells) {
    const Bounds widened{points.minX - margin, points.minY - margin, points.maxX + margin,
                         points.maxY + margin};
    const double width = widened.maxX - widened.minX;
    const double height = widened.maxY - widened.minY;
    if (!std::isfinite(width) || !std::isfinite(height)) {
        throw std::range_error("the density grid around the points reaches beyond the range of "
                               "a double");
    }
    DensityGrid grid;
    grid.cellSize = std::max(width, height) / cells;
    grid.columns = cellsAcross(width, grid.cellSize, cells);
    grid.rows = cellsAcross(height, grid.cellSize, cells);
    grid.originX = widened.centreX() - grid.columns * grid.cellSize / 2.0;
    grid.originY = widened.centreY() - grid.rows * grid.cellSize / 2.0;
    return grid;
}

std::vector<PlanePoint> gridNodes(const DensityGrid& grid) {
    std::vector<PlanePoint> nodes;
    nodes.reserve(grid.nodeCount());
    for (std::uint32_t j = 0; j <= grid.rows; ++j) {
        for (std::uint32_t i = 0; i <= grid.columns; ++i) {
            nodes.push_back({grid.originX + i * grid.cellSize, grid.originY + j * grid.cellSize});
        }
    }
    return nodes;
}

std::vector<std::array<std::uint32_t, 3>> gridTriangles(const DensityGrid& grid) {
    std::vector<std::array<std::uint32_t, 3>> triangles;
    triangles.reserve(2 * static_cast<std::size_t>(grid.columns) * grid.rows);
    const std::uint32_t rowLength = grid.columns + 1;
    for (std::uint32_t j = 0; j < grid.rows; ++j) {
        for (std::uint32_t i = 0; i < grid.columns; ++i) {
            const std::uint32_t lowerLeft = j * rowLength + i;
            const std::uint32_t upperLeft = lowerLeft + rowLength;
            // Up, right, back down the diagonal; then along it, down, back left.
            triangles.push_back({lowerLeft, upperLeft, upperLeft + 1});
            triangles.push_back({lowerLeft, upperLeft + 1, lowerLeft + 1});
        }
    }
    return triangles;
}

} // namespace zel
