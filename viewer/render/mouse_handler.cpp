#include "viewer/render/mouse_handler.h"

#include "viewer/render/user_view.h"
#include "viewer/render/viewer_state.h"

#include <GL/freeglut.h>
#include <cstdlib>

namespace zel {
namespace {

// freeglut reports the wheel as presses of these two buttons.
constexpr int wheelUp = 3;
constexpr int wheelDown = 4;

// How far the pointer may wander while a button is held and still make a click.
constexpr int clickSlack = 3;

Drag dragFor(int button) {
    switch (button) {
    case GLUT_LEFT_BUTTON:
        return Drag::Orbit;
    case GLUT_MIDDLE_BUTTON:
    case GLUT_RIGHT_BUTTON:
        return Drag::Pan;
    default:
        return Drag::None;
    }
}

} // namespace

void handleMouseButton(int button, int buttonState, int x, int y) {
    ViewerState& state = viewerState();
    Pointer& pointer = state.pointer;
    if (buttonState != GLUT_DOWN) {
        if (button == pointer.button) {
            if (button == GLUT_LEFT_BUTTON && !pointer.dragged) {
                pickAt(state, pointer.downX, pointer.downY);
            }
            pointer.drag = Drag::None;
            pointer.button = -1;
        }
        return;
    }
    takeView(state);
    if (button == wheelUp || button == wheelDown) {
        zoomView(state, button == wheelUp ? 1 : -1);
        return;
    }
    pointer = {dragFor(button), button, x, y, x, y, false};
}

void handleMouseDrag(int x, int y) {
    ViewerState& state = viewerState();
    Pointer& pointer = state.pointer;
    if (pointer.drag == Drag::None) {
        return;
    }
    if (std::abs(x - pointer.downX) > clickSlack || std::abs(y - pointer.downY) > clickSlack) {
        pointer.dragged = true;
    }
    if (!pointer.dragged) {
        return; // a click's jitter turns nothing
    }
    UserView& user = state.user;
    const double dx = x - pointer.x;
    const double dy = y - pointer.y;
    if (pointer.drag == Drag::Orbit) {
        user.camera = orbited(user.camera, dx, dy);
    } else {
        user.camera = panned(user.camera, dx, dy, user.height);
    }
    pointer.x = x;
    pointer.y = y;
}

} // namespace zel
