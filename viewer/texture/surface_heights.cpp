#include "viewer/texture/surface_heights.h"

#include "viewer/terrain_model.h"
#include "viewer/texture/triangle_search.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zel {
namespace {

struct Cell {
    int first;       // lattice index of the sample at or below the position
    double fraction; // 0 at that sample, 1 at the next
};

// The lattice positions only grow (an empty extent repeats one position), so a binary search
// finds the cell; positions beyond either end have none.
std::optional<Cell> cellOf(const std::array<float, textureSize>& positions, double at) {
    if (!(at >= positions.front() && at <= positions.back())) {
        return std::nullopt;
    }
    const auto above = std::upper_bound(positions.begin(), positions.end(), at,
                                        [](double value, float p) { return value < p; });
    const int first =
        std::clamp(static_cast<int>(above - positions.begin()) - 1, 0, textureSize - 2);
    const double low = positions[static_cast<std::size_t>(first)];
    const double high = positions[static_cast<std::size_t>(first) + 1];
    return Cell{first, high > low ? std::clamp((at - low) / (high - low), 0.0, 1.0) : 0.0};
}

} // namespace

SurfaceHeights surfaceHeights(const TerrainModel& model, const std::vector<Point2>& pts) {
    SurfaceHeights surface;
    surface.lattice = sampleLattice(BoundingBox{model.boundsMax, model.boundsMin});
    surface.heights.resize(static_cast<std::size_t>(textureSize * textureSize));
    if (model.vertices.empty()) {
        return surface;
    }
    const std::vector<const Triangle*> holders =
        texelTriangles(model.triangles, pts, surface.lattice);
    for (int i = 0; i < textureSize; ++i) {
        const float x = surface.lattice.x[static_cast<std::size_t>(i)];
        for (int j = 0; j < textureSize; ++j) {
            const auto k = static_cast<std::size_t>(i * textureSize + j);
            if (holders[k] != nullptr) {
                surface.heights[k] =
                    model.heightAt(x, surface.lattice.z[static_cast<std::size_t>(j)], *holders[k]);
            }
        }
    }
    return surface;
}

std::optional<double> heightUnder(const SurfaceHeights& surface, double x, double z) {
    if (surface.heights.size() != static_cast<std::size_t>(textureSize * textureSize)) {
        return std::nullopt;
    }
    const std::optional<Cell> column = cellOf(surface.lattice.x, x);
    const std::optional<Cell> row = cellOf(surface.lattice.z, z);
    if (!column || !row) {
        return std::nullopt;
    }
    double corners[2][2];
    bool complete = true;
    std::optional<double> highest;
    for (int di = 0; di < 2; ++di) {
        for (int dj = 0; dj < 2; ++dj) {
            const std::optional<float>& h = surface.heights[static_cast<std::size_t>(
                (column->first + di) * textureSize + row->first + dj)];
            if (h && std::isfinite(*h)) {
                corners[di][dj] = *h;
                highest = std::max(highest.value_or(*h), static_cast<double>(*h));
            } else {
                complete = false;
            }
        }
    }
    if (!complete) {
        return highest;
    }
    const double s = column->fraction;
    const double t = row->fraction;
    return (1 - s) * ((1 - t) * corners[0][0] + t * corners[0][1]) +
           s * ((1 - t) * corners[1][0] + t * corners[1][1]);
}

} // namespace zel
