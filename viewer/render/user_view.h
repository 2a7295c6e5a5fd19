#pragma once

#include "viewer/geometry.h"
#include "viewer/navigation_state.h"
#include "viewer/render/detail_levels.h"
#include "viewer/render/mesh_buffers.h"

#include <optional>
#include <string>

namespace zel {

struct ViewerState;

// Everything about the picture that the user controls once they have taken the view.
struct UserView {
    bool taken = false;
    OrbitView camera;
    Turning turning;
    Box bounds;
    int width = 1;
    int height = 1;
    bool helpShown = false;
    bool screenshotRequested = false;
    MeshBuffers mesh; // empty when the graphics card cannot hold the mesh
    bool edgesShown = false;
    // Built after the first frame; until then, and with `l`, the full mesh is drawn.
    DetailLevels levels;
    bool levelsShown = true;
    // North arrow, scale bar and legend.
    bool mapShown = true;
    // The values of the last pick, shown until the next.
    std::optional<std::string> picked;
    // The starting view fits the whole terrain in the window (elevation mode).
    bool startsFitted = false;
};

// Hands the view to the user at their first key or button: the camera starts where the
// default frames left it (same turn, same clock), the mesh goes into buffers on the
// graphics card once, and the frame, idle and reshape callbacks switch to the user's. Later calls
// only return the view.
UserView& takeView(ViewerState& state);

// Takes the view at start-up, before any key, with the starting view fitted to the terrain
// (as `f` fits it), so that `r` also returns to a fitted view.
void takeFittedView(ViewerState& state);

// Back to the starting view, unturned, turning from the next frame on.
void resetView(ViewerState& state);

// Zooms in (positive steps) or out within the terrain's limits (see zoomedWithin).
void zoomView(ViewerState& state, int steps);

// One press of ] (`step` +1) or [ (-1): the terrain's height scale stepped (see
// TerrainModel::setHeightScale), and the vertices and normals in the mesh buffers replaced.
// The camera keeps its direction and stays clear of the surface (see heightsScaled).
void stepHeights(ViewerState& state, int step);

// A click at pixel (x, y) from the window's top left: the values of the surface point under
// it go to standard output ("Picked x=... y=... z=...") and into the window; a click beside
// the terrain clears the window's.
void pickAt(ViewerState& state, int x, int y);

// Display and idle callback once the user has the view.
void displayUserFrame();

// Reshape callback once the user has the view: keeps their camera, follows the window's shape.
void reshapeUserView(int width, int height);

} // namespace zel
