#include "viewer/render/key_handler.h"

#include "viewer/render/user_view.h"
#include "viewer/render/viewer_state.h"

#include <GL/freeglut.h>
#include <cctype>
#include <cstring>

namespace zel {
namespace {

constexpr unsigned char escapeKey = 27;
constexpr const char* viewKeys = "frsh +=-][wol";

void actOnView(unsigned char key, ViewerState& state) {
    UserView& user = takeView(state);
    switch (key) {
    case 'f':
        user.camera = fitted(user.camera, user.bounds, user.width, user.height);
        break;
    case 'r':
        resetView(state);
        break;
    case 's':
        user.screenshotRequested = true;
        break;
    case 'h':
        user.helpShown = !user.helpShown;
        break;
    case ' ':
        user.turning.paused = !user.turning.paused;
        break;
    case '+':
    case '=': // + without Shift on most keyboards
        zoomView(state, 1);
        break;
    case '-':
        zoomView(state, -1);
        break;
    case ']':
        stepHeights(state, 1);
        break;
    case '[':
        stepHeights(state, -1);
        break;
    case 'w':
        user.edgesShown = !user.edgesShown;
        break;
    case 'o':
        user.mapShown = !user.mapShown;
        break;
    case 'l':
        user.levelsShown = !user.levelsShown;
        break;
    default:
        break;
    }
}

} // namespace

void handleKey(unsigned char typed, int /*x*/, int /*y*/) {
    // Caps Lock or Shift must not make a letter key do nothing.
    const auto key = static_cast<unsigned char>(std::tolower(typed));
    // Leaving the main loop ends the viewer as closing its window does: freeglut tears the
    // window down and exits with status 0.
    if (key == escapeKey || key == 'q') {
        glutLeaveMainLoop();
        return;
    }
    // Other keys leave the default view alone.
    if (key != '\0' && std::strchr(viewKeys, key) != nullptr) {
        actOnView(key, viewerState());
    }
}

void handleSpecialKey(int key, int /*x*/, int /*y*/) {
    if (key == GLUT_KEY_F1) {
        UserView& user = takeView(viewerState());
        user.helpShown = !user.helpShown;
    }
}

} // namespace zel
