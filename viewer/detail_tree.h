#pragma once

#include "viewer/triangle_list.h"
#include "viewer/vertex_positions.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zel {

// One region of the terrain in the level-of-detail tree. A leaf holds its triangles of the
// full mesh (error 0); an inner node holds a simplified mesh of the union of its children's
// regions, whose outer border is the full mesh's, so that any mix of nodes that covers the
// terrain once meets without cracks.
struct DetailNode {
    std::array<float, 3> boxMin{};
    std::array<float, 3> boxMax{};
    // Triangles of the node's mesh: from `first` in the tree's full order for a leaf, in its
    // coarse triangles for an inner node.
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    // How far, in terrain units, the node's mesh may lie from the full mesh; never less than
    // any child's.
    float error = 0.0f;
    std::array<std::int32_t, 4> children{-1, -1, -1, -1}; // -1: none
    bool leaf() const { return children == std::array<std::int32_t, 4>{-1, -1, -1, -1}; }
};

// The numbers of the full mesh's triangles in region order, the inner nodes' simplified
// triangles, and the nodes (the root first). Every index refers to the vertices that the
// tree was built from, so that every level draws from the same vertex buffers. A number, not
// a copy of the corners, keeps the build's memory down on a terrain of millions of points.
struct DetailTree {
    std::vector<DetailNode> nodes;
    std::vector<std::uint32_t> fullOrder;
    std::vector<TriangleCorners> coarseTriangles;
};

struct DetailTreeSettings {
    // A region of more triangles is split in four (by the centres of its triangles).
    std::size_t leafTriangles = 8192;
    // An inner node aims at this share of its children's triangles together.
    float keptShare = 0.25f;
    // Unless reaching that share costs more than this many times its children's error: then
    // it stops short, at that error, if it still keeps no more than three quarters of them.
    float errorGrowth = 4.0f;
};

// Builds the tree over the vertices at `positions` and the triangles `triangles`, which must
// stay as they are until it returns. Every index must be below the vertex count. Returns an
// empty tree as soon as `cancelled` is set (checked between regions).
DetailTree buildDetailTree(const VertexPositions& positions, const TriangleList& triangles,
                           const DetailTreeSettings& settings, const std::atomic<bool>& cancelled);

// Into `out`, the corners of as many of the full mesh's triangles as it holds, in the tree's
// order from `first`.
void fullCorners(const DetailTree& tree, const TriangleList& triangles, std::size_t first,
                 std::span<TriangleCorners> out);

} // namespace zel
