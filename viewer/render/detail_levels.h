#pragma once

#include "viewer/detail_choice.h"
#include "viewer/detail_tree.h"
#include "viewer/render/mesh_buffers.h"

#include <atomic>
#include <future>
#include <span>
#include <vector>

namespace zel {

// The terrain's levels of detail for the user's view: built on a thread of their own beside
// the frames, then kept on the graphics card, where they share the mesh's vertex buffers.
class DetailLevels {
public:
    DetailLevels() = default;
    DetailLevels(const DetailLevels&) = delete;
    DetailLevels& operator=(const DetailLevels&) = delete;
    // Stops a build under way and waits for its thread: none may outlive the terrain it reads.
    ~DetailLevels();

    // Starts the build from the vertices at `positions` (at the heights factor
    // `heightFactor`) and `triangles`, which must stay as they are while the levels last.
    void startBuilding(const VertexPositions& positions, const TriangleList& triangles,
                       double heightFactor);
    bool started() const { return started_; }

    // Once the build has ended: the full mesh's triangles, reordered region by region, replace
    // those in `mesh` (the same triangles, so the full mesh draws as before), and the coarser
    // levels go into a buffer of their own. Returns whether the levels are ready to draw.
    bool takeBuilt(MeshBuffers& mesh);
    bool ready() const { return !nodes_.empty(); }

    // Draws the levels chosen for `view` (whose heightRatio this replaces with the factor
    // `heightFactor` over the one built with), from `mesh`'s vertex buffers.
    void draw(const MeshBuffers& mesh, unsigned int textureId, DetailView view,
              double heightFactor) const;
    // The triangles that draw() draws for the same arguments.
    std::size_t trianglesDrawn(DetailView view, double heightFactor) const;

private:
    std::vector<TriangleRun> runsFor(const MeshBuffers& mesh, DetailView view,
                                     double heightFactor) const;

    std::atomic<bool> cancelled_{false};
    TriangleList triangles_{std::span<const TriangleCorners>{}};
    std::future<DetailTree> building_;
    bool started_ = false;
    std::vector<DetailNode> nodes_;
    unsigned int coarseCorners_ = 0;
    double builtFactor_ = 1.0;
};

} // namespace zel
