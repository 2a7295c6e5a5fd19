#include "tests/support/terrain_generator.h"
#include "viewer/detail_choice.h"
#include "viewer/detail_tree.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace zel {
namespace {

// A warped, jittered grid with hills of two sizes, so that simplification has work to do.
struct RoughTerrain {
    std::vector<float> positions;
    std::vector<TriangleCorners> triangles;
};

RoughTerrain roughTerrain() {
    const test::GridTerrain grid = test::gridTerrain(
        {.columns = 121, .rows = 101, .spacing = 1.0f, .warp = 0.3f, .jitter = 0.1f});
    RoughTerrain terrain;
    for (const Point2& p : grid.points) {
        const float height = 8.0f * std::sin(p.x / 17.0f) * std::cos(p.y / 13.0f) +
                             0.1f * std::sin(p.x * 1.3f + p.y * 0.7f);
        terrain.positions.insert(terrain.positions.end(), {p.x, height, p.y});
    }
    for (const auto& t : grid.triangles) {
        terrain.triangles.push_back({static_cast<std::uint32_t>(t[0]),
                                     static_cast<std::uint32_t>(t[1]),
                                     static_cast<std::uint32_t>(t[2])});
    }
    return terrain;
}

DetailTree treeOf(const RoughTerrain& terrain) {
    const std::atomic<bool> cancelled{false};
    return buildDetailTree(VertexPositions(terrain.positions), TriangleList(terrain.triangles),
                           {.leafTriangles = 600}, cancelled);
}

std::vector<TriangleCorners> meshOf(const RoughTerrain& terrain, const DetailTree& tree,
                                    const DetailNode& node) {
    if (!node.leaf()) {
        const auto coarse = std::span(tree.coarseTriangles).subspan(node.first, node.count);
        return {coarse.begin(), coarse.end()};
    }
    std::vector<TriangleCorners> full(node.count);
    fullCorners(tree, TriangleList(terrain.triangles), node.first, full);
    return full;
}

// Area of the triangles seen from above, in double precision, each counted with its turning
// sense: a mesh with its region's outline covers the same, and one with a crack less.
double groundArea(const RoughTerrain& terrain, std::span<const TriangleCorners> triangles) {
    double area = 0.0;
    for (const TriangleCorners& t : triangles) {
        const auto x = [&](int i) { return double{terrain.positions[t[i] * 3u]}; };
        const auto z = [&](int i) { return double{terrain.positions[t[i] * 3u + 2]}; };
        area += ((x(1) - x(0)) * (z(2) - z(0)) - (x(2) - x(0)) * (z(1) - z(0))) / 2.0;
    }
    return area;
}

std::vector<std::int32_t> leavesUnder(const DetailTree& tree, std::int32_t index) {
    const DetailNode& node = tree.nodes[static_cast<std::size_t>(index)];
    if (node.leaf()) {
        return {index};
    }
    std::vector<std::int32_t> leaves;
    for (const std::int32_t child : node.children) {
        if (child >= 0) {
            const std::vector<std::int32_t> more = leavesUnder(tree, child);
            leaves.insert(leaves.end(), more.begin(), more.end());
        }
    }
    return leaves;
}

TEST(DetailTreeTest, LeavesHoldEveryTriangleOnceAndInnerNodesKeepTheirGround) {
    const RoughTerrain terrain = roughTerrain();
    const DetailTree tree = treeOf(terrain);
    ASSERT_FALSE(tree.nodes.empty());

    std::vector<TriangleCorners> inLeaves;
    for (const std::int32_t leaf : leavesUnder(tree, 0)) {
        const auto mesh = meshOf(terrain, tree, tree.nodes[static_cast<std::size_t>(leaf)]);
        EXPECT_LE(mesh.size(), 600u);
        inLeaves.insert(inLeaves.end(), mesh.begin(), mesh.end());
    }
    std::vector<TriangleCorners> expected = terrain.triangles;
    std::ranges::sort(inLeaves);
    std::ranges::sort(expected);
    EXPECT_EQ(inLeaves, expected);

    for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
        const DetailNode& node = tree.nodes[i];
        if (node.leaf()) {
            EXPECT_EQ(node.error, 0.0f);
            continue;
        }
        double leafArea = 0.0;
        std::size_t leafTriangles = 0;
        for (const std::int32_t leaf : leavesUnder(tree, static_cast<std::int32_t>(i))) {
            const auto mesh = meshOf(terrain, tree, tree.nodes[static_cast<std::size_t>(leaf)]);
            leafArea += groundArea(terrain, mesh);
            leafTriangles += mesh.size();
        }
        EXPECT_NEAR(groundArea(terrain, meshOf(terrain, tree, node)), leafArea,
                    std::abs(leafArea) * 1e-6)
            << i;
        EXPECT_LT(node.count, leafTriangles) << i;
        for (const std::int32_t child : node.children) {
            if (child >= 0) {
                const DetailNode& part = tree.nodes[static_cast<std::size_t>(child)];
                EXPECT_GE(node.error, part.error) << i;
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    EXPECT_LE(node.boxMin[axis], part.boxMin[axis]);
                    EXPECT_GE(node.boxMax[axis], part.boxMax[axis]);
                }
            }
        }
    }
    EXPECT_GT(tree.nodes[0].error, 0.0f);
}

