// The density landscape against what the points' distribution says it must be: analytic
// integrals and peaks of Gaussians.
#include "triangulate/density_landscape.h"

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

} // namespace
} // namespace zel
