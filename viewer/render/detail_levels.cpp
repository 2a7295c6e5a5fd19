#include "viewer/render/detail_levels.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <chrono>
#include <system_error>
#include <utility>

namespace zel {
namespace {

template <typename Record>
void fillElements(GLenum target, GLuint buffer, const std::vector<Record>& records, bool whole) {
    glBindBuffer(target, buffer);
    const auto bytes = static_cast<GLsizeiptr>(records.size() * sizeof(Record));
    if (whole) {
        glBufferData(target, bytes, records.data(), GL_STATIC_DRAW);
    } else {
        glBufferSubData(target, 0, bytes, records.data());
    }
    glBindBuffer(target, 0);
}

// Errors left from before are not the levels' to answer for.
void clearErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

} // namespace

DetailLevels::~DetailLevels() {
    cancelled_ = true;
    if (building_.valid()) {
        building_.wait();
    }
    // The buffer goes with the process: by now the window and its context may be gone.
}

void DetailLevels::startBuilding(const VertexPositions& positions,
                                 std::function<std::vector<TriangleCorners>()> gatherTriangles,
                                 double heightFactor) {
    started_ = true;
    builtFactor_ = heightFactor;
    try {
        building_ =
            std::async(std::launch::async, [this, positions, gather = std::move(gatherTriangles)] {
                return buildDetailTree(positions, gather(), DetailTreeSettings{}, cancelled_);
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
        tree.fullTriangles.size() * 3 != static_cast<std::size_t>(mesh.cornerCount)) {
        return false;
    }
    clearErrors();
    fillElements(GL_ELEMENT_ARRAY_BUFFER, mesh.corners, tree.fullTriangles, false);
    glGenBuffers(1, &coarseCorners_);
    fillElements(GL_ELEMENT_ARRAY_BUFFER, coarseCorners_, tree.coarseTriangles, true);
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
