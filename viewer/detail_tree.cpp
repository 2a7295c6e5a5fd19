#include "viewer/detail_tree.h"

#include <algorithm>
#include <limits>
#include <meshoptimizer.h>
#include <numeric>

namespace zel {
namespace {

constexpr std::uint32_t unmapped = std::numeric_limits<std::uint32_t>::max();
// Regions stop splitting here even when their triangles' centres cannot be told apart.
constexpr int deepestSplit = 24;

bool inOneQuarter(const std::array<std::size_t, 5>& bounds) {
    for (std::size_t q = 0; q < 4; ++q) {
        if (bounds[q + 1] - bounds[q] == bounds[4]) {
            return true;
        }
    }
    return false;
}

class TreeBuilder {
public:
    TreeBuilder(const VertexPositions& positions, const TriangleList& triangles,
                std::vector<std::uint32_t>& order, const DetailTreeSettings& settings,
                const std::atomic<bool>& cancelled)
        : positions_(positions), triangles_(triangles), order_(order), settings_(settings),
          cancelled_(cancelled), localIndex_(positions.size(), unmapped) {}

    // The node over triangles [first, first + count); returns its index, or -1 once cancelled.
    std::int32_t build(std::size_t first, std::size_t count, int depth) {
        if (cancelled_.load(std::memory_order_relaxed)) {
            return -1;
        }
        const auto index = static_cast<std::int32_t>(nodes.size());
        nodes.emplace_back();
        const auto span = std::span(order_).subspan(first, count);
        if (count <= settings_.leafTriangles || depth == deepestSplit) {
            makeLeaf(nodes.back(), first, span);
            return index;
        }
        const std::array<std::size_t, 5> bounds = splitInQuarters(span);
        if (inOneQuarter(bounds)) {
            // Every centre in one quarter: splitting again would not shrink the region.
            makeLeaf(nodes.back(), first, span);
            return index;
        }
        std::array<std::int32_t, 4> children{-1, -1, -1, -1};
        for (std::size_t q = 0; q < 4; ++q) {
            if (bounds[q + 1] > bounds[q]) {
                children[q] = build(first + bounds[q], bounds[q + 1] - bounds[q], depth + 1);
                if (children[q] < 0) {
                    return -1;
                }
            }
        }
        simplifyInner(index, children);
        return index;
    }

    std::vector<DetailNode> nodes;
    std::vector<TriangleCorners> coarse;

private:
    std::array<float, 3> position(std::uint32_t vertex) const { return positions_[vertex]; }

    void makeLeaf(DetailNode& node, std::size_t first, std::span<const std::uint32_t> span) {
        node.first = static_cast<std::uint32_t>(first);
        node.count = static_cast<std::uint32_t>(span.size());
        node.boxMin.fill(std::numeric_limits<float>::max());
        node.boxMax.fill(std::numeric_limits<float>::lowest());
        for (const std::uint32_t triangle : span) {
            for (const std::uint32_t vertex : triangles_[triangle]) {
                const std::array<float, 3> p = position(vertex);
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    node.boxMin[axis] = std::min(node.boxMin[axis], p[axis]);
                    node.boxMax[axis] = std::max(node.boxMax[axis], p[axis]);
                }
            }
        }
    }

    // Three times the centre along `axis` (0 for x, 2 for z), kept undivided.
    float centreSum(std::uint32_t triangle, std::size_t axis) const {
        const TriangleCorners corners = triangles_[triangle];
        return position(corners[0])[axis] + position(corners[1])[axis] + position(corners[2])[axis];
    }

    // Reorders the triangles into the four quarters of their box (x halves, each in z halves)
    // and returns where each quarter starts, the count last.
    std::array<std::size_t, 5> splitInQuarters(std::span<std::uint32_t> span) const {
        float low[3] = {std::numeric_limits<float>::max(), 0, std::numeric_limits<float>::max()};
        float high[3] = {std::numeric_limits<float>::lowest(), 0,
                         std::numeric_limits<float>::lowest()};
        for (const std::uint32_t triangle : span) {
            for (const std::size_t axis : {std::size_t{0}, std::size_t{2}}) {
                low[axis] = std::min(low[axis], centreSum(triangle, axis));
                high[axis] = std::max(high[axis], centreSum(triangle, axis));
            }
        }
        const auto below = [this](std::size_t axis, float middle) {
            return [this, axis, middle](std::uint32_t t) { return centreSum(t, axis) < middle; };
        };
        const float middleX = low[0] / 2 + high[0] / 2;
        const float middleZ = low[2] / 2 + high[2] / 2;
        const auto west = std::partition(span.begin(), span.end(), below(0, middleX));
        const auto southWest = std::partition(span.begin(), west, below(2, middleZ));
        const auto southEast = std::partition(west, span.end(), below(2, middleZ));
        const auto at = [&span](auto it) { return static_cast<std::size_t>(it - span.begin()); };
        return {0, at(southWest), at(west), at(southEast), span.size()};
    }

