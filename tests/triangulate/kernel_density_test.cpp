// The density landscape against what the points' distribution says it must be: analytic
// integrals and peaks of Gaussians, a lone point's kernel, and Scott's rule worked by hand.
#include "triangulate/bandwidth_rule.h"
#include "triangulate/density_landscape.h"
#include "triangulate/kernel_density.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>
#include <vector>

namespace zel {
namespace {

constexpr double pi = std::numbers::pi;

struct Cluster {
    double x;
    double y;
    double spread; // standard deviation along each axis
    int count;
};

// The density of the grid's node nearest to (x, y).
double densityNear(const DensityLandscape& landscape, double x, double y) {
    const DensityGrid& grid = landscape.grid;
    const auto i = static_cast<std::size_t>(std::lround((x - grid.originX) / grid.cellSize));
    const auto j = static_cast<std::size_t>(std::lround((y - grid.originY) / grid.cellSize));
    return landscape.heights[j * (grid.columns + 1) + i];
}

// Two Gaussian clusters, one twice the other, on a uniform background over a 100 x 100 field.
// Smoothed by a Gaussian of bandwidth h, a cluster of n points with spread s peaks at
// n / (2 pi (s^2 + h^2)) above the background's own density.
TEST(KernelDensityTest, TwoClustersOnABackgroundIntegrateAndPeakAsTheyShould) {
    const Cluster larger{30.0, 40.0, 4.0, 6000};
    const Cluster smaller{70.0, 65.0, 4.0, 3000};
    constexpr int backgroundCount = 2000;
    constexpr double field = 100.0;
    std::mt19937 random(26);
    std::vector<PlanePoint> points;
    for (const Cluster& c : {larger, smaller}) {
        std::normal_distribution<double> x(c.x, c.spread);
        std::normal_distribution<double> y(c.y, c.spread);
        for (int i = 0; i < c.count; ++i) {
            points.push_back({x(random), y(random)});
        }
    }
    std::uniform_real_distribution<double> anywhere(0.0, field);
    for (int i = 0; i < backgroundCount; ++i) {
        points.push_back({anywhere(random), anywhere(random)});
    }
    const double background = backgroundCount / (field * field);

    struct Case {
        const char* name;
        DensitySettings settings;
    };
    for (const Case& c :
         {Case{"GivenBandwidth", {2.0, 512, false}}, Case{"CoarseGrid", {3.0, 64, false}},
          Case{"ScottsRule", {std::nullopt, 256, false}}}) {
        SCOPED_TRACE(c.name);
        const DensityLandscape landscape = densityLandscape(points, false, c.settings);
        const double h = landscape.bandwidth;
        const double cell = landscape.grid.cellSize;

        double integral = 0.0;
        for (double d : landscape.heights) {
            integral += d * cell * cell;
        }
        EXPECT_NEAR(integral, static_cast<double>(points.size()), 0.02 * points.size());

        const auto top = std::max_element(landscape.heights.begin(), landscape.heights.end());
        const std::size_t at = static_cast<std::size_t>(top - landscape.heights.begin());
        const std::size_t row = landscape.grid.columns + 1;
        const double topX = landscape.grid.originX + static_cast<double>(at % row) * cell;
        const double topY = landscape.grid.originY + static_cast<double>(at / row) * cell;
        EXPECT_LT(std::hypot(topX - larger.x, topY - larger.y), h);
        EXPECT_EQ(*top, landscape.highestDensity);

        const auto peak = [h](const Cluster& cluster) {
            return cluster.count / (2.0 * pi * (cluster.spread * cluster.spread + h * h));
        };
        const double largerPeak = densityNear(landscape, larger.x, larger.y) - background;
        const double smallerPeak = densityNear(landscape, smaller.x, smaller.y) - background;
        EXPECT_NEAR(largerPeak / smallerPeak, 2.0, 0.2);
        EXPECT_NEAR(largerPeak, peak(larger), 0.1 * peak(larger));
        EXPECT_NEAR(smallerPeak, peak(smaller), 0.1 * peak(smaller));
    }
}

// One point smoothed is the Gaussian of the bandwidth, wherever it lies in its cell, as long
// as the bandwidth spans a cell or more (linear binning widens it by at most a quarter of a
// cell squared in variance: some 7% at the peak for 1.5 cells); narrower, the point stays in
// its cell's nodes. Either way it counts once, the grid reaching 8 bandwidths and more.
TEST(KernelDensityTest, LonePointIsTheKernelAndCountsOnce) {
    struct Case {
        double bandwidth; // in cells
        double offX;      // the point's place in its cell, in cells
        double offY;
        bool kernelShape;
    };
    for (const Case& c : {Case{10.0, 0.0, 0.0, true}, Case{4.0, 0.5, 0.25, true},
                          Case{1.5, 0.3, 0.8, true}, Case{0.2, 0.4, 0.1, false}}) {
        SCOPED_TRACE(testing::Message() << "bandwidth " << c.bandwidth << " cells, point at ("
                                        << c.offX << ", " << c.offY << ")");
        const double cell = 0.5;
        const DensityGrid grid{-50.0, -40.0, cell, 200, 160};
        const PlanePoint p{c.offX * cell, c.offY * cell};
        const double h = c.bandwidth * cell;
        const std::vector<double> density = kernelDensity({p}, grid, h);
        ASSERT_EQ(density.size(), grid.nodeCount());
        double integral = 0.0;
        double worst = 0.0;
        for (std::size_t n = 0; n < density.size(); ++n) {
            const double x = grid.originX + static_cast<double>(n % 201) * cell;
            const double y = grid.originY + static_cast<double>(n / 201) * cell;
            const double d2 = (x - p.x) * (x - p.x) + (y - p.y) * (y - p.y);
            const double exact = std::exp(-d2 / (2.0 * h * h)) / (2.0 * pi * h * h);
            worst = std::max(worst, std::fabs(density[n] - exact));
            integral += density[n] * cell * cell;
        }
        EXPECT_NEAR(integral, 1.0, 1e-9);
        if (c.kernelShape) {
            EXPECT_LT(worst, 0.08 / (2.0 * pi * h * h));
        }
    }
}

// sigma^2 = (var x + var y) / 2, h = sigma * n^(-1/6), to three digits.
TEST(BandwidthRuleTest, ScottsRuleByHand) {
    // Four corners of a 6 x 8 box: standard deviations 3 and 4, so sigma = sqrt(12.5), and
    // h = 3.5355339 * 4^(-1/6) = 2.8062 -> 2.81, far from the origin as near it.
    for (const double far : {0.0, 4.1e6}) {
        EXPECT_EQ(
            scottsBandwidth(
                {{far - 3, far - 4}, {far + 3, far - 4}, {far - 3, far + 4}, {far + 3, far + 4}}),
            2.81);
    }
    // 64 points evenly on a line from 0 to 63: variance (64^2 - 1) / 12 along x, none along
    // y, so sigma = sqrt(341.25 / 2) = 13.0623 and h = 13.0623 / 2 = 6.531 -> 6.53.
    std::vector<PlanePoint> line;
    for (int i = 0; i < 64; ++i) {
        line.push_back({static_cast<double>(i), 7.0});
    }
    EXPECT_EQ(scottsBandwidth(line), 6.53);
    EXPECT_EQ(scottsBandwidth({{0.1, 0.7}, {0.1, 0.7}, {0.1, 0.7}}), 0.0);
}

} // namespace
} // namespace zel