TEST(DetailTreeTest, CancelledBuildGivesNoTree) {
    const RoughTerrain terrain = roughTerrain();
    const std::atomic<bool> cancelled{true};
    EXPECT_TRUE(buildDetailTree(VertexPositions(terrain.positions), TriangleList(terrain.triangles),
                                {}, cancelled)
                    .nodes.empty());
}

// gluPerspective's matrix times the view, applied to a point: clip coordinates (x, y, w).
std::array<double, 3> clipOf(const ViewMatrix& view, double aspect,
                             const std::array<double, 3>& p) {
    std::array<double, 3> eye{};
    for (std::size_t r = 0; r < 3; ++r) {
        eye[r] = view[r] * p[0] + view[4 + r] * p[1] + view[8 + r] * p[2] + view[12 + r];
    }
    const double f = 1.0 / std::tan(viewFieldOfViewDegrees / 2.0 * std::numbers::pi / 180.0);
    return {f / aspect * eye[0], f * eye[1], -eye[2]};
}

struct Frame {
    OrbitView camera;
    int width;
    int height;
    double heightRatio;
};

TEST(DetailChoiceTest, ChosenNodesCoverTheViewOnceWithinAPixel) {
    const RoughTerrain terrain = roughTerrain();
    const DetailTree tree = treeOf(terrain);
    const Frame frames[] = {
        {{60, 0, 50, 40, 10, 0}, 800, 600, 1.0},   // low over the middle
        {{60, 0, 50, 25, 35, 130}, 640, 480, 1.5}, // nearer, turned, heights raised
        {{0, 0, 0, 30, 20, 200}, 300, 900, 0.5},   // at a corner, tall window
        {{60, 0, 50, 400, 60, 45}, 800, 600, 1.0}, // far above the whole terrain
    };
    for (const Frame& frame : frames) {
        const double aspect = double(frame.width) / frame.height;
        const DetailView view{viewMatrix(frame.camera), aspect, frame.height, frame.heightRatio};
        const std::vector<std::int32_t> chosen = chosenNodes(tree.nodes, view);
        ASSERT_FALSE(chosen.empty());

        // Each leaf under exactly one chosen node, or beside the window.
        std::vector<int> cover(tree.nodes.size(), 0);
        for (const std::int32_t node : chosen) {
            for (const std::int32_t leaf : leavesUnder(tree, node)) {
                ++cover[static_cast<std::size_t>(leaf)];
            }
        }
        for (const std::int32_t leaf : leavesUnder(tree, 0)) {
            const DetailNode& node = tree.nodes[static_cast<std::size_t>(leaf)];
            if (cover[static_cast<std::size_t>(leaf)] == 1) {
                continue;
            }
            ASSERT_EQ(cover[static_cast<std::size_t>(leaf)], 0);
            std::array<bool, 4> beyond{true, true, true, true};
            for (int c = 0; c < 8; ++c) {
                const auto clip =
                    clipOf(view.view, aspect,
                           {c & 1 ? node.boxMax[0] : node.boxMin[0],
                            (c & 2 ? node.boxMax[1] : node.boxMin[1]) * frame.heightRatio,
                            c & 4 ? node.boxMax[2] : node.boxMin[2]});
                beyond = {beyond[0] && clip[0] > clip[2], beyond[1] && clip[0] < -clip[2],
                          beyond[2] && clip[1] > clip[2], beyond[3] && clip[1] < -clip[2]};
            }
            EXPECT_TRUE(std::ranges::count(beyond, true) > 0) << "leaf " << leaf << " uncovered";
        }

        // Every chosen node's error, anywhere in its box that is in the window, in any
        // direction, spans at most a pixel on screen.
        const double errorScale = std::max(1.0, frame.heightRatio);
        for (const std::int32_t index : chosen) {
            const DetailNode& node = tree.nodes[static_cast<std::size_t>(index)];
            const double error = node.error * errorScale;
            for (int s = 0; s < 125; ++s) {
                std::array<double, 3> p{};
                for (std::size_t axis = 0, step = static_cast<std::size_t>(s); axis < 3;
                     ++axis, step /= 5) {
                    p[axis] = node.boxMin[axis] +
                              (node.boxMax[axis] - node.boxMin[axis]) * double(step % 5) / 4.0;
                }
                p[1] *= frame.heightRatio;
                const auto at = clipOf(view.view, aspect, p);
                if (at[2] <= 0 || std::abs(at[0]) > at[2] || std::abs(at[1]) > at[2]) {
                    continue;
                }
                // The pixels a unit step along each axis moves the point: the largest
                // singular value of that 2 x 3 map bounds a step in any direction.
                std::array<std::array<double, 2>, 3> columns{};
                constexpr double step = 1e-4;
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    std::array<double, 3> q = p;
                    q[axis] += step;
                    const auto moved = clipOf(view.view, aspect, q);
                    columns[axis] = {(moved[0] / moved[2] - at[0] / at[2]) * frame.width / 2 / step,
                                     (moved[1] / moved[2] - at[1] / at[2]) * frame.height / 2 /
                                         step};
                }
                double a = 0.0, b = 0.0, c = 0.0; // J J^T = [a b; b c]
                for (const auto& column : columns) {
                    a += column[0] * column[0];
                    b += column[0] * column[1];
                    c += column[1] * column[1];
                }
                const double largest =
                    std::sqrt((a + c) / 2 + std::sqrt((a - c) * (a - c) / 4 + b * b));
                EXPECT_LE(largest * error, 1.0 + 1e-3) << "node " << index;
            }
        }
    }
}

