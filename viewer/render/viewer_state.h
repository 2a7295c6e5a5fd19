#pragma once

#include "viewer/render/mouse_handler.h"
#include "viewer/render/terrain_drawing.h"
#include "viewer/render/user_view.h"

namespace zel {

// Everything the window's callbacks act on: the terrain shown, the user's view and the mouse.
struct ViewerState {
    ShownTerrain terrain;
    UserView user;
    Pointer pointer;
};

// freeglut's callbacks take no argument of ours, so they reach the state through the one
// pointer that start-up sets here before it registers them. `state` must outlive the window.
void setViewerState(ViewerState& state);

// The state that setViewerState named.
ViewerState& viewerState();

} // namespace zel
