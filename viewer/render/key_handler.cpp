#include "viewer/render/key_handler.h"

#include <GL/freeglut.h>

namespace zel {
namespace {

constexpr unsigned char escapeKey = 27;

} // namespace

void handleKey(unsigned char key, int /*x*/, int /*y*/) {
    // Leaving the main loop ends the viewer as closing its window does: freeglut tears the
    // window down and exits with status 0.
    if (key == escapeKey) {
        glutLeaveMainLoop();
    }
}

} // namespace zel
