#pragma once

#include "viewer/navigation_state.h"

namespace zel {

// Everything about the picture that the user controls once they have taken the view.
struct UserView {
    bool taken = false;
    OrbitView camera;
    Turning turning;
    TerrainBounds bounds;
    int width = 1;
    int height = 1;
    bool helpShown = false;
    bool screenshotRequested = false;
    unsigned int meshList = 0; // 0 when the mesh could not be compiled
};

// The viewer's one user view.
UserView& userView();

// Hands the view to the user at their first key or button: the camera starts where the
// default frames left it (same turn, same clock), the mesh is compiled into a display
// list once, and the frame, idle and reshape callbacks switch to the user's. Later calls
// only return the view.
UserView& takeView();

// Back to the starting view, unturned, turning from the next frame on.
void resetView(UserView& user);

// Zooms in (positive steps) or out within the terrain's limits (see zoomedWithin).
void zoomView(UserView& user, int steps);

// Display and idle callback once the user has the view.
void displayUserFrame();

// Reshape callback once the user has the view: keeps their camera, follows the window's shape.
void reshapeUserView(int width, int height);

} // namespace zel
