#include "triangulate/kernel_density.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zel {

namespace {

// Beyond four bandwidths the Gaussian keeps less than 1e-4 of its weight in one dimension.
constexpr double kernelReachInBandwidths = 4.0;

// The weight at each whole number of cells off the centre, from 0 to the reach, scaled so that
// the weights on both sides and at the centre sum to one.
std::vector<double> kernelWeights(double bandwidth, double cellSize, std::size_t longestRun) {
    const double reach = std::ceil(kernelReachInBandwidths * bandwidth / cellSize);
    // No node lies further off than the grid's longer side.
    const auto taps = static_cast<std::size_t>(std::min(reach, static_cast<double>(longestRun)));
    std::vector<double> weights(taps + 1);
    double sum = 0.0;
    for (std::size_t k = 0; k <= taps; ++k) {
        const double cells = static_cast<double>(k) * cellSize / bandwidth;
        weights[k] = std::exp(-0.5 * cells * cells);
        sum += k == 0 ? weights[k] : 2.0 * weights[k];
    }
    for (double& weight : weights) {
        weight /= sum;
    }
    return weights;
}

// The point's weight split among the four nodes of its cell, each share growing with the
// point's nearness to the node along x and along y.
void bin(const PlanePoint& p, const DensityGrid& grid, std::vector<double>& counts) {
    const double u = (p.x - grid.originX) / grid.cellSize;
    const double v = (p.y - grid.originY) / grid.cellSize;
    // A point on the far edge binds to the last cell, and rounding may put it a hair outside.
    const double i = std::clamp(std::floor(u), 0.0, grid.columns - 1.0);
    const double j = std::clamp(std::floor(v), 0.0, grid.rows - 1.0);
    const double s = std::clamp(u - i, 0.0, 1.0);
    const double t = std::clamp(v - j, 0.0, 1.0);
    const std::size_t rowLength = grid.columns + std::size_t{1};
    const std::size_t at = static_cast<std::size_t>(j) * rowLength + static_cast<std::size_t>(i);
    counts[at] += (1.0 - s) * (1.0 - t);
    counts[at + 1] += s * (1.0 - t);
    counts[at + rowLength] += (1.0 - s) * t;
    counts[at + rowLength + 1] += s * t;
}

// Each of `runs` runs of `length` values, `stride` apart, the r-th starting at r * runStride,
// replaced by its convolution with the symmetric weights; values beyond either end count as 0.
void smooth(std::vector<double>& values, std::size_t runs, std::size_t runStride,
            std::size_t length, std::size_t stride, const std::vector<double>& weights) {
    const std::size_t reach = weights.size() - 1;
    // Zeros on either side, so that the sums need no test for the ends.
    std::vector<double> padded(length + 2 * reach, 0.0);
    double* const run = padded.data() + reach;
    for (std::size_t r = 0; r < runs; ++r) {
        double* const first = values.data() + r * runStride;
        for (std::size_t n = 0; n < length; ++n) {
            run[n] = first[n * stride];
        }
        for (std::size_t n = 0; n < length; ++n) {
            const double* const centre = run + n;
            double sum = weights[0] * *centre;
            for (std::size_t k = 1; k <= reach; ++k) {
                const auto off = static_cast<std::ptrdiff_t>(k);
                sum += weights[k] * (centre[-off] + centre[off]);
            }
            first[n * stride] = sum;
        }
    }
}

} // namespace

std::vector<double> kernelDensity(const std::vector<PlanePoint>& points, const DensityGrid& grid,
                                  double bandwidth) {
    std::vector<double> density(grid.nodeCount(), 0.0);
    for (const PlanePoint& p : points) {
        bin(p, grid, density);
    }
    const std::size_t rowLength = grid.columns + std::size_t{1};
    const std::size_t columnLength = grid.rows + std::size_t{1};
    const std::vector<double> weights =
        kernelWeights(bandwidth, grid.cellSize, std::max(rowLength, columnLength));
    smooth(density, columnLength, rowLength, rowLength, 1, weights);
    smooth(density, rowLength, 1, columnLength, rowLength, weights);
    const double cellArea = grid.cellSize * grid.cellSize;
    for (double& value : density) {
        value /= cellArea;
    }
    return density;
}

} // namespace zel
