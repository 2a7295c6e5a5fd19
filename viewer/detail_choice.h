#pragma once

#include "viewer/detail_tree.h"
#include "viewer/navigation_state.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zel {

// What the choice of detail needs to know of a frame.
struct DetailView {
    ViewMatrix view;      // terrain to eye coordinates (see viewMatrix)
    double aspect = 1.0;  // window width over height
    int windowHeight = 1; // pixels
    // The heights now over the heights the tree was built with (the ] and [ keys scale every
    // height by the same factor, so the tree's boxes and errors follow without a rebuild).
    double heightRatio = 1.0;
    // The largest error on screen allowed, in pixels.
    double pixelError = 1.0;
};

// Pixels that `error` terrain units span at worst at `distance` or more from the eye, in any
// direction, at an angle from the view's axis whose tangent squared is `offAxisTanSquared` or
// less, in a window `windowHeight` pixels tall under the viewer's vertical field of view.
double errorInPixels(double error, double distance, int windowHeight, double offAxisTanSquared);

// The nodes to draw: from the root down, a node inside or across the window's sides is drawn
// once its error, seen from the nearest point of its box, stays within `pixelError`; leaves
// are always within it. A node wholly beside the window is left out with its children. The
// chosen nodes cover every region in view once.
std::vector<std::int32_t> chosenNodes(std::span<const DetailNode> nodes, const DetailView& view);

} // namespace zel