    // Calls `visit` with the corners of each triangle of the node's mesh.
    template <typename Visit> void forEachTriangleOf(const DetailNode& node, Visit visit) const {
        for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
            visit(node.leaf() ? triangles_[order_[i]] : coarse[i]);
        }
    }

    // The children's meshes as one, simplified with its outer border kept, so that it meets
    // its neighbours' meshes at every level. meshoptimizer works on the region's own vertices:
    // its time and memory grow with the vertex count it is given.
    void simplifyInner(std::int32_t index, const std::array<std::int32_t, 4>& children) {
        std::vector<std::uint32_t> corners;
        std::vector<float> localPositions;
        std::vector<std::uint32_t> globalIndex;
        float childError = 0.0f;
        DetailNode node;
        node.children = children;
        node.boxMin.fill(std::numeric_limits<float>::max());
        node.boxMax.fill(std::numeric_limits<float>::lowest());
        for (const std::int32_t child : children) {
            if (child < 0) {
                continue;
            }
            const DetailNode& part = nodes[static_cast<std::size_t>(child)];
            childError = std::max(childError, part.error);
            for (std::size_t axis = 0; axis < 3; ++axis) {
                node.boxMin[axis] = std::min(node.boxMin[axis], part.boxMin[axis]);
                node.boxMax[axis] = std::max(node.boxMax[axis], part.boxMax[axis]);
            }
            forEachTriangleOf(part, [&](const TriangleCorners& triangle) {
                for (const std::uint32_t vertex : triangle) {
                    if (localIndex_[vertex] == unmapped) {
                        localIndex_[vertex] = static_cast<std::uint32_t>(globalIndex.size());
                        globalIndex.push_back(vertex);
                        const std::array<float, 3> p = position(vertex);
                        localPositions.insert(localPositions.end(), p.begin(), p.end());
                    }
                    corners.push_back(localIndex_[vertex]);
                }
            });
        }
        for (const std::uint32_t vertex : globalIndex) {
            localIndex_[vertex] = unmapped;
        }

        const auto target =
            static_cast<std::size_t>(static_cast<float>(corners.size() / 3) * settings_.keptShare) *
            3;
        const float scale =
            meshopt_simplifyScale(localPositions.data(), globalIndex.size(), 3 * sizeof(float));
        const auto simplify = [&](float errorLimit, float& reached) {
            std::vector<std::uint32_t> kept(corners.size());
            kept.resize(meshopt_simplify(kept.data(), corners.data(), corners.size(),
                                         localPositions.data(), globalIndex.size(),
                                         3 * sizeof(float), target, errorLimit,
                                         meshopt_SimplifyLockBorder, &reached));
            return kept;
        };
        float relativeError = 0.0f;
        std::vector<std::uint32_t> kept = simplify(1.0f, relativeError);
        // Where the kept border leaves too few triangles inside to reach the aim, meshoptimizer
        // keeps removing, however far the mesh moves: such a node would never be drawn. It
        // stops instead at a few times its children's error, with more triangles.
        const float blowUp = settings_.errorGrowth * childError;
        if (childError > 0.0f && relativeError * scale > blowUp) {
            float limitedError = 0.0f;
            std::vector<std::uint32_t> limited = simplify(blowUp / scale, limitedError);
            if (limited.size() * 4 <= corners.size() * 3) {
                kept = std::move(limited);
                relativeError = limitedError;
            }
        }
        node.error = childError + relativeError * scale;
        node.first = static_cast<std::uint32_t>(coarse.size());
        node.count = static_cast<std::uint32_t>(kept.size() / 3);
        for (std::size_t i = 0; i < kept.size(); i += 3) {
            coarse.push_back(
                {globalIndex[kept[i]], globalIndex[kept[i + 1]], globalIndex[kept[i + 2]]});
        }
        nodes[static_cast<std::size_t>(index)] = node;
    }

    const VertexPositions& positions_;
    const TriangleList& triangles_;
    std::vector<std::uint32_t>& order_;
    const DetailTreeSettings& settings_;
    const std::atomic<bool>& cancelled_;
    // Each vertex's index among the region's own while a region is simplified, else unmapped.
    std::vector<std::uint32_t> localIndex_;
};

} // namespace

DetailTree buildDetailTree(const VertexPositions& positions, const TriangleList& triangles,
                           const DetailTreeSettings& settings, const std::atomic<bool>& cancelled) {
    if (triangles.size() == 0) {
        return {};
    }
    std::vector<std::uint32_t> order(triangles.size());
    std::iota(order.begin(), order.end(), 0u);
    TreeBuilder builder(positions, triangles, order, settings, cancelled);
    if (builder.build(0, order.size(), 0) < 0) {
        return {};
    }
    return {std::move(builder.nodes), std::move(order), std::move(builder.coarse)};
}

void fullCorners(const DetailTree& tree, const TriangleList& triangles, std::size_t first,
                 std::span<TriangleCorners> out) {
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = triangles[tree.fullOrder[first + i]];
    }
}

} // namespace zel
