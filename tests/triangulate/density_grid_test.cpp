// The density grid over boxes of every shape: it covers the box and its margin with the cells
// asked for, centred, and its triangles tile it, two per cell, all clockwise.
#include "triangulate/density_grid.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zel {
namespace {

TEST(DensityGridTest, CoversTheBoxAndItsMarginWithClockwiseTriangles) {
    struct Case {
        const char* name;
        Bounds box;
        double margin;
        std::uint32_t cells;
        std::uint32_t columns; // worked out by hand
        std::uint32_t rows;
    };
    const Case cases[] = {
        // 100 + 2 * 15 = 130 wide, 40 + 30 = 70 high: 13 cells of 10, 7 of them cover 70.
        {"Wide", {0, 0, 100, 40}, 15, 13, 13, 7},
        // 76 high at 4 per cell: 19 cells; 16 wide needs 4.
        {"Tall", {500, -30, 510, 40}, 3, 19, 4, 19},
        // A square needs the same count both ways, however the division rounds.
        {"Square", {0.1, 0.2, 0.4, 0.5}, 0.05, 512, 512, 512},
        // Projected metres: 10600 x 700 at 20.703125 per cell, 512 by 33.8 -> 34.
        {"Projected", {5.1e5, 4.12e6, 5.2e5, 4.1201e6}, 300, 512, 512, 34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DensityGrid grid = densityGridAround(c.box, c.margin, c.cells);
        EXPECT_EQ(grid.columns, c.columns);
        EXPECT_EQ(grid.rows, c.rows);
        const Bounds covered = grid.bounds();
        const double slack = 1e-9 * (covered.maxX - covered.minX);
        EXPECT_LE(covered.minX, c.box.minX - c.margin + slack);
        EXPECT_LE(covered.minY, c.box.minY - c.margin + slack);
        EXPECT_GE(covered.maxX, c.box.maxX + c.margin - slack);
        EXPECT_GE(covered.maxY, c.box.maxY + c.margin - slack);
        EXPECT_NEAR(covered.centreX(), c.box.centreX(), slack);
        EXPECT_NEAR(covered.centreY(), c.box.centreY(), slack);

        const std::vector<PlanePoint> nodes = gridNodes(grid);
        const auto triangles = gridTriangles(grid);
        ASSERT_EQ(nodes.size(), (c.columns + 1u) * (c.rows + 1u));
        ASSERT_EQ(triangles.size(), 2u * c.columns * c.rows);
        double area = 0.0;
        for (const auto& t : triangles) {
            ASSERT_LT(std::max({t[0], t[1], t[2]}), nodes.size());
            const PlanePoint& a = nodes[t[0]];
            const PlanePoint& b = nodes[t[1]];
            const PlanePoint& d = nodes[t[2]];
            const double twiceSigned = (b.x - a.x) * (d.y - a.y) - (b.y - a.y) * (d.x - a.x);
            ASSERT_LT(twiceSigned, 0.0)
                << "counter-clockwise: " << t[0] << ' ' << t[1] << ' ' << t[2];
            area -= twiceSigned / 2.0;
        }
        const double gridArea = (covered.maxX - covered.minX) * (covered.maxY - covered.minY);
        EXPECT_NEAR(area, gridArea, 1e-9 * gridArea);
    }
}

} // namespace
} // namespace zel
