#include "viewer/render/detail_levels.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>

namespace zel {
namespace {

void fillCoarseCorners(GLuint buffer, const std::vector<TriangleCorners>& corners) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(corners.size() * sizeof(TriangleCorners)), corners.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

// The full mesh's corners in the tree's order replace those in `buffer` a slice at a time, so
// that no second copy of them all is held.
void replaceFullCorners(GLuint buffer, const DetailTree& tree, const TriangleList& triangles) {
    constexpr std::size_t slice = std::size_t{1} << 16;
    const std::size_t total = tree.fullOrder.size();
    std::vector<TriangleCorners> corners(std::min(slice, total));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    for (std::size_t first = 0; first < total; first += slice) {
        const std::size_t count = std::min(slice, total - first);
        fullCorners(tree, triangles, first, std::span(corners).first(count));
        glBufferSubData(GL_ELEMENT_ARRAY_BUFFER,
                        static_cast<GLintptr>(first * sizeof(TriangleCorners)),
                        static_cast<GLsizeiptr>(count * sizeof(TriangleCorners)), corners.data());
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

} // namespace

DetailLevels::~DetailLevels() {
    cancelled_ = true;
    if (building_.valid()) {
        building_.wait();
    }
    // The buffer goes with the process: by now the window and its context may be gone.
}

void DetailLevels::startBuilding(const VertexPositions& positions, const TriangleList& triangles,
                                 double heightFactor) {
    started_ = true;
    builtFactor_ = heightFactor;
    triangles_ = triangles;
    try {
        building_ = std::async(std::launch::async, [this, positions] {
            return buildDetailTree(positions, triangles_, DetailTreeSettings{}, cancelled_);
        });
    } catch (const std::system_error&) {
        // Without a thread the full mesh is drawn, as before there were levels.
    }
}

bool DetailLevels::takeBuilt(MeshBuffers& mesh) {
    if (ready() || !building_.valid() ||
        building_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return ready();
    }
    DetailTree tree = building_.get();
    if (tree.nodes.empty() || mesh.empty() ||
        tree.fullOrder.size() * 3 != static_cast<std::size_t>(mesh.cornerCount)) {
        return false;
    }
    // Errors left from before are not the levels' to answer for.
    clearErrors();
    replaceFullCorners(mesh.corners, tree, triangles_);
    glGenBuffers(1, &coarseCorners_);
    fillCoarseCorners(coarseCorners_, tree.coarseTriangles);
    if (glGetError() != GL_NO_ERROR) {
        // A card without room for the coarse levels goes on drawing the full mesh, whose
        // triangles the reordering only moved.
        glDeleteBuffers(1, &coarseCorners_);
        coarseCorners_ = 0;
        clearErrors();
        return false;
    }
    nodes_ = std::move(tree.nodes);
    return true;
}

std::vector<TriangleRun> DetailLevels::runsFor(const MeshBuffers& mesh, DetailView view,
                                               double heightFactor) const {
    view.heightRatio = heightFactor / builtFactor_;
    std::vector<TriangleRun> runs;
    for (const std::int32_t index : chosenNodes(nodes_, view)) {
        const DetailNode& node = nodes_[static_cast<std::size_t>(index)];
        runs.push_back({node.leaf() ? mesh.corners : coarseCorners_, node.first, node.count});
    }
    return runs;
}

void DetailLevels::draw(const MeshBuffers& mesh, unsigned int textureId, DetailView view,
                        double heightFactor) const {
    drawMeshRuns(mesh, textureId, runsFor(mesh, view, heightFactor));
}

std::size_t DetailLevels::trianglesDrawn(DetailView view, double heightFactor) const {
    std::size_t count = 0;
    for (const TriangleRun& run : runsFor(MeshBuffers{}, view, heightFactor)) {
        count += run.count;
    }
    return count;
}

} // namespace zel