TEST(DetailChoiceTest, TheWholeTerrainFarAwayIsDrawnByTheRoot) {
    const RoughTerrain terrain = roughTerrain();
    const DetailTree tree = treeOf(terrain);
    const DetailView far{viewMatrix({60, 0, 50, 3000, 60, 0}), 4.0 / 3.0, 600};
    EXPECT_EQ(chosenNodes(tree.nodes, far), std::vector<std::int32_t>{0});
}

TEST(DetailChoiceTest, FarGroundIsCoarserThanNearGround) {
    const RoughTerrain terrain = roughTerrain();
    const DetailTree tree = treeOf(terrain);
    const DetailView low{viewMatrix({60, 0, 10, 40, 12, 0}), 4.0 / 3.0, 600};
    std::size_t drawn = 0;
    bool leafChosen = false;
    bool innerChosen = false;
    for (const std::int32_t index : chosenNodes(tree.nodes, low)) {
        const DetailNode& node = tree.nodes[static_cast<std::size_t>(index)];
        drawn += node.count;
        leafChosen = leafChosen || node.leaf();
        innerChosen = innerChosen || !node.leaf();
    }
    EXPECT_TRUE(leafChosen);
    EXPECT_TRUE(innerChosen);
    EXPECT_LT(drawn, terrain.triangles.size() * 3 / 4);
}

} // namespace
} // namespace zel
